#include "System/Charset/Language.h"

#include "Basis/Collection/CompList.h"
#include "System/String/CString.h"
#include "System/String/StringScanner.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <iterator>

namespace
{
constexpr unsigned sn_PrimaryBits = 0x3FF;
constexpr unsigned sn_SubShift = 10;
constexpr unsigned sn_SubBits = 0x3F;
constexpr unsigned sn_KeyShift = 8;
constexpr unsigned sn_KeySubBits = 0xFF;
constexpr unsigned sn_CodeLength = 2;
constexpr unsigned sn_CodeFormLength = 5; // "LL-CC"
constexpr unsigned sn_CountryCodeAt = 3;

// Where key lies in the sorted rows [pso_First, pso_Last), or nullptr.
template <class T, class Key>
const T* pcso_Find(const T* pso_First, const T* pso_Last, unsigned n_Key, Key pfn_Key)
{
    const T* pso = std::lower_bound(pso_First, pso_Last, n_Key,
                                    [&](const T& so, unsigned n) { return pfn_Key(so) < n; });
    return pso != pso_Last && pfn_Key(*pso) == n_Key ? pso : nullptr;
}

// The first of the rows that pfn_Is accepts, or nullptr.
template <class T, std::size_t N, class Is>
const T* pcso_FindFirst(const T (&aso_Rows)[N], Is pfn_Is)
{
    const T* pso = std::find_if(std::begin(aso_Rows), std::end(aso_Rows), pfn_Is);
    return pso != std::end(aso_Rows) ? pso : nullptr;
}

char c_UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The table's names and codes are ASCII, so case is ASCII case here.
int b_EqualIgnoringCase(const char* qccz_A, const char* qccz_B)
{
    for (; c_UpperAscii(*qccz_A) == c_UpperAscii(*qccz_B); ++qccz_A, ++qccz_B)
        if (!*qccz_A)
            return 1;
    return 0;
}

// The character at n_Position of a code as upper-case ASCII; anything else reads as 0, which
// matches no code.
char c_CodeCharAt(const CT_String* pcco_Code, unsigned n_Position)
{
    const char16_t u = pcco_Code->vu_GetAt(n_Position);
    return u < 0x80 ? c_UpperAscii(static_cast<char>(u)) : 0;
}
} // namespace

const CT_Language::st_PrimaryLanguage CT_Language::saso_PrimaryLanguages[sn_PrimaryLanguages] = {
    {0x00, "NE", "Neutral", 0},
    {0x01, "AR", "Arabic", 16},
    {0x02, "BG", "Bulgarian", 0},
    {0x03, "CA", "Catalan", 0},
    {0x04, "ZH", "Chinese", 4},
    {0x05, "CS", "Czech", 0},
    {0x06, "DA", "Danish", 0},
    {0x07, "DE", "German", 5},
    {0x08, "EL", "Greek", 0},
    {0x09, "EN", "English", 11},
    {0x0A, "ES", "Spanish", 20},
    {0x0B, "FI", "Finnish", 0},
    {0x0C, "FR", "French", 5},
    {0x0D, "IW", "Hebrew", 0},
    {0x0E, "HU", "Hungarian", 0},
    {0x0F, "IS", "Icelandic", 0},
    {0x10, "IT", "Italian", 2},
    {0x11, "JA", "Japanese", 0},
    {0x12, "KO", "Korean", 2},
    {0x13, "NL", "Dutch", 2},
    {0x14, "NO", "Norwegian", 2},
    {0x15, "PL", "Polish", 0},
    {0x16, "PT", "Portuguese", 2},
    {0x17, "RM", "Rhaeto-Romance", 0},
    {0x18, "RO", "Romanian", 2},
    {0x19, "RU", "Russian", 2},
    {0x1A, "SH", "Serbo-Croatian", 2},
    {0x1B, "SK", "Slovak", 0},
    {0x1C, "SQ", "Albanian", 0},
    {0x1D, "SV", "Swedish", 2},
    {0x1E, "TH", "Thai", 0},
    {0x1F, "TR", "Turkish", 0},
    {0x20, "UR", "Urdu", 0},
    {0x21, "IN", "Indonesian", 0},
    {0x22, "UK", "Ukrainian", 0},
    {0x23, "BE", "Byelorussian", 0},
    {0x24, "SL", "Slovenian", 0},
    {0x25, "ET", "Estonian", 0},
    {0x26, "LV", "Latvian-Lettish", 0},
    {0x27, "LT", "Lithuanian", 0},
    {0x28, "MI", "Maori", 0},
    {0x29, "FA", "Persian", 0},
    {0x2A, "VI", "Vietnamese", 0},
    {0x2B, "LO", "Laothian", 0},
    {0x2C, "KA", "Kampuchean", 0},
    {0x2D, "EU", "Basque", 0},
    {0x2E, "SO", "Sorbian", 0},
    {0x2F, "MK", "Macedonian", 0},
    {0x31, "TS", "Tsonga", 0},
    {0x34, "XH", "Xhosa", 0},
    {0x35, "ZU", "Zulu", 0},
    {0x36, "AF", "Afrikaans", 0},
    {0x38, "FO", "Faeroese", 0},
    {0x3A, "MT", "Maltese", 0},
    {0x3C, "GA", "Gaelic", 3},
};

