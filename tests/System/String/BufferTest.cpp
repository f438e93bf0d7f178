// CT_Buffer: capacity rules, copy on write under every writing operation, sources inside the
// buffer's own block, and use counts changed from several threads.
#include "System/String/Buffer.h"

#include "Basis/Platform/Heap.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr unsigned sn_All = CT_Buffer::sn_All;
constexpr unsigned sn_NotFound = CT_Buffer::sn_NotFound;

// 40 bytes: moving or copying most of it takes the paths for more than 32 bytes.
const std::string co_Long = "0123456789abcdefghijklmnopqrstuvwxyzABCD";

// The used bytes of a buffer, after checking what every buffer keeps true.
std::string co_BytesOf(const CT_Buffer& co_Buffer)
{
    EXPECT_LE(co_Buffer.n_GetUsedSize(), co_Buffer.n_GetMaximumSize());
    EXPECT_GE(co_Buffer.n_GetUseCount(), 1u);
    if (!co_Buffer.qcv_Get())
    {
        EXPECT_EQ(co_Buffer.n_GetMaximumSize(), 0u);
        return {};
    }
    return std::string(static_cast<const char*>(co_Buffer.qcv_Get()), co_Buffer.n_GetUsedSize());
}

CT_Buffer co_Make(const std::string& co_Bytes, unsigned n_Growth = CT_Buffer::sn_DefaultGrowth)
{
    return CT_Buffer(co_Bytes.data(), static_cast<unsigned>(co_Bytes.size()), n_Growth);
}

const char* pc_At(const CT_Buffer& co_Buffer, unsigned n_Offset)
{
    return static_cast<const char*>(co_Buffer.qcv_Get()) + n_Offset;
}

// Worked by hand. Granule: round_up(n + 12, growth) - 12. Full rule: the granule below 1024,
// else round_up(n * 5/4 (to 2047), 7/5 (to 4095) or 3/2, 64) - 12.
struct st_CapacityCase
{
    unsigned n_Size, n_Growth, n_Granule, n_Full;
};
const st_CapacityCase sa_Capacity[] = {
    {1, 32, 20, 20},         {20, 32, 20, 20},        {21, 32, 52, 52},
    {100, 32, 116, 116},     {1012, 32, 1012, 1012},  {1023, 32, 1044, 1044},
    {1024, 32, 1044, 1268},  {2047, 32, 2068, 2548},  {2048, 32, 2068, 2868},
    {4095, 32, 4116, 5748},  {4096, 32, 4116, 6132},  {10000, 32, 10004, 15028},
    {1, 16, 4, 4},           {100, 16, 100, 100},     {1023, 16, 1028, 1028},
    {1024, 16, 1028, 1268},  {4096, 16, 4100, 6132},  {1, 100, 88, 88},
    {88, 100, 88, 88},       {89, 100, 188, 188},     {1023, 100, 1088, 1088},
    {1024, 100, 1088, 1268}, {2048, 100, 2088, 2868}, {5, 1, 5, 5},
};

TEST(Buffer, CapacityFollowsGrowthRule)
{
    for (const st_CapacityCase& so : sa_Capacity)
    {
        SCOPED_TRACE(testing::Message() << "size " << so.n_Size << " growth " << so.n_Growth);
        CT_Buffer co_Constructed(so.n_Size, so.n_Growth);
        EXPECT_EQ(co_Constructed.n_GetMaximumSize(), so.n_Granule);
        EXPECT_EQ(co_BytesOf(co_Constructed), "");
        CT_Buffer co_Filled = co_Make(std::string(so.n_Size, 'x'), so.n_Growth);
        EXPECT_EQ(co_Filled.n_GetMaximumSize(), so.n_Granule);
        CT_Buffer co_Set;
        co_Set.v_Set(so.n_Size, so.n_Growth, 0);
        EXPECT_EQ(co_Set.n_GetMaximumSize(), so.n_Granule);
        EXPECT_EQ(co_Set.n_GetGrowth(), so.n_Growth);
        co_Set.v_SetSize(so.n_Size, 0);
        EXPECT_EQ(co_Set.n_GetMaximumSize(), so.n_Full);
    }
}

