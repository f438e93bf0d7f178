// CT_LocaleInfo: identifiers, the information forms, the code-page and character-set tables and
// their fallbacks, and the shared state under threads. The platform's answers for every recorded
// locale are LocaleReferenceTest's.
#include "System/Charset/LocaleInfo.h"

#include "Basis/Runtime/OS.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace
{
using CL = CT_LocaleInfo;

CL::et_Type T(unsigned n)
{
    return static_cast<CL::et_Type>(n);
}

constexpr unsigned sn_SEngLanguage = 0x1001;
constexpr unsigned sn_SNativeLangName = 0x0004;

TEST(LocaleInfo, IdentifierParts)
{
    EXPECT_EQ(CL::sn_MakeLocaleID(0x12345804, 2), 0x00025804u);
    EXPECT_EQ(CL::sn_GetPrimaryLangID(0x0C0A), 0x0Au);
    EXPECT_EQ(CL::sn_GetSubLangID(0x0C0A), 3u);
    EXPECT_EQ(CL::sn_GetSubLangID(0x0002FC0A), 0x3Fu);
}

TEST(LocaleInfo, NumericTypes)
{
    std::string o_Types;
    for (unsigned n = 0; n < 0x2000; ++n)
        if (CL::sb_IsNumericType(T(n)))
            o_Types += std::to_string(n) + " ";
    EXPECT_EQ(o_Types, "1 5 9 10 11 13 17 18 25 26 27 28 33 34 35 36 37 38 39 82 83 84 85 86 87 "
                       "4100 4101 4105 4107 4108 4109 4112 ");

    const struct
    {
        unsigned n_Locale, n_Type;
        int b_Found;
        unsigned n_Value;
    } aso_Cases[] = {
        {0x0409, 1, 1, 0x0409}, // the language identifier is hexadecimal
        {0x0C0A, 9, 1, 0x0C0A}, // so is the default language
        {0x0419, 5, 1, 7},      // the country code is decimal
        {0x0419, 0x1004, 1, 1251}, {0x0409, sn_SEngLanguage, 0, 0}, // a text type
        {0x0812, 1, 0, 0}, // a locale that is not supported
    };
    for (const auto& so : aso_Cases)
    {
        unsigned n = 0;
        EXPECT_EQ(CL::sb_GetLocaleInfo(so.n_Locale, T(so.n_Type), &n), so.b_Found)
            << std::hex << so.n_Locale << " " << so.n_Type;
        EXPECT_EQ(n, so.n_Value) << std::hex << so.n_Locale << " " << so.n_Type;
    }
}

// On the NT family the 16-bit value, which a CT_CString takes into its own code page; before
// it the 8-bit value in the locale's code page, which a CT_CString keeps as its code page.
TEST(LocaleInfo, ValueAsString)
{
    const std::u16string o_Russian = u"\u0440\u0443\u0441\u0441\u043A\u0438\u0439";
    for (int b_BeforeNT : {0, 1})
    {
        if (b_BeforeNT)
            CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
        CT_UString co_Wide;
        CT_CString co_Narrow(1251), co_Ansi;
        EXPECT_TRUE(CL::sb_GetLocaleInfo(0x0419, T(sn_SNativeLangName), &co_Wide));
        EXPECT_TRUE(CL::sb_GetLocaleInfo(0x0419, T(sn_SNativeLangName), &co_Narrow));
        EXPECT_TRUE(CL::sb_GetLocaleInfo(0x0419, T(sn_SNativeLangName), &co_Ansi));
        EXPECT_EQ(std::u16string(co_Wide.qcuz_Get()), o_Russian) << b_BeforeNT;
        EXPECT_EQ(CT_UString(&co_Narrow).qcuz_Get(), o_Russian) << b_BeforeNT;
        EXPECT_EQ(co_Ansi.n_GetCodePage(), b_BeforeNT ? 1251u : 0u);
        EXPECT_FALSE(CL::sb_GetLocaleInfo(0x0812, T(sn_SEngLanguage), &co_Wide)) << b_BeforeNT;
    }
    CT_OS::sv_Init();
}

TEST(LocaleInfo, ValueAs8BitText)
{
    char ac_Value[8];
    EXPECT_TRUE(CL::sb_GetLocaleInfo(0x0409, T(sn_SEngLanguage), ac_Value, 8));
    EXPECT_STREQ(ac_Value, "English");
    EXPECT_FALSE(CL::sb_GetLocaleInfo(0x0409, T(sn_SEngLanguage), ac_Value, 7)); // no room
    EXPECT_FALSE(CL::sb_GetLocaleInfo(0x0812, T(sn_SEngLanguage), ac_Value, 8));
}

// Locales and types beyond the recorded ones, which natively ICU answers.
TEST(LocaleInfo, NamesAndCodesBeyondTheRecord)
{
    const struct
    {
        unsigned n_Locale, n_Type;
        const char16_t* qcuz_Value; // null for none
    } aso_Cases[] = {
        {0x00010407, 0x1001, u"German"}, // German with the phone-book sort
        {0x00010407, 0x1002, u"Germany"}, {0x00010407, 0x0002, u"German (Germany)"},
        {0x00010407, 0x0004, u"Deutsch"}, {0x00010407, 0x0008, u"Deutschland"},
        {0x00010407, 0x0059, u"de"},      {0x00010407, 0x005A, u"DE"},
        {0x0409, 0x0067, u"eng"}, // a type beyond the recorded ones
        {0x0419, 0x0068, u"RUS"},         {0x0030, 0x1001, u"Southern Sotho"},
        {0x1234, 0x1001, nullptr}, // no such locale
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Value;
        EXPECT_EQ(CL::sb_GetLocaleInfo(so.n_Locale, T(so.n_Type), &co_Value),
                  so.qcuz_Value != nullptr)
            << std::hex << so.n_Locale << " " << so.n_Type;
        EXPECT_EQ(std::u16string(co_Value.qcuz_Get()), so.qcuz_Value ? so.qcuz_Value : u"")
            << std::hex << so.n_Locale << " " << so.n_Type;
    }
}

// The platform's code page where it has one, else the language's usual one.
TEST(LocaleInfo, DefaultANSICodePage)
{
    const struct
    {
        unsigned n_Locale, n_CodePage, n_Charset;
    } aso_Cases[] = {
        {0x0419, 1251, 204},
        {0x0411, 932, 128},
        {0x0409, 1252, 0},
        {0x0C04, 950, 136},
        // locales the platform gives nothing for
        {0x0812, 1361, 130},
        {0x0802, 1251, 204},
        {0x0811, 932, 128},
        {0x080D, 1255, 177},
        {0x0C1A, 1250, 238},
        {0x0808, 1253, 161},
        {0x081F, 1254, 162},
        {0x0829, 1256, 178},
        {0x0825, 1257, 186},
        {0x082A, 1258, 163},
        {0x081E, 874, 222},
        {0x0C3C, 1252, 0},
    };
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(CL::sn_GetDefaultANSICodePage(so.n_Locale), so.n_CodePage)
            << std::hex << so.n_Locale;
        EXPECT_EQ(CL::sn_GetDefaultCharset(so.n_Locale), so.n_Charset) << std::hex << so.n_Locale;
    }
}