const CT_Language::st_SubLanguage CT_Language::saso_SubLanguages[sn_SubLanguages] = {
    {0x0000, "00", "Neutral"},       {0x0001, "01", "Default"},
    {0x0002, "02", "SysDefault"},    {0x0101, "SA", "Saudi Arabia"},
    {0x0102, "IQ", "Iraq"},          {0x0103, "EG", "Egypt"},
    {0x0104, "LY", "Libya"},         {0x0105, "DZ", "Algeria"},
    {0x0106, "MA", "Morocco"},       {0x0107, "TN", "Tunisia"},
    {0x0108, "OM", "Oman"},          {0x0109, "YE", "Yemen"},
    {0x010A, "SY", "Syria"},         {0x010B, "JO", "Jordan"},
    {0x010C, "LB", "Lebanon"},       {0x010D, "KW", "Kuwait"},
    {0x010E, "AE", "UAE"},           {0x010F, "BH", "Bahrain"},
    {0x0110, "QA", "Qatar"},         {0x0401, "TW", "Taiwan"},
    {0x0402, "CN", "PRC"},           {0x0403, "HK", "Hongkong"},
    {0x0404, "SG", "Singapore"},     {0x0701, "DE", "Germany"},
    {0x0702, "CH", "Switzerland"},   {0x0703, "AT", "Austria"},
    {0x0704, "LU", "Luxembourg"},    {0x0705, "LI", "Liechtenstein"},
    {0x0901, "US", "United States"}, {0x0902, "GB", "United Kingdom"},
    {0x0903, "AU", "Australia"},     {0x0904, "CA", "Canada"},
    {0x0905, "NZ", "New Zealand"},   {0x0906, "IE", "Ireland"},
    {0x0907, "ZA", "South Africa"},  {0x0908, "JM", "Jamaica"},
    {0x0909, "CB", "Caribbean"},     {0x090A, "BZ", "Belize"},
    {0x090B, "TT", "Trinidad"},      {0x0A01, "ES", "Spain"},
    {0x0A02, "MX", "Mexico"},        {0x0A03, "EM", "Modern Sort"},
    {0x0A04, "GT", "Guatemala"},     {0x0A05, "CR", "Costa Rica"},
    {0x0A06, "PA", "Panama"},        {0x0A07, "DO", "Dominican Republic"},
    {0x0A08, "VE", "Venezuela"},     {0x0A09, "CO", "Colombia"},
    {0x0A0A, "PE", "Peru"},          {0x0A0B, "AR", "Argentina"},
    {0x0A0C, "EC", "Ecuador"},       {0x0A0D, "CL", "Chile"},
    {0x0A0E, "UY", "Uruguay"},       {0x0A0F, "PY", "Paraguay"},
    {0x0A10, "BO", "Bolivia"},       {0x0A11, "SV", "El Salvador"},
    {0x0A12, "HN", "Honduras"},      {0x0A13, "NI", "Nicaragua"},
    {0x0A14, "PR", "Puerto Rico"},   {0x0C01, "FR", "France"},
    {0x0C02, "BE", "Belgium"},       {0x0C03, "CA", "Canada"},
    {0x0C04, "CH", "Switzerland"},   {0x0C05, "LU", "Luxembourg"},
    {0x1001, "IT", "Italy"},         {0x1002, "CH", "Switzerland"},
    {0x1201, "KR", "Korea"},         {0x1202, "JH", "Johab"},
    {0x1301, "NL", "Netherlands"},   {0x1302, "BE", "Belgium"},
    {0x1401, "NO", "Bokmal"},        {0x1402, "NY", "Nynorsk"},
    {0x1601, "BR", "Brazil"},        {0x1602, "PT", "Portugal"},
    {0x1801, "RO", "Romania"},       {0x1802, "MD", "Moldova"},
    {0x1901, "RU", "Russia"},        {0x1902, "MD", "Moldova"},
    {0x1A02, "HR", "Croatia"},       {0x1A03, "YU", "Yugoslavia"},
    {0x1D01, "SE", "Sweden"},        {0x1D02, "FI", "Finland"},
    {0x3C01, "IE", "Ireland"},       {0x3C02, "WA", "Wales"},
    {0x3C03, "CT", "Scotland"},
};

