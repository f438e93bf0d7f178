#include "System/Charset/Language.h"

#include <algorithm>
#include <iterator>

namespace
{
constexpr unsigned sn_PrimaryBits = 0x3FF;
constexpr unsigned sn_SubShift = 10;
constexpr unsigned sn_SubBits = 0x3F;
constexpr unsigned sn_KeyShift = 8;

// Where key lies in the sorted rows [pso_First, pso_Last), or nullptr.
template <class T, class Key>
const T* pcso_Find(const T* pso_First, const T* pso_Last, unsigned n_Key, Key pfn_Key)
{
    const T* pso = std::lower_bound(pso_First, pso_Last, n_Key,
                                    [&](const T& so, unsigned n) { return pfn_Key(so) < n; });
    return pso != pso_Last && pfn_Key(*pso) == n_Key ? pso : nullptr;
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

CT_Language::et_Primary CT_Language::seo_GetPrimary(unsigned n_LangId)
{
    return seo_FindPrimary(n_LangId & sn_PrimaryBits);
}

CT_Language::et_Sub CT_Language::seo_GetSub(unsigned n_LangId)
{
    return seo_FindSub((n_LangId & sn_PrimaryBits) << sn_KeyShift |
                       (n_LangId >> sn_SubShift & sn_SubBits));
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
