#include "Basis/Runtime/OS.h"

#include "Basis/Platform/Version.h"

#include <cstring>

// Until sv_Init runs (the error manager starts first), the library takes the 16-bit paths.
CT_OS::et_OS CT_OS::seo_Version = CT_OS::eo_WindowsNT;
unsigned CT_OS::sn_OsVersionMajor = 0;
unsigned CT_OS::sn_OsVersionMinor = 0;
unsigned CT_OS::sn_OsBuildNo = 0;
char CT_OS::sqcz_OsVersionString[128] = {};
int CT_OS::sb_IsWindowsXP = 0;
int CT_OS::sb_IsWindows2K = 0;
int CT_OS::sb_IsWindowsNT = 0;
int CT_OS::sb_IsWindowsMe = 0;
int CT_OS::sb_IsWindowsCE = 0;
int CT_OS::sb_IsWindows98 = 0;
int CT_OS::sb_IsWindows95 = 0;
int CT_OS::sb_IsWindows95OSR2 = 0;
int CT_OS::sb_IsWindows32s = 0;

void CT_OS::sv_Init()
{
    st_OsVersion so_Version;
    CT_PlatformVersion::sv_Get(&so_Version);
    sv_Init(&so_Version);
}

void CT_OS::sv_Init(const st_OsVersion* pcso_Version)
{
    sb_IsWindowsXP = sb_IsWindows2K = sb_IsWindowsNT = sb_IsWindowsMe = sb_IsWindowsCE = 0;
    sb_IsWindows98 = sb_IsWindows95 = sb_IsWindows95OSR2 = sb_IsWindows32s = 0;
    sn_OsVersionMajor = pcso_Version->n_Major;
    sn_OsVersionMinor = pcso_Version->n_Minor;
    const unsigned n_Platform = pcso_Version->n_PlatformId;
    // Win32s, the 9x family and CE keep other information in the build number's high word.
    const bool b_ShortBuild = n_Platform == CT_PlatformVersion::sn_PlatformWin32s ||
                              n_Platform == CT_PlatformVersion::sn_PlatformWindows ||
                              n_Platform == CT_PlatformVersion::sn_PlatformCE;
    sn_OsBuildNo = pcso_Version->n_Build & (b_ShortBuild ? 0xFFFFu : 0xFFFFFFFFu);

    switch (n_Platform)
    {
    case CT_PlatformVersion::sn_PlatformWin32s:
        sb_IsWindows32s = 1;
        seo_Version = eo_Win32s;
        break;
    case CT_PlatformVersion::sn_PlatformWindows:
        sb_IsWindows95 = 1;
        sb_IsWindows98 = sn_OsVersionMinor != 0;
        seo_Version = sb_IsWindows98 ? eo_Windows98 : eo_Windows95;
        break;
    case CT_PlatformVersion::sn_PlatformCE:
        sb_IsWindowsCE = 1;
        seo_Version = eo_WindowsCE;
        break;
    case CT_PlatformVersion::sn_PlatformNT:
        sb_IsWindowsNT = 1;
        // Version 5 is 2000 (5.0) or XP (5.1, and 5.2 for XP x64 and Server 2003).
        if (sn_OsVersionMajor == 5)
        {
            sb_IsWindows2K = sn_OsVersionMinor == 0;
            sb_IsWindowsXP = !sb_IsWindows2K;
            seo_Version = sb_IsWindows2K ? eo_Windows2K : eo_WindowsXP;
        }
        else
            seo_Version = eo_WindowsNT;
        break;
    default:
        sb_IsWindowsNT = 1;
        seo_Version = eo_WindowsNT;
        break;
    }

    std::strncpy(sqcz_OsVersionString, pcso_Version->ac_ServicePack,
                 sizeof sqcz_OsVersionString - 1);
    sqcz_OsVersionString[sizeof sqcz_OsVersionString - 1] = 0;
}