const CT_Language::st_Country CT_Language::saso_Countries[sn_Countries] = {
    {355, "AL", "ALB"}, {213, "DZ", "DZA"}, {54, "AR", "ARG"},  {61, "AU", "AUS"},
    {43, "AT", "AUT"},  {973, "BH", "BHR"}, {375, "BY", "BLR"}, {32, "BE", "BEL"},
    {501, "BZ", "BLZ"}, {591, "BO", "BOL"}, {55, "BR", "BRA"},  {673, "BN", "BRN"},
    {359, "BG", "BGR"}, {2, "CA", "CAN"},   {56, "CL", "CHL"},  {57, "CO", "COL"},
    {506, "CR", "CRI"}, {385, "HR", "HRV"}, {420, "CZ", "CZE"}, {45, "DK", "DNK"},
    {1, "DO", "DOM"},   {593, "EC", "ECU"}, {20, "EG", "EGY"},  {503, "SV", "SLV"},
    {372, "EE", "EST"}, {298, "FO", "FRO"}, {358, "FI", "FIN"}, {33, "FR", "FRA"},
    {49, "DE", "DEU"},  {30, "GR", "GRC"},  {502, "GT", "GTM"}, {504, "HN", "HND"},
    {852, "HK", "HKG"}, {36, "HU", "HUN"},  {354, "IS", "ISL"}, {91, "IN", "IND"},
    {62, "ID", "IDN"},  {981, "IR", "IRN"}, {964, "IQ", "IRQ"}, {353, "IE", "IRL"},
    {972, "IL", "ISR"}, {39, "IT", "ITA"},  {1, "JM", "JAM"},   {81, "JP", "JPN"},
    {962, "JO", "JOR"}, {254, "KE", "KEN"}, {965, "KW", "KWT"}, {371, "LV", "LVA"},
    {961, "LB", "LBN"}, {218, "LY", "LBY"}, {41, "LI", "LIE"},  {370, "LT", "LTU"},
    {352, "LU", "LUX"}, {853, "MO", "MAC"}, {389, "MK", "MKD"}, {60, "MY", "MYS"},
    {52, "MX", "MEX"},  {33, "MC", "MCO"},  {212, "MA", "MAR"}, {31, "NL", "NLD"},
    {64, "NZ", "NZL"},  {505, "NI", "NIC"}, {47, "NO", "NOR"},  {968, "OM", "OMN"},
    {92, "PK", "PAK"},  {507, "PA", "PAN"}, {595, "PY", "PRY"}, {51, "PE", "PER"},
    {63, "PH", "PHL"},  {48, "PL", "POL"},  {351, "PT", "PRT"}, {86, "CN", "CHN"},
    {1, "PR", "PRI"},   {974, "QA", "QAT"}, {40, "RO", "ROM"},  {7, "RU", "RUS"},
    {966, "SA", "SAU"}, {381, "SR", "SER"}, {65, "SG", "SGP"},  {421, "SK", "SVK"},
    {386, "SI", "SVN"}, {27, "ZA", "ZAF"},  {82, "KR", "KOR"},  {34, "ES", "ESP"},
    {46, "SE", "SWE"},  {41, "CH", "CHE"},  {963, "SY", "SYR"}, {886, "TW", "TWN"},
    {66, "TH", "THA"},  {1, "TT", "TTO"},   {216, "TN", "TUN"}, {90, "TR", "TUR"},
    {971, "AE", "ARE"}, {380, "UA", "UKR"}, {44, "GB", "GBR"},  {1, "US", "USA"},
    {598, "UY", "URY"}, {58, "VE", "VEN"},  {84, "VN", "VNM"},  {967, "YE", "YEM"},
    {263, "ZW", "ZWE"},
};

