// CT_KxfTags: the inline tags of a KXF text in the plain-text form of the stand-ins (see
// README.md beside this file), and the member identifiers by which the verifiers of the two
// formats let a caller suppress a tag. Stateless; any thread.
#pragma once

#include <string>
#include <vector>

enum et_KxfFormat
{
    eo_FormatF = 0,
    eo_FormatI = 1
};

// One tag as it stands in a text.
struct st_KxfTag
{
    std::u16string co_Name; // between '<' and the first blank or '>': ":b", ":/b", "ps", "/imk"
    std::u16string co_Arguments; // the rest up to '>', blanks outside quotes folded to one
    std::u16string co_Source;    // the tag as written, for messages
    long i_Position = 0;         // of its '<', in UTF-16 units from 0

    // What must agree between original and translation.
    bool b_SameTag(const st_KxfTag& co_Other) const
    {
        return co_Name == co_Other.co_Name && co_Arguments == co_Other.co_Arguments;
    }
};

class CT_KxfTags
{
public:
    // Every tag of the text, in order. A '<' that does not open a well-formed tag on its line is
    // text.
    static std::vector<st_KxfTag> sco_Scan(const std::u16string& co_Text);

    // The member identifier of the verifier's Reporting object that suppresses the tag (opening
    // and closing tags share it); 0 when the format has none for it.
    static long si_GetMember(et_KxfFormat eo_Format, const std::u16string& co_Name);
    // The highest member identifier of the format: 45 for F, 47 for I.
    static long si_GetMemberCount(et_KxfFormat eo_Format);
};
