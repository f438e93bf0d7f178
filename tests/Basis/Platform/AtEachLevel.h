// Test suites that run once per level of instruction sets (CT_VectorLevel): a suite's fixture
// derives from CT_AtEachLevel, its cases are TEST_P, and CT_AT_EACH_LEVEL(Suite) instantiates
// them as Suite.Case/Plain, /SSE2, /AVX2 and /AVX512. Each case forces its level through the
// codecs' dispatch points; a level that the processor lacks is skipped.
#pragma once

#include "Basis/Platform/VectorLevel.h"

#include <gtest/gtest.h>

class CT_AtEachLevel : public testing::TestWithParam<CT_VectorLevel::et_Level>
{
protected:
    void SetUp() override
    {
        if (CT_VectorLevel::seo_Choose(GetParam()) != GetParam())
            GTEST_SKIP() << "the processor lacks this level";
    }
    void TearDown() override { CT_VectorLevel::seo_Choose(CT_VectorLevel::e_Levels); }

public:
    static const char* sqccz_Name(const testing::TestParamInfo<CT_VectorLevel::et_Level>& so)
    {
        static const char* const saqccz_Names[] = {"Plain", "SSE2", "AVX2", "AVX512"};
        return saqccz_Names[so.param];
    }
};

#define CT_AT_EACH_LEVEL(x_Suite)                                                                  \
    INSTANTIATE_TEST_SUITE_P(, x_Suite,                                                            \
                             testing::Values(CT_VectorLevel::e_Plain, CT_VectorLevel::e_SSE2,      \
                                             CT_VectorLevel::e_AVX2, CT_VectorLevel::e_AVX512),    \
                             CT_AtEachLevel::sqccz_Name)

// For the code-page tables, which only the native build converts with: on Windows, where the
// system converts, the suite runs once.
#if defined(_WIN32)
#define CT_AT_EACH_NATIVE_LEVEL(x_Suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(, x_Suite, testing::Values(CT_VectorLevel::e_Plain),                  \
                             CT_AtEachLevel::sqccz_Name)
#else
#define CT_AT_EACH_NATIVE_LEVEL(x_Suite) CT_AT_EACH_LEVEL(x_Suite)
#endif
