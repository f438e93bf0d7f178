// CT_IcuLocale: ICU standing in for the locale services where the record of Windows' answers
// (CT_LocaleTable) says nothing: ICU's mapping of Windows locale identifiers to its locales, and
// the names and codes of its locale data, worded as Windows words them. Internal to the native
// locale service of CT_PlatformLocale. ICU's calls used here keep no state: any thread may call.
#pragma once

#include <string>

class CT_IcuLocale
{
public:
    // ICU's locale of a Windows locale identifier ("de_DE@collation=phonebook"); false when ICU
    // maps it to none, or only to the root locale.
    static int sb_GetName(unsigned n_Locale, std::string* po_Name);
    // ICU's locale of a language tag ("ru-RU").
    static int sb_GetNameOfTag(const char* qccz_Tag, std::string* po_Name);
    // The Windows locale identifier of a POSIX locale name ("de_DE.UTF-8"); 0 for C and POSIX
    // and for names ICU cannot map.
    static unsigned sn_GetLocaleOfPosix(const char* qccz_Posix);
    // The value of an information type for an ICU locale (n_Locale its Windows identifier):
    // language and country names in English and in the locale's own language, the ISO codes,
    // the language tag and the language identifier. False for the other types.
    static int sb_GetInfo(const std::string& o_Name, unsigned n_Locale, unsigned n_Type,
                          std::u16string* po_Value);
};
