// CT_CompList and its iterators: the worked image byte for byte, search results and lengths,
// iteration order, the empty string, the jump table, copies and loaded images, and random lists
// of every shape against the plain model of CompListReference.h; images with damaged bytes.
#include "Basis/Collection/CompList.h"

#include "CompListAccess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{
using namespace ct_reference;
constexpr unsigned sn_NotFound = CT_CompList::sn_NotFound;

et_Elements a_Of(const std::string& co)
{
    return et_Elements(co.begin(), co.end());
}

CT_CompList co_Make(std::initializer_list<std::pair<const char*, unsigned>> co_Entries,
                    int b_EmptyStrings = 0)
{
    CT_CompList co(CT_CompList::eo_8Bit, 1, b_EmptyStrings, 0, 0, 0);
    for (const auto& co_Entry : co_Entries)
        co.b_Add(co_Entry.first, co_Entry.second);
    return co;
}

std::uint32_t n_Le(const et_Bytes& a, std::size_t n_At)
{
    return a[n_At] | a[n_At + 1] << 8 | a[n_At + 2] << 16 | std::uint32_t(a[n_At + 3]) << 24;
}

std::vector<std::string> a_Texts(const CT_CompList& co)
{
    std::vector<std::string> a;
    for (const auto& co_Entry : a_Iterate(co))
        a.emplace_back(co_Entry.first.begin(), co_Entry.first.end());
    return a;
}

TEST(CompList, NewListHoldsTheTerminatorAlone)
{
    for (auto eo_Size : {CT_CompList::eo_8Bit, CT_CompList::eo_16Bit, CT_CompList::eo_32Bit})
    {
        CT_CompList co(eo_Size, 2, 1, 1, 0, 1252);
        const et_Bytes a = a_ImageOf(co);
        ASSERT_EQ(a.size(), 132u + eo_Size);
        EXPECT_EQ(et_Bytes(a.begin(), a.begin() + 4), (et_Bytes{0x35, 0xB8, 0x30, 0x01}));
        EXPECT_EQ(n_Le(a, 12), sn_NotFound);
        EXPECT_EQ(a[132], 25);
        EXPECT_EQ(co.n_GetEnd(), 132u + eo_Size);
        EXPECT_TRUE(co.b_IsEmpty());
        EXPECT_EQ(co.n_GetNrOfEntries(), 0u);
        EXPECT_EQ(co.n_GetCodePage(), 1252u);
        EXPECT_EQ(co.n_GetElementSize(), unsigned(eo_Size));
        EXPECT_EQ(co.n_GetHandleSize(), 2u);
        EXPECT_TRUE(co.b_HasEmptyStringSupport() && co.b_HasLongOffsetSupport());
        EXPECT_FALSE(co.b_IsInNetworkByteOrder() || co.b_IsChanged());
        EXPECT_TRUE(a_Iterate(co).empty());
    }
}

TEST(CompList, WorkedImage)
{
    CT_CompList co = co_Make({{"ab", 1}});
    et_Bytes a = a_ImageOf(co);
    EXPECT_EQ(et_Bytes(a.begin() + 132, a.end()), (et_Bytes{0x61, 0x62, 0x1A, 0x01, 0x19}));
    EXPECT_EQ(co.n_GetEnd(), 137u);

    ASSERT_EQ(co.b_Add("ac", 2), 1);
    a = a_ImageOf(co);
    EXPECT_EQ(et_Bytes(a.begin() + 132, a.end()),
              (et_Bytes{0x61, 0x62, 0x0D, 0x05, 0x00, 0x1A, 0x01, 0x63, 0x1A, 0x02, 0x19}));
    EXPECT_EQ(n_Le(a, 4), 143u);
    EXPECT_EQ(n_Le(a, 16), 132u);
    for (unsigned n = 1; n < 26; ++n)
        EXPECT_EQ(n_Le(a, 16 + 4 * n), 0u) << char('a' + n);
    EXPECT_EQ(n_Le(a, 120), 2u);
    EXPECT_EQ(et_Bytes(a.begin() + 124, a.begin() + 129), (et_Bytes{0, 1, 1, 0, 1}));
    unsigned n_Length = 0;
    EXPECT_EQ(co.n_Search("ac", &n_Length), 2u);
    EXPECT_EQ(n_Length, 2u);
}

