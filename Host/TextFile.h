// CT_TextFile: how the stand-ins read and write KXF text. Files are UTF-8, with or without a
// byte-order mark; a file with a UTF-16LE mark is read as UTF-16, and a file that is not valid
// UTF-8 is read as code page 1252 so that older ANSI files still open. Writing always gives
// UTF-8 without a mark. Positions into a text are UTF-16 units of the decoded text, from 0.
#pragma once

#include <string>

class CT_TextFile
{
public:
    // The decoded text of a file; false (with the Win32 error as the last error) when the
    // file cannot be read.
    static bool sb_Read(const std::u16string& co_Path, std::u16string& co_Text);
    static bool sb_Write(const std::u16string& co_Path, const std::u16string& co_Text);

    static std::u16string sco_Decode(const std::string& co_Bytes);
    static std::string sco_EncodeUtf8(const std::u16string& co_Text);

    // The last part of a path, after the last backslash or slash.
    static std::u16string sco_FileName(const std::u16string& co_Path);
    // A folder and a file name with one backslash between them.
    static std::u16string sco_Combine(const std::u16string& co_Folder,
                                      const std::u16string& co_Name);

    // A number in decimal digits, for message texts.
    static std::u16string sco_Number(long i_Value);

    // 1-based line and column of a position; false when the position is outside the text (the
    // end of the text itself counts as inside).
    static bool sb_LineColumn(const std::u16string& co_Text, long i_Position, long& i_Line,
                              long& i_Column);
};
