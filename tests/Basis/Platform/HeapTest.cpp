// CT_Heap: fixed-size pools (distinct, aligned, whole elements, reuse, several chunks, several
// threads) and the general heap, including its new-handler retry where malloc can be made to
// fail on demand.
#include "Basis/Platform/Heap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace
{
using CT_PoolOwner = std::unique_ptr<_SHI_Pool, void (*)(_SHI_Pool*)>;

CT_PoolOwner co_NewPool(unsigned n_ElementSize, unsigned n_Hint)
{
    return CT_PoolOwner(CT_Heap::spso_CreatePool(n_ElementSize, n_Hint, 0),
                        CT_Heap::sv_DestroyPool);
}

unsigned char c_Mark(unsigned n_Seed, std::size_t n_Index)
{
    return static_cast<unsigned char>(n_Seed * 64 + n_Index);
}

// Takes n_Count elements, checks their alignment and fills each whole one with its own mark, so
// that overlapping or short elements show up when they are checked.
std::vector<unsigned char*> co_Take(_SHI_Pool* pso_Pool, std::size_t n_Count,
                                    std::size_t n_ElementSize, unsigned n_Seed)
{
    std::vector<unsigned char*> co_Elements;
    for (std::size_t i = 0; i < n_Count; ++i)
    {
        auto* pc = static_cast<unsigned char*>(CT_Heap::spv_PoolAlloc(pso_Pool));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pc) % alignof(std::max_align_t), 0u);
        std::memset(pc, c_Mark(n_Seed, i), n_ElementSize);
        co_Elements.push_back(pc);
    }
    return co_Elements;
}

// Checks the marks and returns the elements; 1 when every mark was intact.
int b_CheckAndFree(_SHI_Pool* pso_Pool, const std::vector<unsigned char*>& co_Elements,
                   std::size_t n_ElementSize, unsigned n_Seed)
{
    int b_Intact = 1;
    for (std::size_t i = 0; i < co_Elements.size(); ++i)
    {
        for (std::size_t n = 0; n < n_ElementSize; ++n)
            b_Intact = b_Intact && co_Elements[i][n] == c_Mark(n_Seed, i);
        CT_Heap::sv_PoolFree(pso_Pool, co_Elements[i]);
    }
    return b_Intact;
}

TEST(Heap, PoolElementsAreDistinctAlignedAndWhole)
{
    const unsigned an_Sizes[] = {1, 8, 24, 100};
    for (unsigned n_Size : an_Sizes)
        for (unsigned n_Hint : {1u, 3u, 16u})
        {
            SCOPED_TRACE(testing::Message() << "size " << n_Size << " hint " << n_Hint);
            CT_PoolOwner co_Pool = co_NewPool(n_Size, n_Hint);
            std::vector<unsigned char*> co_Elements = co_Take(co_Pool.get(), 40, n_Size, 0);
            EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 40u);
            EXPECT_TRUE(b_CheckAndFree(co_Pool.get(), co_Elements, n_Size, 0));
            EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 0u);
        }
}

TEST(Heap, FreedPoolElementIsReused)
{
    CT_PoolOwner co_Pool = co_NewPool(16, 1);
    void* pv_First = CT_Heap::spv_PoolAlloc(co_Pool.get());
    CT_Heap::sv_PoolFree(co_Pool.get(), pv_First);
    void* pv_Again = CT_Heap::spv_PoolAlloc(co_Pool.get());
    EXPECT_EQ(pv_Again, pv_First);
    EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 1u);
    CT_Heap::sv_PoolFree(co_Pool.get(), nullptr); // ignored
    EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 1u);
    // Destroying the pool frees the element still out (the leak checker would say otherwise).
}

TEST(Heap, PoolGrowsOverManyChunksAndRefillsFreedOnes)
{
    CT_PoolOwner co_Pool = co_NewPool(40, 16);
    std::vector<unsigned char*> co_First = co_Take(co_Pool.get(), 1000, 40, 1);
    std::vector<unsigned char*> co_Second = co_Take(co_Pool.get(), 1000, 40, 2);
    EXPECT_TRUE(b_CheckAndFree(co_Pool.get(), co_First, 40, 1));
    co_First = co_Take(co_Pool.get(), 1000, 40, 3);
    EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 2000u);
    EXPECT_TRUE(b_CheckAndFree(co_Pool.get(), co_Second, 40, 2));
    EXPECT_TRUE(b_CheckAndFree(co_Pool.get(), co_First, 40, 3));
}