TEST(CompList, SearchAnswersHandleAndMatchedLength)
{
    CT_CompList co = co_Make({{"ab", 1}, {"ac", 2}});
    const struct
    {
        const char* pc_String;
        unsigned n_Handle, n_Length;
    } ao_Cases[] = {
        {"ab", 1, 2},           {"ac", 2, 2},
        {"a", sn_NotFound, 1},  {"abc", sn_NotFound, 2},
        {"ax", sn_NotFound, 0}, {"b", sn_NotFound, 0},
        {"", sn_NotFound, 0},
    };
    for (const auto& o : ao_Cases)
    {
        unsigned n_Length = 99;
        EXPECT_EQ(co.n_Search(o.pc_String, &n_Length), o.n_Handle) << o.pc_String;
        EXPECT_EQ(n_Length, o.n_Length) << o.pc_String;
        EXPECT_EQ(co.b_Search(o.pc_String), o.n_Handle != sn_NotFound) << o.pc_String;
    }
}

TEST(CompList, AddingAgainKeepsTheFirstHandle)
{
    CT_CompList co = co_Make({{"ab", 1}});
    EXPECT_EQ(co.b_Add("ab", 2), 0);
    EXPECT_EQ(co.n_Search("ab"), 1u);
    EXPECT_EQ(co.n_GetNrOfEntries(), 1u);
}

TEST(CompList, IterationVisitsLaterSiblingsFirst)
{
    EXPECT_EQ(a_Texts(co_Make({{"ab", 1}, {"ac", 2}, {"abc", 3}})),
              (std::vector<std::string>{"ac", "ab", "abc"}));
    CT_CompList co = co_Make({{"ab", 1}});
    CT_CCompListIterator co_Iterator(&co);
    CT_CString co_Text;
    unsigned n_Handle = 0;
    ASSERT_TRUE(co_Iterator.b_GetNext(&co_Text, &n_Handle));
    EXPECT_STREQ(co_Text.qccz_Get(), "ab");
    EXPECT_EQ(n_Handle, 1u);
    for (int i = 0; i < 2; ++i)
        EXPECT_FALSE(co_Iterator.b_GetNext(&co_Text, nullptr)) << "stays exhausted";
    co_Iterator.vv_Set(&co);
    EXPECT_TRUE(co_Iterator.b_GetNext(&co_Text, nullptr)) << "restarts";

    // A copy goes on from where the original stood, on its own.
    CT_CompList co_Three = co_Make({{"ab", 1}, {"ac", 2}, {"abc", 3}});
    CT_CCompListIterator co_First(&co_Three);
    co_First.b_GetNext(&co_Text, nullptr);
    CT_CCompListIterator co_Copy(&co);
    co_Copy = co_First;
    for (const char* pc : {"ab", "abc"})
    {
        EXPECT_TRUE(co_First.b_GetNext(&co_Text, nullptr) &&
                    co_Text.vi_Compare(pc, CT_String::sn_All, 0) == 0);
        EXPECT_TRUE(co_Copy.b_GetNext(&co_Text, nullptr) &&
                    co_Text.vi_Compare(pc, CT_String::sn_All, 0) == 0);
    }
}

