#include "Basis/Platform/Version.h"
#include "Basis/Runtime/AppVersion.h"
#include "Basis/Runtime/LoadString.h"
#include "Basis/Runtime/OS.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include "EnvironmentStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#if !defined(_WIN32)
#include "Basis/Platform/Resource.h"
#endif

namespace
{
// ---- CT_OS ---------------------------------------------------------------------------------

// The nine platform flags as bits, in this order.
int (*const sapfn_Flags[])() = {
    CT_OS::sb_GetIsWindowsXP, CT_OS::sb_GetIsWindows2K,     CT_OS::sb_GetIsWindowsNT,
    CT_OS::sb_GetIsWindowsMe, CT_OS::sb_GetIsWindowsCE,     CT_OS::sb_GetIsWindows98,
    CT_OS::sb_GetIsWindows95, CT_OS::sb_GetIsWindows95OSR2, CT_OS::sb_GetIsWindows32s};
constexpr unsigned sn_FlagXP = 1, sn_Flag2K = 2, sn_FlagNT = 4, sn_FlagCE = 16, sn_Flag98 = 32,
                   sn_Flag95 = 64, sn_Flag32s = 256;

unsigned n_Flags()
{
    unsigned n = 0;
    for (unsigned i = 0; i < std::size(sapfn_Flags); ++i)
        n |= sapfn_Flags[i]() ? 1u << i : 0;
    return n;
}

st_OsVersion so_Answer(unsigned n_PlatformId, unsigned n_Major, unsigned n_Minor, unsigned n_Build,
                       const char* qccz_ServicePack = "")
{
    st_OsVersion so = {n_PlatformId, n_Major, n_Minor, n_Build, {}};
    std::strncpy(so.ac_ServicePack, qccz_ServicePack, sizeof so.ac_ServicePack - 1);
    return so;
}

// Each test that changes the platform code gives the real answer back.
class OS : public testing::Test
{
protected:
    void TearDown() override { CT_OS::sv_Init(); }
};

TEST_F(OS, MapsEveryPlatformByItsRules)
{
    constexpr unsigned sn_NT = CT_PlatformVersion::sn_PlatformNT;
    constexpr unsigned sn_9x = CT_PlatformVersion::sn_PlatformWindows;
    struct
    {
        unsigned n_PlatformId, n_Major, n_Minor, n_Build;
        CT_OS::et_OS eo_Version;
        unsigned n_Flags, n_Build16;
    } const aso_Cases[] = {
        // In this order a flag left over from the case before shows.
        {sn_NT, 5, 1, 2600, CT_OS::eo_WindowsXP, sn_FlagNT | sn_FlagXP, 2600},
        {sn_NT, 6, 1, 7601, CT_OS::eo_WindowsNT, sn_FlagNT, 7601},
        {sn_NT, 5, 0, 2195, CT_OS::eo_Windows2K, sn_FlagNT | sn_Flag2K, 2195},
        {sn_NT, 10, 0, 19045, CT_OS::eo_WindowsNT, sn_FlagNT, 19045},
        {sn_NT, 5, 2, 3790, CT_OS::eo_WindowsXP, sn_FlagNT | sn_FlagXP, 3790},
        {sn_NT, 4, 0, 1381, CT_OS::eo_WindowsNT, sn_FlagNT, 1381},
        // The 9x family puts the version in the build number's high word; Me is 98 here.
        {sn_9x, 4, 0, 0x040003B6, CT_OS::eo_Windows95, sn_Flag95, 0x03B6},
        {sn_9x, 4, 10, 0x040A0A22, CT_OS::eo_Windows98, sn_Flag95 | sn_Flag98, 0x0A22},
        {sn_9x, 4, 90, 0x045A0BB8, CT_OS::eo_Windows98, sn_Flag95 | sn_Flag98, 0x0BB8},
        {CT_PlatformVersion::sn_PlatformCE, 4, 20, 0x12345, CT_OS::eo_WindowsCE, sn_FlagCE, 0x2345},
        {CT_PlatformVersion::sn_PlatformWin32s, 1, 30, 0x1ABCD, CT_OS::eo_Win32s, sn_Flag32s,
         0xABCD},
        // Unknown identifiers are NT systems, whatever their numbers, build kept whole.
        {7, 5, 0, 0x12345, CT_OS::eo_WindowsNT, sn_FlagNT, 0x12345},
        {CT_PlatformVersion::sn_PlatformPosix, 5, 1, 0x12345, CT_OS::eo_WindowsNT, sn_FlagNT,
         0x12345},
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(testing::Message() << "platform " << so.n_PlatformId << ", version "
                                        << so.n_Major << "." << so.n_Minor);
        const st_OsVersion so_Version =
            so_Answer(so.n_PlatformId, so.n_Major, so.n_Minor, so.n_Build);
        CT_OS::sv_Init(&so_Version);
        EXPECT_EQ(CT_OS::seo_GetVersion(), so.eo_Version);
        EXPECT_EQ(n_Flags(), so.n_Flags);
        EXPECT_EQ(CT_OS::sn_GetOsVersionMajor(), so.n_Major);
        EXPECT_EQ(CT_OS::sn_GetOsVersionMinor(), so.n_Minor);
        EXPECT_EQ(CT_OS::sn_GetOsVersionBuild(), so.n_Build16);
    }
}

TEST_F(OS, KeepsTheServicePackTextTerminated)
{
    st_OsVersion so = so_Answer(CT_PlatformVersion::sn_PlatformNT, 5, 1, 2600, "Service Pack 3");
    CT_OS::sv_Init(&so);
    EXPECT_STREQ(CT_OS::sqccz_GetOsVersionString(), "Service Pack 3");

    // A full, unterminated text keeps its first 127 characters.
    std::memset(so.ac_ServicePack, 'x', sizeof so.ac_ServicePack);
    CT_OS::sv_Init(&so);
    EXPECT_EQ(std::string(CT_OS::sqccz_GetOsVersionString()), std::string(127, 'x'));
}

TEST_F(OS, TheSystemIsAnNTFamilySystem)
{
    CT_OS::sv_ForceVersion(CT_OS::eo_Windows95);
    CT_OS::sv_Init();
    EXPECT_GE(CT_OS::seo_GetVersion(), CT_OS::eo_WindowsNT);
    EXPECT_TRUE(CT_OS::sb_GetIsWindowsNT());
    EXPECT_FALSE(CT_OS::sb_GetIsWindows95() || CT_OS::sb_GetIsWindows98() ||
                 CT_OS::sb_GetIsWindowsCE() || CT_OS::sb_GetIsWindows32s());
#if defined(_WIN32)
    EXPECT_GE(CT_OS::sn_GetOsVersionMajor(), 5u);
#else
    // The kernel's numbers never make this a Windows 2000 or XP.
    EXPECT_EQ(CT_OS::seo_GetVersion(), CT_OS::eo_WindowsNT);
    EXPECT_EQ(n_Flags(), sn_FlagNT);
    EXPECT_GT(CT_OS::sn_GetOsVersionMajor(), 0u);
    EXPECT_STREQ(CT_OS::sqccz_GetOsVersionString(), "");
#endif
}

// ---- CT_LoadString ---------------------------------------------------------------------------

#if !defined(_WIN32)
#define CT_NATIVE_STRING(id, text) {id, u"" text},
const st_ResourceString saso_Strings[] = {CT_TEST_STRINGS(CT_NATIVE_STRING)};
// The main module's table, as the test program's resources are on Windows.
[[maybe_unused]] const bool sb_Registered =
    (CT_PlatformResource::sv_Register(nullptr, saso_Strings, std::size(saso_Strings)), true);
#endif

std::u16string s_Text(const CT_UString& co)
{
    return std::u16string(co.qcuz_Get(), co.vn_GetLength());
}

std::string s_Text(const CT_CString& co)
{
    return std::string(co.qccz_Get(), co.vn_GetLength());
}

// A string of neither kind: it records every attempt to set it.
class CT_OtherString : public CT_String
{
public:
    int i_Sets = 0;

protected:
    void vv_Init(const char16_t*, unsigned) override { ++i_Sets; }
    void vv_Init(const char*, unsigned, unsigned) override { ++i_Sets; }
    void vv_Init(const CT_String*) override { ++i_Sets; }
    void vv_Init() override { ++i_Sets; }
};

// Every case runs on the 16-bit platform path and, forced, on the 8-bit one (under Wine
// against the real LoadStringA).
class LoadString : public testing::TestWithParam<CT_OS::et_OS>
{
protected:
    void SetUp() override { CT_OS::sv_ForceVersion(GetParam()); }
    void TearDown() override { CT_OS::sv_Init(); }

