#include "Basis/Platform/Locale.h"

#if defined(_WIN32)
#include <windows.h>

static_assert(CT_PlatformLocale::sn_Installed == LCID_INSTALLED &&
              CT_PlatformLocale::sn_Supported == LCID_SUPPORTED);

namespace
{
// EnumSystemLocalesA's callback takes no context: the caller's function waits here for the
// enumeration that this thread runs.
thread_local CT_PlatformLocale::pfn_Locale tpfn_Each = nullptr;

BOOL CALLBACK b_EachLocale(LPSTR qcz_Locale)
{
    return tpfn_Each(qcz_Locale) ? TRUE : FALSE;
}
} // namespace

unsigned CT_PlatformLocale::sn_GetSystemDefaultLCID()
{
    return GetSystemDefaultLCID();
}

unsigned CT_PlatformLocale::sn_GetUserDefaultLCID()
{
    return GetUserDefaultLCID();
}

unsigned CT_PlatformLocale::sn_GetSystemDefaultLangID()
{
    return GetSystemDefaultLangID();
}

unsigned CT_PlatformLocale::sn_GetUserDefaultLangID()
{
    return GetUserDefaultLangID();
}

int CT_PlatformLocale::sb_IsValidLocale(unsigned n_Locale, unsigned n_Flag)
{
    return IsValidLocale(n_Locale, n_Flag) ? 1 : 0;
}

int CT_PlatformLocale::sb_EnumLocales(pfn_Locale pfn_Each, unsigned n_Flag)
{
    const pfn_Locale pfn_Outer = tpfn_Each; // a callback may enumerate in turn
    tpfn_Each = pfn_Each;
    const BOOL b_Done = EnumSystemLocalesA(b_EachLocale, n_Flag);
    tpfn_Each = pfn_Outer;
    return b_Done ? 1 : 0;
}

int CT_PlatformLocale::si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char* pc_Out,
                                        int n_Size)
{
    return GetLocaleInfoA(n_Locale, n_Type, pc_Out, n_Size);
}

int CT_PlatformLocale::si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char16_t* pu_Out,
                                        int n_Size)
{
    return GetLocaleInfoW(n_Locale, n_Type, reinterpret_cast<wchar_t*>(pu_Out), n_Size);
}

#else
#include "Basis/Platform/Codepage.h"
#include "Basis/Platform/IcuLocale.h"
#include "Basis/Platform/LocaleTable.h"

#include <cstdio>
#include <cstdlib>
#include <string>

// Natively the record answers for what it holds, ICU for the rest.
namespace
{
constexpr unsigned sn_EnglishUS = 0x0409;
constexpr unsigned sn_LangIdBits = 0xFFFF;
constexpr unsigned sn_TypeName = 0x005C;         // LOCALE_SNAME, the language tag
constexpr unsigned sn_TypeANSICodePage = 0x1004; // LOCALE_IDEFAULTANSICODEPAGE

// The locale of the environment's category as the C library reads it (LC_ALL, then the
// category, then LANG); English (United States) for C, POSIX and names ICU cannot map.
unsigned n_EnvironmentLocale(const char* qccz_Category)
{
    for (const char* qccz_Variable : {"LC_ALL", qccz_Category, "LANG"})
    {
        const char* qccz_Name = std::getenv(qccz_Variable);
        if (qccz_Name && *qccz_Name)
        {
            const unsigned n_Locale = CT_IcuLocale::sn_GetLocaleOfPosix(qccz_Name);
            return n_Locale ? n_Locale : sn_EnglishUS;
        }
    }
    return sn_EnglishUS;
}

// ICU's locale for a locale outside the record's types: a recorded locale by its recorded tag,
// any other by ICU's own mapping.
int b_IcuName(unsigned n_Locale, const st_RecordedLocale* pcso_Recorded, std::string* po_Name)
{
    if (!pcso_Recorded)
        return CT_IcuLocale::sb_GetName(n_Locale, po_Name);
    const char16_t* pcu_Tag;
    if (!CT_LocaleTable::sb_GetValue(pcso_Recorded, sn_TypeName, &pcu_Tag) || !pcu_Tag)
        return 0;
    const std::string o_Tag(pcu_Tag, pcu_Tag + std::char_traits<char16_t>::length(pcu_Tag));
    return CT_IcuLocale::sb_GetNameOfTag(o_Tag.c_str(), po_Name);
}

int b_Value(unsigned n_Locale, unsigned n_Type, std::u16string* po_Value)
{
    const st_RecordedLocale* pcso_Recorded = CT_LocaleTable::spcso_Find(n_Locale);
    const char16_t* pcu_Value;
    if (pcso_Recorded && CT_LocaleTable::sb_GetValue(pcso_Recorded, n_Type, &pcu_Value))
    {
        if (pcu_Value)
            *po_Value = pcu_Value;
        return pcu_Value != nullptr;
    }
    std::string o_Name;
    return b_IcuName(n_Locale, pcso_Recorded, &o_Name) &&
           CT_IcuLocale::sb_GetInfo(o_Name, n_Locale, n_Type, po_Value);
}

// The 8-bit values are in the locale's own ANSI code page, as Windows gives them; the system's
// (0) for a locale without one.
unsigned n_ANSICodePage(unsigned n_Locale)
{
    std::u16string o_Number;
    if (!b_Value(n_Locale, sn_TypeANSICodePage, &o_Number))
        return 0;
    unsigned n_CodePage = 0;
    for (auto pcu = o_Number.begin(); pcu != o_Number.end() && *pcu >= u'0' && *pcu <= u'9'; ++pcu)
        n_CodePage = n_CodePage * 10 + (*pcu - u'0');
    return n_CodePage;
}

// As GetLocaleInfo hands a value out: a size of 0 measures, a smaller one than the value fails.
template <class T>
int i_HandOut(const std::basic_string<T>& o_Value, T* p_Out, int n_Size)
{
    const int i_Length = static_cast<int>(o_Value.size()) + 1;
    if (n_Size == 0)
        return i_Length;
    if (n_Size < i_Length)
        return 0;
    o_Value.copy(p_Out, o_Value.size());
    p_Out[o_Value.size()] = 0;
    return i_Length;
}
} // namespace

