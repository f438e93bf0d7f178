// CT_StringConvert: conversions between 8-bit text in a code page and 16-bit text.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_StringConvert
{
public:
    // 16-bit to 8-bit; returns the bytes written. A count of -1 converts up to and including
    // the terminator. The caller provides twice as many bytes as units.
    static int si_WideToMulti(char* pc_Out, const char16_t* pcu_In, int n_Units,
                              unsigned n_CodePage, const char* pcc_Default = nullptr,
                              int* pb_UsedDefault = nullptr);
    // One unit to one byte, and one byte to one unit.
    static char sc_WideToMulti(char16_t u_Char, unsigned n_CodePage);
    static char16_t sus_MultiToWide(char c_Char, unsigned n_CodePage);
};
