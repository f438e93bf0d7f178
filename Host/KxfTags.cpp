#include "KxfTags.h"

#include <iterator>

namespace
{
// Tag families by member identifier (entry i is member i + 1). A family is a tag name without
// the slash of its closing form; ":r#" stands for the numbered reserved characters.
const char16_t* const sqcuz_FamiliesF[] = {
    u":b",   u":bb",  u":bi",        u":c",  u":cs", u":xr",  u":dh",  u":el",  u":elf",
    u":ems", u":ens", u":ep",        u":es", u":fc", u":flq", u":frq", u":glq", u":grq",
    u":gt",  u":hh",  u":hr_Result", u":hs", u"ie",  u"il",   u"imk",  u":imk", u":i",
    u":ldq", u":lq",  u":lt",        u":nh", u":ns", u"ps",   u"pn",   u":r",   u":rdq",
    u":rq",  u":s",   u":sh",        u"sl",  u":so", u"ss",   u":t",   u":ts",  u":v"};

const char16_t* const sqcuz_FamiliesI[] = {
    u":an", u":axr", u":b",   u":bb",  u":bi",  u":c",   u":cs", u":xr",  u":ems",       u":ens",
    u":fs", u":fc",  u":flq", u":frq", u":glq", u":grq", u":gt", u":hls", u":hr_Result", u":hs",
    u"ie",  u"il",   u"imk",  u":imk", u":i",   u":ldq", u":lq", u":lt",  u"ps",         u"pn",
    u":r",  u":r#",  u":rdq", u":rq",  u":s",   u":sh",  u":so", u"sa",   u"ss",         u":t",
    u":t.", u":t_",  u":t-",  u":t-d", u":ts",  u":sc",  u":v"};

static_assert(std::size(sqcuz_FamiliesF) == 45 && std::size(sqcuz_FamiliesI) == 47);

bool b_IsLetter(char16_t u_Char)
{
    return (u_Char >= u'a' && u_Char <= u'z') || (u_Char >= u'A' && u_Char <= u'Z');
}

bool b_IsDigit(char16_t u_Char)
{
    return u_Char >= u'0' && u_Char <= u'9';
}

bool b_IsNameChar(char16_t u_Char)
{
    return b_IsLetter(u_Char) || b_IsDigit(u_Char) || u_Char == u'.' || u_Char == u'_' ||
           u_Char == u'-';
}

bool b_IsBlank(char16_t u_Char)
{
    return u_Char == u' ' || u_Char == u'\t';
}

bool b_IsLineEnd(char16_t u_Char)
{
    return u_Char == u'\n' || u_Char == u'\r';
}

// Reads the tag whose '<' is at n_Start. Returns the position after its '>', or 0 when no
// well-formed tag starts there.
size_t n_ReadTag(const std::u16string& co_Text, size_t n_Start, st_KxfTag& co_Tag)
{
    size_t n_At = n_Start + 1;
    const size_t n_NameStart = n_At;
    if (n_At < co_Text.size() && co_Text[n_At] == u':')
        ++n_At;
    if (n_At < co_Text.size() && co_Text[n_At] == u'/')
        ++n_At;
    if (n_At >= co_Text.size() || !b_IsLetter(co_Text[n_At]))
        return 0;
    while (n_At < co_Text.size() && b_IsNameChar(co_Text[n_At]))
        ++n_At;
    co_Tag.co_Name = co_Text.substr(n_NameStart, n_At - n_NameStart);
    co_Tag.co_Arguments.clear();
    if (n_At < co_Text.size() && co_Text[n_At] != u'>' && !b_IsBlank(co_Text[n_At]))
        return 0;

    bool b_InQuotes = false;
    bool b_PendingBlank = false;
    for (; n_At < co_Text.size(); ++n_At)
    {
        const char16_t u_Char = co_Text[n_At];
        if (b_IsLineEnd(u_Char))
            return 0;
        if (!b_InQuotes && u_Char == u'>')
        {
            co_Tag.co_Source = co_Text.substr(n_Start, n_At + 1 - n_Start);
            co_Tag.i_Position = static_cast<long>(n_Start);
            return n_At + 1;
        }
        if (!b_InQuotes && b_IsBlank(u_Char))
        {
            b_PendingBlank = !co_Tag.co_Arguments.empty();
            continue;
        }
        if (b_PendingBlank)
            co_Tag.co_Arguments += u' ';
        b_PendingBlank = false;
        co_Tag.co_Arguments += u_Char;
        if (u_Char == u'"')
            b_InQuotes = !b_InQuotes;
    }
    return 0;
}

std::u16string co_Family(const std::u16string& co_Name)
{
    std::u16string co_Result = co_Name;
    const size_t n_Slash = !co_Result.empty() && co_Result[0] == u':' ? 1 : 0;
    if (n_Slash < co_Result.size() && co_Result[n_Slash] == u'/')
        co_Result.erase(n_Slash, 1);
    if (co_Result.size() > 2 && co_Result.compare(0, 2, u":r") == 0 &&
        co_Result.find_first_not_of(u"0123456789", 2) == std::u16string::npos)
        return u":r#";
    return co_Result;
}

long i_Find(const char16_t* const* pqcuz_Families, long i_Count, const std::u16string& co_Family)
{
    for (long i_Index = 0; i_Index < i_Count; ++i_Index)
        if (co_Family == pqcuz_Families[i_Index])
            return i_Index + 1;
    return 0;
}
} // namespace

std::vector<st_KxfTag> CT_KxfTags::sco_Scan(const std::u16string& co_Text)
{
    std::vector<st_KxfTag> co_Tags;
    st_KxfTag co_Tag;
    size_t n_At = co_Text.find(u'<');
    while (n_At != std::u16string::npos)
    {
        const size_t n_End = n_ReadTag(co_Text, n_At, co_Tag);
        if (n_End != 0)
            co_Tags.push_back(co_Tag);
        n_At = co_Text.find(u'<', n_End != 0 ? n_End : n_At + 1);
    }
    return co_Tags;
}

long CT_KxfTags::si_GetMember(et_KxfFormat eo_Format, const std::u16string& co_Name)
{
    const std::u16string co_Key = co_Family(co_Name);
    const long i_Count = si_GetMemberCount(eo_Format);
    const char16_t* const* pqcuz_Families =
        eo_Format == eo_FormatF ? sqcuz_FamiliesF : sqcuz_FamiliesI;
    const long i_Member = i_Find(pqcuz_Families, i_Count, co_Key);
    // Format F has one member for all reserved characters, numbered or not.
    if (i_Member == 0 && co_Key == u":r#")
        return i_Find(pqcuz_Families, i_Count, u":r");
    return i_Member;
}

long CT_KxfTags::si_GetMemberCount(et_KxfFormat eo_Format)
{
    return eo_Format == eo_FormatF ? static_cast<long>(std::size(sqcuz_FamiliesF))
                                   : static_cast<long>(std::size(sqcuz_FamiliesI));
}