TEST(CompList, StringObjectsOfTheElementWidth)
{
    CT_CompList co(CT_CompList::eo_16Bit, 2, 0, 0, 0, 0);
    const CT_UString co_Greek(u"\u03B1\u03B2", 2), co_Latin(u"ab", 2);
    const CT_CString co_Narrow("ab", 2);
    EXPECT_EQ(co.b_Add(&co_Greek, 1), 1);
    EXPECT_EQ(co.b_Add(u"ab", 2), 1);
    EXPECT_EQ(co.n_Search(&co_Latin), 2u);
    EXPECT_EQ(co.n_Search(u"\u03B1\u03B2"), 1u);
    EXPECT_EQ(co.n_Search(&co_Narrow), sn_NotFound) << "8-bit text in a 16-bit list";
    CT_UCompListIterator co_Iterator(&co);
    CT_UString co_Text;
    ASSERT_TRUE(co_Iterator.b_GetNext(&co_Text, nullptr));
    EXPECT_EQ(co_Text.vi_Compare(&co_Latin, 0, CT_String::sn_All, 0), 0);
}

TEST(CompList, EmptyStringLivesInTheHeader)
{
    CT_CompList co = co_Make({{"ab", 1}}, 1);
    unsigned n_Length = 99;
    EXPECT_EQ(co.b_Add("", 7), 1);
    EXPECT_EQ(co.n_GetNrOfEntries(), 2u);
    EXPECT_EQ(co.n_Search("", &n_Length), 7u);
    EXPECT_EQ(n_Length, 0u);
    const CT_CString co_Empty;
    EXPECT_EQ(co.b_Add(&co_Empty, 8), 1) << "an empty string object adds it again";
    EXPECT_EQ(co.n_GetNrOfEntries(), 3u);
    EXPECT_EQ(co.n_Search(""), 8u);
    EXPECT_EQ(a_Texts(co), std::vector<std::string>{"ab"});

    CT_CompList co_Without = co_Make({});
    EXPECT_EQ(co_Without.b_Add("", 7), 0);
    EXPECT_EQ(co_Without.n_Search(""), sn_NotFound);
    EXPECT_EQ(co_Without.n_GetNrOfEntries(), 0u);
}

TEST(CompList, JumpTableLeadsToFirstLevelNodes)
{
    CT_CompList co = co_Make({{"apple", 1}, {"banana", 2}});
    const et_Bytes a = a_ImageOf(co);
    EXPECT_EQ(n_Le(a, 16), 132u);
    EXPECT_EQ(n_Le(a, 20), 142u) << "apple's run (132 + 7), then the alternative after a";
    EXPECT_EQ(a[n_Le(a, 20)], 'b');
    EXPECT_EQ(co.n_Search("banana"), 2u);
    EXPECT_EQ(co.b_Add("Apple", 3), 1);
    EXPECT_EQ(co.n_Search("Apple"), 3u) << "found by walking the first level";
    const et_Bytes a_After = a_ImageOf(co);
    EXPECT_EQ(et_Bytes(a_After.begin() + 16, a_After.begin() + 120),
              et_Bytes(a.begin() + 16, a.begin() + 120));
}

TEST(CompList, ChangedFlagFollowsGaps)
{
    CT_CompList co = co_Make({}, 1);
    EXPECT_EQ(co.b_Add("", 1), 1);
    EXPECT_FALSE(co.b_IsChanged()) << "the empty string opens no gap";
    EXPECT_EQ(co.b_Add("x", 1), 1);
    EXPECT_TRUE(co.b_IsChanged());
    EXPECT_TRUE(CT_CompList(&co).b_IsChanged()) << "copied";
    EXPECT_FALSE(CT_CompList(co.pcco_GetBuffer()).b_IsChanged()) << "cleared by loading";
}

TEST(CompList, HandlesAreCutToTheirSize)
{
    for (unsigned n_Size : {1u, 2u, 4u})
    {
        CT_CompList co(CT_CompList::eo_8Bit, n_Size, 0, 0, 0, 0);
        co.b_Add("x", 0x12345678);
        const unsigned n_Mask = n_Size == 4 ? 0xFFFFFFFFu : (1u << 8 * n_Size) - 1;
        EXPECT_EQ(co.n_Search("x"), 0x12345678u & n_Mask) << n_Size;
    }
}

