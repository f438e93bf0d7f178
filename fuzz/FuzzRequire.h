// The checks of the fuzz targets: a failure names the target and what did not hold, then aborts,
// which libFuzzer and the corpus replay both report with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void v_FuzzRequire(bool b_Holds, const char* qccz_Target, const char* qccz_What)
{
    if (b_Holds)
        return;
    std::fprintf(stderr, "%s: %s\n", qccz_Target, qccz_What);
    std::abort();
}