TEST(Buffer, DefaultHasNoBlock)
{
    CT_Buffer co;
    EXPECT_EQ(co_BytesOf(co), "");
    EXPECT_EQ(co.qcv_Get(), nullptr);
    EXPECT_EQ(co.n_GetUseCount(), 1u);
    EXPECT_EQ(co.n_GetGrowth(), 32u);
    EXPECT_EQ(co.n_Find('a', 0), sn_NotFound);
    EXPECT_EQ(co.n_Find("a", 1, 0), sn_NotFound);
}

TEST(Buffer, SetSizeReallocatesOnlyForOtherCapacityOrSharedBlock)
{
    CT_Buffer co = co_Make("abc"); // capacity 20
    const void* pcv_Block = co.qcv_Get();
    co.v_SetSize(8, 1);
    EXPECT_EQ(co.qcv_Get(), pcv_Block);
    EXPECT_EQ(co_BytesOf(co), "abc");
    CT_Buffer co_Copy(co);
    co_Copy.v_SetSize(8, 1); // same capacity, but shared
    EXPECT_NE(co_Copy.qcv_Get(), pcv_Block);
    EXPECT_EQ(co_BytesOf(co_Copy), "abc");
    co.v_SetSize(1, 0);
    EXPECT_EQ(co.qcv_Get(), pcv_Block);
    EXPECT_EQ(co_BytesOf(co), "");
    CT_Buffer co_Empty;
    co_Empty.v_SetSize(5, 1);
    EXPECT_EQ(co_Empty.n_GetMaximumSize(), 20u);
    EXPECT_EQ(co_BytesOf(co_Empty), "");
}

void v_ExpectShared(const CT_Buffer& co_Original, const CT_Buffer& co_Copy)
{
    EXPECT_EQ(co_Copy.qcv_Get(), co_Original.qcv_Get());
    EXPECT_EQ(co_Copy.n_GetUseCount(), 2u);
    EXPECT_EQ(co_Original.n_GetUseCount(), 2u);
    EXPECT_EQ(co_Copy.n_GetGrowth(), co_Original.n_GetGrowth());
    EXPECT_EQ(co_BytesOf(co_Copy), co_BytesOf(co_Original));
}

TEST(Buffer, CopiesShareBlock)
{
    CT_Buffer co_Original = co_Make("shared", 16);
    v_ExpectShared(co_Original, CT_Buffer(&co_Original));
    v_ExpectShared(co_Original, CT_Buffer(co_Original));
    using pfn_Copy = void (*)(CT_Buffer&, const CT_Buffer&);
    const pfn_Copy apfn_Copies[] = {
        [](CT_Buffer& co, const CT_Buffer& co_From) { co = co_From; },
        [](CT_Buffer& co, const CT_Buffer& co_From) { co.v_Set(&co_From); },
        [](CT_Buffer& co, const CT_Buffer& co_From) { co.v_Replace(&co_From); },
    };
    for (pfn_Copy pfn : apfn_Copies)
    {
        CT_Buffer co_Copy = co_Make("old block, released");
        pfn(co_Copy, co_Original);
        v_ExpectShared(co_Original, co_Copy);
    }
}

TEST(Buffer, AssignmentToItselfKeepsBlock)
{
    CT_Buffer co = co_Make("self");
    const CT_Buffer& co_Same = co;
    co = co_Same;
    EXPECT_EQ(co.n_GetUseCount(), 1u);
    EXPECT_EQ(co_BytesOf(co), "self");
}

