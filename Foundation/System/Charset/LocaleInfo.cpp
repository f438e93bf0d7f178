#include "System/Charset/LocaleInfo.h"

#include "Basis/Collection/StringMaps.h"
#include "Basis/Collection/VoidArray.h"
#include "Basis/Platform/Locale.h"
#include "Basis/Platform/Thread.h"
#include "Basis/Runtime/OS.h"
#include "System/Charset/Codepage.h"
#include "System/String/UString.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <ranges>

namespace
{
constexpr unsigned sn_ValueChars = 128;
constexpr unsigned sn_NumberBytes = 64;
constexpr unsigned sn_CodePageBytes = 8;
constexpr unsigned sn_DefaultCharset = 1;
constexpr unsigned sn_MapGrowth = 8;

// The code pages of the platform's font character sets, and a locale that uses each. Johab's
// is Korean (Johab), 0x0812, whose code page is 1361 by the fallbacks below too.
struct st_CodePageRow
{
    unsigned n_CodePage;
    unsigned n_Charset;
    unsigned n_Locale;
};
constexpr st_CodePageRow saso_CodePages[] = {
    {874, 222, 1054},  {932, 128, 1041},  {936, 134, 2052},  {949, 129, 1042},  {950, 136, 1028},
    {1250, 238, 1029}, {1251, 204, 1049}, {1252, 0, 1033},   {1253, 161, 1032}, {1254, 162, 1055},
    {1255, 177, 1037}, {1256, 178, 1025}, {1257, 186, 1063}, {1258, 163, 1066}, {1361, 130, 2066},
};

// The numeric information types, as ranges of type numbers.
constexpr unsigned san_NumericTypes[][2] = {
    {1, 1},   {5, 5},   {9, 11},      {13, 13},     {17, 18},     {25, 28},
    {33, 39}, {82, 87}, {4100, 4101}, {4105, 4105}, {4107, 4109}, {4112, 4112},
};

const st_CodePageRow* pcso_CodePageRow(unsigned st_CodePageRow::*pn_Field, unsigned n)
{
    const st_CodePageRow* pso =
        std::find_if(std::begin(saso_CodePages), std::end(saso_CodePages),
                     [&](const st_CodePageRow& so) { return so.*pn_Field == n; });
    return pso != std::end(saso_CodePages) ? pso : nullptr;
}

// The usual ANSI code page of a language, for locales the platform gives none for.
unsigned n_FallbackCodePage(unsigned n_Locale)
{
    const unsigned n_Sub = CT_LocaleInfo::sn_GetSubLangID(n_Locale);
    switch (CT_LocaleInfo::sn_GetPrimaryLangID(n_Locale))
    {
    case 1:
    case 41:
        return 1256;
    case 2:
    case 25:
    case 34:
    case 35:
        return 1251;
    case 4:
        return n_Sub == 1 || n_Sub == 3 ? 950 : 936;
    case 5:
    case 14:
    case 21:
    case 24:
    case 26:
    case 27:
    case 36:
    case 56:
        return 1250;
    case 8:
        return 1253;
    case 13:
        return 1255;
    case 17:
        return 932;
    case 18:
        return n_Sub == 2 ? 1361 : 949;
    case 30:
        return 874;
    case 31:
        return 1254;
    case 37:
    case 38:
    case 39:
        return 1257;
    case 42:
        return 1258;
    default:
        return 1252;
    }
}

// The number that a text starts with, in the base given; false when it starts with none.
int b_ParseNumber(const char* qccz_Text, int i_Base, unsigned* pn_Out)
{
    char* pc_End;
    const unsigned long n = std::strtoul(qccz_Text, &pc_End, i_Base);
    if (pc_End == qccz_Text)
        return 0;
    *pn_Out = static_cast<unsigned>(n);
    return 1;
}

int b_IsBeforeNT()
{
    return CT_OS::seo_GetVersion() < CT_OS::eo_WindowsNT;
}

// Arrays of items that start with an unsigned key, kept in ascending order of it.
unsigned n_KeyAt(const CT_VoidArray& co_Array, unsigned n_Index)
{
    unsigned n_Key;
    std::memcpy(&n_Key,
                static_cast<const unsigned char*>(co_Array.pcco_GetBuffer()->qcv_Get()) +
                    n_Index * co_Array.n_GetItemSize(),
                sizeof n_Key);
    return n_Key;
}

// The position (from 1) of the first item whose key is not below n_Key.
unsigned n_LowerBound(const CT_VoidArray& co_Array, unsigned n_Key)
{
    const auto ao_Indexes = std::views::iota(0u, co_Array.n_GetCount());
    const auto it = std::ranges::partition_point(ao_Indexes, [&](unsigned n)
                                                 { return n_KeyAt(co_Array, n) < n_Key; });
    return static_cast<unsigned>(it - ao_Indexes.begin()) + 1;
}

int b_HoldsAt(const CT_VoidArray& co_Array, unsigned n_Position, unsigned n_Key)
{
    return n_Position <= co_Array.n_GetCount() && n_KeyAt(co_Array, n_Position - 1) == n_Key;
}

// The locales of one enumeration flag on the systems before the NT family.
struct st_LocaleSet
{
    unsigned n_Flag;
    int b_Read = 0;
    CT_VoidArray co_Locales{sizeof(unsigned)};
};

struct st_CodePageEntry
{
    unsigned n_Locale;
    unsigned n_CodePage;
};

// The state shared by the threads, made on first use and kept until the library unloads. The
// lock is held while a set is read, a code page is looked up or stored, and a collection runs.
struct st_State
{
    CT_CriticalSection co_Lock;
    st_LocaleSet so_Supported{CT_PlatformLocale::sn_Supported};
    st_LocaleSet so_Installed{CT_PlatformLocale::sn_Installed};
    CT_VoidArray co_CodePages{sizeof(st_CodePageEntry)};
    st_LocaleSet* pso_Reading = nullptr; // the set being read by the enumeration
};

st_State& so_State()
{
    static st_State so;
    return so;
}

int b_AddLocale(const char* qccz_Locale)
{
    unsigned n_Locale;
    if (b_ParseNumber(qccz_Locale, 16, &n_Locale))
    {
        CT_VoidArray& co_Locales = so_State().pso_Reading->co_Locales;
        const unsigned n_Position = n_LowerBound(co_Locales, n_Locale);
        if (!b_HoldsAt(co_Locales, n_Position, n_Locale))
            co_Locales.v_InsertAt(&n_Locale, n_Position);
    }
    return 1;
}

int b_IsInSet(st_LocaleSet& so_Set, unsigned n_Locale)
{
    st_State& so = so_State();
    CT_CriticalSectionLock co_Guard(&so.co_Lock);
    if (!so_Set.b_Read)
    {
        so.pso_Reading = &so_Set;
        CT_PlatformLocale::sb_EnumLocales(b_AddLocale, so_Set.n_Flag);
        so.pso_Reading = nullptr;
        so_Set.b_Read = 1;
    }
    return b_HoldsAt(so_Set.co_Locales, n_LowerBound(so_Set.co_Locales, n_Locale), n_Locale);
}

int b_IsValid(unsigned n_Locale, st_LocaleSet& so_Set)
{
    return b_IsBeforeNT() ? b_IsInSet(so_Set, n_Locale)
                          : CT_PlatformLocale::sb_IsValidLocale(n_Locale, so_Set.n_Flag);
}

int i_Size(unsigned n_Size)
{
    return static_cast<int>(std::min<unsigned>(n_Size, INT_MAX));
}
} // namespace

