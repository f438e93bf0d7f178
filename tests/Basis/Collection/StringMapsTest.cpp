// The string maps: lookups both ways with the first match winning, owned copies that keep their
// class, copying between maps, the text forms, and the number map's byte image, well-formed
// and cut off.
#include "Basis/Collection/StringMaps.h"

#include "Basis/Platform/Heap.h"
#include "System/String/Buffer.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;
constexpr unsigned sn_Append = CT_StringOrdinalMap::sn_Append;

std::string s_Text(const CT_String* pcco)
{
    return pcco ? CT_CString(pcco, 0).qccz_Get() : "(null)";
}

int b_IsWide(const CT_String* pcco)
{
    return pcco->vpv_IsA(CT_UString::spcco_GetType()) != nullptr;
}

std::vector<std::string> aso_Strings(const CT_StringOrdinalMap& co)
{
    std::vector<std::string> aso;
    for (unsigned n = 1; n <= co.n_GetCount(); ++n)
        aso.push_back(s_Text(co.pcco_Get(n)));
    return aso;
}

using CT_Entries = std::vector<std::pair<std::string, unsigned>>;

CT_Entries aso_Entries(const CT_StringNumberMap& co)
{
    CT_Entries aso;
    for (unsigned n = 1; n <= co.n_GetCount(); ++n)
        aso.emplace_back(s_Text(co.pcco_GetAt(n)), co.n_GetAt(n));
    return aso;
}

std::vector<unsigned char> ac_Bytes(const CT_Buffer& co)
{
    const auto* pc = static_cast<const unsigned char*>(co.qcv_Get());
    return {pc, pc + co.n_GetUsedSize()};
}

CT_Buffer co_Image(const std::vector<unsigned char>& ac)
{
    return CT_Buffer(ac.data(), static_cast<unsigned>(ac.size()), 16);
}

const CT_Buffer* pcco_Of(const CT_Buffer& co)
{
    return &co;
}

TEST(StringOrdinalMap, OrdinalsFollowInsertsAndRemovals)
{
    CT_StringOrdinalMap co;
    for (const char* qccz : {"red", "green", "blue"})
        co.v_Insert(qccz, sn_Append);
    EXPECT_EQ(co.n_Get("green"), 2u);
    EXPECT_EQ(co.n_Get("Green"), 0u);
    EXPECT_EQ(co.n_Insert(u"x", 1), 4u);
    EXPECT_EQ(co.n_Get(u"x"), 1u);
    co.v_RemoveAt(2);
    EXPECT_EQ(co.n_Get(u"green"), 2u);
    co.v_Insert(u"green", sn_Append); // duplicates allowed, the first wins
    EXPECT_EQ(co.n_Get("green"), 2u);
    co.v_SetAt("GREEN", 2);
    EXPECT_EQ(co.n_Get("green"), 4u);
    EXPECT_EQ(aso_Strings(co), (std::vector<std::string>{"x", "GREEN", "blue", "green"}));
}

// Each stored string is a copy of the given one's class, sharing its text; the raw forms make
// CT_CString (code page 0) and CT_UString; the text forms hand out the matching width only.
TEST(StringOrdinalMap, StoredStringsAreOwnedCopiesOfTheirClass)
{
    CT_CString co_Given("\xC6", sn_All, 1251);
    CT_StringOrdinalMap co;
    co.v_Insert(&co_Given, sn_Append);
    co.v_Insert("n", sn_Append);
    co.v_Insert(u"\u4E2D", sn_Append);
    co.v_Insert(static_cast<const CT_String*>(nullptr), sn_Append);
    const auto* pcco_Copy = static_cast<const CT_CString*>(co.pcco_Get(1));
    EXPECT_NE(pcco_Copy, &co_Given);
    EXPECT_EQ(pcco_Copy->pcco_GetBuffer()->qcv_Get(), co_Given.pcco_GetBuffer()->qcv_Get());
    EXPECT_EQ(pcco_Copy->n_GetCodePage(), 1251u);
    co_Given.v_Set("changed", sn_All, 0);
    EXPECT_STREQ(co.qccz_Get(1), "\xC6");
    EXPECT_FALSE(b_IsWide(co.pcco_Get(2)));
    EXPECT_TRUE(b_IsWide(co.pcco_Get(3)));
    EXPECT_EQ(std::u16string(co.qcuz_Get(3)), u"\u4E2D");
    EXPECT_STREQ(co.qccz_Get(3), "") << "a 16-bit string is not read as 8-bit text";
    EXPECT_EQ(std::u16string(co.qcuz_Get(2)), u"");
    EXPECT_EQ(s_Text(co.pcco_Get(4)), "");
}

