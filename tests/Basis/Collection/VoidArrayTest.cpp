// CT_VoidArray and CT_Array<T*>: sizing by the growth rules, every writing operation on its own
// and through either of two sharing arrays, item sizes that are and are not one load and store,
// items passed from the array's own block, equality, and the object pool.
#include "Basis/Collection/VoidArray.h"
#include "Basis/Collection/Array.h"

#include "Basis/Platform/Heap.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace
{
constexpr unsigned sn_All = CT_VoidArray::sn_All;
const unsigned sa_ItemSizes[] = {1, 2, 3, 4, 8, 12};

// Item v in a given item size: each byte holds the value and its own index, so that a shifted,
// torn or half-overwritten item shows up.
std::vector<unsigned char> co_Item(unsigned n_Value, unsigned n_ItemSize)
{
    std::vector<unsigned char> co(n_ItemSize);
    for (unsigned n = 0; n < n_ItemSize; ++n)
        co[n] = static_cast<unsigned char>(n_Value * 16 + n);
    return co;
}

// The values of an array's items, after checking what every array keeps true.
std::vector<unsigned> co_ValuesOf(const CT_VoidArray& co)
{
    const CT_Buffer* pcco_Buffer = co.pcco_GetBuffer();
    unsigned n_Size = co.n_GetItemSize();
    EXPECT_EQ(pcco_Buffer->n_GetUsedSize(), co.n_GetCount() * n_Size) << "no partial item";
    EXPECT_EQ(co.n_GetMaxItems(), pcco_Buffer->n_GetMaximumSize() / n_Size);
    EXPECT_LE(co.n_GetCount(), co.n_GetMaxItems());
    std::vector<unsigned> co_Values;
    std::vector<unsigned char> co_Read(n_Size);
    for (unsigned n = 1; n <= co.n_GetCount(); ++n)
    {
        co.v_GetAt(co_Read.data(), static_cast<int>(n));
        co_Values.push_back(co_Read[0] / 16);
        EXPECT_EQ(co_Read, co_Item(co_Values.back(), n_Size)) << "item " << n;
    }
    return co_Values;
}

// Built by one-item inserts; with growth 1 the storage holds exactly the items.
CT_VoidArray co_Make(std::initializer_list<unsigned> co_Values, unsigned n_ItemSize,
                     unsigned n_Growth = 1)
{
    CT_VoidArray co(n_ItemSize, n_Growth, 0);
    for (unsigned n : co_Values)
        co.v_Insert(co_Item(n, n_ItemSize).data());
    return co;
}

const void* pcv_Block(const CT_VoidArray& co)
{
    return co.pcco_GetBuffer()->qcv_Get();
}

unsigned n_UseCount(const CT_VoidArray& co)
{
    return co.pcco_GetBuffer()->n_GetUseCount();
}

TEST(VoidArray, FreshArrayHasNoStorage)
{
    CT_VoidArray co(4);
    EXPECT_EQ(co.n_GetCount(), 0u);
    EXPECT_EQ(co.n_GetMaxItems(), 0u);
    EXPECT_EQ(co.n_GetGrowth(), 8u);
    EXPECT_EQ(co.n_GetItemSize(), 4u);
    EXPECT_EQ(pcv_Block(co), nullptr);
    EXPECT_EQ(co.n_Find(co_Item(1, 4).data()), 0u);
    co.v_Insert(co_Item(1, 4).data());
    EXPECT_NE(pcv_Block(co), nullptr);
    EXPECT_EQ(co_ValuesOf(co), std::vector<unsigned>{1});
}

TEST(VoidArray, ConstructorReservesInitialItems)
{
    // 20 items of 4 bytes with growth 32 bytes: round_up(80 + 12, 32) - 12 = 84 bytes.
    CT_VoidArray co(4, 8, 20);
    EXPECT_EQ(co.n_GetMaxItems(), 21u);
    EXPECT_EQ(co.n_GetCount(), 0u);
    EXPECT_EQ(pcv_Block(CT_VoidArray(4, 8, 0)), nullptr);
}

// Item size 4, growth 8 (32 bytes). A full array of m items asks for (m + 8) * 4 bytes:
// below 1024 bytes round_up(n + 12, 32) - 12, so 13 first, then 8 more each time up to 253;
// then 1044 * 5/4 = 1305 -> 1344 - 12 = 1332 bytes = 333 items; 1364 * 5/4 = 1705 -> 1728 - 12
// = 429; 1748 * 5/4 = 2185 -> 2240 - 12 = 557; 2260 * 7/5 = 3164 -> 3200 - 12 = 797.
TEST(VoidArray, OneItemInsertsGrowByStep)
{
    std::vector<unsigned> co_Expected;
    for (unsigned n = 13; n <= 253; n += 8)
        co_Expected.push_back(n);
    co_Expected.insert(co_Expected.end(), {333, 429, 557, 797});

    CT_VoidArray co(4);
    std::vector<unsigned> co_Seen;
    for (unsigned n = 0; n < 797; ++n)
    {
        co.v_Insert(co_Item(n % 16, 4).data());
        if (co_Seen.empty() || co_Seen.back() != co.n_GetMaxItems())
            co_Seen.push_back(co.n_GetMaxItems());
    }
    EXPECT_EQ(co_Seen, co_Expected);
    EXPECT_EQ(co.n_GetCount(), 797u);
}

TEST(VoidArray, CopiesSizeExactlyWhereOneItemAddsStep)
{
    // Growth 100 items of 4 bytes: the granule is 400 bytes.
    const std::vector<unsigned char> co_One = co_Item(1, 4);
    CT_VoidArray co_Copies(4, 100, 0);
    co_Copies.v_Insert(co_One.data(), 1); // 4 bytes: 400 - 12 = 388
    EXPECT_EQ(co_Copies.n_GetMaxItems(), 97u);
    CT_VoidArray co_Appended(4, 100, 0);
    co_Appended.v_Insert(co_One.data()); // 400 bytes: 800 - 12 = 788
    EXPECT_EQ(co_Appended.n_GetMaxItems(), 197u);
    CT_VoidArray co_InsertedAt(4, 100, 0);
    co_InsertedAt.v_InsertAt(co_One.data(), 1);
    EXPECT_EQ(co_InsertedAt.n_GetMaxItems(), 197u);
    // With room left, one more item does not grow.
    co_InsertedAt.v_InsertAt(co_One.data(), 1);
    EXPECT_EQ(co_InsertedAt.n_GetMaxItems(), 197u);

    CT_VoidArray co_Exact(4, 1, 0);
    co_Exact.v_Insert(co_One.data(), 5);
    EXPECT_EQ(co_Exact.n_GetMaxItems(), 5u);
    co_Exact.v_Insert(co_One.data(), 2);
    EXPECT_EQ(co_Exact.n_GetMaxItems(), 7u);
    EXPECT_EQ(co_ValuesOf(co_Exact), std::vector<unsigned>(7, 1));
}

TEST(VoidArray, ZeroGrowthStillFindsRoom)
{
    CT_VoidArray co_Zero(4, 0, 0);
    // A shared buffer's growth of 4 bytes is no whole item of 12.
    CT_Buffer co_Buffer(0, 4);
    CT_VoidArray co_FromBuffer(&co_Buffer, 12);
    for (CT_VoidArray* pco : {&co_Zero, &co_FromBuffer})
    {
        EXPECT_EQ(pco->n_GetGrowth(), 0u);
        for (unsigned n = 0; n < 40; ++n)
            pco->v_Insert(co_Item(n % 16, pco->n_GetItemSize()).data());
        EXPECT_EQ(pco->n_GetCount(), 40u);
        EXPECT_EQ(co_ValuesOf(*pco)[39], 39u % 16);
    }
}

TEST(VoidArray, AtInsertCopyKeepsGrowth)
{
    // 15 items of 12 bytes fill round_up(96 + 12, 96) - 12 = 180 bytes, so the copy must grow.
    CT_VoidArray co = co_Make({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 12, 8);
    ASSERT_EQ(co.n_GetMaxItems(), 15u);
    co.v_AtInsertCopy(2, 1, 1);
    EXPECT_EQ(co.n_GetGrowth(), 8u);
    EXPECT_EQ(co_ValuesOf(co),
              (std::vector<unsigned>{2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

TEST(VoidArray, FindReturnsFirstWholeItem)
{
    CT_VoidArray co = co_Make({7, 9, 3, 5, 9}, 4);
    EXPECT_EQ(co.n_Find(co_Item(9, 4).data()), 2u);
    EXPECT_EQ(co.n_Find(co_Item(7, 4).data()), 1u);
    EXPECT_EQ(co.n_Find(co_Item(4, 4).data()), 0u);
    co.v_Remove(1, 5);
    EXPECT_EQ(co.n_Find(co_Item(9, 4).data()), 0u);

    // Bytes that match across an item boundary are no item.
    CT_VoidArray co_Three(3);
    for (const char* pc : {"abc", "dab", "cxx"})
        co_Three.v_Insert(pc);
    EXPECT_EQ(co_Three.n_Find("bcd"), 0u);
    EXPECT_EQ(co_Three.n_Find("abc"), 1u);
    EXPECT_EQ(co_Three.n_Find("cxx"), 3u);
}

void v_ExpectShared(const CT_VoidArray& co_Original, const CT_VoidArray& co_Copy)
{
    EXPECT_EQ(pcv_Block(co_Copy), pcv_Block(co_Original));
    EXPECT_EQ(n_UseCount(co_Original), 2u);
    EXPECT_EQ(co_Copy.n_GetGrowth(), co_Original.n_GetGrowth());
    EXPECT_EQ(co_Copy.n_GetItemSize(), co_Original.n_GetItemSize());
    EXPECT_EQ(co_ValuesOf(co_Copy), co_ValuesOf(co_Original));
}

TEST(VoidArray, CopiesShareStorage)
{
    const CT_VoidArray co_Original = co_Make({1, 2, 3}, 4, 8);
    v_ExpectShared(co_Original, CT_VoidArray(co_Original));
    v_ExpectShared(co_Original, CT_VoidArray(&co_Original));
    v_ExpectShared(co_Original, CT_VoidArray(co_Original.pcco_GetBuffer(), 4));
    using pfn_Copy = void (*)(CT_VoidArray&, const CT_VoidArray&);
    const pfn_Copy apfn_Copies[] = {
        [](CT_VoidArray& co, const CT_VoidArray& co_From) { co = co_From; },
        [](CT_VoidArray& co, const CT_VoidArray& co_From) { co.v_Set(&co_From); },
        [](CT_VoidArray& co, const CT_VoidArray& co_From) { co.v_Set(co_From.pcco_GetBuffer()); },
    };
    for (pfn_Copy pfn : apfn_Copies)
    {
        CT_VoidArray co_Copy = co_Make({9, 9}, 4); // its storage is released
        pfn(co_Copy, co_Original);
        v_ExpectShared(co_Original, co_Copy);
    }
    EXPECT_EQ(n_UseCount(co_Original), 1u);
}

TEST(VoidArray, OnlyAssignmentTakesItemSize)
{
    const CT_VoidArray co_Wide = co_Make({1, 2}, 4);
    CT_VoidArray co_Assigned(2);
    co_Assigned = co_Wide;
    EXPECT_EQ(co_Assigned.n_GetItemSize(), 4u);
    EXPECT_EQ(co_Assigned.n_GetCount(), 2u);
    CT_VoidArray co_Set(2);
    co_Set.v_Set(&co_Wide);
    EXPECT_EQ(co_Set.n_GetItemSize(), 2u);
    EXPECT_EQ(co_Set.n_GetCount(), 4u);
    EXPECT_EQ(co_Set.n_GetGrowth(), 2u); // 1 item of 4 bytes
}

// One writing operation on the items 1 2 3 4 5, with a source holding 7 8 9 in the same item
// size, and the items it gives.
struct st_EditCase
{
    const char* pc_Name;
    void (*pfn_Edit)(CT_VoidArray& co, CT_VoidArray& co_Source);
    std::vector<unsigned> co_Expected;
};

std::vector<unsigned char> co_ItemFor(const CT_VoidArray& co, unsigned n_Value)
{
    return co_Item(n_Value, co.n_GetItemSize());
}

const st_EditCase sa_Edit[] = {
    {"set first",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_SetAt(co_ItemFor(co, 9).data(), 1); },
     {9, 2, 3, 4, 5}},
    {"set last",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_SetAt(co_ItemFor(co, 9).data(), 5); },
     {1, 2, 3, 4, 9}},
    {"insert one",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_Insert(co_ItemFor(co, 9).data()); },
     {1, 2, 3, 4, 5, 9}},
    {"insert copies",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_Insert(co_ItemFor(co, 9).data(), 3); },
     {1, 2, 3, 4, 5, 9, 9, 9}},
    {"insert no copies",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_Insert(co_ItemFor(co, 9).data(), 0); },
     {1, 2, 3, 4, 5}},
    {"insert at start",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_InsertAt(co_ItemFor(co, 9).data(), 1); },
     {9, 1, 2, 3, 4, 5}},
    {"insert in middle",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_InsertAt(co_ItemFor(co, 9).data(), 3); },
     {1, 2, 9, 3, 4, 5}},
    {"insert after last",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_InsertAt(co_ItemFor(co, 9).data(), 6); },
     {1, 2, 3, 4, 5, 9}},
    {"remove first", [](CT_VoidArray& co, CT_VoidArray&) { co.v_RemoveAt(1); }, {2, 3, 4, 5}},
    {"remove last", [](CT_VoidArray& co, CT_VoidArray&) { co.v_RemoveAt(5); }, {1, 2, 3, 4}},
    {"remove range", [](CT_VoidArray& co, CT_VoidArray&) { co.v_Remove(2, 4); }, {1, 5}},
    {"remove all", [](CT_VoidArray& co, CT_VoidArray&) { co.v_Remove(1, 5); }, {}},
    {"replace block",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Replace(&co_Source, 1, 2, 2); },
     {1, 7, 8, 4, 5}},
    {"replace with rest of source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Replace(&co_Source, 2, sn_All, 1); },
     {8, 9, 3, 4, 5}},
    {"replace past end extends",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Replace(&co_Source, 1, 3, 4); },
     {1, 2, 3, 7, 8, 9}},
    {"replace after last appends",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Replace(&co_Source, 3, 1, 6); },
     {1, 2, 3, 4, 5, 9}},
    {"replace from itself",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_Replace(&co, 1, 3, 3); },
     {1, 2, 1, 2, 3}},
    {"insert block",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Insert(&co_Source, 2, 2, 1); },
     {8, 9, 1, 2, 3, 4, 5}},
    {"insert rest of source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Insert(&co_Source, 1, sn_All, 3); },
     {1, 2, 7, 8, 9, 3, 4, 5}},
    {"insert empty rest of source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Insert(&co_Source, 4, sn_All, 1); },
     {1, 2, 3, 4, 5}},
    {"insert from itself",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_Insert(&co, 4, sn_All, 1); },
     {4, 5, 1, 2, 3, 4, 5}},
    {"append block",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Append(&co_Source, 1, 2); },
     {1, 2, 3, 4, 5, 7, 8}},
    {"append rest of source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_Append(&co_Source, 3, sn_All); },
     {1, 2, 3, 4, 5, 9}},
    {"copy own block after it",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertCopy(1, 2, 6); },
     {1, 2, 3, 4, 5, 1, 2}},
    {"copy own block before it",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertCopy(4, 2, 2); },
     {1, 4, 5, 2, 3, 4, 5}},
    {"copy own block into itself",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertCopy(2, 3, 3); },
     {1, 2, 2, 3, 4, 3, 4, 5}},
    {"copy all own items",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertCopy(1, 5, 1); },
     {1, 2, 3, 4, 5, 1, 2, 3, 4, 5}},
    {"copy from source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_AtInsertCopy(&co_Source, 1, 2, 3); },
     {1, 2, 7, 8, 3, 4, 5}},
    {"move block to start",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(3, 2, 1); },
     {3, 4, 1, 2, 5}},
    {"move block to end",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(1, 2, 6); },
     {3, 4, 5, 1, 2}},
    {"move item forward",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(1, 1, 4); },
     {2, 3, 1, 4, 5}},
    {"move block before itself",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(3, 2, 3); },
     {1, 2, 3, 4, 5}},
    {"move block before its next item",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(3, 2, 5); },
     {1, 2, 3, 4, 5}},
    {"move from itself",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_AtInsertMove(&co, 3, 2, 1); },
     {3, 4, 1, 2, 5}},
    {"move from source",
     [](CT_VoidArray& co, CT_VoidArray& co_Source) { co.v_AtInsertMove(&co_Source, 2, 2, 6); },
     {1, 2, 3, 4, 5, 8, 9}},
    {"shrink storage", [](CT_VoidArray& co, CT_VoidArray&) { co.v_SetSize(2); }, {1, 2}},
    {"size storage for the items",
     [](CT_VoidArray& co, CT_VoidArray&) { co.v_SetSize(5); },
     {1, 2, 3, 4, 5}},
    {"free storage", [](CT_VoidArray& co, CT_VoidArray&) { co.v_SetSize(0); }, {}},
    {"set fresh", [](CT_VoidArray& co, CT_VoidArray&) { co.v_Set(8, 0, 0); }, {}},
    {"set reusing", [](CT_VoidArray& co, CT_VoidArray&) { co.v_Set(8, 3, 1); }, {}},
};

