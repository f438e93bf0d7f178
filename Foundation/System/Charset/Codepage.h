// CT_Codepage: names and classifies character encodings. For now the numbers the library gives
// a meaning of its own, and the validity test by which the conversions decide whether to hand
// a code page to the platform.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_Codepage
{
public:
    // The platform's marker for the system's ANSI code page.
    static constexpr unsigned sn_ANSI = 0;
    // UTF-7 and UTF-8: the library codes both itself (CT_UTF) rather than through the platform.
    static constexpr unsigned sn_UTF7 = 65000;
    static constexpr unsigned sn_UTF8 = 65001;

    static constexpr int sb_IsUTF(unsigned n_CodePage)
    {
        return n_CodePage == sn_UTF7 || n_CodePage == sn_UTF8;
    }

    // The platform's answer for the number, asked once per number and remembered for the life
    // of the module.
    static int sb_IsValidCodePage(unsigned n_CodePage);
    // What the platform is handed for a code page: itself when valid, else the ANSI code page.
    static unsigned sn_ForPlatform(unsigned n_CodePage)
    {
        return sb_IsValidCodePage(n_CodePage) ? n_CodePage : sn_ANSI;
    }
};