    static bool sb_EightBit() { return GetParam() < CT_OS::eo_WindowsNT; }

    // A buffer that shows which units were written: every unit starts as 0xAAAA.
    struct st_Buffer
    {
        char16_t au[32];
        st_Buffer() { std::fill(std::begin(au), std::end(au), char16_t{0xAAAA}); }
        std::u16string s_Text() const { return au; }
    };
};

INSTANTIATE_TEST_SUITE_P(Paths, LoadString,
                         testing::Values(CT_OS::eo_WindowsNT, CT_OS::eo_Windows98),
                         [](const testing::TestParamInfo<CT_OS::et_OS>& so)
                         { return so.param < CT_OS::eo_WindowsNT ? "EightBit" : "Wide"; });

TEST_P(LoadString, BufferIsCutToOneLessThanItsSize)
{
    st_Buffer so;
    CT_LoadString::sv_LoadString(so.au, 32, nullptr, CT_TEST_STRING_SHORT);
    EXPECT_EQ(so.s_Text(), u"Hello");
    EXPECT_EQ(so.au[6], 0xAAAA);

    CT_LoadString::sv_LoadString(so.au, 10, nullptr, CT_TEST_STRING_LONG);
    EXPECT_EQ(so.s_Text(), u"The quick");
    EXPECT_EQ(so.au[10], 0xAAAA);

    CT_LoadString::sv_LoadString(so.au, 1, nullptr, CT_TEST_STRING_LONG);
    EXPECT_EQ(so.au[0], 0);
    EXPECT_EQ(so.au[1], u'h');
}

TEST_P(LoadString, BufferOfSizeZeroIsNotTouched)
{
    st_Buffer so;
    CT_LoadString::sv_LoadString(so.au, 0, nullptr, CT_TEST_STRING_SHORT);
    CT_LoadString::sv_LoadString(so.au, 0, nullptr, CT_TEST_STRING_MISSING);
    CT_LoadString::sv_LoadStringVA(so.au, 0, nullptr, CT_TEST_STRING_FORMAT, 1, "x");
    EXPECT_EQ(so.au[0], 0xAAAA);
}

TEST_P(LoadString, MissingStringEmptiesTheBuffer)
{
    for (unsigned n_ID : {CT_TEST_STRING_MISSING, CT_TEST_STRING_MISSING_BLOCK})
    {
        st_Buffer so;
        CT_LoadString::sv_LoadString(so.au, 32, nullptr, n_ID);
        EXPECT_EQ(so.au[0], 0) << n_ID;
        so.au[0] = 0xAAAA;
        CT_LoadString::sv_LoadStringVA(so.au, 32, nullptr, n_ID, 1, "x");
        EXPECT_EQ(so.au[0], 0) << n_ID;
    }
}

// The 8-bit path goes through the ANSI code page (1252): U+4E2D has no byte there.
TEST_P(LoadString, TextOutsideTheAnsiCodePageSurvivesOnlyTheWidePath)
{
    st_Buffer so;
    CT_LoadString::sv_LoadString(so.au, 32, nullptr, CT_TEST_STRING_ACCENTS);
    EXPECT_EQ(so.s_Text(), sb_EightBit() ? u"Café ?" : u"Café 中");
}

TEST_P(LoadString, BufferFormatsWithTheArgumentsWithinItsSize)
{
    st_Buffer so;
    CT_LoadString::sv_LoadStringVA(so.au, 32, nullptr, CT_TEST_STRING_FORMAT, 3, "five");
    EXPECT_EQ(so.s_Text(), u"Item 3 of five");

    so = st_Buffer();
    CT_LoadString::sv_LoadStringVA(so.au, 8, nullptr, CT_TEST_STRING_FORMAT, 3, "five");
    EXPECT_EQ(so.s_Text(), u"Item 3 ");
    EXPECT_EQ(so.au[8], 0xAAAA);
}

TEST_P(LoadString, UStringTakesThePlatformPath)
{
    CT_UString co;
    CT_LoadString::sv_LoadString(&co, nullptr, CT_TEST_STRING_ACCENTS);
    EXPECT_EQ(s_Text(co), sb_EightBit() ? u"Café ?" : u"Café 中");

    CT_LoadString::sv_LoadStringVA(&co, nullptr, CT_TEST_STRING_FORMAT, 12, "many");
    EXPECT_EQ(s_Text(co), u"Item 12 of many");
}

// Whatever the platform, an 8-bit string gets the 8-bit text in the ANSI code page.
TEST_P(LoadString, CStringTakesTheEightBitPath)
{
    CT_CString co;
    CT_LoadString::sv_LoadString(&co, nullptr, CT_TEST_STRING_ACCENTS);
    EXPECT_EQ(s_Text(co), "Caf\xE9 ?");
    EXPECT_EQ(co.n_GetCodePage(), 0u);

    CT_LoadString::sv_LoadStringVA(&co, nullptr, CT_TEST_STRING_FORMAT, 12, "many");
    EXPECT_EQ(s_Text(co), "Item 12 of many");
}

// The ANSI bytes are converted into a string of another code page, not relabelled; format
// arguments are in the string's own code page.
TEST_P(LoadString, CStringOfAnotherCodePageReceivesItsOwnBytes)
{
    CT_CString co(65001);
    CT_LoadString::sv_LoadString(&co, nullptr, CT_TEST_STRING_ACCENTS);
    EXPECT_EQ(s_Text(co), "Caf\xC3\xA9 ?");
    EXPECT_EQ(co.n_GetCodePage(), 65001u);

    CT_LoadString::sv_LoadStringVA(&co, nullptr, CT_TEST_STRING_FORMAT, 1, "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(s_Text(co), "Item 1 of \xC3\xA9t\xC3\xA9");
}

TEST_P(LoadString, MissingStringEmptiesStrings)
{
    CT_UString co_Wide(u"not empty", CT_String::sn_All);
    CT_CString co_Narrow("not empty", CT_String::sn_All);
    for (unsigned n_ID : {CT_TEST_STRING_MISSING, CT_TEST_STRING_MISSING_BLOCK})
    {
        CT_LoadString::sv_LoadString(&co_Wide, nullptr, n_ID);
        CT_LoadString::sv_LoadString(&co_Narrow, nullptr, n_ID);
        EXPECT_EQ(s_Text(co_Wide), u"") << n_ID;
        EXPECT_EQ(s_Text(co_Narrow), "") << n_ID;

        co_Wide.v_Set(u"again", CT_String::sn_All);
        co_Narrow.v_Set("again", CT_String::sn_All, 0);
        CT_LoadString::sv_LoadStringVA(&co_Wide, nullptr, n_ID, 1, "x");
        CT_LoadString::sv_LoadStringVA(&co_Narrow, nullptr, n_ID, 1, "x");
        EXPECT_EQ(s_Text(co_Wide), u"") << n_ID;
        EXPECT_EQ(s_Text(co_Narrow), "") << n_ID;
    }
}

TEST_P(LoadString, StringOfNeitherKindIsLeftAlone)
{
    CT_OtherString co;
    CT_LoadString::sv_LoadString(&co, nullptr, CT_TEST_STRING_SHORT);
    CT_LoadString::sv_LoadString(&co, nullptr, CT_TEST_STRING_MISSING);
    CT_LoadString::sv_LoadStringVA(&co, nullptr, CT_TEST_STRING_FORMAT, 1, "x");
    EXPECT_EQ(co.i_Sets, 0);
}

#if !defined(_WIN32)
TEST(PlatformResource, ModulesKeepTheirOwnTables)
{
    static const st_ResourceString saso_Other[] = {{CT_TEST_STRING_SHORT, u"Other"}};
    static char c_Module;
    HINSTANCE h_Other = reinterpret_cast<HINSTANCE>(&c_Module);
    CT_PlatformResource::sv_Register(h_Other, saso_Other, 1);
    CT_PlatformResource::sv_Register(h_Other, saso_Other, 1);

    char16_t au[16];
    EXPECT_EQ(CT_PlatformResource::sn_LoadWide(h_Other, CT_TEST_STRING_SHORT, au, 16), 5u);
    EXPECT_EQ(std::u16string(au), u"Other");
    EXPECT_EQ(CT_PlatformResource::sn_LoadWide(nullptr, CT_TEST_STRING_SHORT, au, 16), 5u);
    EXPECT_EQ(std::u16string(au), u"Hello");
    EXPECT_EQ(CT_PlatformResource::sn_LoadWide(h_Other, CT_TEST_STRING_LONG, au, 16), 0u);
}
#endif

// ---- CT_AppVersion ---------------------------------------------------------------------------

TEST(AppVersion, StartsAsVersion5Point1)
{
    CT_AppVersion co;
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"5.1.0.0");
    EXPECT_EQ(s_Text(*co.pcco_GetProductEdition()), u"Edition 0 Build 0");
    EXPECT_EQ(co.n_GetMajorVersion(), 5u);
    EXPECT_EQ(co.n_GetMinorVersion(), 1u);
    EXPECT_FALSE(co.b_GetBeta());
    EXPECT_EQ(s_Text(*co.pcco_GetShortProductName()), u"");
    EXPECT_EQ(s_Text(*co.pcco_GetLongProductName()), u"");
}

TEST(AppVersion, EveryBetaLevelHasItsText)
{
    const char16_t* const aqcuz_Texts[] = {
        u"", u" Beta", u" Pre-Release", u" RC1", u" RC2", u" RC", u" Preview", u"", u""};
    CT_AppVersion co;
    for (unsigned n_Level = 0; n_Level < std::size(aqcuz_Texts); ++n_Level)
    {
        co.v_SetBetaLevel(n_Level);
        EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()),
                  u"5.1.0.0" + std::u16string(aqcuz_Texts[n_Level]))
            << "level " << n_Level;
    }
    co.v_SetBetaLevel(0xFFFFFFFF);
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"5.1.0.0");
}