// Either storage that holds just the five items, or storage with room for five more; both with
// growth 1, under which the buffer sizes v_SetSize(2) to two items for every item size here.
CT_VoidArray co_Start(unsigned n_ItemSize, int b_Roomy)
{
    CT_VoidArray co = co_Make({1, 2, 3, 4, 5}, n_ItemSize, b_Roomy ? 8 : 1);
    co.v_SetGrowth(1);
    EXPECT_EQ(static_cast<int>(co.n_GetMaxItems() >= 10), b_Roomy);
    return co;
}

TEST(VoidArray, EditsGiveExpectedItems)
{
    for (unsigned n_ItemSize : sa_ItemSizes)
        for (int b_Roomy : {0, 1})
            for (const st_EditCase& so : sa_Edit)
            {
                SCOPED_TRACE(testing::Message() << so.pc_Name << ", item size " << n_ItemSize
                                                << (b_Roomy ? ", roomy" : ", full"));
                CT_VoidArray co = co_Start(n_ItemSize, b_Roomy);
                CT_VoidArray co_Source = co_Make({7, 8, 9}, n_ItemSize);
                so.pfn_Edit(co, co_Source);
                EXPECT_EQ(co_ValuesOf(co), so.co_Expected);
                EXPECT_EQ(n_UseCount(co), 1u);
            }
}