// One writing operation from a start, the bytes it gives and, where it matters, the capacity.
struct st_EditCase
{
    const char* pc_Name;
    std::string co_Start;
    unsigned n_Growth; // with growth 1 a start has no spare capacity
    void (*pfn_Edit)(CT_Buffer&);
    std::string co_Expected;
    unsigned n_Maximum; // 0: not checked
};

// The source of the edits that read from another buffer.
const CT_Buffer co_Dashes = co_Make("--AB--");

const st_EditCase sa_Edit[] = {
    {"replace fill", "hello", 32, [](CT_Buffer& co) { co.v_Replace('x', 2, 1); }, "hxxlo", 20},
    {"replace fill to used end", "hello", 32, [](CT_Buffer& co) { co.v_Replace('x', sn_All, 3); },
     "helxx", 20},
    {"replace fill past used end", "hello", 32, [](CT_Buffer& co) { co.v_Replace('x', 4, 3); },
     "helxxxx", 20},
    {"replace fill beyond capacity grows", "hello", 32,
     [](CT_Buffer& co) { co.v_Replace('-', 17, 4); }, "hell" + std::string(17, '-'), 52},
    {"replace bytes", "hello", 32, [](CT_Buffer& co) { co.v_Replace("AB", 2, 0); }, "ABllo", 20},
    {"replace bytes past used end", "hello", 32, [](CT_Buffer& co) { co.v_Replace("AB", 2, 4); },
     "hellAB", 20},
    {"replace bytes to used end", "hello", 32,
     [](CT_Buffer& co) { co.v_Replace("XYZ", sn_All, 2); }, "heXYZ", 20},
    {"replace from buffer", "hello", 32, [](CT_Buffer& co) { co.v_Replace(&co_Dashes, 2, 2, 1); },
     "hABlo", 20},
    {"replace from buffer to its end", "hello", 32,
     [](CT_Buffer& co) { co.v_Replace(&co_Dashes, 2, sn_All, 1); }, "hAB--", 20},
    {"insert fill at start", "hello", 32, [](CT_Buffer& co) { co.v_Insert('x', 2, 0); }, "xxhello",
     20},
    {"insert fill at used end appends", "hello", 32, [](CT_Buffer& co) { co.v_Insert('x', 2, 5); },
     "helloxx", 20},
    {"insert fill beyond capacity grows", "hello", 32,
     [](CT_Buffer& co) { co.v_Insert('-', 16, 1); }, "h" + std::string(16, '-') + "ello", 52},
    {"insert bytes", "hello", 32, [](CT_Buffer& co) { co.v_Insert("AB", 2, 2); }, "heABllo", 20},
    {"insert no bytes", "hello", 32, [](CT_Buffer& co) { co.v_Insert("AB", 0, 2); }, "hello", 20},
    {"insert from buffer", "hello", 32, [](CT_Buffer& co) { co.v_Insert(&co_Dashes, 2, 2, 1); },
     "hABello", 20},
    {"insert from buffer to its end", "hello", 32,
     [](CT_Buffer& co) { co.v_Insert(&co_Dashes, 2, sn_All, 1); }, "hAB--ello", 20},
    {"append byte", "hello", 32, [](CT_Buffer& co) { co.v_Append('!'); }, "hello!", 20},
    {"append byte at full capacity grows", co_Long.substr(0, 20), 32,
     [](CT_Buffer& co) { co.v_Append('!'); }, co_Long.substr(0, 20) + "!", 52},
    {"append bytes", "hello", 32, [](CT_Buffer& co) { co.v_Append("!?", 2); }, "hello!?", 20},
    {"append from buffer", "hello", 32, [](CT_Buffer& co) { co.v_Append(&co_Dashes, 2, sn_All); },
     "helloAB--", 20},
    {"remove middle", "0123456789", 32, [](CT_Buffer& co) { co.v_Remove(3, 2); }, "0156789", 0},
    {"remove to used end", "0123456789", 32, [](CT_Buffer& co) { co.v_Remove(sn_All, 3); }, "012",
     0},
    {"remove tail", "0123456789", 32, [](CT_Buffer& co) { co.v_Remove(2, 8); }, "01234567", 0},
    {"remove nothing", "0123456789", 32, [](CT_Buffer& co) { co.v_Remove(0, 4); }, "0123456789", 0},
    {"remove everything", "0123456789", 32, [](CT_Buffer& co) { co.v_Remove(10, 0); }, "", 0},
    {"write through qv_Get", "hello", 32,
     [](CT_Buffer& co) { static_cast<char*>(co.qv_Get())[0] = 'J'; }, "Jello", 20},
    {"set used size", "hello", 32, [](CT_Buffer& co) { co.v_SetUsedSize(2); }, "he", 20},
    {"set smaller size keeping cuts to capacity", co_Long.substr(0, 30), 32,
     [](CT_Buffer& co) { co.v_SetSize(2, 1); }, co_Long.substr(0, 20), 20},
    {"set size keeping grows", "hello", 32, [](CT_Buffer& co) { co.v_SetSize(100, 1); }, "hello",
     116},
    {"set size without keeping", "hello", 32, [](CT_Buffer& co) { co.v_SetSize(100, 0); }, "", 116},
    {"set size to zero", "hello", 32, [](CT_Buffer& co) { co.v_SetSize(0, 1); }, "", 0},
    {"set empty size", "hello", 32, [](CT_Buffer& co) { co.v_Set(30, sn_All, 0); }, "", 52},
    {"set bytes", "hello", 32, [](CT_Buffer& co) { co.v_Set("xyz", 3, 100); }, "xyz", 88},
    {"insert copy in place", "abcdef", 32, [](CT_Buffer& co) { co.v_AtInsertCopy(3, 2, 1); },
     "adebcdef", 20},
    {"insert copy growing", "abcdef", 1, [](CT_Buffer& co) { co.v_AtInsertCopy(3, 2, 1); },
     "adebcdef", 20},
    {"insert copy from buffer", "hello", 32,
     [](CT_Buffer& co) { co.v_AtInsertCopy(&co_Dashes, 2, 2, 3); }, "helABlo", 20},
    {"insert move", "0123456789", 32, [](CT_Buffer& co) { co.v_AtInsertMove(1, 3, 7); },
     "0456123789", 20},
    {"insert move without spare", "0123456789", 1,
     [](CT_Buffer& co) { co.v_AtInsertMove(6, 3, 2); }, "0167823459", 10},
    {"insert move from buffer", "hello", 32,
     [](CT_Buffer& co)
     {
         CT_Buffer co_Source = co_Make("XYZW");
         co.v_AtInsertMove(&co_Source, 1, 2, 1);
     },
     "hYZello", 20},
    // Sources inside the buffer's own block must act as if copied first, also when the block
    // moves (growth 1 leaves no spare capacity) or the source is freed.
    {"insert own bytes growing", "abcdef", 1,
     [](CT_Buffer& co) { co.v_Insert(pc_At(co, 2), 3, 1); }, "acdebcdef", 0},
    {"insert own bytes in place", "abcdef", 32,
     [](CT_Buffer& co) { co.v_Insert(pc_At(co, 2), 3, 1); }, "acdebcdef", 20},
    {"insert many own bytes growing", co_Long, 1,
     [](CT_Buffer& co) { co.v_Insert(pc_At(co, 0), 40, 20); },
     co_Long.substr(0, 20) + co_Long + co_Long.substr(20), 0},
    {"replace with overlapping own bytes", "abcdef", 32,
     [](CT_Buffer& co) { co.v_Replace(pc_At(co, 0), 5, 1); }, "aabcde", 20},
    {"replace with own bytes growing", "abcdef", 1,
     [](CT_Buffer& co) { co.v_Replace(pc_At(co, 0), 6, 3); }, "abcabcdef", 0},
    {"replace with own bytes to used end", "abcdef", 32,
     [](CT_Buffer& co) { co.v_Replace(pc_At(co, 0), sn_All, 2); }, "ababcd", 20},
    {"append own bytes growing", "abcdef", 1, [](CT_Buffer& co) { co.v_Append(pc_At(co, 0), 6); },
     "abcdefabcdef", 0},
    {"set from own bytes", "abcdef", 32, [](CT_Buffer& co) { co.v_Set(pc_At(co, 2), 3, sn_All); },
     "cde", 20},
    {"set from many own bytes", co_Long, 32,
     [](CT_Buffer& co) { co.v_Set(pc_At(co, 1), 39, sn_All); }, co_Long.substr(1), 52},
    {"insert from itself", "abcdef", 1, [](CT_Buffer& co) { co.v_Insert(&co, 0, sn_All, 3); },
     "abcabcdefdef", 0},
    {"replace from itself", "abcdef", 1, [](CT_Buffer& co) { co.v_Replace(&co, 0, sn_All, 4); },
     "abcdabcdef", 0},
    {"insert copy from itself", "abcdef", 1, [](CT_Buffer& co) { co.v_AtInsertCopy(&co, 4, 2, 0); },
     "efabcdef", 0},
};