unsigned CT_PlatformLocale::sn_GetSystemDefaultLCID()
{
    return n_EnvironmentLocale("LC_CTYPE");
}

unsigned CT_PlatformLocale::sn_GetUserDefaultLCID()
{
    return n_EnvironmentLocale("LC_MESSAGES");
}

unsigned CT_PlatformLocale::sn_GetSystemDefaultLangID()
{
    return sn_GetSystemDefaultLCID() & sn_LangIdBits;
}

unsigned CT_PlatformLocale::sn_GetUserDefaultLangID()
{
    return sn_GetUserDefaultLCID() & sn_LangIdBits;
}

int CT_PlatformLocale::sb_IsValidLocale(unsigned n_Locale, unsigned n_Flag)
{
    if (const st_RecordedLocale* pcso = CT_LocaleTable::spcso_Find(n_Locale))
        return (pcso->n_Valid & n_Flag) != 0;
    std::string o_Name;
    return CT_IcuLocale::sb_GetName(n_Locale, &o_Name);
}

int CT_PlatformLocale::sb_EnumLocales(pfn_Locale pfn_Each, unsigned n_Flag)
{
    const std::uint32_t* pcn_Locales;
    const unsigned n_Count = CT_LocaleTable::sn_GetEnumeration(n_Flag, &pcn_Locales);
    for (unsigned i = 0; i < n_Count; ++i)
    {
        char ac_Id[16];
        std::snprintf(ac_Id, sizeof ac_Id, "%08x", static_cast<unsigned>(pcn_Locales[i]));
        if (!pfn_Each(ac_Id))
            break;
    }
    return 1;
}

int CT_PlatformLocale::si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char16_t* pu_Out,
                                        int n_Size)
{
    std::u16string o_Value;
    return n_Size >= 0 && b_Value(n_Locale, n_Type, &o_Value) ? i_HandOut(o_Value, pu_Out, n_Size)
                                                              : 0;
}

int CT_PlatformLocale::si_GetLocaleInfo(unsigned n_Locale, unsigned n_Type, char* pc_Out,
                                        int n_Size)
{
    std::u16string o_Value;
    if (n_Size < 0 || !b_Value(n_Locale, n_Type, &o_Value))
        return 0;
    const unsigned n_CodePage = n_ANSICodePage(n_Locale);
    const int i_Units = static_cast<int>(o_Value.size());
    std::string o_Bytes(static_cast<size_t>(CT_PlatformCodepage::si_WideToMulti(
                            n_CodePage, o_Value.data(), i_Units, nullptr, 0, nullptr, nullptr)),
                        0);
    CT_PlatformCodepage::si_WideToMulti(n_CodePage, o_Value.data(), i_Units, o_Bytes.data(),
                                        static_cast<int>(o_Bytes.size()), nullptr, nullptr);
    return i_HandOut(o_Bytes, pc_Out, n_Size);
}
#endif
