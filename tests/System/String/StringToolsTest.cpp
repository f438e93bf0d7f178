// CT_StringTools: comparison with and without case in its three forms, the set searches in both
// directions, first and every replacement, and number formatting.
#include "System/String/StringTools.h"

#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;
constexpr unsigned sn_NotFound = CT_StringTools::sn_NotFound;

std::u16string s_Text(const CT_UString& co)
{
    return co.qcuz_Get();
}

TEST(StringTools, CompareCases)
{
    struct
    {
        const char16_t *qcuz_A, *qcuz_B;
        int b_CaseSensitive;
        unsigned n_Count, n_OffsetA, n_OffsetB;
        int i_Expected;
    } const aso_Cases[] = {
        {u"Abc", u"abd", 0, sn_All, 0, 0, 'c' - 'd'},
        {u"Abc", u"abd", 1, sn_All, 0, 0, 'A' - 'a'},
        {u"Abc", u"abd", 0, 2, 0, 0, 0},
        {u"xxabc", u"abd", 1, sn_All, 2, 0, 'c' - 'd'},
        {u"ab", u"xb", 1, sn_All, 1, 1, 0},
        {u"ab", u"ac", 1, 1, 0, 0, 0},         // one unit only
        {u"ab", u"ac", 1, 0, 0, 0, 'b' - 'c'}, // 0 counts as unlimited
        {u"ab", u"abc", 1, sn_All, 0, 0, -'c'},
        {u"abc", u"abc", 1, sn_All, 0, 0, 0},
        {u"\u0416a", u"\u0436A", 0, sn_All, 0, 0, 0}, // case folding beyond ASCII
        {u"\u0416", u"\u0436", 1, sn_All, 0, 0, 0x416 - 0x436},
        {u"\uFFFF", u"a", 1, sn_All, 0, 0, 0xFFFF - 'a'}, // units compare unsigned
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CT_StringTools::si_CompareStrings(so.qcuz_A, so.qcuz_B, so.b_CaseSensitive,
                                                    so.n_Count, so.n_OffsetA, so.n_OffsetB),
                  so.i_Expected)
            << static_cast<int>(so.qcuz_A[0]) << " " << so.n_Count;
}

TEST(StringTools, EightBitAndStringFormsCompareAs16BitText)
{
    EXPECT_EQ(CT_StringTools::si_CompareStrings("Abc", "abd", 0, sn_All, 0, 0), 'c' - 'd');
    EXPECT_EQ(CT_StringTools::si_CompareStrings("\x80", "\x81", 1, sn_All, 0, 0), 0x20AC - 0x81);
    const CT_CString co_Zhe("\xC6x", sn_All, 1251); // U+0416 in Windows-1251
    const CT_UString co_Lower(u"\u0436X", sn_All);
    EXPECT_EQ(CT_StringTools::si_CompareStrings(&co_Zhe, &co_Lower, 0, sn_All, 0, 0), 0);
    EXPECT_EQ(CT_StringTools::si_CompareStrings(&co_Zhe, nullptr, 1, sn_All, 1, 0), 'x');
}

TEST(StringTools, FindAnyAndFindNotCases)
{
    struct
    {
        const char16_t *qcuz_Set, *qcuz_Text;
        unsigned n_Start;
        int i_Step;
        unsigned n_Any, n_Not;
    } const aso_Cases[] = {
        {u"aeiou", u"xyzzy", 0, 1, sn_NotFound, 0},
        {u"aeiou", u"hello", 4, -1, 4, 3},
        {u"aeiou", u"hello", 3, -1, 1, 3},
        {u"aeiou", u"hello", 2, 1, 4, 2},
        {u" ", u"  ab", 0, 1, 0, 2},
        {u" ", u"ab  ", 3, -1, 3, 1},
        {u" ", u"   ", 2, -1, 2, sn_NotFound},
        {u"", u"hello", 2, 1, sn_NotFound, 2},
        {nullptr, u"hello", 2, -1, sn_NotFound, 2},
        {u"l", u"hello", 0, 2, sn_NotFound, sn_NotFound}, // other steps examine nothing
        {u"h", u"", 0, 1, sn_NotFound, sn_NotFound},
    };
    for (const auto& so : aso_Cases)
    {
        const CT_UString co(so.qcuz_Text, sn_All);
        EXPECT_EQ(CT_StringTools::sn_FindAny(so.qcuz_Set, &co, so.n_Start, so.i_Step), so.n_Any)
            << so.n_Start << " " << so.i_Step;
        EXPECT_EQ(CT_StringTools::sn_FindNot(so.qcuz_Set, &co, so.n_Start, so.i_Step), so.n_Not)
            << so.n_Start << " " << so.i_Step;
    }
}