// Keys compare in the stored string's class: a 16-bit key finds 16-bit text whatever its units,
// an 8-bit stored string compares with a 16-bit key converted to its code page.
TEST(StringOrdinalMap, KeysCompareInTheStoredClass)
{
    const char16_t au_Odd[] = {0xD800, 0xFFFF, 1, 0x80, 0};
    CT_StringOrdinalMap co;
    co.v_Insert(au_Odd, sn_Append);
    co.v_Insert("abc", sn_Append);
    EXPECT_EQ(co.n_Get(au_Odd), 1u);
    EXPECT_EQ(co.n_Get(u"\xD800\xFFFF"), 0u);
    EXPECT_EQ(co.n_Get(u"abc"), 2u);
    EXPECT_EQ(co.n_Get("abcd"), 0u);
}

TEST(StringOrdinalMap, CopiesAppendsAndResets)
{
    CT_StringOrdinalMap co_A(3);
    for (const char* qccz : {"a", "b", "c"})
        co_A.v_Insert(qccz, sn_Append);
    CT_StringOrdinalMap co_B(&co_A);
    EXPECT_EQ(aso_Strings(co_B), aso_Strings(co_A));
    EXPECT_NE(co_B.pcco_Get(1), co_A.pcco_Get(1));
    co_B.v_Append(&co_A, 2);
    co_B.v_Append(&co_B, sn_All);
    EXPECT_EQ(co_B.n_GetCount(), 10u);
    co_B.v_Set(&co_B);
    EXPECT_EQ(co_B.n_GetCount(), 10u);
    co_B = co_A;
    EXPECT_EQ(aso_Strings(co_B), aso_Strings(co_A));
    co_B.v_Set(5);
    EXPECT_EQ(co_B.n_GetCount(), 0u);
}

TEST(StringOrdinalMap, TextFormsSplitAndJoin)
{
    CT_StringOrdinalMap co;
    const CT_CString co_Text("red;green;;blue", sn_All, 1251);
    co.v_String2Map(&co_Text, ';');
    EXPECT_EQ(aso_Strings(co), (std::vector<std::string>{"red", "green"}))
        << "ends at an empty item";
    EXPECT_EQ(static_cast<const CT_CString*>(co.pcco_Get(1))->n_GetCodePage(), 1251u);
    CT_UString co_Out(u"old", sn_All);
    co.v_Map2String(&co_Out, ';');
    EXPECT_EQ(s_Text(&co_Out), "red;green;");
    co.v_String2Map(&co_Out, ';');
    EXPECT_EQ(aso_Strings(co), (std::vector<std::string>{"red", "green"}));
    EXPECT_TRUE(b_IsWide(co.pcco_Get(2)));
}