// The locale named for a character set or code page has that one; others give the system's
// default language.
TEST(LocaleInfo, LocalesOfCharsetsAndCodePages)
{
    for (unsigned n_CodePage :
         {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361})
    {
        const unsigned n_Locale = CL::sn_GetDefaultCPLocale(n_CodePage);
        EXPECT_EQ(CL::sn_GetDefaultANSICodePage(n_Locale), n_CodePage) << n_Locale;
        EXPECT_EQ(CL::sn_GetDefaultCharsetLocale(CL::sn_GetDefaultCharset(n_Locale)), n_Locale)
            << n_Locale;
    }
    EXPECT_EQ(CL::sn_GetDefaultCPLocale(1252), 1033u);
    EXPECT_EQ(CL::sn_GetDefaultCharsetLocale(204), 1049u);
    EXPECT_EQ(CL::sn_GetDefaultCPLocale(437), CL::sn_GetSystemDefaultLangID());
    EXPECT_EQ(CL::sn_GetDefaultCharsetLocale(2), CL::sn_GetSystemDefaultLangID());
}

TEST(LocaleInfo, RightToLeft)
{
    const struct
    {
        unsigned n_Locale;
        int b_RTL;
    } aso_Cases[] = {
        {0x0401, 1}, {0x040D, 1}, {0x0429, 1}, {0x0459, 1}, {0x0420, 1}, {0x0820, 0},
        {0x0460, 1}, {0x0860, 0}, {0x0C60, 1}, {0x0409, 0}, {0x041E, 0},
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CL::sb_IsLocaleRTL(so.n_Locale), so.b_RTL) << std::hex << so.n_Locale;
}

TEST(LocaleInfo, CollectedValues)
{
    const struct
    {
        unsigned n_Type;
        char16_t u_Separator;
        const char16_t* qcuz_Values;
    } aso_Cases[] = {
        {0x0021, u';', u"2;1;0"}, // the date orders, in the order first met
        {0x0021, 0, u"210"},
        {0x0011, u';', u"2"}, // the same number of digits everywhere: once
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Values(u"old", 3);
        CL::sv_CollectValues(T(so.n_Type), so.u_Separator, &co_Values);
        EXPECT_EQ(std::u16string(co_Values.qcuz_Get()), so.qcuz_Values) << so.n_Type;
    }
    CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
    CT_UString co_Values(u"old", 3);
    CL::sv_CollectValues(T(0x0021), u';', &co_Values);
    EXPECT_EQ(co_Values.vn_GetLength(), 0u); // nothing before the NT family
    CT_OS::sv_Init();
}

// First queries from several threads at once, on both platform paths: the code-page cache and
// the enumerated locale sets stay whole.
TEST(LocaleInfo, SharedStateUnderThreads)
{
    for (int b_BeforeNT : {0, 1})
    {
        if (b_BeforeNT)
            CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
        std::vector<std::thread> co_Threads;
        std::vector<unsigned> co_Sums(4);
        for (unsigned t = 0; t < co_Sums.size(); ++t)
            co_Threads.emplace_back(
                [&, t]
                {
                    for (unsigned n = 0x0400 + t * 7; n < 0x1C00; n += 3)
                        co_Sums[t] += CL::sn_GetDefaultANSICodePage(n) +
                                      CL::sb_LocaleIsInstalled(n) + CL::sb_LocaleIsSupported(n);
                });
        for (std::thread& co : co_Threads)
            co.join();
        for (unsigned t = 0; t < co_Sums.size(); ++t)
        {
            unsigned n_Sum = 0;
            for (unsigned n = 0x0400 + t * 7; n < 0x1C00; n += 3)
                n_Sum += CL::sn_GetDefaultANSICodePage(n) + CL::sb_LocaleIsInstalled(n) +
                         CL::sb_LocaleIsSupported(n);
            EXPECT_EQ(co_Sums[t], n_Sum) << t << " " << b_BeforeNT;
        }
    }
    CT_OS::sv_Init();
}
} // namespace
