#include "System/String/UString.h"

#include "Basis/Platform/Heap.h"
#include "System/String/CString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;
constexpr unsigned sn_NotFound = CT_String::sn_NotFound;

std::string s_Show(std::u16string_view s)
{
    std::string s_Out;
    for (char16_t u : s)
    {
        char ac[8];
        std::snprintf(ac, sizeof ac, "\\u%04X", static_cast<unsigned>(u));
        s_Out += u >= 0x20 && u < 0x7F ? std::string(1, static_cast<char>(u)) : std::string(ac);
    }
    return s_Out;
}

// Compares the text and checks what every string must keep: never a null text, used size 0 or
// 2 x (length + 1) with the terminator at the length, used size within the block. Failures name the
// caller's line (the compilers' builtins: clang 14 has no std::source_location).
void v_ExpectText(const CT_UString& co, std::u16string_view s_Expected,
                  const char* qccz_File = __builtin_FILE(), int i_Line = __builtin_LINE())
{
    const CT_Buffer* pcco_Buffer = co.pcco_GetBuffer();
    const unsigned n_Used = pcco_Buffer->n_GetUsedSize();
    const unsigned n_Maximum = pcco_Buffer->n_GetMaximumSize();
    const unsigned n_Length = co.vn_GetLength();
    const char16_t* qcuz = co.qcuz_Get();
    std::string s_Faults;
    if (!qcuz)
        s_Faults += " null text;";
    else if (n_Used == 0 ? n_Length != 0
                         : n_Used != 2 * (n_Length + 1) || qcuz != pcco_Buffer->qcv_Get())
        s_Faults += " used size is neither 0 nor 2 x (length + 1) in the block;";
    else if (qcuz[n_Length] != 0 || std::char_traits<char16_t>::length(qcuz) != n_Length)
        s_Faults += " terminator not at the length;";
    else if (std::u16string_view(qcuz, n_Length) != s_Expected)
        s_Faults += " text \"" + s_Show({qcuz, n_Length}) + "\";";
    if (n_Used > n_Maximum || co.vn_GetMaximumLength() != (n_Maximum >= 2 ? n_Maximum / 2 - 1 : 0))
        s_Faults += " used size or maximum length disagree with the block;";
    if (!s_Faults.empty())
        ADD_FAILURE_AT(qccz_File, i_Line)
            << "expected \"" << s_Show(s_Expected) << "\":" << s_Faults;
}

class CT_OtherString : public CT_String
{
public:
    CT_OtherString() = default;
};

#define CT_EDIT(...) [&](CT_UString& co) { __VA_ARGS__; }

struct st_EditCase
{
    const char16_t* qcuz_Initial;
    std::function<void(CT_UString&)> fn_Edit;
    std::u16string s_Expected;
};