// The same edits through either of two arrays sharing storage.
TEST(VoidArray, WriteThroughCopyLeavesOriginal)
{
    const std::vector<unsigned> co_Unchanged = {1, 2, 3, 4, 5};
    for (unsigned n_ItemSize : sa_ItemSizes)
        for (int b_WriteCopy : {0, 1})
            for (const st_EditCase& so : sa_Edit)
            {
                SCOPED_TRACE(testing::Message() << so.pc_Name << ", item size " << n_ItemSize
                                                << (b_WriteCopy ? ", copy written" : ""));
                CT_VoidArray co_Original = co_Start(n_ItemSize, 0);
                CT_VoidArray co_Copy(&co_Original);
                CT_VoidArray& co_Written = b_WriteCopy ? co_Copy : co_Original;
                CT_VoidArray& co_Other = b_WriteCopy ? co_Original : co_Copy;
                CT_VoidArray co_Source = co_Make({7, 8, 9}, n_ItemSize);
                so.pfn_Edit(co_Written, co_Source);
                EXPECT_EQ(co_ValuesOf(co_Written), so.co_Expected);
                EXPECT_EQ(co_ValuesOf(co_Other), co_Unchanged);
                // An edit that changes neither items nor storage keeps it shared.
                unsigned n_Count = so.co_Expected == co_Unchanged &&
                                           co_Written.n_GetMaxItems() == co_Other.n_GetMaxItems()
                                       ? 2
                                       : 1;
                EXPECT_EQ(n_UseCount(co_Written), n_Count);
                EXPECT_EQ(n_UseCount(co_Other), n_Count);
            }
}

