// The operating system's statistical test of whether bytes are 16-bit text: IsTextUnicode with
// every test (no test mask) on Windows. Natively there is no such test. Any thread may call.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_PlatformTextStatistics
{
public:
    // False when the platform has no test; otherwise true, with its verdict in *pb_IsUnicode.
    static int sb_TestUnicode(const void* pcv_Bytes, unsigned n_Size, int* pb_IsUnicode);
};