CT_LocaleInfo::et_Type CT_LocaleInfo::seo_LocaleType = CT_LocaleInfo::e_ILanguage;
CT_StringOrdinalMap* CT_LocaleInfo::spco_Map = nullptr;

unsigned CT_LocaleInfo::sn_GetSystemDefaultLCID()
{
    return CT_PlatformLocale::sn_GetSystemDefaultLCID();
}

unsigned CT_LocaleInfo::sn_GetUserDefaultLCID()
{
    return CT_PlatformLocale::sn_GetUserDefaultLCID();
}

unsigned CT_LocaleInfo::sn_GetSystemDefaultLangID()
{
    return CT_PlatformLocale::sn_GetSystemDefaultLangID();
}

unsigned CT_LocaleInfo::sn_GetUserDefaultLangID()
{
    return CT_PlatformLocale::sn_GetUserDefaultLangID();
}

int CT_LocaleInfo::sb_LocaleIsSupported(unsigned n_Locale)
{
    return b_IsValid(n_Locale, so_State().so_Supported);
}

int CT_LocaleInfo::sb_LocaleIsInstalled(unsigned n_Locale)
{
    return b_IsValid(n_Locale, so_State().so_Installed);
}

int CT_LocaleInfo::sb_IsValidCodePage(unsigned n_CodePage)
{
    return CT_Codepage::sb_IsValidCodePage(n_CodePage);
}

int CT_LocaleInfo::sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, char* pc_Out,
                                    unsigned n_Size)
{
    return sb_LocaleIsSupported(n_Locale) &&
           CT_PlatformLocale::si_GetLocaleInfo(n_Locale, eo_Type, pc_Out, i_Size(n_Size)) > 0;
}

int CT_LocaleInfo::sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, CT_String* pco_Out)
{
    if (!sb_LocaleIsSupported(n_Locale))
        return 0;
    if (b_IsBeforeNT())
    {
        char ac_Value[sn_ValueChars];
        const int i_Length =
            CT_PlatformLocale::si_GetLocaleInfo(n_Locale, eo_Type, ac_Value, sn_ValueChars);
        if (i_Length <= 0)
            return 0;
        pco_Out->v_Set(ac_Value, i_Length - 1, sn_GetDefaultANSICodePage(n_Locale));
        return 1;
    }
    char16_t au_Value[sn_ValueChars];
    const int i_Length =
        CT_PlatformLocale::si_GetLocaleInfo(n_Locale, eo_Type, au_Value, sn_ValueChars);
    if (i_Length <= 0)
        return 0;
    pco_Out->v_Set(au_Value, i_Length - 1);
    return 1;
}

