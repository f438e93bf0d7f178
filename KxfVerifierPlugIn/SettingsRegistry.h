// CT_SettingsRegistry: the four registry accesses of the settings store, on HKEY_CURRENT_USER.
// Key paths and value names are 8-bit texts in the ANSI code page. Failures are not reported:
// a read that cannot find a value of the right type gives the default, a write that cannot
// open or create its key is dropped.
#pragma once

#include "Basis/Platform/Export.h"

class CT_CString;

class CT_EXPORT CT_SettingsRegistry
{
public:
    // Texts of this many characters or more are never written.
    static constexpr unsigned sn_TextLimit = 260;

    // The REG_DWORD value, else n_Default.
    static unsigned sn_ReadNumber(const char* qccz_Key, const char* qccz_Name, unsigned n_Default);
    // The REG_SZ value into *pco_Text, else qccz_Default.
    static void sv_ReadText(const char* qccz_Key, const char* qccz_Name, const char* qccz_Default,
                            CT_CString* pco_Text);
    static void sv_WriteNumber(const char* qccz_Key, const char* qccz_Name, unsigned n_Value);
    static void sv_WriteText(const char* qccz_Key, const char* qccz_Name,
                             const CT_CString* pcco_Text);
};
