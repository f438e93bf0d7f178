// CT_Language: the library's own tables of languages, sub-languages (regional variants) and
// countries, and the translations between the platform's language identifiers, the table indexes,
// two-letter codes and English names, with the display form "Language (Country)" and the code
// form "LL-CC".
//
// A language identifier holds the primary language in bits 0-9 and the sub-language in bits
// 10-15; a locale identifier holds a language identifier in its low 16 bits, so either may be
// passed. Table indexes passed in are the caller's duty (checked by assert). The tables are
// constant and the list of primary codes is built at module load and destroyed at unload, so any
// thread may call any member in between. Failed lookups answer Neutral, Default, 0, null or
// false; nothing is reported to the error manager.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Runtime/Init.h"

#include <cstdint>

class CT_CompList;
class CT_String;

class CT_EXPORT CT_Language
{
public:
    // An index into the primary-language table; the ones the library itself names.
    enum et_Primary : unsigned
    {
        e_Neutral = 0,
        e_Arabic = 1,
        e_Chinese = 4,
        e_Hebrew = 13,
        e_Japanese = 17,
        e_Korean = 18,
        e_SerboCroatian = 26,
        e_Thai = 30,
        e_Maltese = 53,
        e_Gaelic = 54
    };
    // An index into the sub-language table. Rows 0 to 2 are the generic sub-languages.
    enum et_Sub : unsigned
    {
        e_SubNeutral = 0,
        e_SubDefault = 1,
        e_SubSysDefault = 2,
        e_SubTaiwan = 19,
        e_SubHongkong = 21,
        e_SubCroatia = 78,
        e_SubYugoslavia = 79,
        e_SubWales = 83
    };
    // The platform's country codes, mostly international dialling codes; 0 is none.
    enum et_Country : std::uint32_t
    {
        e_NoCountry = 0
    };

    // The primary language of bits 0-9, or e_Neutral when the table has none with that id.
    static et_Primary seo_GetPrimary(unsigned n_LangId);
    // The sub-language of bits 0-9 and 10-15. Without a row for both: e_SubNeutral or
    // e_SubSysDefault for the sub-language ids 0 and 2, e_SubDefault for any other.
    static et_Sub seo_GetSub(unsigned n_LangId);
    static void sv_GetLanguages(unsigned n_LangId, et_Primary* peo_Primary, et_Sub* peo_Sub);

    // The generic sub-languages go with the primary passed; any other sub-language carries its
    // own primary in its key, and that one is taken.
    static unsigned sn_MakeLanguageID(et_Primary eo_Primary, et_Sub eo_Sub);
    // The identifier of a display form: "Croatian", "Serbian", "Welsh", or "Language (Country)"
    // with names looked up ignoring case; an unknown language is Neutral, an unknown or missing
    // country Default.
    static unsigned sn_GetLanguageID(const char* qccz_Display);

    // Chinese, Japanese, Korean, Thai. The sub-language is not looked at by these three.
    static int sb_IsFarEastLanguage(et_Primary eo_Primary, et_Sub eo_Sub);
    // Arabic, Hebrew.
    static int sb_IsBiDiLanguage(et_Primary eo_Primary, et_Sub eo_Sub);
    static int sb_IsBiDiLanguage(unsigned n_LangId);
    // Maltese and Gaelic, which the platform's tables of the time lacked.
    static int sb_IsCorvaneDefined(et_Primary eo_Primary, et_Sub eo_Sub);

    // The primaries other than Neutral.
    static unsigned sn_GetPrimaryCount() { return sn_PrimaryLanguages - 1; }
    static unsigned sn_GetSubCount(et_Primary eo_Primary);
    // The n-th (from 1) sub-language of the primary, or e_SubDefault when there is none.
    static et_Sub seo_GetSubAt(et_Primary eo_Primary, unsigned n);
    static et_Sub seo_GetDefaultSub(et_Primary eo_Primary);

