// KxfVerify: the console host. See HostCommandLine.h for its options.
#include "ConsoleHost.h"
#include "HostCommandLine.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>

int wmain(int i_Count, wchar_t** ppw_Arguments)
{
    // UTF-8 bytes and plain line feeds, as written.
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::u16string> co_Arguments;
    for (int i_Index = 1; i_Index < i_Count; ++i_Index)
        co_Arguments.emplace_back(reinterpret_cast<const char16_t*>(ppw_Arguments[i_Index]));

    CT_HostCommandLine co_Line;
    co_Line.v_Parse(co_Arguments);
    std::vector<st_VerifyJob> co_Jobs;
    switch (co_Line.eo_Action)
    {
    case CT_HostCommandLine::eo_ShowHelp:
        std::fputs(CT_HostCommandLine::sqccz_Usage(), stdout);
        return CT_ConsoleHost::eo_Verified;
    case CT_HostCommandLine::eo_Mistake:
        CT_ConsoleHost::sv_PrintError(co_Line.co_Mistake);
        std::fputs(CT_HostCommandLine::sqccz_Usage(), stderr);
        return CT_ConsoleHost::eo_Usage;
    case CT_HostCommandLine::eo_VerifyDocument:
        co_Jobs.push_back(co_Line.co_Job);
        break;
    case CT_HostCommandLine::eo_VerifySamples:
        co_Jobs = CT_ConsoleHost::sco_FindSamples();
        if (co_Jobs.empty())
        {
            CT_ConsoleHost::sv_PrintError(
                u"no samples folder found beside the program or above it");
            return CT_ConsoleHost::eo_Usage;
        }
        break;
    }
    return CT_ConsoleHost(co_Line.co_ProgId, co_Line.b_ShowSettings).i_Run(co_Jobs);
}
