// Atomic use counters shared between threads. Both builds use GCC's builtins, which compile to
// the same locked instructions as the Win32 Interlocked functions. Where the C library tells
// that the process has only one thread (glibc), the counters skip the bus lock, as libstdc++'s
// shared_ptr does: the flag turns false before a second thread starts and never back.
#pragma once

#include <cstdint>

#if defined(__GLIBC__) && __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#define CT_SINGLE_THREADED() (__libc_single_threaded != 0)
#else
#define CT_SINGLE_THREADED() false
#endif

class CT_Atomic
{
public:
    // Returns the new value.
    static std::uint32_t sn_Increment(std::uint32_t* pn_Value)
    {
        if (CT_SINGLE_THREADED())
            return ++*pn_Value;
        return __atomic_add_fetch(pn_Value, 1u, __ATOMIC_RELAXED);
    }

    // Returns the new value; acquire-release so that the thread that frees a block sees every
    // write that other sharers made before letting go of it.
    static std::uint32_t sn_Decrement(std::uint32_t* pn_Value)
    {
        if (CT_SINGLE_THREADED())
            return --*pn_Value;
        return __atomic_sub_fetch(pn_Value, 1u, __ATOMIC_ACQ_REL);
    }

    // A plain read: the caller only needs a snapshot (for example, "is this block shared?").
    static std::uint32_t sn_Load(const std::uint32_t* pn_Value)
    {
        return __atomic_load_n(pn_Value, __ATOMIC_RELAXED);
    }
};