// Every edit runs on a string of its own and on a copy sharing the original's block. The unit
// work is shared with CT_CString; these cases are about 16-bit units and conversions. 8-bit
// text without a code page of its own converts with code page 0 (Windows-1252 on both builds).
TEST(UString, EditsGiveTheTextAndLeaveSharingCopiesAlone)
{
    const CT_UString co_Src(u"xyz", sn_All), co_X(u"x", sn_All), co_AB(u"AB", sn_All);
    const CT_CString co_Zhe("\xC6\xC6", sn_All, 1251); // U+0416 twice in Windows-1251
    const CT_CString co_Abc("abc", sn_All), co_Set("xy", sn_All), co_Format("%s-%d", sn_All);
    const CT_UString co_WideFormat(u"%s+%d", sn_All);
    const st_EditCase aso_Cases[] = {
        {u"Hello", CT_EDIT(co.v_Set("x\x80", sn_All, CT_String::sn_OwnCodePage)), u"x\u20AC"},
        {u"Hello", CT_EDIT(co.v_Set(&co_Zhe)), u"\u0416\u0416"},
        {u"Hello", CT_EDIT(co.v_Set(static_cast<const char16_t*>(nullptr), sn_All)), u""},
        {u"Hello", CT_EDIT(co.v_Set(static_cast<const char*>(nullptr), sn_All, 0)), u""},
        {u"Hello", CT_EDIT(co.v_Replace("X\x80", sn_All, 3)), u"HelX\u20AC"},
        {u"Hello", CT_EDIT(co.v_Replace(&co_Zhe, 1, sn_All, 1)), u"H\u0416"},
        {u"abcd", CT_EDIT(co.v_Insert(u"XY", sn_All, 2)), u"abXYcd"},
        {u"abcd", CT_EDIT(co.v_Insert("\x80", sn_All, 1)), u"a\u20ACbcd"},
        {u"abcd", CT_EDIT(co.v_Insert(&co_Zhe, sn_All, 4)), u"abcd\u0416\u0416"},
        {u"", CT_EDIT(co.v_Insert(&co_Src, 2, 0)), u"xy"},
        {u"ab", CT_EDIT(co.v_Append(u"\u4E2D!", sn_All)), u"ab\u4E2D!"},
        {u"ab", CT_EDIT(co.v_Append("\x80\xC6", sn_All, 1251)), u"ab\u0402\u0416"},
        {u"ab", CT_EDIT(co.v_Append('\xC6', 1251)), u"ab\u0416"},
        {u"ab", CT_EDIT(co.v_Append(&co_Zhe, 1)), u"ab\u0416"},
        {u"ab", CT_EDIT(co.v_Append('\0', 0); co.v_Append(u'\0'); co.v_Append("x", 0, 0)), u"ab"},
        {u"abcdef", CT_EDIT(co.vv_Remove(2, 1)), u"adef"},
        // A fill that ends inside leaves the rest; one that reaches the end ends the string.
        {u"abcdef", CT_EDIT(co.vv_Replace('x', 2, 1)), u"axxdef"},
        {u"abcdef", CT_EDIT(co.vv_Replace('\x80', 3, 5)), u"abcde\u20AC\u20AC\u20AC"},
        {u"Hello", CT_EDIT(co.vv_SetAt('\x80', 4)), u"Hell\u20AC"},
        {u"Hello", CT_EDIT(co.v_SetAt(u'\0', 2)), u"He"},
        {u"Hello, 1!", CT_EDIT(co.vv_ToUpper()), u"HELLO, 1!"},
        {u"xxaxbx", CT_EDIT(co.vv_Strip(&co_X)), u"axb"},
        {u"xxabcyx", CT_EDIT(co.vv_Strip(&co_Set)), u"abc"},
        // The wide white space is the Windows runtime's, also off Windows; U+0085 is not in it.
        {u"\u3000\u00A0a b\u2003\u202F\r\n", CT_EDIT(co.vv_Strip(nullptr)), u"a b"},
        {u"\u0085a\u0085", CT_EDIT(co.vv_Strip(nullptr)), u"\u0085a\u0085"},
        {u" \t\u2028ab \u3000", CT_EDIT(co.vv_StripLeft()), u"ab \u3000"},
        {u"aabbcc", CT_EDIT(co.vv_Translate(&co_Abc, &co_AB)), u"AABB"},
        {u"\u0416a", CT_EDIT(co.vv_Translate(&co_Zhe, &co_Abc)), u"aa"},
        {u"Hello", CT_EDIT(co.vv_SetSize(3, 1)), u"Hel"},
        {u"Hello", CT_EDIT(co.vv_SetLength(3)), u"Hel"},
        {u"Hello", CT_EDIT(co.v_Format("%d-%s", 7, "\x80")), u"7-\u20AC"},
        {u"Hello", CT_EDIT(co.vv_Format(&co_Format, "a", 5)), u"a-5"},
        {u"Hello", CT_EDIT(co.vv_Format(&co_WideFormat, u"\u4E2D", 6)), u"\u4E2D+6"},
    };
    for (const st_EditCase& so : aso_Cases)
    {
        SCOPED_TRACE("on \"" + s_Show(so.qcuz_Initial) + "\", expecting \"" +
                     s_Show(so.s_Expected) + "\"");
        CT_UString co(so.qcuz_Initial, sn_All);
        so.fn_Edit(co);
        v_ExpectText(co, so.s_Expected);

        const CT_UString co_Original(so.qcuz_Initial, sn_All);
        CT_UString co_Copy(&co_Original);
        so.fn_Edit(co_Copy);
        v_ExpectText(co_Copy, so.s_Expected);
        v_ExpectText(co_Original, so.qcuz_Initial);
    }
}

// Long strings, so that growing really moves the block while the source is read.
TEST(UString, OwnTextAsSourceActsOnACopy)
{
    std::u16string s;
    for (unsigned i = 0; i < 1000; ++i)
        s += static_cast<char16_t>(u'\u4E00' + i % 10);
    const st_EditCase aso_Cases[] = {
        {u"", CT_EDIT(co.v_Replace(co.qcuz_Get(), sn_All, co.vn_GetLength())), s + s},
        {u"", CT_EDIT(co.v_Insert(co.qcuz_Get() + 3, sn_All, 5)),
         s.substr(0, 5) + s.substr(3) + s.substr(5)},
        {u"", CT_EDIT(co.v_Append(co.qcuz_Get(), sn_All)), s + s},
        {u"", CT_EDIT(co.v_Set(co.qcuz_Get() + 5, 3)), s.substr(5, 3)},
    };
    for (const st_EditCase& so : aso_Cases)
    {
        SCOPED_TRACE(&so - aso_Cases);
        CT_UString co(s.c_str(), sn_All);
        so.fn_Edit(co);
        v_ExpectText(co, so.s_Expected);
    }
}

