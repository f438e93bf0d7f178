#include "Basis/Platform/IcuLocale.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace
{
constexpr int sn_ValueSize = 256;
constexpr char sac_English[] = "en";
// ICU's identifier of the invariant locale, which stands for C and POSIX.
constexpr unsigned sn_Invariant = 0x7F;

// A name that ICU writes into a buffer: true with the text when it fits.
template <class T, class Call>
int b_Read(Call pfn_Call, std::basic_string<T>* po_Out)
{
    T a_Buffer[sn_ValueSize];
    UErrorCode eo_Status = U_ZERO_ERROR;
    const int i_Length = pfn_Call(a_Buffer, sn_ValueSize, &eo_Status);
    if (U_FAILURE(eo_Status) || eo_Status == U_STRING_NOT_TERMINATED_WARNING || i_Length < 0)
        return 0;
    po_Out->assign(a_Buffer, static_cast<size_t>(i_Length));
    return 1;
}

std::u16string o_Wide(const char* qccz_Ascii)
{
    return std::u16string(qccz_Ascii, qccz_Ascii + std::strlen(qccz_Ascii));
}

using pfn_Info = int (*)(const char* qccz_Base, unsigned n_Locale, std::u16string* po_Value);

// A display name of the locale's language or country, in English or in its own language.
template <int32_t (*pfn_Display)(const char*, const char*, UChar*, int32_t, UErrorCode*),
          bool b_Own>
int b_DisplayName(const char* qccz_Base, unsigned, std::u16string* po_Value)
{
    const char* qccz_In = b_Own ? qccz_Base : sac_English;
    return b_Read<char16_t>([&](UChar* pu, int n, UErrorCode* peo)
                            { return pfn_Display(qccz_Base, qccz_In, pu, n, peo); },
                            po_Value);
}

// A code of the locale as ICU spells it.
template <int32_t (*pfn_Code)(const char*, char*, int32_t, UErrorCode*)>
int b_Code(const char* qccz_Base, unsigned, std::u16string* po_Value)
{
    std::string o_Code;
    if (!b_Read<char>([&](char* pc, int n, UErrorCode* peo)
                      { return pfn_Code(qccz_Base, pc, n, peo); },
                      &o_Code))
        return 0;
    *po_Value = o_Wide(o_Code.c_str());
    return 1;
}

template <const char* (*pfn_Code)(const char*)>
int b_ThreeLetterCode(const char* qccz_Base, unsigned, std::u16string* po_Value)
{
    *po_Value = o_Wide(pfn_Code(qccz_Base));
    return 1;
}

int b_Tag(const char* qccz_Base, unsigned, std::u16string* po_Value)
{
    std::string o_Tag;
    if (!b_Read<char>([&](char* pc, int n, UErrorCode* peo)
                      { return uloc_toLanguageTag(qccz_Base, pc, n, false, peo); },
                      &o_Tag))
        return 0;
    *po_Value = o_Wide(o_Tag.c_str());
    return 1;
}

// Four lower-case hexadecimal digits, as Windows writes language identifiers.
int b_LanguageId(const char*, unsigned n_Locale, std::u16string* po_Value)
{
    char ac_Id[8];
    std::snprintf(ac_Id, sizeof ac_Id, "%04x", n_Locale & 0xFFFF);
    *po_Value = o_Wide(ac_Id);
    return 1;
}

struct st_Info
{
    unsigned n_Type;
    pfn_Info pfn_Get;
};
const st_Info saso_Infos[] = {
    {0x0001, b_LanguageId},                                  // LOCALE_ILANGUAGE
    {0x0002, b_DisplayName<uloc_getDisplayName, false>},     // LOCALE_SLANGUAGE
    {0x0004, b_DisplayName<uloc_getDisplayLanguage, true>},  // LOCALE_SNATIVELANGNAME
    {0x0006, b_DisplayName<uloc_getDisplayCountry, false>},  // LOCALE_SCOUNTRY
    {0x0008, b_DisplayName<uloc_getDisplayCountry, true>},   // LOCALE_SNATIVECTRYNAME
    {0x0009, b_LanguageId},                                  // LOCALE_IDEFAULTLANGUAGE
    {0x0059, b_Code<uloc_getLanguage>},                      // LOCALE_SISO639LANGNAME
    {0x005A, b_Code<uloc_getCountry>},                       // LOCALE_SISO3166CTRYNAME
    {0x005C, b_Tag},                                         // LOCALE_SNAME
    {0x0067, b_ThreeLetterCode<uloc_getISO3Language>},       // LOCALE_SISO639LANGNAME2
    {0x0068, b_ThreeLetterCode<uloc_getISO3Country>},        // LOCALE_SISO3166CTRYNAME2
    {0x1001, b_DisplayName<uloc_getDisplayLanguage, false>}, // LOCALE_SENGLANGUAGE
    {0x1002, b_DisplayName<uloc_getDisplayCountry, false>},  // LOCALE_SENGCOUNTRY
};
} // namespace

int CT_IcuLocale::sb_GetName(unsigned n_Locale, std::string* po_Name)
{
    return b_Read<char>([&](char* pc, int n, UErrorCode* peo)
                        { return uloc_getLocaleForLCID(n_Locale, pc, n, peo); },
                        po_Name) &&
           !po_Name->empty() && *po_Name != "root";
}

int CT_IcuLocale::sb_GetNameOfTag(const char* qccz_Tag, std::string* po_Name)
{
    return b_Read<char>([&](char* pc, int n, UErrorCode* peo)
                        { return uloc_forLanguageTag(qccz_Tag, pc, n, nullptr, peo); },
                        po_Name) &&
           !po_Name->empty();
}

unsigned CT_IcuLocale::sn_GetLocaleOfPosix(const char* qccz_Posix)
{
    // "de_DE.UTF-8@euro": the name before the code set and the modifier.
    const std::string o_Name(qccz_Posix, std::strcspn(qccz_Posix, ".@"));
    if (o_Name.empty() || o_Name == "C" || o_Name == "POSIX")
        return 0;
    const unsigned n_Locale = uloc_getLCID(o_Name.c_str());
    return n_Locale == sn_Invariant ? 0 : n_Locale;
}

int CT_IcuLocale::sb_GetInfo(const std::string& o_Name, unsigned n_Locale, unsigned n_Type,
                             std::u16string* po_Value)
{
    const st_Info* pcso = std::find_if(std::begin(saso_Infos), std::end(saso_Infos),
                                       [&](const st_Info& so) { return so.n_Type == n_Type; });
    if (pcso == std::end(saso_Infos))
        return 0;
    // Windows names the language and country alone, without ICU's keywords.
    std::string o_Base;
    if (!b_Read<char>([&](char* pc, int n, UErrorCode* peo)
                      { return uloc_getBaseName(o_Name.c_str(), pc, n, peo); },
                      &o_Base))
        return 0;
    return pcso->pfn_Get(o_Base.c_str(), n_Locale, po_Value);
}
