// CT_StringScanner: items and words of both string kinds, the separator of 8-bit strings, out
// strings that are the scanned string, and mixed kinds.
#include "System/String/StringScanner.h"

#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;

// The same ASCII text as either kind.
std::unique_ptr<CT_String> pco_Make(int b_Wide, const char* qccz_Text)
{
    if (b_Wide)
        return std::make_unique<CT_UString>(qccz_Text, sn_All, 0);
    return std::make_unique<CT_CString>(qccz_Text, sn_All, 0);
}

std::string s_Text(const CT_String* pcco)
{
    return CT_CString(pcco, 0).qccz_Get();
}

class StringScanner : public testing::TestWithParam<int>
{
protected:
    std::unique_ptr<CT_String> pco_Text(const char* qccz) { return pco_Make(GetParam(), qccz); }
    const CT_StringScanner co_Scanner{};
};

TEST_P(StringScanner, ItemCases)
{
    struct
    {
        const char* qccz_Text;
        unsigned n_Count, n;
        const char *qccz_Item, *qccz_Removed;
    } const aso_Cases[] = {
        {"", 1, 1, "", ""},
        {"a,b,,c", 4, 1, "a", ",b,,c"},
        {"a,b,,c", 4, 3, "", "a,b,,c"},
        {"a,b,,c", 4, 4, "c", "a,b,,"},
        {"a,b,c", 3, 2, "b", "a,,c"}, // the separators stay
        {"a,b,c", 3, 0, "", "a,b,c"}, // no item 0
        {"a,b,c", 3, 5, "", "a,b,c"},
        {",", 2, 2, "", ","},
    };
    for (const auto& so : aso_Cases)
    {
        auto pco = pco_Text(so.qccz_Text);
        auto pco_Out = pco_Text("old");
        EXPECT_EQ(co_Scanner.n_ItemCount(pco.get(), u','), so.n_Count) << so.qccz_Text;
        co_Scanner.v_Item(pco_Out.get(), pco.get(), u',', so.n);
        EXPECT_EQ(s_Text(pco_Out.get()), so.qccz_Item) << so.qccz_Text << " " << so.n;
        co_Scanner.v_RemoveItem(pco.get(), u',', so.n);
        EXPECT_EQ(s_Text(pco.get()), so.qccz_Removed) << so.qccz_Text << " " << so.n;
    }
}

TEST_P(StringScanner, WordCases)
{
    struct
    {
        const char *qccz_Text, *qccz_Set;
        unsigned n_Count, n;
        const char *qccz_Word, *qccz_Removed;
    } const aso_Cases[] = {
        {"  ab  cd ", " ", 2, 2, "cd", "  ab   "},
        {"  ab  cd ", " ", 2, 1, "ab", "    cd "}, // the separators stay
        {"  ab  cd ", " ", 2, 3, "", "  ab  cd "},
        {"a, b,,c", ", ", 3, 3, "c", "a, b,,"},
        {"abc", "", 1, 1, "abc", ""},
        {"", " ", 0, 1, "", ""},
        {"   ", " ", 0, 0, "", "   "},
    };
    for (const auto& so : aso_Cases)
    {
        auto pco = pco_Text(so.qccz_Text);
        auto pco_Set = pco_Text(so.qccz_Set);
        auto pco_Out = pco_Text("old");
        EXPECT_EQ(co_Scanner.n_WordCount(pco.get(), pco_Set.get()), so.n_Count) << so.qccz_Text;
        co_Scanner.v_SubWord(pco_Out.get(), pco.get(), pco_Set.get(), so.n);
        EXPECT_EQ(s_Text(pco_Out.get()), so.qccz_Word) << so.qccz_Text << " " << so.n;
        co_Scanner.v_RemoveWord(pco.get(), pco_Set.get(), so.n);
        EXPECT_EQ(s_Text(pco.get()), so.qccz_Removed) << so.qccz_Text << " " << so.n;
    }
}

TEST_P(StringScanner, OutStringMayBeTheScannedOne)
{
    auto pco = pco_Text("ab,cd");
    co_Scanner.v_Item(pco.get(), pco.get(), u',', 2);
    EXPECT_EQ(s_Text(pco.get()), "cd");
    auto pco_Set = pco_Text(" ");
    auto pco_Words = pco_Text(" x yz");
    co_Scanner.v_SubWord(pco_Words.get(), pco_Words.get(), pco_Set.get(), 2);
    EXPECT_EQ(s_Text(pco_Words.get()), "yz");
}

INSTANTIATE_TEST_SUITE_P(BothKinds, StringScanner, testing::Values(0, 1),
                         [](const testing::TestParamInfo<int>& so)
                         { return so.param ? "UString" : "CString"; });

TEST(StringScannerKinds, MixedKindsDoNothing)
{
    const CT_StringScanner co_Scanner{};
    CT_CString co_Narrow("a,b", sn_All);
    CT_UString co_Wide(u"x y", sn_All), co_Out(u"old", sn_All);
    const CT_CString co_Blank(" ", sn_All);
    EXPECT_EQ(co_Scanner.n_ItemCount(nullptr, u','), 0u);
    co_Scanner.v_Item(&co_Out, &co_Narrow, u',', 1);
    EXPECT_EQ(s_Text(&co_Out), "old");
    EXPECT_EQ(co_Scanner.n_WordCount(&co_Wide, &co_Blank), 0u);
    co_Scanner.v_SubWord(&co_Out, &co_Wide, &co_Blank, 1);
    co_Scanner.v_RemoveWord(&co_Wide, &co_Blank, 1);
    EXPECT_EQ(s_Text(&co_Out), "old");
    EXPECT_EQ(s_Text(&co_Wide), "x y");
}

// The 16-bit separator becomes one byte of code page 0; out strings keep their code page.
TEST(StringScannerKinds, EightBitSeparatorAndCodePage)
{
    const CT_StringScanner co_Scanner{};
    const CT_CString co_Text("ab\x80\xC6", sn_All, 1251);
    CT_CString co_Out(1251u);
    EXPECT_EQ(co_Scanner.n_ItemCount(&co_Text, u'\u20AC'), 2u);
    co_Scanner.v_Item(&co_Out, &co_Text, u'\u20AC', 2);
    EXPECT_STREQ(co_Out.qccz_Get(), "\xC6");
    EXPECT_EQ(co_Out.n_GetCodePage(), 1251u);
}

TEST(StringScannerKinds, ScannersComeFromTheHeap)
{
    std::unique_ptr<CT_StringScanner> pco(new CT_StringScanner);
    const CT_UString co(u"a;b", sn_All);
    EXPECT_EQ(pco->n_ItemCount(&co, u';'), 2u);
}
} // namespace