TEST(CompList, CopiesAndLoadedImagesAreIndependent)
{
    CT_CompList co_Original = co_Make({{"ab", 1}, {"ac", 2}});
    const et_Bytes a_Before = a_ImageOf(co_Original);
    CT_CompList co_Copy(&co_Original);
    CT_CompList co_Assigned = co_Make({{"zz", 9}});
    co_Assigned = co_Original;
    for (CT_CompList* pco : {&co_Copy, &co_Assigned})
    {
        EXPECT_EQ(pco->b_Add("abc", 3), 1);
        EXPECT_EQ(pco->b_Add("", 4), 0);
        EXPECT_EQ(pco->n_GetNrOfEntries(), 3u);
    }
    EXPECT_EQ(a_ImageOf(co_Original), a_Before);
    EXPECT_EQ(co_Original.n_GetNrOfEntries(), 2u);
    EXPECT_EQ(co_Original.n_Search("abc"), sn_NotFound);

    CT_CompList co_Loaded(co_Copy.pcco_GetBuffer());
    for (const char* pc : {"ab", "ac", "abc", "a", "abcd", "x"})
        EXPECT_EQ(co_Loaded.n_Search(pc), co_Copy.n_Search(pc)) << pc;
    EXPECT_EQ(a_Texts(co_Loaded), a_Texts(co_Copy));
    EXPECT_EQ(co_Loaded.b_Add("b", 5), 1) << "a loaded image takes adds";
    EXPECT_EQ(co_Copy.n_Search("b"), sn_NotFound);
}

TEST(CompList, HandedOutBufferStaysTheImage)
{
    ct_reference::CT_CompListModel co_Model(1, 2, false, false, 0);
    CT_CompList co(CT_CompList::eo_8Bit, 2, 0, 0, 0, 0);
    const CT_Buffer* pcco_Buffer = co.pcco_GetBuffer();
    for (const char* pc : {"to", "tea", "ted", "ten", "i", "in", "inn", "a"})
    {
        co.b_Add(pc, 5);
        co_Model.b_Add(a_Of(pc), 5);
        EXPECT_EQ(a_Bytes(pcco_Buffer), co_Model.a_Image()) << pc;
    }
}

TEST(CompList, RefusesWhatTheImageCannotHold)
{
    CT_CompList co = co_Make({{"ab", 1}});
    EXPECT_EQ(co.b_Add("a\x0D"
                       "b",
                       2),
              0)
        << "a marker value inside";
    EXPECT_EQ(co.b_Add("\x1A", 2), 0);
    const CT_UString co_Wide(u"ab", 2);
    const CT_CString co_Narrow("ab", 2);
    EXPECT_EQ(co.b_Add(&co_Wide, 2), 0) << "16-bit text";
    EXPECT_EQ(co.n_Search(&co_Wide), sn_NotFound);
    EXPECT_EQ(co.n_Search(&co_Narrow), 1u);
    EXPECT_EQ(co.n_GetNrOfEntries(), 1u);

    // 2-byte offsets: the image stops short of 132 + 64 KiB, 4-byte ones go on.
    for (int b_Long : {0, 1})
    {
        CT_CompList co_Big(CT_CompList::eo_8Bit, 4, 0, b_Long, 0, 0);
        unsigned n_Added = 0;
        for (unsigned n = 0; n < 8000; ++n)
            n_Added += co_Big.b_Add(std::to_string(n * 7919u % 1000003u).c_str(), n);
        EXPECT_EQ(n_Added == 8000, b_Long == 1) << n_Added;
        EXPECT_LE(co_Big.n_GetEnd(), b_Long ? 0xFFFFFFFFu : 132u + 0x10000u);
        EXPECT_EQ(co_Big.n_Search("0"), 0u);
    }
}

struct st_Shape
{
    unsigned e, h;
    bool b_Empty, b_Long;
};

