#include "Basis/Platform/Version.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>

void CT_PlatformVersion::sv_Get(st_OsVersion* pso_Version)
{
    OSVERSIONINFOA so_Info = {};
    so_Info.dwOSVersionInfoSize = sizeof so_Info;
    // A zeroed answer would read as Win32s and send the library down the 8-bit paths.
    if (!GetVersionExA(&so_Info))
        so_Info.dwPlatformId = VER_PLATFORM_WIN32_NT;
    pso_Version->n_PlatformId = so_Info.dwPlatformId;
    pso_Version->n_Major = so_Info.dwMajorVersion;
    pso_Version->n_Minor = so_Info.dwMinorVersion;
    pso_Version->n_Build = so_Info.dwBuildNumber;
    static_assert(sizeof so_Info.szCSDVersion == sizeof pso_Version->ac_ServicePack);
    std::memcpy(pso_Version->ac_ServicePack, so_Info.szCSDVersion, sizeof so_Info.szCSDVersion);
    pso_Version->ac_ServicePack[sizeof pso_Version->ac_ServicePack - 1] = 0;
}

#else
#include <sys/utsname.h>

#include <cstdio>

void CT_PlatformVersion::sv_Get(st_OsVersion* pso_Version)
{
    std::memset(pso_Version, 0, sizeof *pso_Version);
    pso_Version->n_PlatformId = sn_PlatformPosix;
    utsname so_Name;
    // A release such as "6.1.0-18-amd64": the numbers that are there, 0 for the others.
    if (uname(&so_Name) == 0)
        std::sscanf(so_Name.release, "%u.%u.%u", &pso_Version->n_Major, &pso_Version->n_Minor,
                    &pso_Version->n_Build);
}
#endif