// Threads that start together and do little besides taking and returning elements contend for
// the pool most; an element handed to two of them loses one of their marks.
TEST(Heap, PoolServesThreadsAtOnce)
{
    CT_PoolOwner co_Pool = co_NewPool(24, 8);
    std::atomic<unsigned> n_Ready{0};
    std::atomic<unsigned> n_Lost{0};
    std::vector<std::thread> co_Threads;
    for (unsigned n_Thread = 0; n_Thread < 4; ++n_Thread)
        co_Threads.emplace_back(
            [&co_Pool, &n_Ready, &n_Lost, n_Thread]
            {
                for (++n_Ready; n_Ready < 4;)
                    std::this_thread::yield();
                for (int i = 0; i < 10000; ++i)
                {
                    unsigned char* apc_Taken[8];
                    for (unsigned char*& pc : apc_Taken)
                    {
                        pc = static_cast<unsigned char*>(CT_Heap::spv_PoolAlloc(co_Pool.get()));
                        pc[sizeof(void*)] = static_cast<unsigned char>(n_Thread);
                    }
                    for (unsigned char* pc : apc_Taken)
                    {
                        n_Lost += pc[sizeof(void*)] != n_Thread;
                        CT_Heap::sv_PoolFree(co_Pool.get(), pc);
                    }
                }
            });
    for (std::thread& co : co_Threads)
        co.join();
    EXPECT_EQ(n_Lost.load(), 0u);
    EXPECT_EQ(CT_Heap::sn_PoolInUse(co_Pool.get()), 0u);
}

TEST(Heap, ReallocKeepsContents)
{
    auto* pc = static_cast<unsigned char*>(CT_Heap::spv_Alloc(16));
    for (unsigned n = 0; n < 16; ++n)
        pc[n] = static_cast<unsigned char>(n + 1);
    pc = static_cast<unsigned char*>(CT_Heap::spv_Realloc(pc, 100000));
    pc[99999] = 0; // the whole new size is usable
    for (unsigned n = 0; n < 16; ++n)
        EXPECT_EQ(pc[n], n + 1);
    pc = static_cast<unsigned char*>(CT_Heap::spv_Realloc(pc, 8));
    for (unsigned n = 0; n < 8; ++n)
        EXPECT_EQ(pc[n], n + 1);
    CT_Heap::sv_Free(pc);
    void* pv_Empty = CT_Heap::spv_Alloc(0);
    void* pv_Fresh = CT_Heap::spv_Realloc(nullptr, 10);
    EXPECT_NE(pv_Empty, nullptr);
    EXPECT_NE(pv_Fresh, nullptr);
    CT_Heap::sv_Free(pv_Empty);
    CT_Heap::sv_Free(pv_Fresh);
}
} // namespace

// Natively and without a sanitizer's allocator (which dies rather than fail), a cap on the
// address space makes malloc fail on demand, and a handler can lift it again. Each case runs in a
// child process.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CT_SANITIZER_ALLOCATOR
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
#define CT_SANITIZER_ALLOCATOR
#endif
#endif

#if defined(__linux__) && !defined(CT_SANITIZER_ALLOCATOR)
#include <cstdlib>
#include <fstream>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
constexpr std::size_t sn_Large = std::size_t(256) << 20;
rlimit so_Uncapped;
unsigned n_HandlerCalls = 0;

void v_CapAddressSpace()
{
    std::size_t n_Pages = 0;
    std::ifstream("/proc/self/statm") >> n_Pages;
    getrlimit(RLIMIT_AS, &so_Uncapped);
    rlimit so_Cap = so_Uncapped;
    so_Cap.rlim_cur = n_Pages * sysconf(_SC_PAGESIZE) + (std::size_t(64) << 20);
    setrlimit(RLIMIT_AS, &so_Cap);
}

void v_LiftCap()
{
    ++n_HandlerCalls;
    setrlimit(RLIMIT_AS, &so_Uncapped);
}

// Grows a block past the cap with pfn_Handler installed; exits with 0 when that worked after
// exactly one call of the handler.
void v_GrowCapped(std::new_handler pfn_Handler)
{
    v_CapAddressSpace();
    std::set_new_handler(pfn_Handler);
    void* pv = CT_Heap::spv_Realloc(CT_Heap::spv_Alloc(16), sn_Large);
    std::_Exit(pv && n_HandlerCalls == 1 ? 0 : 1);
}

TEST(HeapDeathTest, ExhaustionRetriesThroughNewHandlerElseEndsProcess)
{
    EXPECT_EXIT(v_GrowCapped(v_LiftCap), testing::ExitedWithCode(0), "");
    const char* pc_Message = "out of memory allocating 268435456 bytes";
    EXPECT_DEATH(v_GrowCapped(nullptr), pc_Message);
    EXPECT_DEATH(v_GrowCapped([] { throw std::bad_alloc(); }), pc_Message);
}
} // namespace
#endif