TEST(UString, DefaultSizedAndEmptyStrings)
{
    CT_UString co;
    v_ExpectText(co, u"");
    EXPECT_EQ(co.pcco_GetBuffer()->qcv_Get(), nullptr);
    EXPECT_EQ(co.vn_GetGrowth(), 16u);
    co.vv_SetGrowth(8);
    EXPECT_EQ(co.vn_GetGrowth(), 8u);
    EXPECT_EQ(co.pcco_GetBuffer()->n_GetGrowth(), 16u);

    // The size counts the terminator; even a size of 0 holds one.
    CT_UString co_Sized(8u), co_Zero(0u);
    v_ExpectText(co_Sized, u"");
    EXPECT_GE(co_Sized.vn_GetMaximumLength(), 7u);
    v_ExpectText(co_Zero, u"");
    EXPECT_EQ(co_Zero.pcco_GetBuffer()->n_GetUsedSize(), 2u);

    // Setting an empty text trims the block away.
    CT_UString co_Set(u"abc", sn_All);
    co_Set.v_Set(u"", sn_All);
    v_ExpectText(co_Set, u"");
    EXPECT_EQ(co_Set.vn_GetMaximumLength(), 0u);
}

// Units appended one by one double the block when it is short: with the default growth the
// capacities run 20, 52, 116 and 244 bytes, leaving room for 121 units.
TEST(UString, SingleUnitAppendsDoubleTheBlock)
{
    CT_UString co;
    std::vector<unsigned> an_Capacities;
    std::u16string s;
    for (unsigned i = 0; i < 100; ++i)
    {
        const char16_t u = static_cast<char16_t>(u'\u4E00' + i);
        co.v_Append(u);
        s += u;
        const unsigned n = co.pcco_GetBuffer()->n_GetMaximumSize();
        if (an_Capacities.empty() || an_Capacities.back() != n)
            an_Capacities.push_back(n);
    }
    v_ExpectText(co, s);
    EXPECT_EQ(an_Capacities, (std::vector<unsigned>{20, 52, 116, 244}));
    EXPECT_EQ(co.vn_GetMaximumLength(), 121u);

    CT_UString co_Copy(&co);
    co_Copy.v_Append(u'!');
    v_ExpectText(co_Copy, s + u"!");
    v_ExpectText(co, s);
}

TEST(UString, CopiesShareAndNarrowStringsConvertWithTheirCodePage)
{
    CT_UString co_First(u"shared", sn_All);
    co_First.vv_SetGrowth(40);
    CT_UString co_FromString(static_cast<const CT_String*>(&co_First));
    const std::size_t n_Pooled = CT_Heap::sn_PoolInUse(CT_UString::spso_GetMemPool());
    CT_String* pco_Created = co_First.vpco_Create();
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_UString::spso_GetMemPool()), n_Pooled + 1);
    auto* pco_Made = static_cast<CT_UString*>(pco_Created->vpv_IsA(CT_UString::spcco_GetType()));
    ASSERT_NE(pco_Made, nullptr);
    for (const CT_UString* pcco : {&co_FromString, pco_Made})
    {
        EXPECT_EQ(pcco->qcuz_Get(), co_First.qcuz_Get());
        EXPECT_EQ(pcco->vn_GetGrowth(), 40u);
    }
    delete pco_Created;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_UString::spso_GetMemPool()), n_Pooled);

    const CT_CString co_Narrow("\xC6\x80", sn_All, 1251);
    v_ExpectText(CT_UString(&co_Narrow), u"\u0416\u0402");
    v_ExpectText(CT_UString(static_cast<const CT_String*>(&co_Narrow)), u"\u0416\u0402");

    EXPECT_EQ(CT_UString::sco_Type.n_GetTypes(), 2u);
    EXPECT_STREQ(CT_UString::sco_Type.qccz_GetName(), "CT_UString");
    EXPECT_EQ(co_First.vpv_IsKindOf(CT_String::spcco_GetType()), &co_First);
    EXPECT_EQ(co_First.vpv_IsA(CT_CString::spcco_GetType()), nullptr);
}