// Random strings over few values, so that they share beginnings; now and then a marker value.
et_Elements a_RandomString(std::mt19937& co_Random, unsigned e)
{
    static const std::uint32_t an_Values[] = {'a', 'b', 'c', 'd', 'e', 'n',
                                              's', 't', 'z', 'A', 0xFF};
    et_Elements s(co_Random() % 9);
    for (auto& c : s)
    {
        c = an_Values[co_Random() % 11];
        if (co_Random() % 97 == 0)
            c = 13;
        else if (co_Random() % 9 == 0) // wider values; never 0 in the low 16 bits
            c = e == 1 ? 0x80 + co_Random() % 0x7F
                       : (0x100 + co_Random() % 0xFE00) | (e == 4 ? (co_Random() % 17) << 16 : 0);
    }
    return s;
}

TEST(CompList, BuildsTheImagesOfThePlainModel)
{
    const st_Shape ao_Shapes[] = {{1, 1, false, false}, {1, 4, true, true}, {2, 2, true, false},
                                  {2, 1, false, true},  {4, 4, true, true}, {4, 2, false, false}};
    std::mt19937 co_Random(5);
    for (const st_Shape& o : ao_Shapes)
        for (int i_List = 0; i_List < 12; ++i_List)
        {
            ct_reference::CT_CompListModel co_Model(o.e, o.h, o.b_Empty, o.b_Long, 0);
            CT_CompList co(static_cast<CT_CompList::et_ElementSize>(o.e), o.h, o.b_Empty, o.b_Long,
                           0, 0);
            std::vector<et_Elements> a_Strings;
            const unsigned n_Strings = 1 + co_Random() % (i_List % 3 ? 40 : 400);
            for (unsigned n = 0; n < n_Strings; ++n)
            {
                a_Strings.push_back(a_RandomString(co_Random, o.e));
                const std::uint32_t n_Handle = co_Random();
                ASSERT_EQ(co.b_Add(a_Raw(a_Strings.back(), o.e).data(), n_Handle),
                          co_Model.b_Add(a_Strings.back(), n_Handle));
                if (co_Random() % 16 == 0)
                {
                    ASSERT_EQ(a_ImageOf(co), co_Model.a_Image()) << "list " << i_List;
                }
                if (co_Random() % 8 == 0)
                    a_Strings.push_back(a_RandomString(co_Random, o.e)); // most likely absent
            }
            EXPECT_EQ(a_Iterate(co), a_AsIterated(co_Model.a_Iterate()));
            // Searches answer from the form adding left, and go on after packing it.
            for (const et_Elements& s : a_Strings)
            {
                unsigned n_Length = 0, n_ModelLength = 0;
                ASSERT_EQ(co.n_Search(a_Raw(s, o.e).data(), &n_Length),
                          co_Model.n_Search(s, &n_ModelLength));
                ASSERT_EQ(n_Length, n_ModelLength);
            }
            ASSERT_EQ(a_ImageOf(co), co_Model.a_Image()) << "list " << i_List;
            EXPECT_EQ(co.n_GetNrOfEntries(), n_Le(co_Model.a_Image(), 120));
        }
}

