#include "Basis/Platform/TextStatistics.h"

#if defined(_WIN32)
#include <windows.h>

#include <algorithm>
#include <climits>

int CT_PlatformTextStatistics::sb_TestUnicode(const void* pcv_Bytes, unsigned n_Size,
                                              int* pb_IsUnicode)
{
    const int i_Size = static_cast<int>(std::min<unsigned>(n_Size, INT_MAX));
    *pb_IsUnicode = IsTextUnicode(pcv_Bytes, i_Size, nullptr) ? 1 : 0;
    return 1;
}

#else

int CT_PlatformTextStatistics::sb_TestUnicode(const void*, unsigned, int*)
{
    return 0;
}

#endif