TEST(VoidArray, AtInsertMoveFromOtherRemovesThere)
{
    CT_VoidArray co = co_Make({1, 2}, 4);
    CT_VoidArray co_Source = co_Make({7, 8, 9}, 4);
    const CT_VoidArray co_SourceCopy(co_Source);
    co.v_AtInsertMove(&co_Source, 1, 2, 2);
    EXPECT_EQ(co_ValuesOf(co), (std::vector<unsigned>{1, 7, 8, 2}));
    EXPECT_EQ(co_ValuesOf(co_Source), std::vector<unsigned>{9});
    EXPECT_EQ(co_ValuesOf(co_SourceCopy), (std::vector<unsigned>{7, 8, 9}));
}

// Positions and counts of a block are in the receiving array's item size, also in a source of
// other items; a partial item at the source's end is no item.
TEST(VoidArray, BlocksCountInOwnItemSize)
{
    CT_Buffer co_Bytes("0123456789", 10, 1); // no spare capacity
    const CT_VoidArray co_Source(&co_Bytes, 1);
    CT_VoidArray co(4);
    co.v_Append(&co_Source, 2, sn_All);
    EXPECT_EQ(co.n_GetCount(), 1u);
    EXPECT_TRUE(co.pcco_GetBuffer()->b_IsEqual("4567", 4, 0));
}

