#include "Basis/Platform/Heap.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define CT_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define CT_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define CT_POISON(p, n) ((void)(p), (void)(n))
#define CT_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

// Elements are carved from chunks of n_Hint elements; a free element holds the link to the next
// free one in its first bytes. Under AddressSanitizer free elements are poisoned, so a use after
// return to the pool is reported like a use after free.
struct _SHI_Pool
{
    std::mutex co_Lock;
    std::size_t n_ElementSize; // rounded up to keep every element aligned
    std::size_t n_Hint;        // elements per chunk
    void* pv_FreeList = nullptr;
    void* pv_Chunks = nullptr; // each chunk starts with the link to the previous chunk
    std::size_t n_InUse = 0;
};

namespace
{
constexpr std::size_t sn_Align = alignof(std::max_align_t);
constexpr std::size_t sn_ChunkHeader = sn_Align; // the chunk link, padded to keep alignment

std::size_t n_RoundUp(std::size_t n_Size, std::size_t n_Granule)
{
    return (n_Size + n_Granule - 1) / n_Granule * n_Granule;
}

[[noreturn]] void v_OutOfMemory(std::size_t n_Size)
{
    std::fprintf(stderr, "out of memory allocating %zu bytes\n", n_Size);
    std::abort();
}

// Calls fn_Try until it succeeds; after each failure the installed new-handler may free memory.
// A handler that gives up (none installed, or one that throws) ends the process: the library
// never raises an exception and its callers cannot recover from exhaustion.
template <typename Fn>
void* pv_WithRetry(std::size_t n_Size, Fn fn_Try)
{
    for (;;)
    {
        if (void* pv = fn_Try())
            return pv;
        std::new_handler pfn_Handler = std::get_new_handler();
        if (!pfn_Handler)
            v_OutOfMemory(n_Size);
        try
        {
            pfn_Handler();
        }
        catch (...)
        {
            v_OutOfMemory(n_Size);
        }
    }
}

void v_AddChunk(_SHI_Pool* pso_Pool)
{
    std::size_t n_Bytes = sn_ChunkHeader + pso_Pool->n_ElementSize * pso_Pool->n_Hint;
    char* pc_Chunk = static_cast<char*>(CT_Heap::spv_Alloc(n_Bytes));
    *reinterpret_cast<void**>(pc_Chunk) = pso_Pool->pv_Chunks;
    pso_Pool->pv_Chunks = pc_Chunk;
    // Thread the new elements onto the free list, first element first.
    char* pc_Element = pc_Chunk + sn_ChunkHeader;
    for (std::size_t i = pso_Pool->n_Hint; i-- > 0;)
    {
        char* pc = pc_Element + i * pso_Pool->n_ElementSize;
        *reinterpret_cast<void**>(pc) = pso_Pool->pv_FreeList;
        pso_Pool->pv_FreeList = pc;
        CT_POISON(pc, pso_Pool->n_ElementSize);
    }
}
} // namespace

_SHI_Pool* CT_Heap::spso_CreatePool(unsigned n_ElementSize, unsigned n_Hint, unsigned /*n_Flags*/)
{
    void* pv = spv_Alloc(sizeof(_SHI_Pool));
    _SHI_Pool* pso_Pool = new (pv) _SHI_Pool;
    std::size_t n_Size = n_ElementSize < sizeof(void*) ? sizeof(void*) : n_ElementSize;
    pso_Pool->n_ElementSize = n_RoundUp(n_Size, sn_Align);
    pso_Pool->n_Hint = n_Hint ? n_Hint : 1;
    return pso_Pool;
}

void CT_Heap::sv_DestroyPool(_SHI_Pool* pso_Pool)
{
    if (!pso_Pool)
        return;
    void* pv_Chunk = pso_Pool->pv_Chunks;
    while (pv_Chunk)
    {
        void* pv_Previous = *static_cast<void**>(pv_Chunk);
        CT_UNPOISON(pv_Chunk, sn_ChunkHeader + pso_Pool->n_ElementSize * pso_Pool->n_Hint);
        sv_Free(pv_Chunk);
        pv_Chunk = pv_Previous;
    }
    pso_Pool->~_SHI_Pool();
    sv_Free(pso_Pool);
}

void* CT_Heap::spv_PoolAlloc(_SHI_Pool* pso_Pool)
{
    std::lock_guard<std::mutex> co_Guard(pso_Pool->co_Lock);
    if (!pso_Pool->pv_FreeList)
        v_AddChunk(pso_Pool);
    void* pv = pso_Pool->pv_FreeList;
    CT_UNPOISON(pv, pso_Pool->n_ElementSize);
    pso_Pool->pv_FreeList = *static_cast<void**>(pv);
    ++pso_Pool->n_InUse;
    return pv;
}

void CT_Heap::sv_PoolFree(_SHI_Pool* pso_Pool, void* pv_Element)
{
    if (!pv_Element)
        return;
    std::lock_guard<std::mutex> co_Guard(pso_Pool->co_Lock);
    *static_cast<void**>(pv_Element) = pso_Pool->pv_FreeList;
    pso_Pool->pv_FreeList = pv_Element;
    --pso_Pool->n_InUse;
    CT_POISON(pv_Element, pso_Pool->n_ElementSize);
}

std::size_t CT_Heap::sn_PoolInUse(const _SHI_Pool* pso_Pool)
{
    std::lock_guard<std::mutex> co_Guard(const_cast<_SHI_Pool*>(pso_Pool)->co_Lock);
    return pso_Pool->n_InUse;
}

void* CT_Heap::spv_Alloc(std::size_t n_Size)
{
    return pv_WithRetry(n_Size, [n_Size] { return std::malloc(n_Size ? n_Size : 1); });
}

void* CT_Heap::spv_Realloc(void* pv_Block, std::size_t n_Size)
{
    return pv_WithRetry(n_Size,
                        [pv_Block, n_Size] { return std::realloc(pv_Block, n_Size ? n_Size : 1); });
}

void CT_Heap::sv_Free(void* pv_Block)
{
    std::free(pv_Block);
}
