// CT_LocaleTable: the native locale answers recorded under Windows (tools/locales): the locales
// the system enumerates, and for every locale the library names or the system enumerates, its
// validity and the 16-bit values of the information types the library reads. Internal to the
// native locale service of CT_PlatformLocale. Constant data: any thread may read it.
#pragma once

#include <cstdint>

struct st_RecordedLocale
{
    std::uint32_t n_Locale;
    std::uint8_t n_Valid; // bit 0 installed, bit 1 supported: IsValidLocale's flags
};

class CT_LocaleTable
{
public:
    // The recorded locale, or null.
    static const st_RecordedLocale* spcso_Find(unsigned n_Locale);
    // False when the type is not recorded; else *ppcu_Value is the value, or null when the system
    // gives none.
    static int sb_GetValue(const st_RecordedLocale* pcso_Locale, unsigned n_Type,
                           const char16_t** ppcu_Value);
    // The locales enumerated with the flag, in the system's order; their count.
    static unsigned sn_GetEnumeration(unsigned n_Flag, const std::uint32_t** ppcn_Locales);
};
