// CT_Language: identifiers, table navigation, display and code forms, countries.
#include "System/Charset/Language.h"

#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using et_Primary = CT_Language::et_Primary;
using et_Sub = CT_Language::et_Sub;

et_Primary P(unsigned n)
{
    return static_cast<et_Primary>(n);
}
et_Sub S(unsigned n)
{
    return static_cast<et_Sub>(n);
}

TEST(Language, PrimaryAndSubOfIdentifiers)
{
    const struct
    {
        unsigned n_Id;
        unsigned n_Primary, n_Sub;
    } aso_Cases[] = {
        {0x0411, 17, 1},     // Japanese: no sub-language rows, so Default
        {0x0409, 9, 28},     // English (United States)
        {0x0C04, 4, 21},     // Chinese (Hongkong)
        {0x1404, 4, 1},      // Chinese with a sub-language the table lacks: Default
        {0x0004, 4, 0},      // Chinese, neutral sub-language
        {0x0802, 2, 2},      // Bulgarian, system default
        {0x0030, 0, 0},      // a primary id without a row: Neutral
        {0x083C, 54, 83},    // Gaelic (Wales), the last row
        {0x00020804, 4, 20}, // a locale: the sort id is ignored
    };
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(CT_Language::seo_GetPrimary(so.n_Id), so.n_Primary) << std::hex << so.n_Id;
        EXPECT_EQ(CT_Language::seo_GetSub(so.n_Id), so.n_Sub) << std::hex << so.n_Id;
    }
}

// Every row is reached from its identifier, and each primary's sub count names its own rows.
TEST(Language, EveryRowRoundTripsThroughItsIdentifier)
{
    unsigned n_SubRows = 0;
    for (unsigned p = 0; p <= CT_Language::sn_GetPrimaryCount(); ++p)
    {
        EXPECT_EQ(CT_Language::seo_GetPrimary(CT_Language::sn_MakeLanguageID(P(p), S(1))), p);
        for (unsigned n = 1; n <= CT_Language::sn_GetSubCount(P(p)); ++n, ++n_SubRows)
        {
            const et_Sub eo_Sub = CT_Language::seo_GetSubAt(P(p), n);
            const unsigned n_Id = CT_Language::sn_MakeLanguageID(P(p), eo_Sub);
            et_Primary eo_P;
            et_Sub eo_S;
            CT_Language::sv_GetLanguages(n_Id, &eo_P, &eo_S);
            EXPECT_EQ(eo_P, p) << p << "/" << n;
            EXPECT_EQ(eo_S, eo_Sub) << p << "/" << n;
        }
    }
    EXPECT_EQ(n_SubRows, 82u); // every row but the three generic ones
}

TEST(Language, MakeLanguageID)
{
    const struct
    {
        unsigned n_Primary, n_Sub, n_Id;
    } aso_Cases[] = {
        {9, 28, 0x0409}, {9, 1, 0x0409},   {9, 0, 0x0009},
        {9, 2, 0x0809},  {26, 78, 0x081A}, {0, 28, 0x0409}, // a regional row brings its own primary
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CT_Language::sn_MakeLanguageID(P(so.n_Primary), S(so.n_Sub)), so.n_Id)
            << so.n_Primary << "/" << so.n_Sub;
}

TEST(Language, SubLanguagesOfAPrimary)
{
    const struct
    {
        unsigned n_Primary, n, n_Sub;
    } aso_Cases[] = {
        {9, 1, 28},  {9, 11, 38}, {9, 12, 1}, {9, 0, 1}, {17, 1, 1}, {26, 1, 78},
        {26, 2, 79}, {54, 3, 84}, {0, 1, 1},  {0, 2, 2}, // Neutral meets the generic rows
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CT_Language::seo_GetSubAt(P(so.n_Primary), so.n), so.n_Sub)
            << so.n_Primary << "/" << so.n;
    EXPECT_EQ(CT_Language::seo_GetDefaultSub(P(10)), 39u);
    EXPECT_EQ(CT_Language::seo_GetDefaultSub(P(17)), 1u);
    EXPECT_EQ(CT_Language::seo_GetDefaultSub(P(0)), 1u);
    EXPECT_EQ(CT_Language::sn_GetPrimaryCount(), 54u);
}