int CT_LocaleInfo::sb_GetLocaleInfo(unsigned n_Locale, et_Type eo_Type, unsigned* pn_Out)
{
    char ac_Value[sn_NumberBytes];
    if (!sb_IsNumericType(eo_Type) ||
        !sb_GetLocaleInfo(n_Locale, eo_Type, ac_Value, sizeof ac_Value))
        return 0;
    const int b_Hex = eo_Type == e_ILanguage || eo_Type == e_IDefaultLanguage;
    return b_ParseNumber(ac_Value, b_Hex ? 16 : 10, pn_Out);
}

int CT_LocaleInfo::sb_IsNumericType(et_Type eo_Type)
{
    return std::any_of(std::begin(san_NumericTypes), std::end(san_NumericTypes),
                       [&](const unsigned(&an_Range)[2])
                       { return eo_Type >= an_Range[0] && eo_Type <= an_Range[1]; });
}

unsigned CT_LocaleInfo::sn_GetDefaultANSICodePage(unsigned n_Locale)
{
    st_State& so = so_State();
    CT_CriticalSectionLock co_Guard(&so.co_Lock);
    const unsigned n_Position = n_LowerBound(so.co_CodePages, n_Locale);
    st_CodePageEntry so_Entry = {n_Locale, 0};
    if (b_HoldsAt(so.co_CodePages, n_Position, n_Locale))
    {
        so.co_CodePages.v_GetAt(&so_Entry, static_cast<int>(n_Position));
        return so_Entry.n_CodePage;
    }
    char ac_Value[sn_CodePageBytes];
    if (CT_PlatformLocale::si_GetLocaleInfo(n_Locale, e_IDefaultANSICodePage, ac_Value,
                                            sizeof ac_Value) <= 0 ||
        !b_ParseNumber(ac_Value, 10, &so_Entry.n_CodePage))
        so_Entry.n_CodePage = n_FallbackCodePage(n_Locale);
    so.co_CodePages.v_InsertAt(&so_Entry, n_Position);
    return so_Entry.n_CodePage;
}

unsigned CT_LocaleInfo::sn_GetDefaultCharset(unsigned n_Locale)
{
    const st_CodePageRow* pso =
        pcso_CodePageRow(&st_CodePageRow::n_CodePage, sn_GetDefaultANSICodePage(n_Locale));
    return pso ? pso->n_Charset : sn_DefaultCharset;
}

unsigned CT_LocaleInfo::sn_GetDefaultCharsetLocale(unsigned n_Charset)
{
    const st_CodePageRow* pso = pcso_CodePageRow(&st_CodePageRow::n_Charset, n_Charset);
    return pso ? pso->n_Locale : sn_GetSystemDefaultLangID();
}

unsigned CT_LocaleInfo::sn_GetDefaultCPLocale(unsigned n_CodePage)
{
    const st_CodePageRow* pso = pcso_CodePageRow(&st_CodePageRow::n_CodePage, n_CodePage);
    return pso ? pso->n_Locale : sn_GetSystemDefaultLangID();
}

int CT_LocaleInfo::sb_IsLocaleRTL(unsigned n_Locale)
{
    const unsigned n_Sub = sn_GetSubLangID(n_Locale);
    switch (sn_GetPrimaryLangID(n_Locale))
    {
    case 1:
    case 13:
    case 41:
    case 89:
        return 1;
    case 32:
        return n_Sub == 1;
    case 96:
        return n_Sub != 2;
    default:
        return 0;
    }
}

void CT_LocaleInfo::sv_CollectValues(et_Type eo_Type, char16_t u_Separator, CT_UString* pco_Out)
{
    pco_Out->v_Set(0u, 1);
    if (b_IsBeforeNT())
        return;
    st_State& so = so_State();
    CT_CriticalSectionLock co_Guard(&so.co_Lock);
    CT_StringOrdinalMap co_Map(sn_MapGrowth);
    spco_Map = &co_Map;
    seo_LocaleType = eo_Type;
    CT_PlatformLocale::sb_EnumLocales(sb_CollectLocaleInfo, CT_PlatformLocale::sn_Installed);
    spco_Map = nullptr;
    for (unsigned n = 1; n <= co_Map.n_GetCount(); ++n)
    {
        if (n > 1 && u_Separator)
            pco_Out->v_Append(u_Separator);
        pco_Out->v_Append(co_Map.pcco_Get(n), CT_String::sn_All);
    }
}

// A locale without the value adds nothing, rather than an empty item.
int CT_LocaleInfo::sb_CollectLocaleInfo(const char* qccz_Locale)
{
    unsigned n_Locale;
    CT_UString co_Value;
    if (b_ParseNumber(qccz_Locale, 16, &n_Locale) &&
        sb_GetLocaleInfo(n_Locale, seo_LocaleType, &co_Value) && co_Value.vn_GetLength() &&
        !spco_Map->n_Get(&co_Value))
        spco_Map->v_Insert(&co_Value, CT_StringOrdinalMap::sn_Append);
    return 1;
}
