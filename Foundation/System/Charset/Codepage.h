// CT_Codepage: names and classifies character encodings. For now only the validity test by
// which the conversions decide whether to hand a code page to the platform.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_Codepage
{
public:
    // The platform's answer for the number, asked once per number and remembered for the life
    // of the module.
    static int sb_IsValidCodePage(unsigned n_CodePage);
};
