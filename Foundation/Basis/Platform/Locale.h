// CT_PlatformLocale: the operating system's locale services, in the terms of the NLS calls
// (GetSystemDefaultLCID, IsValidLocale, EnumSystemLocalesA, GetLocaleInfoA/W), which the Windows
// build makes. Natively the answers for the locales recorded under Windows (tools/locales) come
// from that record (CT_LocaleTable), and ICU (CT_IcuLocale) stands in for the rest: the default
// locales from the environment, other locale identifiers, and information types the record does
// not hold. Any thread may call any member.
#pragma once

class CT_PlatformLocale
{
public:
    // IsValidLocale's and EnumSystemLocales' flags.
    static constexpr unsigned sn_Installed = 1;
    static constexpr unsigned sn_Supported = 2;

    static unsigned sn_GetSystemDefaultLCID();
    static unsigned sn_GetUserDefaultLCID();
    static unsigned sn_GetSystemDefaultLangID();
    static unsigned sn_GetUserDefaultLangID();
    static int sb_IsValidLocale(unsigned n_Locale, unsigned n_Flag);

    // Called with each locale's identifier as hexadecimal text, in the system's order, until it
    // returns 0; on the calling thread, before sb_EnumLocales returns.
    using pfn_Locale = int (*)(const char* qccz_Locale);
    static int sb_EnumLocales(pfn_Locale pfn_Each, unsigned n_Flag);

    // The value's length with its terminator, in bytes or units; 0 when the locale has none or
    // it does not fit. A size of 0 only measures. The 8-bit form is in the locale's own ANSI
    // code page.
    static int si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char* pc_Out, int n_Size);
    static int si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char16_t* pu_Out, int n_Size);
};