TEST(VoidArray, SetReusesStorageThatHoldsMinItems)
{
    // 105 items of 12 bytes ask for 1260 bytes: 1260 * 5/4 = 1575 -> 1600 - 12 = 1588 bytes,
    // 132 items. The granule rule for 132 items (round_up(1584 + 12, 96) - 12 = 1620) would not
    // count that storage as large enough.
    CT_VoidArray co(12, 8, 0);
    co.v_SetSize(105);
    ASSERT_EQ(co.n_GetMaxItems(), 132u);
    co.v_Insert(co_Item(1, 12).data(), 3);
    const void* pcv_Reserved = pcv_Block(co);
    co.v_Set(4, 132, 1);
    EXPECT_EQ(pcv_Block(co), pcv_Reserved);
    EXPECT_EQ(co.n_GetCount(), 0u);
    EXPECT_EQ(co.n_GetMaxItems(), 132u);
    EXPECT_EQ(co.n_GetGrowth(), 4u);
    // One item more: fresh storage, round_up(1596 + 12, 48) - 12 = 1620 bytes.
    co.v_Set(4, 133, 1);
    EXPECT_EQ(co.n_GetMaxItems(), 135u);
    co.v_Set(2, 0, 0);
    EXPECT_EQ(pcv_Block(co), nullptr);
    EXPECT_EQ(co.n_GetGrowth(), 2u);
}