void v_CheckEdit(const st_EditCase& so, const CT_Buffer& co_Edited)
{
    EXPECT_EQ(co_BytesOf(co_Edited), so.co_Expected);
    if (so.n_Maximum)
    {
        EXPECT_EQ(co_Edited.n_GetMaximumSize(), so.n_Maximum);
    }
}

TEST(Buffer, EditsGiveExpectedBytes)
{
    for (const st_EditCase& so : sa_Edit)
    {
        SCOPED_TRACE(so.pc_Name);
        CT_Buffer co = co_Make(so.co_Start, so.n_Growth);
        so.pfn_Edit(co);
        v_CheckEdit(so, co);
    }
}

// The same edits through either of two buffers sharing a block.
TEST(Buffer, WriteThroughCopyLeavesOriginal)
{
    for (const st_EditCase& so : sa_Edit)
        for (int b_WriteCopy : {0, 1})
        {
            SCOPED_TRACE(testing::Message() << so.pc_Name << (b_WriteCopy ? " (copy)" : ""));
            CT_Buffer co_Original = co_Make(so.co_Start, so.n_Growth);
            CT_Buffer co_Copy(co_Original);
            CT_Buffer& co_Written = b_WriteCopy ? co_Copy : co_Original;
            CT_Buffer& co_Other = b_WriteCopy ? co_Original : co_Copy;
            so.pfn_Edit(co_Written);
            v_CheckEdit(so, co_Written);
            EXPECT_EQ(co_BytesOf(co_Other), so.co_Start);
            // An edit that changes neither bytes nor capacity keeps the block shared.
            unsigned n_Count = so.co_Expected == so.co_Start &&
                                       co_Written.n_GetMaximumSize() == co_Other.n_GetMaximumSize()
                                   ? 2
                                   : 1;
            EXPECT_EQ(co_Written.n_GetUseCount(), n_Count);
            EXPECT_EQ(co_Other.n_GetUseCount(), n_Count);
        }
}