TEST(Language, Classification)
{
    std::string o_FarEast, o_BiDi, o_Corvane;
    for (unsigned p = 0; p <= CT_Language::sn_GetPrimaryCount(); ++p)
    {
        const std::string o_Code = std::string(CT_Language::sqccz_GetLanguageCode(P(p))) + " ";
        if (CT_Language::sb_IsFarEastLanguage(P(p), S(1)))
            o_FarEast += o_Code;
        if (CT_Language::sb_IsBiDiLanguage(P(p), S(1)))
            o_BiDi += o_Code;
        if (CT_Language::sb_IsCorvaneDefined(P(p), S(1)))
            o_Corvane += o_Code;
    }
    EXPECT_EQ(o_FarEast, "ZH JA KO TH ");
    EXPECT_EQ(o_BiDi, "AR IW ");
    EXPECT_EQ(o_Corvane, "MT GA ");
    EXPECT_TRUE(CT_Language::sb_IsBiDiLanguage(0x0C01u));
    EXPECT_FALSE(CT_Language::sb_IsBiDiLanguage(0x0409u));
}

TEST(Language, DisplayAndCodeForms)
{
    const struct
    {
        unsigned n_Primary, n_Sub;
        const char* qccz_Display;
        const char* qccz_Code;
    } aso_Cases[] = {
        {9, 28, "English (United States)", "EN-US"},
        {9, 1, "English (Default)", "EN-01"},
        {9, 0, "English", "EN"},
        {17, 0, "Japanese", "JA"},
        {17, 1, "Japanese", "JA"},
        {26, 78, "Croatian", "SH-HR"},
        {26, 79, "Serbian", "SH-YU"},
        {54, 83, "Welsh", "GA-WA"},
        {54, 82, "Gaelic (Ireland)", "GA-IE"},
    };
    for (const auto& so : aso_Cases)
    {
        CT_CString co_Display, co_Code;
        CT_Language::sv_MakeLanguageString(&co_Display, P(so.n_Primary), S(so.n_Sub));
        CT_Language::sv_MakeLanguageCode(&co_Code, P(so.n_Primary), S(so.n_Sub));
        EXPECT_STREQ(co_Display.qccz_Get(), so.qccz_Display);
        EXPECT_STREQ(co_Code.qccz_Get(), so.qccz_Code);
    }
    CT_UString co_Display; // a 16-bit string takes the forms too
    CT_Language::sv_MakeLanguageString(&co_Display, P(9), S(29));
    EXPECT_EQ(std::u16string(co_Display.qcuz_Get()), u"English (United Kingdom)");
}

TEST(Language, LanguagesOfACode)
{
    const struct
    {
        const char* qccz_Code;
        int b_Found;
        unsigned n_Primary, n_Sub;
    } aso_Cases[] = {
        {"en-us", 1, 9, 28},  {"EN", 1, 9, 0},     {"ja-jp", 1, 17, 1}, {"JA", 1, 17, 1},
        {"fr-ca", 1, 12, 61}, {"EN_GB", 1, 9, 29}, // the character between is not examined
        {"en-xx", 0, 0, 0},   {"eng", 0, 0, 0},    {"xx", 0, 0, 0},     {"", 0, 0, 0},
    };
    for (const auto& so : aso_Cases)
    {
        const CT_CString co_Code(so.qccz_Code, CT_String::sn_All);
        const CT_UString co_UCode(so.qccz_Code, CT_String::sn_All);
        for (const CT_String* pcco :
             {static_cast<const CT_String*>(&co_Code), static_cast<const CT_String*>(&co_UCode)})
        {
            et_Primary eo_P = P(99);
            et_Sub eo_S = S(99);
            EXPECT_EQ(CT_Language::sb_GetLanguages(&eo_P, &eo_S, pcco), so.b_Found) << so.qccz_Code;
            if (so.b_Found)
            {
                EXPECT_EQ(eo_P, so.n_Primary) << so.qccz_Code;
                EXPECT_EQ(eo_S, so.n_Sub) << so.qccz_Code;
            }
        }
    }
}

TEST(Language, LanguageIDOfDisplayForms)
{
    const struct
    {
        const char* qccz_Display;
        unsigned n_Id;
    } aso_Cases[] = {
        {"German (Austria)", 0x0C07},
        {"german", 0x0407},  // no country: Default
        {"Klingon", 0x0400}, // Neutral with Default
        {" English ( united kingdom ) ", 0x0809},
        {"French(Canada)", 0x0C0C},
        {"English (Mars)", 0x0409},
        {"(Canada)", 0x0400},
        {"Croatian", 0x081A},
        {"Serbian", 0x0C1A},
        {"Welsh", 0x083C},
        {"welsh", 0x0400}, // exactly as written
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CT_Language::sn_GetLanguageID(so.qccz_Display), so.n_Id) << so.qccz_Display;
}