    static const char* sqccz_GetLanguageCode(et_Primary eo_Primary);
    static const char* sqccz_GetLanguage(et_Primary eo_Primary);
    static const char* sqccz_GetCountryCode(et_Sub eo_Sub);
    static const char* sqccz_GetCountry(et_Sub eo_Sub);

    // The primary of a two-letter code, exactly as the table spells it ("EN").
    static int sb_GetPrimary(et_Primary* peo_Primary, const char* qccz_Code);
    // The first primary whose name equals the text ignoring case.
    static int sb_GetPrimaryLanguage(et_Primary* peo_Primary, const char* qccz_Name);
    // The first of the primary's sub-languages whose name equals the text ignoring case.
    static int sb_GetSubCountry(et_Sub* peo_Sub, const char* qccz_Name, et_Primary eo_Primary);

    // "English (United States)", "English (Default)", "Japanese"; "Croatian", "Serbian", "Welsh".
    static void sv_MakeLanguageString(CT_String* pco_Out, et_Primary eo_Primary, et_Sub eo_Sub);
    // "EN-US", "EN-01", "JA".
    static void sv_MakeLanguageCode(CT_String* pco_Out, et_Primary eo_Primary, et_Sub eo_Sub);
    // The indexes of a code form "LL" or "LL-CC", either case. "LL" of a language with
    // sub-languages gives Neutral, of one without Default; so does "LL-CC" of one without.
    static int sb_GetLanguages(et_Primary* peo_Primary, et_Sub* peo_Sub,
                               const CT_String* pcco_Code);

    // The codes of the first country row with that number, or null.
    static const char* sqccz_GetCountryCode2(et_Country eo_Country);
    static const char* sqccz_GetCountryCode3(et_Country eo_Country);
    // The number of the first row whose code equals the text ignoring case, or e_NoCountry.
    static et_Country seo_GetCountry2(const char* qccz_Code);
    static et_Country seo_GetCountry3(const char* qccz_Code);

    // Run by the module's static initialiser list: build and destroy spco_Primaries.
    static void sv_Init();
    static void sv_Exit();

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
    struct st_Country
    {
        std::uint32_t n_Country;
        const char* qccz_Code2;
        const char* qccz_Code3;
    };

    static constexpr unsigned sn_PrimaryLanguages = 55;
    static constexpr unsigned sn_SubLanguages = 85;
    static constexpr unsigned sn_Countries = 101;
    // Sorted by id and by key (after the generic rows), so that both are searched by halving.
    static const st_PrimaryLanguage saso_PrimaryLanguages[sn_PrimaryLanguages];
    static const st_SubLanguage saso_SubLanguages[sn_SubLanguages];
    // In the platform's order; several countries share a number, and the first one answers.
    static const st_Country saso_Countries[sn_Countries];
    static const char sacz_Croatian[];
    static const char sacz_Serbian[];
    static const char sacz_Welsh[];
    struct st_Special
    {
        const char* qccz_Name;
        et_Primary eo_Primary;
        et_Sub eo_Sub;
    };
    static constexpr unsigned sn_Specials = 3;
    static const st_Special saso_Specials[sn_Specials];

    // The primary codes with their indexes as handles.
    static CT_CompList* spco_Primaries;
    static CT_Init sco_Init;
    static CT_Exit sco_Exit;

    // The row of an index, which the caller keeps within the table.
    static const st_PrimaryLanguage& sro_Primary(et_Primary eo_Primary);
    static const st_SubLanguage& sro_Sub(et_Sub eo_Sub);
    static et_Primary seo_FindPrimary(unsigned n_Id);
    static et_Sub seo_FindSub(unsigned n_Key);
    static const st_Country* spso_FindCountry(et_Country eo_Country);
    static const st_Country* spso_FindCountry2(const char* qccz_Code);
    static const st_Country* spso_FindCountry3(const char* qccz_Code);
    // "Croatian", "Serbian" or "Welsh" for their pairs, else null.
    static const char* sqccz_SpecialName(et_Primary eo_Primary, et_Sub eo_Sub);
    // Whether the display and code forms name the sub-language.
    static int sb_NamesSub(et_Primary eo_Primary, et_Sub eo_Sub);
};
