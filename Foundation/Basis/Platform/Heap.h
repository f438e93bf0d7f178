// Memory for the library: thread-safe pools of fixed-size elements for the often-created
// classes, and a general heap for variable-sized blocks. Allocation retries through the
// process's new-handler; when memory is finally exhausted the process ends with a message,
// since no caller has a recovery path.
#pragma once

#include "Basis/Platform/Export.h"

#include <cassert>
#include <cstddef>

// A pool of fixed-size elements; opaque to its users.
struct _SHI_Pool;

class CT_EXPORT CT_Heap
{
public:
    // n_Hint elements are reserved at a time. No flag is defined; n_Flags is kept for callers.
    static _SHI_Pool* spso_CreatePool(unsigned n_ElementSize, unsigned n_Hint, unsigned n_Flags);
    // Frees the pool and all its elements, whether or not they were returned.
    static void sv_DestroyPool(_SHI_Pool* pso_Pool);
    static void* spv_PoolAlloc(_SHI_Pool* pso_Pool);
    static void sv_PoolFree(_SHI_Pool* pso_Pool, void* pv_Element);
    // Number of elements handed out and not yet returned.
    static std::size_t sn_PoolInUse(const _SHI_Pool* pso_Pool);

    static void* spv_Alloc(std::size_t n_Size);
    // Contents up to the smaller of the two sizes are kept; the block may move.
    static void* spv_Realloc(void* pv_Block, std::size_t n_Size);
    static void sv_Free(void* pv_Block);
};

// The pooled operator new and delete, and spso_GetMemPool, of a class whose objects come from
// its static spso_Pool; a derived class of another size must not use them.
#define CT_DEFINE_POOLED_ALLOCATION(Class)                                                         \
    void* Class::operator new(std::size_t n_Size)                                                  \
    {                                                                                              \
        assert(n_Size == sizeof(Class));                                                           \
        (void)n_Size;                                                                              \
        return CT_Heap::spv_PoolAlloc(spso_Pool);                                                  \
    }                                                                                              \
    void Class::operator delete(void* pv_Object)                                                   \
    {                                                                                              \
        CT_Heap::sv_PoolFree(spso_Pool, pv_Object);                                                \
    }                                                                                              \
    _SHI_Pool* Class::spso_GetMemPool()                                                            \
    {                                                                                              \
        return spso_Pool;                                                                          \
    }