TEST(AppVersion, AnyBetaFlagIsLevelOne)
{
    CT_AppVersion co;
    co.v_SetBeta(5);
    EXPECT_EQ(co.n_GetBetaLevel(), 1u);
    EXPECT_TRUE(co.b_GetBeta());
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"5.1.0.0 Beta");
    co.v_SetBeta(-1);
    EXPECT_EQ(co.n_GetBetaLevel(), 1u);
    co.v_SetBeta(0);
    EXPECT_EQ(co.n_GetBetaLevel(), 0u);
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"5.1.0.0");
}

// Both texts are rebuilt after any number changed, whichever is read first.
TEST(AppVersion, TextsFollowEveryNumber)
{
    CT_AppVersion co;
    co.pcco_GetProductVersion();
    co.v_SetEdition(3);
    co.v_SetMajorVersion(4000000000u);
    co.v_SetMinorVersion(12);
    co.v_SetMaintenance(7);
    co.v_SetBuild(1234);
    EXPECT_EQ(s_Text(*co.pcco_GetProductEdition()), u"Edition 3 Build 1234");
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"4000000000.12.7.1234");

    co.v_SetBuild(99);
    EXPECT_EQ(s_Text(*co.pcco_GetProductVersion()), u"4000000000.12.7.99");
    EXPECT_EQ(s_Text(*co.pcco_GetProductEdition()), u"Edition 3 Build 99");
}

