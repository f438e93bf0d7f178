// CT_OS: which Windows platform the process runs on, read once at module load. A version below
// eo_WindowsNT selects the 8-bit ("A") Win32 calls throughout the library. Natively the library
// reports the NT family. Read-only after load, except for the hooks that tests use below.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Runtime/Init.h"

struct st_OsVersion;

class CT_EXPORT CT_OS
{
public:
    enum et_OS
    {
        eo_Win32s = 1,
        eo_Windows95 = 2,
        eo_Windows98 = 4,
        eo_WindowsCE = 5,
        eo_WindowsNT = 7,
        eo_Windows2K = 8,
        eo_WindowsXP = 9
    };

    static et_OS seo_GetVersion() { return seo_Version; }
    static int sb_GetIsWindowsXP() { return sb_IsWindowsXP; }
    static int sb_GetIsWindows2K() { return sb_IsWindows2K; }
    static int sb_GetIsWindowsNT() { return sb_IsWindowsNT; }
    static int sb_GetIsWindowsMe() { return sb_IsWindowsMe; }
    static int sb_GetIsWindowsCE() { return sb_IsWindowsCE; }
    static int sb_GetIsWindows98() { return sb_IsWindows98; }
    static int sb_GetIsWindows95() { return sb_IsWindows95; }
    static int sb_GetIsWindows95OSR2() { return sb_IsWindows95OSR2; }
    static int sb_GetIsWindows32s() { return sb_IsWindows32s; }
    static unsigned sn_GetOsVersionMajor() { return sn_OsVersionMajor; }
    static unsigned sn_GetOsVersionMinor() { return sn_OsVersionMinor; }
    static unsigned sn_GetOsVersionBuild() { return sn_OsBuildNo; }
    static const char* sqccz_GetOsVersionString() { return sqcz_OsVersionString; }

    // Run by the module's static initialiser list: the system's answer, through the rules below.
    static void sv_Init();
    // Every static from one version answer: the platform code, the flags (all others cleared),
    // the numbers (the build number cut to 16 bits where the platform reports only those) and
    // the service-pack text. Tests pass made-up answers, then sv_Init for the real one.
    static void sv_Init(const st_OsVersion* pcso_Version);
    // Makes the library take the paths of another platform from now on, so that tests reach
    // the 8-bit Win32 paths on an NT system; sv_Init restores the real answer.
    static void sv_ForceVersion(et_OS eo_Version) { seo_Version = eo_Version; }

private:
    // Runs sv_Init in its place in the module's static initialiser list.
    static CT_Init sco_Init;

    static et_OS seo_Version;
    static unsigned sn_OsVersionMajor;
    static unsigned sn_OsVersionMinor;
    static unsigned sn_OsBuildNo;
    static char sqcz_OsVersionString[128];
    static int sb_IsWindowsXP;
    static int sb_IsWindows2K;
    static int sb_IsWindowsNT;
    static int sb_IsWindowsMe;
    static int sb_IsWindowsCE;
    static int sb_IsWindows98;
    static int sb_IsWindows95;
    static int sb_IsWindows95OSR2;
    static int sb_IsWindows32s;
};