// The display and code forms of every regional row read back as that row.
TEST(Language, FormsRoundTrip)
{
    for (unsigned p = 1; p <= CT_Language::sn_GetPrimaryCount(); ++p)
        for (unsigned n = 1; n <= CT_Language::sn_GetSubCount(P(p)); ++n)
        {
            const et_Sub eo_Sub = CT_Language::seo_GetSubAt(P(p), n);
            CT_CString co_Code;
            CT_Language::sv_MakeLanguageCode(&co_Code, P(p), eo_Sub);
            et_Primary eo_P;
            et_Sub eo_S;
            ASSERT_TRUE(CT_Language::sb_GetLanguages(&eo_P, &eo_S, &co_Code)) << co_Code.qccz_Get();
            EXPECT_EQ(eo_P, p) << co_Code.qccz_Get();
            EXPECT_EQ(eo_S, eo_Sub) << co_Code.qccz_Get();
            CT_CString co_Display;
            CT_Language::sv_MakeLanguageString(&co_Display, P(p), eo_Sub);
            EXPECT_EQ(CT_Language::sn_GetLanguageID(co_Display.qccz_Get()),
                      CT_Language::sn_MakeLanguageID(P(p), eo_Sub))
                << co_Display.qccz_Get();
        }
}

TEST(Language, LookupsByCodeAndName)
{
    et_Primary eo_P = P(99);
    EXPECT_TRUE(CT_Language::sb_GetPrimary(&eo_P, "GA"));
    EXPECT_EQ(eo_P, 54u);
    EXPECT_TRUE(CT_Language::sb_GetPrimary(&eo_P, "NE"));
    EXPECT_EQ(eo_P, 0u);
    EXPECT_FALSE(CT_Language::sb_GetPrimary(&eo_P, "en")); // codes are matched exactly
    EXPECT_FALSE(CT_Language::sb_GetPrimary(&eo_P, "E"));
    EXPECT_TRUE(CT_Language::sb_GetPrimaryLanguage(&eo_P, "rhaeto-ROMANCE"));
    EXPECT_EQ(eo_P, 23u);
    EXPECT_FALSE(CT_Language::sb_GetPrimaryLanguage(&eo_P, "Klingon"));

    et_Sub eo_S = S(99);
    EXPECT_TRUE(CT_Language::sb_GetSubCountry(&eo_S, "canada", P(12)));
    EXPECT_EQ(eo_S, 61u);
    EXPECT_TRUE(CT_Language::sb_GetSubCountry(&eo_S, "Canada", P(9)));
    EXPECT_EQ(eo_S, 31u);
    EXPECT_FALSE(CT_Language::sb_GetSubCountry(&eo_S, "Canada", P(7)));
    EXPECT_STREQ(CT_Language::sqccz_GetLanguage(P(38)), "Latvian-Lettish");
    EXPECT_STREQ(CT_Language::sqccz_GetCountry(S(21)), "Hongkong");
    EXPECT_STREQ(CT_Language::sqccz_GetCountryCode(S(84)), "CT");
}

TEST(Language, Countries)
{
    using et_Country = CT_Language::et_Country;
    const struct
    {
        unsigned n_Country;
        const char *qccz_Code2, *qccz_Code3;
    } aso_Numbers[] = {
        {1, "DO", "DOM"},   {33, "FR", "FRA"},  {41, "LI", "LIE"}, // the first row with the number
        {355, "AL", "ALB"}, {263, "ZW", "ZWE"}, {386, "SI", "SVN"}, {999, nullptr, nullptr},
    };
    for (const auto& so : aso_Numbers)
    {
        const auto eo = static_cast<et_Country>(so.n_Country);
        EXPECT_STREQ(CT_Language::sqccz_GetCountryCode2(eo), so.qccz_Code2) << so.n_Country;
        EXPECT_STREQ(CT_Language::sqccz_GetCountryCode3(eo), so.qccz_Code3) << so.n_Country;
    }
    const struct
    {
        const char* qccz_Code;
        unsigned n_Country;
    } aso_Codes[] = {{"us", 1},   {"USA", 1}, {"mc", 33}, {"mco", 33}, {"ch", 41},
                     {"si", 386}, {"xx", 0},  {"xxx", 0}, {"", 0}};
    for (const auto& so : aso_Codes)
    {
        const bool b_Three = std::string(so.qccz_Code).size() == 3;
        EXPECT_EQ(b_Three ? CT_Language::seo_GetCountry3(so.qccz_Code)
                          : CT_Language::seo_GetCountry2(so.qccz_Code),
                  so.n_Country)
            << so.qccz_Code;
    }
}
} // namespace
