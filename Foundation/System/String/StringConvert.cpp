#include "System/String/StringConvert.h"

#include "Basis/Platform/Codepage.h"

int CT_StringConvert::si_WideToMulti(char* pc_Out, const char16_t* pcu_In, int n_Units,
                                     unsigned n_CodePage, const char* pcc_Default,
                                     int* pb_UsedDefault)
{
    if (n_Units == 0)
        return 0;
    int n_Capacity = n_Units < 0 ? 0x7FFFFFFF : 2 * n_Units;
    return CT_PlatformCodepage::si_WideToMulti(n_CodePage, pcu_In, n_Units, pc_Out, n_Capacity,
                                               pcc_Default, pb_UsedDefault);
}

char CT_StringConvert::sc_WideToMulti(char16_t u_Char, unsigned n_CodePage)
{
    char c = 0;
    CT_PlatformCodepage::si_WideToMulti(n_CodePage, &u_Char, 1, &c, 1, nullptr, nullptr);
    return c;
}

char16_t CT_StringConvert::sus_MultiToWide(char c_Char, unsigned n_CodePage)
{
    char16_t u = 0;
    CT_PlatformCodepage::si_MultiToWide(n_CodePage, &c_Char, 1, &u, 1);
    return u;
}
