#include "Basis/Platform/VectorLevel.h"

#include <atomic>
#include <cassert>

namespace
{
using et_Level = CT_VectorLevel::et_Level;

et_Level eo_Ask()
{
#if defined(__i386__) || defined(__x86_64__)
    // The compiler's runtime also checks that the operating system saves the wider registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
        __builtin_cpu_supports("bmi2"))
        return CT_VectorLevel::e_AVX512;
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
        __builtin_cpu_supports("bmi2"))
        return CT_VectorLevel::e_AVX2;
    return __builtin_cpu_supports("sse2") ? CT_VectorLevel::e_SSE2 : CT_VectorLevel::e_Plain;
#else
    return CT_VectorLevel::e_SSE2;
#endif
}

// A level chosen by seo_Choose, or e_Levels for none.
std::atomic<int> si_Chosen{CT_VectorLevel::e_Levels};
std::atomic<unsigned> sn_Points{0};
void (*apfn_Points[CT_VectorLevel::sn_MaxPoints])(et_Level);
} // namespace

CT_VectorLevel::et_Level CT_VectorLevel::seo_Supported()
{
    static const et_Level seo = eo_Ask();
    return seo;
}

CT_VectorLevel::et_Level CT_VectorLevel::seo_Current()
{
    const int i = si_Chosen.load(std::memory_order_relaxed);
    return i == e_Levels ? seo_Supported() : static_cast<et_Level>(i);
}

CT_VectorLevel::et_Level CT_VectorLevel::seo_Choose(et_Level eo_Level)
{
    const et_Level eo = eo_Level < seo_Supported() ? eo_Level : seo_Supported();
    si_Chosen.store(eo, std::memory_order_relaxed);
    const unsigned n_Points = sn_Points.load(std::memory_order_acquire);
    for (unsigned i = 0; i < n_Points; ++i)
        apfn_Points[i](eo);
    return eo;
}

void CT_VectorLevel::sv_Register(void (*pfn_Point)(et_Level))
{
    pfn_Point(seo_Current());
    const unsigned n = sn_Points.load(std::memory_order_relaxed);
    assert(n < sn_MaxPoints && "room for every codec's dispatch point");
    apfn_Points[n] = pfn_Point;
    sn_Points.store(n + 1, std::memory_order_release);
}
