// CT_VectorLevel: which instruction sets the codecs' block paths may use on this processor, and
// the codecs' dispatch points that follow that choice. Internal to the library; exported for the
// tests and fuzz targets, which force each level in turn.
//
// A codec is compiled once per level (see Vector.h) and keeps one dispatch point: a function,
// registered here, that points the codec at its compilation for a level. It is called at
// registration and again whenever a level is chosen, so the processor is asked once and no
// conversion asks again.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_VectorLevel
{
public:
    // Each level includes the ones before it. e_Plain has no block paths: element by element
    // throughout. e_SSE2: sixteen-byte registers (SSE2 on x86, the compiler's generic vectors
    // on other processors). e_AVX2: AVX2 with BMI1 and BMI2. e_AVX512: AVX-512 F, BW, VL, DQ,
    // VBMI and VBMI2 with BMI2, as from Ice Lake and Zen 4 on.
    enum et_Level
    {
        e_Plain,
        e_SSE2,
        e_AVX2,
        e_AVX512,
        e_Levels
    };

    // The highest level that this processor and its operating system run (and this build
    // compiles); asked of the processor once.
    static et_Level seo_Supported();
    // The level the dispatch points follow: the supported one unless one was chosen.
    static et_Level seo_Current();
    // Points every dispatch point at eo_Level, or at the supported level when that is lower;
    // returns the level taken. For tests and fuzz targets, while no other thread converts.
    static et_Level seo_Choose(et_Level eo_Level);
    // Registers a codec's dispatch point and calls it with the current level. At most
    // sn_MaxPoints points, each registered once, one at a time (during static initialisation or
    // under the codec's own lock).
    static void sv_Register(void (*pfn_Point)(et_Level));
    static constexpr unsigned sn_MaxPoints = 8;
};

// The objects that a source compiled per level names CT_VECTOR_NAME(x_Name) (Vector.h), in the
// order of et_Level: the initialiser of a dispatch point's table. Off x86 the sixteen-byte
// compilation stands for the wider levels, which the processor never reports.
#if defined(__i386__) || defined(__x86_64__)
#define CT_VECTOR_LEVELS(x_Name)                                                                   \
    {                                                                                              \
        &x_Name##Plain, &x_Name##SSE2, &x_Name##AVX2, &x_Name##AVX512                              \
    }
#else
#define CT_VECTOR_LEVELS(x_Name)                                                                   \
    {                                                                                              \
        &x_Name##Plain, &x_Name##SSE2, &x_Name##SSE2, &x_Name##SSE2                                \
    }
#endif
