// The operating system's version, as GetVersionExA reports it on Windows. Natively the platform
// identifier is sn_PlatformPosix, which the library treats as an NT-family system, with the
// kernel's release numbers and no service-pack text. Any thread may call it.
#pragma once

struct st_OsVersion
{
    unsigned n_PlatformId; // one of CT_PlatformVersion's sn_Platform values, or another
    unsigned n_Major;
    unsigned n_Minor;
    unsigned n_Build;
    char ac_ServicePack[128]; // zero-terminated, empty when there is none
};

class CT_PlatformVersion
{
public:
    // Windows' platform identifiers, and the native build's own.
    static constexpr unsigned sn_PlatformWin32s = 0;
    static constexpr unsigned sn_PlatformWindows = 1; // 95, 98, Me
    static constexpr unsigned sn_PlatformNT = 2;
    static constexpr unsigned sn_PlatformCE = 3;
    static constexpr unsigned sn_PlatformPosix = 0x100;

    static void sv_Get(st_OsVersion* pso_Version);
};
