// CT_Language: the library's own tables of languages and sub-languages (regional variants), and
// the translation of the platform's language identifiers into their indexes. A language
// identifier holds the primary language in bits 0-9 and the sub-language in bits 10-15; a locale
// identifier holds a language identifier in its low 16 bits, so either may be passed. All
// members are static and the tables constant: any thread may call any member.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdint>

class CT_EXPORT CT_Language
{
public:
    // An index into the primary-language table; the ones the library itself asks for are named.
    enum et_Primary : unsigned
    {
        e_Neutral = 0,
        e_Chinese = 4,
        e_Japanese = 17,
        e_Korean = 18
    };
    // An index into the sub-language table. Rows 0 to 2 are the generic sub-languages.
    enum et_Sub : unsigned
    {
        e_SubNeutral = 0,
        e_SubDefault = 1,
        e_SubSysDefault = 2,
        e_SubTaiwan = 19,
        e_SubHongkong = 21
    };

    // The primary language of bits 0-9, or e_Neutral when the table has none with that id.
    static et_Primary seo_GetPrimary(unsigned n_LangId);
    // The sub-language of bits 0-9 and 10-15. Without a row for both: e_SubNeutral or
    // e_SubSysDefault for the sub-language ids 0 and 2, e_SubDefault for any other.
    static et_Sub seo_GetSub(unsigned n_LangId);

private:
    struct st_PrimaryLanguage
    {
        std::uint32_t n_Id;
        const char* qccz_Code;
        const char* qccz_Name;
        std::uint32_t n_SubLanguages;
    };
    // The key is the primary language id shifted left by 8, plus the sub-language id.
    struct st_SubLanguage
    {
        std::uint32_t n_Key;
        const char* qccz_Code;
        const char* qccz_Name;
    };

    static constexpr unsigned sn_PrimaryLanguages = 55;
    static constexpr unsigned sn_SubLanguages = 85;
    // Sorted by id and by key (after the generic rows), so that both are searched by halving.
    static const st_PrimaryLanguage saso_PrimaryLanguages[sn_PrimaryLanguages];
    static const st_SubLanguage saso_SubLanguages[sn_SubLanguages];

    static et_Primary seo_FindPrimary(unsigned n_Id);
    static et_Sub seo_FindSub(unsigned n_Key);
};