TEST(StringTools, ReplaceTakesTheFirstOccurrence)
{
    CT_CString co_Narrow("abcb", sn_All);
    const CT_UString co_B(u"b", sn_All), co_XY(u"XY", sn_All), co_Z(u"z", sn_All);
    EXPECT_EQ(CT_StringTools::sn_Replace(&co_Narrow, &co_B, &co_XY), 1u);
    EXPECT_STREQ(co_Narrow.qccz_Get(), "aXYcb");
    EXPECT_EQ(CT_StringTools::sn_Replace(&co_Narrow, &co_Z, &co_XY), sn_NotFound);
    EXPECT_STREQ(co_Narrow.qccz_Get(), "aXYcb");

    CT_UString co_Wide(u"abcb", sn_All);
    const CT_CString co_Euro("\x80", sn_All);
    EXPECT_EQ(CT_StringTools::sn_Replace(&co_Wide, &co_B, &co_Euro), 1u);
    EXPECT_EQ(s_Text(co_Wide), u"a\u20ACcb");

    // The what text is measured in the string's own code page: one 16-bit unit, two bytes here.
    CT_CString co_Japanese(u"\u65E5\u672C", sn_All, 932);
    const CT_UString co_Sun(u"\u65E5", sn_All);
    const CT_CString co_X("x", sn_All);
    EXPECT_EQ(CT_StringTools::sn_Replace(&co_Japanese, &co_Sun, &co_X), 0u);
    EXPECT_EQ(CT_UString(&co_Japanese).qcuz_Get(), std::u16string(u"x\u672C"));
}

TEST(StringTools, ReplaceAllCases)
{
    struct
    {
        const char16_t *qcuz_Text, *qcuz_What, *qcuz_With, *qcuz_Expected;
    } const aso_Cases[] = {
        {u"aba", u"a", u"aa", u"aabaa"}, // inserted text is not searched again
        {u"aaa", u"aa", u"b", u"ba"},
        {u"xax", u"x", u"", u"a"},
        {u"abc", u"", u"x", u"abc"},
        {u"abc", u"z", u"x", u"abc"},
        {u"abab", u"ab", u"\u4E2D", u"\u4E2D\u4E2D"},
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co(so.qcuz_Text, sn_All);
        const CT_UString co_Copy(&co);
        const CT_UString co_What(so.qcuz_What, sn_All);
        CT_StringTools::sv_ReplaceAll(&co, &co_What, so.qcuz_With);
        EXPECT_EQ(s_Text(co), so.qcuz_Expected) << static_cast<int>(so.qcuz_Text[0]);
        EXPECT_EQ(s_Text(co_Copy), so.qcuz_Text) << "a sharing copy keeps its text";
    }
    CT_UString co_Self(u"abc", sn_All);
    CT_StringTools::sv_ReplaceAll(&co_Self, &co_Self, u"z");
    EXPECT_EQ(s_Text(co_Self), u"z");
}

TEST(StringTools, FormatNumberCases)
{
    const unsigned sn_Unlimited = CT_StringTools::sn_Unlimited;
    struct
    {
        unsigned n_Value, n_Width;
        char c_Group, c_Decimal;
        unsigned n_Decimals;
        const char* qccz_Expected;
    } const aso_Cases[] = {
        {1234567, sn_Unlimited, ',', '.', 0, "1,234,567"},
        {1234567, sn_Unlimited, ',', '.', 2, "12,345.67"},
        {5, sn_Unlimited, ',', '.', 2, "0.05"},
        {42, 6, 0, 0, 0, "    42"},
        {0, sn_Unlimited, ',', '.', 0, "0"},
        {0, sn_Unlimited, ',', '.', 1, "0.0"},
        {123456, sn_Unlimited, 0, '.', 0, "123456"},
        {1234, sn_Unlimited, 0, 0, 2, "1234"}, // a zero separator is left out
        {1234567, 5, ',', '.', 0, "4,567"},    // cut at the left edge
        {42, 0, ',', '.', 0, ""},
        {1234, 9, '.', ',', 1, "    123,4"},
        // From 2^31 up the value reads as negative; the sign never follows a group separator,
        // and with decimals it stands before the whole number.
        {0xFFFFFFFFu, sn_Unlimited, ',', '.', 0, "-1"},
        {0x80000000u, sn_Unlimited, ',', '.', 0, "-2,147,483,648"},
        {0u - 123456, sn_Unlimited, ',', '.', 0, "-123,456"},
        {0u - 5, sn_Unlimited, ',', '.', 2, "-0.05"},
        {0u - 1234567, 12, ',', '.', 2, "  -12,345.67"},
        {0x80000000u, sn_Unlimited, ',', '.', 3, "-2,147,483.648"},
        // An unlimited width holds any number of decimals.
        {5, sn_Unlimited, ',', '.', 20, "0.00000000000000000005"},
    };
    for (const auto& so : aso_Cases)
    {
        CT_CString co_Narrow(1251u);
        CT_StringTools::sv_FormatNumber(&co_Narrow, so.n_Value, so.n_Width, so.c_Group,
                                        so.c_Decimal, so.n_Decimals);
        EXPECT_STREQ(co_Narrow.qccz_Get(), so.qccz_Expected) << so.n_Value;
        EXPECT_EQ(co_Narrow.n_GetCodePage(), 1251u);
        CT_UString co_Wide(u"old", sn_All);
        CT_StringTools::sv_FormatNumber(&co_Wide, so.n_Value, so.n_Width, so.c_Group, so.c_Decimal,
                                        so.n_Decimals);
        EXPECT_EQ(CT_CString(&co_Wide, 0).qccz_Get(), std::string(so.qccz_Expected));
    }
}
} // namespace