TEST(Buffer, SetSizeKeepingSharedCopiesIntoOwnBlock)
{
    CT_Buffer co_Original = co_Make("abcdef");
    CT_Buffer co_Copy(co_Original);
    co_Copy.v_SetSize(3, 1); // same capacity, but shared: a fresh block all the same
    EXPECT_NE(co_Copy.qcv_Get(), co_Original.qcv_Get());
    EXPECT_EQ(co_BytesOf(co_Copy), "abcdef");
    EXPECT_EQ(co_Original.n_GetUseCount(), 1u);
}

TEST(Buffer, SetWithReuseKeepsOnlyUnsharedBlockLargeEnough)
{
    CT_Buffer co = co_Make("hello", 100); // capacity 88
    const void* pcv_Block = co.qcv_Get();
    co.v_Set(50, sn_All, 1);
    EXPECT_EQ(co.qcv_Get(), pcv_Block);
    EXPECT_EQ(co_BytesOf(co), "");
    EXPECT_EQ(co.n_GetMaximumSize(), 88u);
    EXPECT_EQ(co.n_GetGrowth(), 100u);
    CT_Buffer co_Copy = co_Make("hello");
    co = co_Copy;
    co.v_Set(1, sn_All, 1); // shared: never reused
    EXPECT_NE(co.qcv_Get(), co_Copy.qcv_Get());
    EXPECT_EQ(co_BytesOf(co_Copy), "hello");
    co.v_Set(89, 100, 1); // needs 188 with growth 100
    EXPECT_EQ(co.n_GetMaximumSize(), 188u);
    co.v_Set(1, 32, 0); // large enough, but not to be reused
    EXPECT_EQ(co.n_GetMaximumSize(), 20u);
    EXPECT_EQ(co.n_GetGrowth(), 32u);
}