const char CT_Language::sacz_Croatian[] = "Croatian";
const char CT_Language::sacz_Serbian[] = "Serbian";
const char CT_Language::sacz_Welsh[] = "Welsh";

// The display forms that name a language of their own rather than the language and country.
const CT_Language::st_Special CT_Language::saso_Specials[sn_Specials] = {
    {sacz_Croatian, e_SerboCroatian, e_SubCroatia},
    {sacz_Serbian, e_SerboCroatian, e_SubYugoslavia},
    {sacz_Welsh, e_Gaelic, e_SubWales},
};

CT_CompList* CT_Language::spco_Primaries = nullptr;

CT_Language::et_Primary CT_Language::seo_GetPrimary(unsigned n_LangId)
{
    return seo_FindPrimary(n_LangId & sn_PrimaryBits);
}

CT_Language::et_Sub CT_Language::seo_GetSub(unsigned n_LangId)
{
    return seo_FindSub((n_LangId & sn_PrimaryBits) << sn_KeyShift |
                       (n_LangId >> sn_SubShift & sn_SubBits));
}

void CT_Language::sv_GetLanguages(unsigned n_LangId, et_Primary* peo_Primary, et_Sub* peo_Sub)
{
    *peo_Primary = seo_GetPrimary(n_LangId);
    *peo_Sub = seo_GetSub(n_LangId);
}

unsigned CT_Language::sn_MakeLanguageID(et_Primary eo_Primary, et_Sub eo_Sub)
{
    if (eo_Sub <= e_SubSysDefault)
        return sro_Primary(eo_Primary).n_Id | eo_Sub << sn_SubShift;
    const unsigned n_Key = sro_Sub(eo_Sub).n_Key;
    return (n_Key & sn_KeySubBits) << sn_SubShift | n_Key >> sn_KeyShift;
}