TEST(UString, FindIsByWholeUnits)
{
    const CT_UString co(u"ab\u4E2Dab\u4E2D", sn_All);
    const CT_UString co_Needle(u"b\u4E2D", sn_All), co_Long(u"ab\u4E2Dab\u4E2Dx", sn_All);
    EXPECT_EQ(co.vn_Find(&co_Needle, 2), 4u);
    EXPECT_EQ(co.vn_Find(&co_Needle, 5), sn_NotFound);
    EXPECT_EQ(co.vn_Find(&co_Long, 0), sn_NotFound);
    // Never half in one unit and half in the next.
    const CT_UString co_Straddle(u"\u4100\u0041", sn_All), co_Middle(u"\u0041\u0041", sn_All);
    EXPECT_EQ(co_Straddle.vn_Find(&co_Middle, 0), sn_NotFound);
    const CT_CString co_Zhe("\xC6", sn_All, 1251);
    const CT_UString co_Text(u"a\u0416\u20AC", sn_All);
    EXPECT_EQ(co_Text.vn_Find(&co_Zhe, 0), 1u);
    EXPECT_EQ(co_Text.vn_Find('\x80', 0), 2u); // code page 0
    EXPECT_EQ(co_Text.vn_Find(u'\0', 0), 3u);
}

TEST(UString, CompareCases)
{
    const struct
    {
        const char16_t* qcuz_Own;
        unsigned n_Offset;
        const char16_t* qcuz_Text;
        unsigned n_Count;
        int i_Expected; // exact for sn_All, else the sign
    } aso_Cases[] = {
        {u"abc", 0, u"abd", sn_All, -1},        {u"abc", 0, u"abd", 2, 0},
        {u"\uFFFF", 0, u"a", sn_All, 1},        {u"\u4E2D", 0, u"\u4E2E", 1, -1},
        {u"xx\u4E2D", 2, u"\u4E2D", sn_All, 0},
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(s_Show(so.qcuz_Own) + " vs " + s_Show(so.qcuz_Text));
        const CT_UString co(so.qcuz_Own, sn_All);
        const CT_UString co_Other((u"##" + std::u16string(so.qcuz_Text)).c_str(), sn_All);
        for (int i : {co.vi_Compare(so.qcuz_Text, so.n_Count, so.n_Offset),
                      co.vi_Compare(&co_Other, 2, so.n_Count, so.n_Offset)})
            EXPECT_EQ(so.n_Count == sn_All ? i : (i > 0) - (i < 0), so.i_Expected);
    }
    // 8-bit text converts with code page 0. A string longer than the text never compares equal
    // to it, whatever the count says; a count within the text compares that much.
    const CT_UString co(u"a\u20AC!", sn_All);
    EXPECT_EQ(co.vi_Compare("a\x80!", sn_All, 0), 0);
    EXPECT_EQ(co.vi_Compare("a\x80", sn_All, 0), 1);
    EXPECT_GT(co.vi_Compare("a\x80", 9, 0), 0);
    EXPECT_EQ(co.vi_Compare("a\x80?", 2, 0), 0);
    EXPECT_EQ(co.vi_Compare("a\x80?", sn_All, 0), -1);
    // A narrow string converts with its own code page, from its own offset.
    const CT_CString co_Zhe("xx\xC6", sn_All, 1251);
    EXPECT_EQ(CT_UString(u"\u0416", sn_All).vi_Compare(&co_Zhe, 2, sn_All, 0), 0);
}

TEST(UString, MatchIsUnitByUnit)
{
    const CT_UString co_Pair(u"\U0001F600", sn_All), co_Two(u"??", sn_All);
    EXPECT_EQ(co_Pair.vb_Match(&co_Two), 1); // a pair is two units
    EXPECT_EQ(co_Pair.b_Match(u"?"), 0);
    EXPECT_EQ(CT_UString(u"\u4E2Dxyz", sn_All).b_Match(u"\u4E2D*z"), 1);
    const CT_CString co_Narrow("\xC6*", sn_All, 1251);
    EXPECT_EQ(CT_UString(u"\u0416xyz", sn_All).vb_Match(&co_Narrow), 1);
    EXPECT_EQ(CT_UString(u"xyz", sn_All).vb_Match(nullptr), 1);
}

TEST(UString, CharactersOfTheOtherWidthUseCodePage0)
{
    CT_UString co(u"a\u20AC\u4E2D", sn_All);
    EXPECT_EQ(co.vc_GetAt(1), '\x80');
    EXPECT_EQ(co.vc_GetAt(2), '?'); // no such character in Windows-1252
    EXPECT_EQ(co.vu_GetAt(2), u'\u4E2D');
}

TEST(UString, UnknownStringKindReadsAsAbsent)
{
    CT_OtherString co_Other;
    CT_UString co(u"xabcx", sn_All);
    co.v_Set(&co_Other);
    co.v_Append(&co_Other, sn_All);
    co.v_Replace(&co_Other, 0, sn_All, 1);
    co.vv_Strip(&co_Other);
    co.vv_Format(&co_Other);
    v_ExpectText(co, u"xabcx");
    EXPECT_EQ(co.vn_Find(&co_Other, 2), 2u);
    EXPECT_EQ(co.vi_Compare(&co_Other, 0, sn_All, 0), 1);
}
} // namespace