// Damaged images: whatever the bytes, searching, iterating and adding end, stay inside the
// image (checked by AddressSanitizer), and find nothing where nothing can be read.
TEST(CompList, DamagedImagesAreReadSafely)
{
    CT_CompList co_Valid = co_Make({{"ab", 1}, {"ac", 2}, {"b", 3}, {"abc", 4}});
    // a 13 [15] b 13 [8] 10 1 c 26 4 | c 26 2 | b 26 3 | 25, offsets at 134 and 138
    const et_Bytes a_Valid = a_ImageOf(co_Valid);
    auto pfn_Set = [](std::size_t n_At, std::vector<std::uint8_t> a_New)
    {
        return [=](et_Bytes& a)
        { std::copy(a_New.begin(), a_New.end(), a.begin() + static_cast<std::ptrdiff_t>(n_At)); };
    };
    const std::size_t n_End = a_Valid.size();
    const struct
    {
        const char* pc_Damage;
        std::function<void(et_Bytes&)> pfn_Damage;
        bool b_Readable; // the header is sound: searches still answer from the stream
    } ao_Cases[] = {
        {"shorter than the header", [](et_Bytes& a) { a.resize(100); }, false},
        {"no bytes at all", [](et_Bytes& a) { a.clear(); }, false},
        {"another magic", pfn_Set(0, {0x36}), false},
        {"network byte order", pfn_Set(124, {1}), false},
        {"element size 3", pfn_Set(125, {3}), false},
        {"handle size 0", pfn_Set(126, {0}), false},
        {"cut off in a run", [](et_Bytes& a) { a.resize(140); }, true},
        {"end beyond the bytes", pfn_Set(4, {0xFF, 0xFF}), true},
        {"end inside the header", pfn_Set(4, {0x10, 0, 0, 0}), true},
        {"bytes after the end", [](et_Bytes& a) { a.push_back(25); }, true},
        {"no terminator", pfn_Set(n_End - 1, {'q'}), true},
        {"terminator early", pfn_Set(133, {25}), true},
        {"alternative to itself", pfn_Set(134, {0, 0}), true},
        {"alternative past the end", pfn_Set(134, {0xF0, 0xFF}), true},
        {"alternative into a run", pfn_Set(134, {7, 0}), true},
        {"alternative to an earlier run", pfn_Set(138, {0xFF, 0xFF}), true},
        {"jump into the header", pfn_Set(16, {4, 0, 0, 0}), true},
        {"jump past the end", pfn_Set(16, {0, 0, 1, 0}), true},
        {"handle cut off", [&](et_Bytes& a) { a.resize(n_End - 2); }, true},
    };
    for (const auto& o : ao_Cases)
    {
        et_Bytes a = a_Valid;
        o.pfn_Damage(a);
        // An exact-size block, so that any read past the bytes is caught.
        CT_Buffer co_Bytes(a.data(), static_cast<unsigned>(a.size()), 1);
        CT_CompList co(&co_Bytes);
        for (const char* pc : {"ab", "ac", "abc", "b", "a", "x", "abcd"})
        {
            unsigned n_Length = 99;
            const unsigned n_Handle = co.n_Search(pc, &n_Length);
            if (!o.b_Readable)
            {
                EXPECT_EQ(n_Handle, sn_NotFound) << o.pc_Damage << ": " << pc;
            }
            EXPECT_LE(n_Length, std::strlen(pc)) << o.pc_Damage << ": " << pc;
        }
        EXPECT_LE(a_Iterate(co, 100).size(), 10u) << o.pc_Damage;
        EXPECT_EQ(co.b_Add("abd", 5), 0) << o.pc_Damage;
        if (a.empty())
        {
            EXPECT_EQ(co.pcco_GetBuffer(), nullptr) << "no image";
        }
        EXPECT_EQ(a_Bytes(&co_Bytes), a) << o.pc_Damage << ": the loaded bytes are not written";
    }
}

// Each alternative leads to the next character's place, so a naive walk would take every path
// twice at every step: 2^40 strings. Each byte of the stream is read once at most.
TEST(CompList, TangledAlternativesEndTheIteration)
{
    et_Bytes a = a_ImageOf(co_Make({}));
    a.pop_back();
    for (int i = 0; i < 40; ++i)
        a.insert(a.end(), {'a', 13, 3, 0});
    a.insert(a.end(), {26, 1, 25});
    a[4] = static_cast<std::uint8_t>(a.size());
    a[5] = static_cast<std::uint8_t>(a.size() >> 8);
    CT_Buffer co_Bytes(a.data(), static_cast<unsigned>(a.size()), 1);
    CT_CompList co(&co_Bytes);
    EXPECT_LE(a_Iterate(co).size(), a.size());
    EXPECT_EQ(co.b_Add("b", 1), 0);
}
} // namespace
