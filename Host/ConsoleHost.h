// CT_ConsoleHost: plays the Markpad editor for one or more verifications. It registers nothing:
// it creates the stand-in application and the plug-in (by ProgID) through COM, connects them,
// opens each translated document, optionally shows the plug-in's settings page for it in a
// property frame, asks the plug-in whether it can verify it, lets it verify, and prints every
// message it received and a summary line. One thread, a single-threaded apartment of its own.
#pragma once

#include "HostCommandLine.h"

#include <string>
#include <vector>

class CT_ConsoleHost
{
public:
    enum et_Exit
    {
        eo_Verified = 0,
        eo_Failed = 1,
        eo_Usage = 2,
        eo_NotRegistered = 3
    };

    explicit CT_ConsoleHost(std::u16string co_PlugInProgId, bool b_ShowTheSettings = false)
        : co_ProgId(std::move(co_PlugInProgId)), b_ShowSettings(b_ShowTheSettings)
    {
    }

    // Runs the jobs in order, going on after a failed one; the worst exit status.
    int i_Run(const std::vector<st_VerifyJob>& co_Jobs);

    // The sample pairs (samples\F and samples\I, original\NAME.kxf with translation\NAME.kxf)
    // of the first samples folder found beside the program or above it.
    static std::vector<st_VerifyJob> sco_FindSamples();

    // Output as UTF-8; errors go to standard error with the program name in front.
    static void sv_Print(const std::u16string& co_Line);
    static void sv_PrintError(const std::u16string& co_Line);

private:
    struct st_Session;
    int i_Verify(st_Session& co_Session, const st_VerifyJob& co_Job);

    std::u16string co_ProgId;
    bool b_ShowSettings;
};