unsigned CT_Language::sn_GetLanguageID(const char* qccz_Display)
{
    if (const st_Special* pso =
            pcso_FindFirst(saso_Specials, [&](const st_Special& so)
                           { return !std::strcmp(so.qccz_Name, qccz_Display); }))
        return sn_MakeLanguageID(pso->eo_Primary, pso->eo_Sub);
    // "Language (Country)": the words between the parentheses.
    const CT_CString co_Display(qccz_Display, CT_String::sn_All);
    const CT_CString co_Parentheses("()", CT_String::sn_All);
    CT_CString co_Language, co_Country;
    const CT_StringScanner co_Scanner;
    co_Scanner.v_SubWord(&co_Language, &co_Display, &co_Parentheses, 1);
    co_Scanner.v_SubWord(&co_Country, &co_Display, &co_Parentheses, 2);
    co_Language.vv_Strip(nullptr);
    co_Country.vv_Strip(nullptr);
    et_Primary eo_Primary = e_Neutral;
    et_Sub eo_Sub = e_SubDefault;
    sb_GetPrimaryLanguage(&eo_Primary, co_Language.qccz_Get());
    if (co_Country.vn_GetLength())
        sb_GetSubCountry(&eo_Sub, co_Country.qccz_Get(), eo_Primary);
    return sn_MakeLanguageID(eo_Primary, eo_Sub);
}

int CT_Language::sb_IsFarEastLanguage(et_Primary eo_Primary, et_Sub)
{
    return eo_Primary == e_Chinese || eo_Primary == e_Japanese || eo_Primary == e_Korean ||
           eo_Primary == e_Thai;
}

int CT_Language::sb_IsBiDiLanguage(et_Primary eo_Primary, et_Sub)
{
    return eo_Primary == e_Arabic || eo_Primary == e_Hebrew;
}

int CT_Language::sb_IsBiDiLanguage(unsigned n_LangId)
{
    return sb_IsBiDiLanguage(seo_GetPrimary(n_LangId), e_SubDefault);
}

int CT_Language::sb_IsCorvaneDefined(et_Primary eo_Primary, et_Sub)
{
    return eo_Primary == e_Maltese || eo_Primary == e_Gaelic;
}

unsigned CT_Language::sn_GetSubCount(et_Primary eo_Primary)
{
    return sro_Primary(eo_Primary).n_SubLanguages;
}

CT_Language::et_Sub CT_Language::seo_GetSubAt(et_Primary eo_Primary, unsigned n)
{
    const unsigned n_Id = sro_Primary(eo_Primary).n_Id;
    unsigned n_Seen = 0;
    for (unsigned i = e_SubDefault; i < sn_SubLanguages; ++i)
    {
        const unsigned n_RowId = saso_SubLanguages[i].n_Key >> sn_KeyShift;
        if (n_RowId > n_Id)
            break;
        if (n_RowId == n_Id && ++n_Seen == n)
            return static_cast<et_Sub>(i);
    }
    return e_SubDefault;
}

CT_Language::et_Sub CT_Language::seo_GetDefaultSub(et_Primary eo_Primary)
{
    return sn_GetSubCount(eo_Primary) ? seo_GetSubAt(eo_Primary, 1) : e_SubDefault;
}

const char* CT_Language::sqccz_GetLanguageCode(et_Primary eo_Primary)
{
    return sro_Primary(eo_Primary).qccz_Code;
}

const char* CT_Language::sqccz_GetLanguage(et_Primary eo_Primary)
{
    return sro_Primary(eo_Primary).qccz_Name;
}

const char* CT_Language::sqccz_GetCountryCode(et_Sub eo_Sub)
{
    return sro_Sub(eo_Sub).qccz_Code;
}

const char* CT_Language::sqccz_GetCountry(et_Sub eo_Sub)
{
    return sro_Sub(eo_Sub).qccz_Name;
}

int CT_Language::sb_GetPrimary(et_Primary* peo_Primary, const char* qccz_Code)
{
    const unsigned n_Handle =
        spco_Primaries ? spco_Primaries->n_Search(qccz_Code) : CT_CompList::sn_NotFound;
    if (n_Handle == CT_CompList::sn_NotFound)
        return 0;
    *peo_Primary = static_cast<et_Primary>(n_Handle);
    return 1;
}

