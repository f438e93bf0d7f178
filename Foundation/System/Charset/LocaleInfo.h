// CT_LocaleInfo: the platform's locale services in the library's terms: the default locales,
// locale validity, locale information by type (as 8-bit text, as a string or as a number), the
// default ANSI code page and font character set of a locale with fallbacks of its own, and the
// collection of one information value over all installed locales.
//
// A locale identifier (LCID) holds a language identifier in bits 0-15 and a sort identifier in
// bits 16-19. All members are static. The process-wide state (the default ANSI code page of each
// locale asked, the supported and installed locales of the systems before the NT family, and the
// collection in progress) is filled lazily under one lock, so any thread may call any member.
// Failed queries give false, 0 or the fallbacks; nothing is reported to the error manager.
#pragma once

#include "Basis/Platform/Export.h"

class CT_String;
class CT_StringOrdinalMap;
class CT_UString;

class CT_EXPORT CT_LocaleInfo
{
public:
    // The platform's locale-information type numbers; the ones the library itself names.
    enum et_Type : unsigned
    {
        e_ILanguage = 0x0001,        // the language identifier, 4 hexadecimal digits
        e_IDefaultLanguage = 0x0009, // likewise
        e_IDefaultANSICodePage = 0x1004
    };

    static unsigned sn_GetSystemDefaultLCID();
    static unsigned sn_GetUserDefaultLCID();
    static unsigned sn_GetSystemDefaultLangID();
    static unsigned sn_GetUserDefaultLangID();

    static unsigned sn_MakeLocaleID(unsigned n_LangId, unsigned n_SortId)
    {
        return n_SortId << 16 | (n_LangId & 0xFFFF);
    }
    static unsigned sn_GetPrimaryLangID(unsigned n_LangId) { return n_LangId & 0x3FF; }
    static unsigned sn_GetSubLangID(unsigned n_LangId) { return n_LangId >> 10 & 0x3F; }

    // On the NT family the platform's validity test; before it, membership in the system's
    // enumeration of such locales, taken once.
    static int sb_LocaleIsSupported(unsigned n_Locale);
    static int sb_LocaleIsInstalled(unsigned n_Locale);
    static int sb_IsValidCodePage(unsigned n_CodePage);

    // False for a locale that is not supported or a value the platform does not give. The 8-bit
    // text is in the locale's ANSI code page, up to n_Size bytes with the terminator.
    static int sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, char* pc_Out, unsigned n_Size);
    // The value of up to 127 characters; before the NT family 8-bit text in the locale's ANSI
    // code page, which a CT_CString keeps as its code page.
    static int sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, CT_String* pco_Out);
    // Only for the numeric types (sb_IsNumericType); e_ILanguage and e_IDefaultLanguage are read
    // as the hexadecimal numbers they are, the others as decimal.
    static int sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, unsigned* pn_Out);
    static int sb_IsNumericType(et_Type eo_Type);

    // The platform's answer, remembered per locale; where the platform has none, the usual code
    // page of the locale's primary language (1252 for the others). 0 is a locale without one.
    static unsigned sn_GetDefaultANSICodePage(unsigned n_Locale);
    // The font character set of that code page; 1 (the default character set) for the others.
    static unsigned sn_GetDefaultCharset(unsigned n_Locale);
    // A locale whose ANSI code page has that character set, or is that code page; the system's
    // default language for the others.
    static unsigned sn_GetDefaultCharsetLocale(unsigned n_Charset);
    static unsigned sn_GetDefaultCPLocale(unsigned n_CodePage);
    static int sb_IsLocaleRTL(unsigned n_Locale);

    // The distinct values of one type over the installed locales, in the order first met,
    // joined by the separator (none when it is 0). Nothing before the NT family.
    static void sv_CollectValues(et_Type eo_Type, char16_t u_Separator, CT_UString* pco_Out);

private:
    // The enumeration callback of sv_CollectValues, which passes it the type and the map here.
    static int sb_CollectLocaleInfo(const char* qccz_Locale);
    static et_Type seo_LocaleType;
    static CT_StringOrdinalMap* spco_Map;
};
