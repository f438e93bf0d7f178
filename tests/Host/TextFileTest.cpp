#include "TextFile.h"
#include "HostTestSupport.h"

namespace
{
TEST(TextFile, DecodesByMarkAndFallsBackToAnsi)
{
    // UTF-8 with and without mark
    EXPECT_EQ(CT_TextFile::sco_Decode("\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F"), u"gr\u00FC\u00DF");
    EXPECT_EQ(CT_TextFile::sco_Decode("gr\xC3\xBC\xC3\x9F"), u"gr\u00FC\u00DF");
    // UTF-16LE with mark, an odd last byte dropped
    EXPECT_EQ(CT_TextFile::sco_Decode(std::string("\xFF\xFE"
                                                  "a\0\x3D\xD8\x00\xDE!",
                                                  9)),
              u"a\U0001F600");
    // not UTF-8: code page 1252
    EXPECT_EQ(CT_TextFile::sco_Decode("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
    EXPECT_EQ(CT_TextFile::sco_Decode(""), u"");
    EXPECT_EQ(CT_TextFile::sco_Decode("\xEF\xBB\xBF"), u"");
}

TEST(TextFile, WritesUtf8AndReadsItBack)
{
    CT_TempFolder co_Folder;
    const std::u16string co_Text = u"<ps \"\u00DCberschrift\">\U0001F600\r\nx";
    const std::u16string co_Path = co_Folder.co_WriteText(u"a.kxf", co_Text);
    EXPECT_EQ(co_ReadBytes(co_Path), "<ps \"\xC3\x9C"
                                     "berschrift\">\xF0\x9F\x98\x80\r\nx");
    std::u16string co_Read;
    ASSERT_TRUE(CT_TextFile::sb_Read(co_Path, co_Read));
    EXPECT_EQ(co_Read, co_Text);

    // an empty text makes an empty file
    const std::u16string co_Empty = co_Folder.co_WriteText(u"empty.kxf", u"");
    co_Read = u"old";
    ASSERT_TRUE(CT_TextFile::sb_Read(co_Empty, co_Read));
    EXPECT_EQ(co_Read, u"");
}

TEST(TextFile, ReportsFilesThatCannotBeRead)
{
    CT_TempFolder co_Folder;
    std::u16string co_Text = u"kept";
    EXPECT_FALSE(CT_TextFile::sb_Read(co_Folder.co_File(u"missing.kxf"), co_Text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(co_Text, u"kept");
    EXPECT_FALSE(CT_TextFile::sb_Write(co_Folder.co_File(u"no\\such\\folder.kxf"), u"x"));
}

TEST(TextFile, FindsLineAndColumnOfAPosition)
{
    const std::u16string co_Text = u"ab\ncd\r\ne";
    long i_Line = 0, i_Column = 0;
    const struct
    {
        long i_Position, i_Line, i_Column;
    } sco_Cases[] = {{0, 1, 1}, {2, 1, 3}, {3, 2, 1}, {5, 2, 3}, {7, 3, 1}, {8, 3, 2}};
    for (const auto& co_Case : sco_Cases)
    {
        ASSERT_TRUE(CT_TextFile::sb_LineColumn(co_Text, co_Case.i_Position, i_Line, i_Column))
            << co_Case.i_Position;
        EXPECT_EQ(i_Line, co_Case.i_Line) << co_Case.i_Position;
        EXPECT_EQ(i_Column, co_Case.i_Column) << co_Case.i_Position;
    }
    EXPECT_FALSE(CT_TextFile::sb_LineColumn(co_Text, 9, i_Line, i_Column));
    EXPECT_FALSE(CT_TextFile::sb_LineColumn(co_Text, -1, i_Line, i_Column));
}
} // namespace
