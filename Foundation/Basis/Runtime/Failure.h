// CT_Failure: the library's failure-report convention as one call at the failing site.
//
// Each report records an error for the calling thread only when the thread has none yet (the
// first error of a thread wins), always adds the site's source location to the trail, and
// leaves the neutral result to the caller:
//
//     if (!b_Converted)
//     {
//         CT_Failure::sv_ReportSystemError(sqccz_File, 198);
//         return 0;
//     }
//
// Source names and line numbers are constants fixed by the design, not __FILE__/__LINE__; the
// file text is a literal that outlives the error.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Platform/WinTypes.h"

class CT_EXPORT CT_Failure
{
public:
    // The platform's last error (GetLastError / errno) with its system text.
    static void sv_ReportSystemError(const char* qccz_File, unsigned n_Line);
    // A code with the format string n_FormatID of h_Instance (null: the error manager's default
    // module), formatted with the arguments.
    static void sv_ReportError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID,
                               const char* qccz_File, unsigned n_Line, ...);
    // Passing a failure up: only the caller's location.
    static void sv_AddLocation(const char* qccz_File, unsigned n_Line);
};
