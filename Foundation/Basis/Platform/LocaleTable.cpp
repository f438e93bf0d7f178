#include "Basis/Platform/LocaleTable.h"

#include <algorithm>
#include <iterator>

namespace
{
#include "Basis/Platform/LocaleTables.inc"

constexpr unsigned sn_Installed = 1;
constexpr unsigned sn_Types = std::size(san_Types);
static_assert(std::size(an_Values) == std::size(aso_Locales) * sn_Types);
static_assert(std::size(au_Texts) < sn_NoValue);
} // namespace

const st_RecordedLocale* CT_LocaleTable::spcso_Find(unsigned n_Locale)
{
    const st_RecordedLocale* pcso =
        std::lower_bound(std::begin(aso_Locales), std::end(aso_Locales), n_Locale,
                         [](const st_RecordedLocale& so, unsigned n) { return so.n_Locale < n; });
    return pcso != std::end(aso_Locales) && pcso->n_Locale == n_Locale ? pcso : nullptr;
}

int CT_LocaleTable::sb_GetValue(const st_RecordedLocale* pcso_Locale, unsigned n_Type,
                                const char16_t** ppcu_Value)
{
    const std::uint16_t* pcn_Type =
        std::lower_bound(std::begin(san_Types), std::end(san_Types), n_Type);
    if (pcn_Type == std::end(san_Types) || *pcn_Type != n_Type)
        return 0;
    const std::uint16_t n_Offset =
        an_Values[(pcso_Locale - aso_Locales) * sn_Types + (pcn_Type - san_Types)];
    *ppcu_Value = n_Offset == sn_NoValue ? nullptr : au_Texts + n_Offset;
    return 1;
}

unsigned CT_LocaleTable::sn_GetEnumeration(unsigned n_Flag, const std::uint32_t** ppcn_Locales)
{
    if (n_Flag == sn_Installed)
    {
        *ppcn_Locales = san_Installed;
        return std::size(san_Installed);
    }
    *ppcn_Locales = san_Supported;
    return std::size(san_Supported);
}