// Insert c bytes copied from s at d, from "abcdef" with each growth; growth 1 leaves no room,
// so the block is rebuilt and the growth becomes 32.
TEST(Buffer, AtInsertCopyReadsSourceWhereItMoved)
{
    struct st_Case
    {
        unsigned n_Source, n_Count, n_Destination;
        const char* pc_Expected;
    };
    const st_Case sa_Cases[] = {
        {3, 2, 1, "adebcdef"},  // destination before source
        {0, 2, 4, "abcdabef"},  // destination after source
        {2, 2, 2, "abcdcdef"},  // destination at source
        {1, 3, 2, "abbcdcdef"}, // destination inside source
        {2, 3, 1, "acdebcdef"}, // source starts inside the inserted room
        {0, 3, 6, "abcdefabc"}, // at the used end
    };
    for (unsigned n_Growth : {1u, 32u, 100u})
        for (const st_Case& so : sa_Cases)
        {
            SCOPED_TRACE(testing::Message() << so.pc_Expected << " growth " << n_Growth);
            CT_Buffer co = co_Make("abcdef", n_Growth);
            co.v_AtInsertCopy(so.n_Source, so.n_Count, so.n_Destination);
            EXPECT_EQ(co_BytesOf(co), so.pc_Expected);
            EXPECT_EQ(co.n_GetGrowth(), n_Growth == 1 ? 32u : n_Growth);
        }
    CT_Buffer co = co_Make(std::string(88, 'x'), 100); // full
    co.v_AtInsertCopy(0, 1, 88);
    EXPECT_EQ(co.n_GetGrowth(), 32u);
    EXPECT_EQ(co.n_GetMaximumSize(), 116u);
    EXPECT_EQ(co_BytesOf(co), std::string(89, 'x'));
}

// Moves take each parking place for the moved bytes: spare capacity (growth 100; growth 32 leaves
// 12 bytes), the stack (no spare, at most 32 bytes) or the heap (no spare, more than 32 bytes).
TEST(Buffer, AtInsertMoveRotatesBytesKeepingSize)
{
    struct st_Case
    {
        unsigned n_Source, n_Count, n_Destination;
        const char* pc_Expected;
    };
    const st_Case sa_Cases[] = {
        {0, 35, 40, "zABCD0123456789abcdefghijklmnopqrstuvwxy"},
        {5, 35, 0, "56789abcdefghijklmnopqrstuvwxyzABCD01234"},
        {0, 5, 40, "56789abcdefghijklmnopqrstuvwxyzABCD01234"},
        {0, 12, 40, "cdefghijklmnopqrstuvwxyzABCD0123456789ab"}, // exactly the spare of growth 32
        {0, 13, 40, "defghijklmnopqrstuvwxyzABCD0123456789abc"}, // one more than that spare
        {35, 5, 0, "zABCD0123456789abcdefghijklmnopqrstuvwxy"},
        {1, 3, 7, "0456123789abcdefghijklmnopqrstuvwxyzABCD"},
        {6, 3, 2, "0167823459abcdefghijklmnopqrstuvwxyzABCD"},
        {2, 3, 2, "0123456789abcdefghijklmnopqrstuvwxyzABCD"}, // onto itself
        {2, 3, 5, "0123456789abcdefghijklmnopqrstuvwxyzABCD"}, // just after itself
    };
    for (unsigned n_Growth : {1u, 32u, 100u})
        for (const st_Case& so : sa_Cases)
        {
            SCOPED_TRACE(testing::Message() << so.n_Source << "," << so.n_Count << ","
                                            << so.n_Destination << " growth " << n_Growth);
            CT_Buffer co = co_Make(co_Long, n_Growth);
            unsigned n_Maximum = co.n_GetMaximumSize();
            co.v_AtInsertMove(so.n_Source, so.n_Count, so.n_Destination);
            EXPECT_EQ(co_BytesOf(co), so.pc_Expected);
            EXPECT_EQ(co.n_GetMaximumSize(), n_Maximum);
        }
}