// The item passed may lie in the array's own storage, which growing moves.
TEST(VoidArray, InsertsTakeItemsFromOwnStorage)
{
    using pfn_Insert = void (*)(CT_VoidArray&, const void*);
    const pfn_Insert apfn_Inserts[] = {
        [](CT_VoidArray& co, const void* pcv) { co.v_Insert(pcv); },
        [](CT_VoidArray& co, const void* pcv) { co.v_Insert(pcv, 1); },
        [](CT_VoidArray& co, const void* pcv) { co.v_InsertAt(pcv, 6); },
    };
    for (unsigned n_ItemSize : sa_ItemSizes)
        for (pfn_Insert pfn : apfn_Inserts)
        {
            SCOPED_TRACE(testing::Message() << "item size " << n_ItemSize);
            CT_VoidArray co = co_Start(n_ItemSize, 0);
            auto* pc = static_cast<const unsigned char*>(pcv_Block(co));
            pfn(co, pc + 2 * n_ItemSize);
            EXPECT_EQ(co_ValuesOf(co), (std::vector<unsigned>{1, 2, 3, 4, 5, 3}));
        }
}

TEST(VoidArray, CallerItemsMayBeMisaligned)
{
    for (unsigned n_ItemSize : sa_ItemSizes)
    {
        SCOPED_TRACE(testing::Message() << "item size " << n_ItemSize);
        CT_VoidArray co = co_Start(n_ItemSize, 0);
        alignas(8) unsigned char ac[24] = {};
        co.v_GetAt(ac + 1, 4);
        EXPECT_EQ(std::vector<unsigned char>(ac + 1, ac + 1 + n_ItemSize), co_Item(4, n_ItemSize));
        EXPECT_EQ(co.n_Find(ac + 1), 4u);
        co.v_SetAt(ac + 1, 1);
        EXPECT_EQ(co_ValuesOf(co), (std::vector<unsigned>{4, 2, 3, 4, 5}));
    }
}

struct st_EqualCase
{
    const char* pc_Name;
    CT_VoidArray co_Left, co_Right;
    int b_Equal;
};