TEST(AppVersion, AssignmentCopiesNumbersNamesAndTexts)
{
    CT_UString co_Short(u"Ketra", CT_String::sn_All);
    CT_UString co_Long(u"Ketra Verifier", CT_String::sn_All);
    CT_AppVersion co_Source;
    co_Source.v_SetShortProductName(&co_Short);
    co_Source.v_SetLongProductName(&co_Long);
    co_Source.v_SetBuild(8);
    co_Source.v_SetBetaLevel(3);
    co_Short.v_Set(u"changed", CT_String::sn_All);

    CT_AppVersion co_Copy;
    co_Copy = co_Source;
    co_Source.v_SetBuild(9);
    co_Source.v_SetLongProductName(&co_Short);
    EXPECT_EQ(s_Text(*co_Copy.pcco_GetShortProductName()), u"Ketra");
    EXPECT_EQ(s_Text(*co_Copy.pcco_GetLongProductName()), u"Ketra Verifier");
    EXPECT_EQ(s_Text(*co_Copy.pcco_GetProductVersion()), u"5.1.0.8 RC1");
    EXPECT_EQ(co_Copy.n_GetBetaLevel(), 3u);
    EXPECT_EQ(s_Text(*co_Source.pcco_GetProductVersion()), u"5.1.0.9 RC1");

    const CT_AppVersion co_Constructed(co_Copy);
    EXPECT_EQ(co_Constructed.n_GetBuild(), 8u);
}
} // namespace