int CT_Language::sb_GetPrimaryLanguage(et_Primary* peo_Primary, const char* qccz_Name)
{
    const st_PrimaryLanguage* pso =
        pcso_FindFirst(saso_PrimaryLanguages, [&](const st_PrimaryLanguage& so)
                       { return b_EqualIgnoringCase(so.qccz_Name, qccz_Name); });
    if (!pso)
        return 0;
    *peo_Primary = static_cast<et_Primary>(pso - saso_PrimaryLanguages);
    return 1;
}

int CT_Language::sb_GetSubCountry(et_Sub* peo_Sub, const char* qccz_Name, et_Primary eo_Primary)
{
    for (unsigned n = 1; n <= sn_GetSubCount(eo_Primary); ++n)
    {
        const et_Sub eo_Sub = seo_GetSubAt(eo_Primary, n);
        if (b_EqualIgnoringCase(sro_Sub(eo_Sub).qccz_Name, qccz_Name))
        {
            *peo_Sub = eo_Sub;
            return 1;
        }
    }
    return 0;
}

void CT_Language::sv_MakeLanguageString(CT_String* pco_Out, et_Primary eo_Primary, et_Sub eo_Sub)
{
    if (const char* qccz_Special = sqccz_SpecialName(eo_Primary, eo_Sub))
        pco_Out->v_Format("%s", qccz_Special);
    else if (sb_NamesSub(eo_Primary, eo_Sub))
        pco_Out->v_Format("%s (%s)", sqccz_GetLanguage(eo_Primary), sqccz_GetCountry(eo_Sub));
    else
        pco_Out->v_Format("%s", sqccz_GetLanguage(eo_Primary));
}

void CT_Language::sv_MakeLanguageCode(CT_String* pco_Out, et_Primary eo_Primary, et_Sub eo_Sub)
{
    if (sb_NamesSub(eo_Primary, eo_Sub))
        pco_Out->v_Format("%s-%s", sqccz_GetLanguageCode(eo_Primary), sqccz_GetCountryCode(eo_Sub));
    else
        pco_Out->v_Format("%s", sqccz_GetLanguageCode(eo_Primary));
}

int CT_Language::sb_GetLanguages(et_Primary* peo_Primary, et_Sub* peo_Sub,
                                 const CT_String* pcco_Code)
{
    const unsigned n_Length = pcco_Code->vn_GetLength();
    if (n_Length != sn_CodeLength && n_Length != sn_CodeFormLength)
        return 0;
    const char ac_Language[] = {c_CodeCharAt(pcco_Code, 0), c_CodeCharAt(pcco_Code, 1), 0};
    et_Primary eo_Primary;
    if (!sb_GetPrimary(&eo_Primary, ac_Language))
        return 0;
    const unsigned n_Subs = sn_GetSubCount(eo_Primary);
    if (n_Length == sn_CodeLength || !n_Subs)
    {
        *peo_Primary = eo_Primary;
        *peo_Sub = n_Subs && n_Length == sn_CodeLength ? e_SubNeutral : e_SubDefault;
        return 1;
    }
    const char ac_Country[] = {c_CodeCharAt(pcco_Code, sn_CountryCodeAt),
                               c_CodeCharAt(pcco_Code, sn_CountryCodeAt + 1), 0};
    for (unsigned n = 1; n <= n_Subs; ++n)
    {
        const et_Sub eo_Sub = seo_GetSubAt(eo_Primary, n);
        const char* qccz_Code = sro_Sub(eo_Sub).qccz_Code;
        if (qccz_Code[0] == ac_Country[0] && qccz_Code[1] == ac_Country[1])
        {
            *peo_Primary = eo_Primary;
            *peo_Sub = eo_Sub;
            return 1;
        }
    }
    return 0;
}

const char* CT_Language::sqccz_GetCountryCode2(et_Country eo_Country)
{
    const st_Country* pso = spso_FindCountry(eo_Country);
    return pso ? pso->qccz_Code2 : nullptr;
}

const char* CT_Language::sqccz_GetCountryCode3(et_Country eo_Country)
{
    const st_Country* pso = spso_FindCountry(eo_Country);
    return pso ? pso->qccz_Code3 : nullptr;
}