TEST(VoidArray, EqualityNeedsItemSizeCountAndBytes)
{
    CT_VoidArray co_Emptied = co_Make({1, 2}, 4);
    co_Emptied.v_Remove(1, 2);
    const CT_VoidArray co_Shared = co_Make({1, 2}, 4);
    const st_EqualCase sa_Cases[] = {
        {"empty", CT_VoidArray(4), CT_VoidArray(4), 1},
        {"empty, other item sizes", CT_VoidArray(4), CT_VoidArray(2), 0},
        {"empty with and without storage", CT_VoidArray(4, 8, 10), CT_VoidArray(4), 1},
        {"emptied", co_Emptied, CT_VoidArray(4), 1},
        {"same items, other growth", co_Make({1, 2}, 4, 1), co_Make({1, 2}, 4, 8), 1},
        {"shared", co_Shared, co_Shared, 1},
        {"other item", co_Make({1, 2}, 4), co_Make({1, 3}, 4), 0},
        {"more items", co_Make({1, 2}, 4), co_Make({1, 2, 3}, 4), 0},
        {"same bytes, other item sizes", CT_VoidArray(co_Shared.pcco_GetBuffer(), 2), co_Shared, 0},
    };
    for (const st_EqualCase& so : sa_Cases)
    {
        SCOPED_TRACE(so.pc_Name);
        EXPECT_EQ(so.co_Left.b_IsEqual(&so.co_Right), so.b_Equal);
        EXPECT_EQ(so.co_Right.b_IsEqual(&so.co_Left), so.b_Equal);
    }
}

TEST(VoidArray, NewAndDeleteUseThePool)
{
    _SHI_Pool* pso_Pool = CT_VoidArray::spso_GetMemPool();
    ASSERT_NE(pso_Pool, nullptr);
    std::size_t n_Before = CT_Heap::sn_PoolInUse(pso_Pool);
    CT_VoidArray* pco = new CT_VoidArray(co_Make({1, 2}, 4));
    auto* pco_Typed = new CT_Array<int*>;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(pso_Pool), n_Before + 2);
    EXPECT_EQ(co_ValuesOf(*pco), (std::vector<unsigned>{1, 2}));
    delete pco;
    delete pco_Typed;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(pso_Pool), n_Before);
}

TEST(VoidArray, TypedArrayHoldsPointers)
{
    int ai[5] = {};
    CT_Array<int*> co;
    EXPECT_EQ(co.n_GetGrowth(), 8u);
    for (int& i : ai)
        co.v_Insert(&i);
    EXPECT_EQ(co.n_GetCount(), 5u);
    EXPECT_EQ(co.pcco_GetBuffer()->n_GetUsedSize(), 5 * sizeof(int*));
    EXPECT_EQ(co.p_GetAt(2), &ai[1]);
    EXPECT_EQ(co.n_Find(&ai[3]), 4u);
    EXPECT_EQ(co.n_Find(nullptr), 0u);

    CT_Array<int*> co_Copy(co);
    EXPECT_EQ(co.pcco_GetBuffer()->n_GetUseCount(), 2u);
    co_Copy.v_SetAt(nullptr, 1);
    co_Copy.v_InsertAt(&ai[4], 1);
    co_Copy.v_RemoveAt(6);
    EXPECT_EQ(co.p_GetAt(1), &ai[0]);
    EXPECT_EQ(co_Copy.p_GetAt(1), &ai[4]);
    EXPECT_EQ(co_Copy.p_GetAt(2), nullptr);
    EXPECT_EQ(co_Copy.n_Find(nullptr), 2u);
    EXPECT_FALSE(co.b_IsEqual(&co_Copy));

    co_Copy = co;
    EXPECT_TRUE(co.b_IsEqual(&co_Copy));
    co_Copy.v_Append(&co, 4, CT_Array<int*>::sn_All);
    co_Copy.v_Insert(nullptr, 2);
    EXPECT_EQ(co_Copy.n_GetCount(), 9u);
    EXPECT_EQ(co_Copy.p_GetAt(7), &ai[4]);
    co_Copy.v_AtInsertMove(&co, 1, 2, 1);
    EXPECT_EQ(co_Copy.n_GetCount(), 11u);
    EXPECT_EQ(co.n_GetCount(), 3u);
    EXPECT_EQ(co.p_GetAt(1), &ai[2]);
    co_Copy.v_Remove(1, 2);
    co_Copy.v_Set(8, 0, 0);
    EXPECT_EQ(co_Copy.n_GetCount(), 0u);
}
} // namespace