TEST(Buffer, AtInsertMoveFromOtherBufferRemovesThere)
{
    CT_Buffer co = co_Make("hello");
    CT_Buffer co_Source = co_Make("XYZW");
    co.v_AtInsertMove(&co_Source, 1, 2, 1);
    EXPECT_EQ(co_BytesOf(co), "hYZello");
    EXPECT_EQ(co_BytesOf(co_Source), "XW");
    CT_Buffer co_Sharer(co); // a source sharing the block
    co.v_AtInsertMove(&co_Sharer, 0, 2, 7);
    EXPECT_EQ(co_BytesOf(co), "hYZellohY");
    EXPECT_EQ(co_BytesOf(co_Sharer), "Zello");
}

// Compared length: the given length cut to the used bytes from the offset.
TEST(Buffer, IsEqualComparesWithinUsedBytes)
{
    struct st_Case
    {
        const char* pc_Content; // nullptr: no block
        const char* pc_Bytes;
        unsigned n_Length, n_Offset;
        int b_Equal;
    };
    const st_Case sa_Cases[] = {
        {nullptr, "abc", 3, 0, 1}, {nullptr, "abc", 3, 1, 0}, {"abc", "abcdef", 6, 0, 1},
        {"abc", "abd", 3, 0, 0},   {"abcdef", "cd", 2, 2, 1}, {"abcdef", "cx", 2, 2, 0},
        {"abc", "x", 0, 1, 1},     {"abc", "x", 1, 3, 1},     {"abc", "bcX", 3, 1, 1},
        {"abc", "bX", 2, 1, 0},
    };
    for (const st_Case& so : sa_Cases)
    {
        SCOPED_TRACE(testing::Message() << (so.pc_Content ? so.pc_Content : "(none)") << " vs "
                                        << so.pc_Bytes << " at " << so.n_Offset);
        CT_Buffer co = so.pc_Content ? co_Make(so.pc_Content) : CT_Buffer();
        CT_Buffer co_Other = co_Make(std::string("--") + so.pc_Bytes);
        EXPECT_EQ(co.b_IsEqual(so.pc_Bytes, so.n_Length, so.n_Offset), so.b_Equal);
        EXPECT_EQ(co.b_IsEqual(&co_Other, 2, so.n_Length, so.n_Offset), so.b_Equal);
        if (so.n_Length == std::char_traits<char>::length(so.pc_Bytes))
        {
            EXPECT_EQ(co.b_IsEqual(&co_Other, 2, sn_All, so.n_Offset), so.b_Equal);
        }
        co_BytesOf(co);
    }
}