TEST(StringNumberMap, LookupsBothWaysFindTheFirstEntry)
{
    CT_StringNumberMap co;
    co.v_Insert("a", 5);
    co.v_Insert(u"b", 5);
    co.v_Insert("z", 0);
    EXPECT_EQ(s_Text(co.pcco_Get(5)), "a");
    EXPECT_EQ(co.n_Get(u"b"), 5u);
    EXPECT_EQ(co.n_Get("c"), 0u);
    EXPECT_EQ(co.pcco_Get(7), nullptr);
    EXPECT_STREQ(co.qccz_Get(7), "");
    EXPECT_EQ(std::u16string(co.qcuz_Get(7)), u"");
    EXPECT_EQ(std::u16string(co.qcuz_Get(5)), u"") << "entry 'a' is 8-bit";
    co.v_Update(u"A", 5);
    co.v_Update("never", 6);
    co.v_SetAt(9u, 3);
    co.v_SetAt("y", 3);
    EXPECT_EQ(aso_Entries(co), (CT_Entries{{"A", 5}, {"b", 5}, {"y", 9}}));
    co.v_Remove(5);
    co.v_Remove(6);
    EXPECT_EQ(aso_Entries(co), (CT_Entries{{"b", 5}, {"y", 9}}));
    CT_StringNumberMap co_Copy(co);
    co_Copy.v_Append(&co, 1);
    co.v_RemoveAt(1);
    EXPECT_EQ(aso_Entries(co_Copy), (CT_Entries{{"b", 5}, {"y", 9}, {"b", 5}}));
    EXPECT_EQ(aso_Entries(co), (CT_Entries{{"y", 9}}));
}

TEST(StringNumberMap, ImageHoldsNumbersAndTerminatedTexts)
{
    CT_StringNumberMap co;
    co.v_Insert("ab", 1);
    co.v_Insert("", 2);
    CT_Buffer co_Out(64, 16);
    co.v_Map2Buffer(&co_Out);
    const std::vector<unsigned char> ac_Narrow = {1, 0, 0, 0, 'a', 'b', 0, 2, 0, 0, 0, 0};
    EXPECT_EQ(ac_Bytes(co_Out), ac_Narrow);

    CT_StringNumberMap co_Wide;
    co_Wide.v_Insert(u"\u4E2Da", 0x01020304);
    co_Wide.v_Map2Buffer(&co_Out);
    const std::vector<unsigned char> ac_Wide = {4, 3, 2, 1, 0x2D, 0x4E, 'a', 0, 0, 0};
    EXPECT_EQ(ac_Bytes(co_Out), ac_Wide);

    CT_StringNumberMap co_Read;
    co_Read.v_Buffer2Map(pcco_Of(co_Image(ac_Narrow)), 0);
    EXPECT_EQ(aso_Entries(co_Read), (CT_Entries{{"ab", 1}, {"", 2}}));
    EXPECT_FALSE(b_IsWide(co_Read.pcco_GetAt(1)));
    co_Read.v_Buffer2Map(pcco_Of(co_Image(ac_Wide)), 1);
    EXPECT_EQ(std::u16string(co_Read.qcuz_GetAt(1)), u"\u4E2Da");
    EXPECT_EQ(co_Read.n_GetAt(1), 0x01020304u);

    CT_StringNumberMap().v_Map2Buffer(&co_Out);
    EXPECT_EQ(co_Out.n_GetUsedSize(), 0u);
}

// Reading stops before the first record the image does not hold whole.
TEST(StringNumberMap, CutImagesReadTheirWholeRecords)
{
    struct
    {
        std::vector<unsigned char> ac_Image;
        int b_Wide;
        CT_Entries aso_Expected;
    } const aso_Cases[] = {
        {{}, 0, {}},
        {{1, 0, 0}, 0, {}},
        {{1, 0, 0, 0}, 0, {}},                          // number without text
        {{1, 0, 0, 0, 'a', 'b'}, 0, {}},                // text without terminator
        {{1, 0, 0, 0, 'a', 0, 2, 0}, 0, {{"a", 1}}},    // number cut off
        {{1, 0, 0, 0, 'a', 0, 0}, 1, {}},               // odd byte after the text
        {{1, 0, 0, 0, 'a', 0, 0, 0, 2}, 1, {{"a", 1}}}, // record cut after its number
        {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {{"", 1}, {"", 0}}},
    };
    for (const auto& so : aso_Cases)
    {
        CT_StringNumberMap co;
        co.v_Insert("old", 1);
        co.v_Buffer2Map(pcco_Of(co_Image(so.ac_Image)), so.b_Wide);
        EXPECT_EQ(aso_Entries(co), so.aso_Expected) << so.ac_Image.size() << " " << so.b_Wide;
    }
}