CT_Language::et_Country CT_Language::seo_GetCountry2(const char* qccz_Code)
{
    const st_Country* pso = spso_FindCountry2(qccz_Code);
    return pso ? static_cast<et_Country>(pso->n_Country) : e_NoCountry;
}

CT_Language::et_Country CT_Language::seo_GetCountry3(const char* qccz_Code)
{
    const st_Country* pso = spso_FindCountry3(qccz_Code);
    return pso ? static_cast<et_Country>(pso->n_Country) : e_NoCountry;
}

const CT_Language::st_PrimaryLanguage& CT_Language::sro_Primary(et_Primary eo_Primary)
{
    assert(eo_Primary < sn_PrimaryLanguages);
    return saso_PrimaryLanguages[eo_Primary];
}

const CT_Language::st_SubLanguage& CT_Language::sro_Sub(et_Sub eo_Sub)
{
    assert(eo_Sub < sn_SubLanguages);
    return saso_SubLanguages[eo_Sub];
}

const char* CT_Language::sqccz_SpecialName(et_Primary eo_Primary, et_Sub eo_Sub)
{
    const st_Special* pso =
        pcso_FindFirst(saso_Specials, [&](const st_Special& so)
                       { return so.eo_Primary == eo_Primary && so.eo_Sub == eo_Sub; });
    return pso ? pso->qccz_Name : nullptr;
}

int CT_Language::sb_NamesSub(et_Primary eo_Primary, et_Sub eo_Sub)
{
    return sn_GetSubCount(eo_Primary) && eo_Sub != e_SubNeutral;
}

void CT_Language::sv_Init()
{
    spco_Primaries = new CT_CompList(CT_CompList::eo_8Bit, 1, 0, 0, CT_CompList::sn_MinGrowth, 0);
    for (unsigned i = 0; i < sn_PrimaryLanguages; ++i)
        spco_Primaries->b_Add(saso_PrimaryLanguages[i].qccz_Code, i);
}

void CT_Language::sv_Exit()
{
    delete spco_Primaries;
    spco_Primaries = nullptr;
}

CT_Language::et_Primary CT_Language::seo_FindPrimary(unsigned n_Id)
{
    const auto* pso = pcso_Find(std::begin(saso_PrimaryLanguages), std::end(saso_PrimaryLanguages),
                                n_Id, [](const st_PrimaryLanguage& so) { return so.n_Id; });
    return pso ? static_cast<et_Primary>(pso - saso_PrimaryLanguages) : e_Neutral;
}

CT_Language::et_Sub CT_Language::seo_FindSub(unsigned n_Key)
{
    const auto* pso = pcso_Find(std::begin(saso_SubLanguages), std::end(saso_SubLanguages), n_Key,
                                [](const st_SubLanguage& so) { return so.n_Key; });
    if (pso)
        return static_cast<et_Sub>(pso - saso_SubLanguages);
    switch (n_Key & 0xFF)
    {
    case 0:
        return e_SubNeutral;
    case 2:
        return e_SubSysDefault;
    default:
        return e_SubDefault;
    }
}

const CT_Language::st_Country* CT_Language::spso_FindCountry(et_Country eo_Country)
{
    return pcso_FindFirst(saso_Countries,
                          [&](const st_Country& so) { return so.n_Country == eo_Country; });
}

const CT_Language::st_Country* CT_Language::spso_FindCountry2(const char* qccz_Code)
{
    return pcso_FindFirst(saso_Countries, [&](const st_Country& so)
                          { return b_EqualIgnoringCase(so.qccz_Code2, qccz_Code); });
}

const CT_Language::st_Country* CT_Language::spso_FindCountry3(const char* qccz_Code)
{
    return pcso_FindFirst(saso_Countries, [&](const st_Country& so)
                          { return b_EqualIgnoringCase(so.qccz_Code3, qccz_Code); });
}