// The needle must lie wholly within the used bytes; bytes past them stay in the block.
TEST(Buffer, FindStaysWithinUsedBytes)
{
    struct st_Case
    {
        const char* pc_Content;
        unsigned n_Used;
        const char* pc_Needle;
        unsigned n_Offset, n_Expected;
    };
    const st_Case sa_Cases[] = {
        {"abcabc", 6, "c", 0, 2},
        {"abcabc", 6, "c", 3, 5},
        {"abcabc", 6, "c", 6, sn_NotFound},
        {"abcabc", 6, "z", 0, sn_NotFound},
        {"abcabc", 6, "a", 4, sn_NotFound},
        {"abcabc", 5, "c", 3, sn_NotFound},
        {"aaab", 4, "aab", 0, 1},
        {"ababac", 6, "abac", 0, 2},
        {"abcabc", 6, "bc", 2, 4},
        {"abcabc", 6, "bca", 4, sn_NotFound},
        {"abcabc", 5, "abc", 1, sn_NotFound},
        {"abcabc", 5, "ab", 1, 3},
        {"abcabc", 6, "abcabc", 0, 0},
        {"abcabc", 6, "abcabcd", 0, sn_NotFound},
        {"abcabc", 6, "", 4, 4},
        {"abcabc", 6, "", 6, 6},
        {"abcabc", 6, "", 7, sn_NotFound},
    };
    for (const st_Case& so : sa_Cases)
    {
        SCOPED_TRACE(testing::Message() << so.pc_Needle << " in " << so.pc_Content << " used "
                                        << so.n_Used << " from " << so.n_Offset);
        CT_Buffer co = co_Make(so.pc_Content);
        co.v_SetUsedSize(so.n_Used);
        unsigned n_Length = static_cast<unsigned>(std::char_traits<char>::length(so.pc_Needle));
        EXPECT_EQ(co.n_Find(so.pc_Needle, n_Length, so.n_Offset), so.n_Expected);
        if (n_Length == 1)
        {
            EXPECT_EQ(co.n_Find(static_cast<unsigned char>(so.pc_Needle[0]), so.n_Offset),
                      so.n_Expected);
        }
        co_BytesOf(co);
    }
}

// On a 32-bit target the header plus the largest capacity would wrap the allocation size to a
// tiny block; the request must end the process instead.
TEST(BufferDeathTest, BlockBeyondAddressSpaceEndsProcess)
{
    if (sizeof(void*) > 4)
        GTEST_SKIP() << "the block fits a 64-bit address space";
    EXPECT_DEATH(CT_Buffer(0xFFFFFFE8u, 32), "");
}

TEST(Buffer, NewAndDeleteUseThePool)
{
    _SHI_Pool* pso_Pool = CT_Buffer::spso_GetMemPool();
    ASSERT_NE(pso_Pool, nullptr);
    std::size_t n_Before = CT_Heap::sn_PoolInUse(pso_Pool);
    CT_Buffer* pco = new CT_Buffer(co_Make("pooled"));
    EXPECT_EQ(CT_Heap::sn_PoolInUse(pso_Pool), n_Before + 1);
    EXPECT_EQ(co_BytesOf(*pco), "pooled");
    delete pco;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(pso_Pool), n_Before);
}

// Copies made, written and dropped in several threads at once leave the count balanced.
TEST(Buffer, CopiesInThreadsBalanceUseCount)
{
    const CT_Buffer co_Shared = co_Make("shared between threads");
    std::vector<std::thread> co_Threads;
    for (int i = 0; i < 4; ++i)
        co_Threads.emplace_back(
            [&co_Shared]
            {
                for (unsigned n = 0; n < 20000; ++n)
                {
                    CT_Buffer co_Copy(co_Shared);
                    CT_Buffer co_Second(&co_Copy);
                    if (n % 16 == 0)
                        co_Second.v_Append('!'); // detaches while the count moves
                }
            });
    for (std::thread& co : co_Threads)
        co.join();
    EXPECT_EQ(co_Shared.n_GetUseCount(), 1u);
    EXPECT_EQ(co_BytesOf(co_Shared), "shared between threads");
}
} // namespace