TEST(StringStringMap, PairsLookUpEitherWayAndRoundTripAsText)
{
    CT_StringStringMap co;
    co.v_Insert("size", "big");
    co.v_Insert(u"tint", u"red");
    EXPECT_EQ(s_Text(co.pcco_GetString2("tint")), "red");
    EXPECT_EQ(s_Text(co.pcco_GetString1(u"big")), "size");
    EXPECT_EQ(co.pcco_GetString2("red"), nullptr);
    CT_CString co_Out;
    co.v_Map2String(&co_Out, '=', ';');
    EXPECT_STREQ(co_Out.qccz_Get(), "size=big;tint=red;");

    CT_StringStringMap co_Read;
    co_Read.v_String2Map(&co_Out, '=', ';');
    ASSERT_EQ(co_Read.n_GetCount(), 2u);
    CT_String *pco_First, *pco_Second;
    co_Read.v_GetAt(&pco_First, &pco_Second, 1);
    EXPECT_EQ(s_Text(pco_First) + s_Text(pco_Second), "sizebig");
    EXPECT_TRUE(b_IsWide(pco_First) && b_IsWide(pco_Second));

    const CT_UString co_Odd(u"a=b=c;d;;e=f", sn_All); // a third field is dropped, a second missing
    co_Read.v_String2Map(&co_Odd, '=', ';');
    CT_UString co_Back;
    co_Read.v_Map2String(&co_Back, ':', '/');
    EXPECT_EQ(s_Text(&co_Back), "a:b/d:/");
    co_Read.v_Append(&co, sn_All);
    co_Read.v_RemoveAt(1);
    CT_StringStringMap co_Copy = co_Read;
    co_Copy.v_Map2String(&co_Back, '=', ',');
    EXPECT_EQ(s_Text(&co_Back), "d=,size=big,tint=red,");
}

// Maps come from their pools and delete their strings when entries go and when they do.
TEST(StringMaps, MapsAndTheirStringsAreReturnedToThePools)
{
    _SHI_Pool* apso_Pools[] = {CT_StringOrdinalMap::spso_GetMemPool(),
                               CT_StringNumberMap::spso_GetMemPool(),
                               CT_StringStringMap::spso_GetMemPool(), CT_CString::spso_GetMemPool(),
                               CT_UString::spso_GetMemPool()};
    std::vector<std::size_t> an_Before;
    for (_SHI_Pool* pso : apso_Pools)
        an_Before.push_back(CT_Heap::sn_PoolInUse(pso));
    auto* pco_Ordinal = new CT_StringOrdinalMap;
    auto* pco_Number = new CT_StringNumberMap;
    auto* pco_Pairs = new CT_StringStringMap;
    for (unsigned n = 0; n < 20; ++n)
    {
        pco_Ordinal->v_Insert("o", sn_Append);
        pco_Number->v_Insert(u"n", n);
        pco_Pairs->v_Insert("a", "b");
    }
    pco_Ordinal->v_RemoveAt(3);
    pco_Number->v_Remove(4);
    pco_Pairs->v_Set(2u);
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_CString::spso_GetMemPool()), an_Before[3] + 19);
    delete pco_Ordinal;
    delete pco_Number;
    delete pco_Pairs;
    for (unsigned n = 0; n < std::size(apso_Pools); ++n)
        EXPECT_EQ(CT_Heap::sn_PoolInUse(apso_Pools[n]), an_Before[n]) << n;
}
} // namespace
