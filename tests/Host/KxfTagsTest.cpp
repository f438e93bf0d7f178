#include "KxfTags.h"

#include <gtest/gtest.h>

namespace
{
struct st_ScanCase
{
    const char16_t* qcuz_Text;
    std::vector<st_KxfTag> co_Expected; // name, arguments, source, position
};

TEST(KxfTags, ScansTagsWithTheirNamesArgumentsAndPositions)
{
    const st_ScanCase sco_Cases[] = {
        {u"a<:b>x<:/b>", {{u":b", u"", u"<:b>", 1}, {u":/b", u"", u"<:/b>", 6}}},
        // blanks inside quotes stay, blanks outside fold to one and are trimmed
        {u"<ps \"Heading  1\">", {{u"ps", u"\"Heading  1\"", u"<ps \"Heading  1\">", 0}}},
        {u"<:xr   \"A\"\t  page >", {{u":xr", u"\"A\" page", u"<:xr   \"A\"\t  page >", 0}}},
        // '>' inside quotes does not end the tag
        {u"<:v \"a>b\">", {{u":v", u"\"a>b\"", u"<:v \"a>b\">", 0}}},
        // names with dots, dashes, underscores and digits; slash forms of both kinds
        {u"<:t.><:t-d><:t_></imk><:r16384>",
         {{u":t.", u"", u"<:t.>", 0},
          {u":t-d", u"", u"<:t-d>", 5},
          {u":t_", u"", u"<:t_>", 11},
          {u"/imk", u"", u"</imk>", 16},
          {u":r16384", u"", u"<:r16384>", 22}}},
        // positions count UTF-16 units: one for U+00FC, two for U+1F600
        {u"\u00FC\U0001F600<:hs>", {{u":hs", u"", u"<:hs>", 3}}},
        // a '<' that opens no tag is text, and the next '<' may open one
        {u"<<:b>", {{u":b", u"", u"<:b>", 1}}},
    };
    for (const st_ScanCase& co_Case : sco_Cases)
    {
        const std::vector<st_KxfTag> co_Tags = CT_KxfTags::sco_Scan(co_Case.qcuz_Text);
        ASSERT_EQ(co_Tags.size(), co_Case.co_Expected.size())
            << "text: " << ::testing::PrintToString(std::u16string(co_Case.qcuz_Text));
        for (size_t n_Index = 0; n_Index < co_Tags.size(); ++n_Index)
        {
            const st_KxfTag& co_Got = co_Tags[n_Index];
            const st_KxfTag& co_Want = co_Case.co_Expected[n_Index];
            EXPECT_EQ(co_Got.co_Name, co_Want.co_Name);
            EXPECT_EQ(co_Got.co_Arguments, co_Want.co_Arguments);
            EXPECT_EQ(co_Got.co_Source, co_Want.co_Source);
            EXPECT_EQ(co_Got.i_Position, co_Want.i_Position);
        }
    }
}

TEST(KxfTags, MalformedTagsAreText)
{
    for (const char16_t* qcuz_Text : {u"a < b", u"<1>", u"<:>", u"<:/>", u"< ps>", u"<ps \"x\n\">",
                                      u"<:b", u"<:b \"open>", u"<:b\"x\">", u"<:b\r>", u"<"})
        EXPECT_TRUE(CT_KxfTags::sco_Scan(qcuz_Text).empty())
            << ::testing::PrintToString(std::u16string(qcuz_Text));
}

struct st_MemberCase
{
    et_KxfFormat eo_Format;
    const char16_t* qcuz_Name;
    long i_Member;
};

TEST(KxfTags, MembersFollowTheFormatTables)
{
    const st_MemberCase sco_Cases[] = {
        {eo_FormatF, u":b", 1},
        {eo_FormatF, u":/b", 1},
        {eo_FormatF, u":i", 27},
        {eo_FormatF, u":/i", 27},
        {eo_FormatF, u":xr", 6},
        {eo_FormatF, u"ps", 33},
        {eo_FormatF, u"imk", 25},
        {eo_FormatF, u"/imk", 25},
        {eo_FormatF, u":imk", 26},
        {eo_FormatF, u":hs", 22},
        {eo_FormatF, u":v", 45},
        {eo_FormatF, u"ss", 42},
        // format F has one member for reserved characters, with or without a number
        {eo_FormatF, u":r", 35},
        {eo_FormatF, u":r12", 35},
        {eo_FormatF, u":rq", 37},
        {eo_FormatF, u":rdq", 36},
        {eo_FormatF, u":r1a", 0},
        {eo_FormatF, u":t-d", 0},
        {eo_FormatF, u":an", 0},
        {eo_FormatF, u"", 0},
        {eo_FormatF, u":zz", 0},
        {eo_FormatI, u":an", 1},
        {eo_FormatI, u":b", 3},
        {eo_FormatI, u":hs", 20},
        {eo_FormatI, u":i", 25},
        {eo_FormatI, u"ps", 29},
        {eo_FormatI, u":r", 31},
        {eo_FormatI, u":r7", 32},
        {eo_FormatI, u":r16384", 32},
        {eo_FormatI, u":t.", 41},
        {eo_FormatI, u":t_", 42},
        {eo_FormatI, u":t-", 43},
        {eo_FormatI, u":t-d", 44},
        {eo_FormatI, u":sc", 46},
        {eo_FormatI, u":/sc", 46},
        {eo_FormatI, u":v", 47},
        {eo_FormatI, u"sa", 38},
        {eo_FormatI, u":dh", 0},
    };
    for (const st_MemberCase& co_Case : sco_Cases)
        EXPECT_EQ(CT_KxfTags::si_GetMember(co_Case.eo_Format, co_Case.qcuz_Name), co_Case.i_Member)
            << (co_Case.eo_Format == eo_FormatF ? "F " : "I ")
            << ::testing::PrintToString(std::u16string(co_Case.qcuz_Name));
    EXPECT_EQ(CT_KxfTags::si_GetMemberCount(eo_FormatF), 45);
    EXPECT_EQ(CT_KxfTags::si_GetMemberCount(eo_FormatI), 47);
}
} // namespace
