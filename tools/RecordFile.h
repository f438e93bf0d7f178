// The frame of the programs under tools/ that record what Windows does, run under Wine by their
// make-reference scripts: the record file named on the command line, opened for writing and
// started with a line that names the program and the Wine version it ran under.
#pragma once

#include <windows.h>

#include <cstdio>

// Wine names its version through an export of ntdll that Windows lacks.
inline const char* pcc_WineVersion()
{
    using t_Version = const char*(CDECL*)();
    auto pf_Version = reinterpret_cast<t_Version>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return pf_Version ? pf_Version() : "none";
}

// The record file of the command line "PROGRAM OUTPUT-FILE", its first line "# WHAT recorded by
// tools/PATH (format described there); Wine VERSION.", or null after a message.
inline FILE* pso_OpenRecord(int i_Args, char** ppc_Args, const char* qccz_What,
                            const char* qccz_Path)
{
    if (i_Args != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT-FILE\n", qccz_Path);
        return nullptr;
    }
    FILE* pso_File = std::fopen(ppc_Args[1], "wb");
    if (!pso_File)
        std::fprintf(stderr, "cannot write %s\n", ppc_Args[1]);
    else
        std::fprintf(pso_File, "# %s recorded by tools/%s (format described there); Wine %s.\n",
                     qccz_What, qccz_Path, pcc_WineVersion());
    return pso_File;
}
