// The settings store against the registry of a private current user.
#include "ComTestSupport.h"
#include "SettingsRegistry.h"
#include "TaggerSettings.h"

#include <string>

namespace
{
std::string co_Text(const CT_CString& co)
{
    return std::string(co.qccz_Get(), co.n_GetLength());
}

class SettingsStore : public testing::Test
{
protected:
    SettingsStore()
    {
        ao_Reporting[0].v_SetVariant(0);
        ao_Reporting[1].v_SetVariant(1);
    }

    static DWORD n_Type(const char* qccz_Key, const char* qccz_Name)
    {
        return n_RegType(HKEY_CURRENT_USER, qccz_Key, qccz_Name);
    }

    CT_PrivateRootKey co_UserKey;
    CT_FlagKeeper co_Flags;
    CT_ReportingSettings ao_Reporting[2];
};

const char qccz_PathsF[] = "Software\\Corvane\\KetragenF\\PATHS\\";
const char qccz_OptionsF[] = "Software\\Corvane\\KetragenF\\OPTIONS\\";

TEST_F(SettingsStore, KeyPathFollowsToolAndVariant)
{
    struct
    {
        int i_Tool, i_Variant;
        const char* qccz_Key;
    } aso_Cases[] = {
        {0, 0, "Software\\Corvane\\KetragenF\\"},
        {0, 1, "Software\\Corvane\\KetragenI\\"},
        {1, 0, "Software\\Corvane\\Ketra Verifier F\\"},
        {1, 1, "Software\\Corvane\\Ketra Verifier I\\"},
        {2, 0, "Software\\Corvane\\"},
        {0, 2, "Software\\Corvane\\"},
    };
    for (const auto& so : aso_Cases)
    {
        CT_TaggerSettings co_Store(so.i_Tool, so.i_Variant);
        EXPECT_EQ(so.qccz_Key, co_Text(co_Store.co_GetKey())) << so.i_Tool << "," << so.i_Variant;
        co_Store.v_Reset();
        EXPECT_EQ(so.qccz_Key, co_Text(co_Store.co_GetKey()));
    }
}

TEST_F(SettingsStore, FreshUserLoadsTheDefaults)
{
    for (int i_Variant : {0, 1})
    {
        CT_TaggerSettings co_Store(0, i_Variant);
        const CT_PathsSettings* pco_Paths = co_Store.pco_GetPaths();
        const CT_OptionsSettings* pco_Options = co_Store.pco_GetOptions();
        EXPECT_EQ("", co_Text(pco_Paths->co_SourceFolder)) << "nothing before loading";
        EXPECT_EQ(0u, pco_Options->n_FileFormatForKxf);
        co_Store.v_Load();

        EXPECT_EQ(1u, pco_Paths->n_BetweenSessions);
        EXPECT_EQ(1u, pco_Paths->n_DuringSession);
        EXPECT_EQ("C:\\", co_Text(pco_Paths->co_SourceFolder));
        EXPECT_EQ("C:\\", co_Text(pco_Paths->co_TranslatedFolder));
        EXPECT_EQ("C:\\", co_Text(pco_Paths->co_OriginalFolder));
        EXPECT_EQ(1u, pco_Options->n_FileFormatForKxf);
        EXPECT_EQ(0u, pco_Options->n_RtfPageSize + pco_Options->n_OverwriteFiles +
                          pco_Options->n_MarkerPlaceholders + pco_Options->n_SmartQuotes +
                          pco_Options->n_TranslationHyphenation);
        EXPECT_EQ(1000u, pco_Options->n_SourceLanguageSelection);
        EXPECT_EQ(1000u, pco_Options->n_TargetLanguageSelection);
        EXPECT_EQ("English (US)", co_Text(pco_Options->co_SourceLanguage));
        EXPECT_EQ("English (US)", co_Text(pco_Options->co_TargetLanguage));
        EXPECT_EQ(i_Variant == 0 ? "220" : "200", co_Text(pco_Options->co_SourceMarkerLength));
        EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane")) << "loading writes nothing";
    }
}

TEST_F(SettingsStore, TablesStartAtTheirDefaults)
{
    // Labels are kept byte for byte, including the doubled blank of entry 21 of F.
    const CT_ReportingSettings& co_F = ao_Reporting[0];
    const CT_ReportingSettings& co_I = ao_Reporting[1];
    ASSERT_EQ(45u, co_F.n_GetCount());
    ASSERT_EQ(47u, co_I.n_GetCount());
    EXPECT_STREQ("<:i> and  <:/i> italics", co_F.qccz_GetLabel(21));
    EXPECT_STREQ("<:bb \"xxx\"> building block", co_F.qccz_GetLabel(1));
    EXPECT_STREQ("<ss> sort string", co_F.qccz_GetLabel(44));
    EXPECT_STREQ("<:r1>-<:r16384> Interleaf reserved characters", co_I.qccz_GetLabel(25));
    EXPECT_STREQ("<:t_> tab (leader character Underscore)", co_I.qccz_GetLabel(34));
    EXPECT_STREQ("<ss> sort string", co_I.qccz_GetLabel(46));
    EXPECT_EQ(27, co_F.i_GetMember(21));
    EXPECT_EQ(46, co_I.i_GetMember(29));

    std::vector<unsigned> an_Suppressed[2];
    for (int i_Variant : {0, 1})
        for (unsigned n = 0; n < ao_Reporting[i_Variant].n_GetCount(); ++n)
            if (ao_Reporting[i_Variant].n_GetFlag(n))
                an_Suppressed[i_Variant].push_back(n);
    EXPECT_EQ((std::vector<unsigned>{0, 2, 3, 21, 31}), an_Suppressed[0]);
    EXPECT_EQ((std::vector<unsigned>{2, 4, 5, 19, 28}), an_Suppressed[1]);
}

TEST_F(SettingsStore, ReportingIndexesBeyondTheTableAreHarmless)
{
    CT_ReportingSettings& co_F = ao_Reporting[0];
    EXPECT_EQ(0u, co_F.n_GetFlag(45));
    EXPECT_EQ(nullptr, co_F.qccz_GetLabel(45));
    EXPECT_EQ(0, co_F.i_GetMember(45));
    unsigned n_IFlag = ao_Reporting[1].n_GetFlag(46);
    co_F.v_SetFlag(46, 7);
    co_F.v_SetFlag(45, 7);
    EXPECT_EQ(n_IFlag, ao_Reporting[1].n_GetFlag(46));
    EXPECT_EQ(0u, co_F.n_GetFlag(46));
    co_F.v_SetVariant(3);
    EXPECT_EQ(47u, co_F.n_GetCount()) << "any variant but 0 is I";
}

TEST_F(SettingsStore, FirstSaveCreatesTheWholeTree)
{
    CT_TaggerSettings co_F(0, 0);
    co_F.pco_GetPaths()->n_BetweenSessions = 1;
    co_F.v_Save();
    EXPECT_EQ(REG_DWORD, n_Type(qccz_PathsF, "DURING_SESSION"));
    EXPECT_EQ(REG_SZ, n_Type(qccz_PathsF, "SOURCE_FILES"));
    EXPECT_EQ(REG_SZ, n_Type(qccz_PathsF, "ORG_FILES"));
    EXPECT_EQ(REG_SZ, n_Type(qccz_PathsF, "TRANSLATED_FILES"));
    for (const char* qccz :
         {"RTF_PAGE_SIZE", "FILE_FORMAT_FOR_KXF", "OVERWRITE_FILES", "MARKER_PLACEHOLDERS",
          "TRANSLATION_HYPHENATION", "SMART_QUOTES", "SOURCE_HYPHENATION", "CHARACTER_SET_TEXT",
          "SOURCE_LANGUAGE_SELECTION", "TARGET_LANGUAGE_SELECTION"})
        EXPECT_EQ(REG_DWORD, n_Type(qccz_OptionsF, qccz)) << qccz;
    for (const char* qccz : {"SOURCE_MARKER_LENGTH", "SOURCE_LANGUAGE", "TARGET_LANGUAGE"})
        EXPECT_EQ(REG_SZ, n_Type(qccz_OptionsF, qccz)) << qccz;
    EXPECT_EQ(REG_NONE, n_Type(qccz_OptionsF, "READ_ONLY_COMPONENTS")) << "I only";
    for (unsigned n = 0; n < 45; ++n)
        EXPECT_EQ(REG_DWORD, n_Type("Software\\Corvane\\KetragenF\\REPORTING",
                                    ao_Reporting[0].qccz_GetLabel(n)));

    CT_TaggerSettings co_I(0, 1);
    co_I.v_Save();
    const char* qccz_OptionsI = "Software\\Corvane\\KetragenI\\OPTIONS";
    EXPECT_EQ(REG_DWORD, n_Type(qccz_OptionsI, "READ_ONLY_COMPONENTS"));
    EXPECT_EQ(REG_NONE, n_Type(qccz_OptionsI, "SOURCE_HYPHENATION")) << "F only";
    EXPECT_EQ(REG_NONE, n_Type(qccz_OptionsI, "CHARACTER_SET_TEXT")) << "F only";
}

TEST_F(SettingsStore, SavedValuesLoadBack)
{
    CT_TaggerSettings co_Saved(1, 1);
    CT_PathsSettings* pco_Paths = co_Saved.pco_GetPaths();
    pco_Paths->n_BetweenSessions = 7;
    pco_Paths->co_SourceFolder.v_Set("D:\\src", CT_String::sn_All, 0);
    pco_Paths->co_OriginalFolder.v_Set("D:\\org", CT_String::sn_All, 0);
    pco_Paths->co_TranslatedFolder.v_Set("D:\\out", CT_String::sn_All, 0);
    CT_OptionsSettings* pco_Options = co_Saved.pco_GetOptions();
    pco_Options->n_ReadOnlyComponents = 3;
    pco_Options->n_TargetLanguageSelection = 1031;
    pco_Options->co_TargetLanguage.v_Set("German", CT_String::sn_All, 0);
    co_Saved.pco_GetReporting()->v_SetFlag(46, 1);
    co_Saved.v_Save();
    co_Saved.pco_GetReporting()->v_SetFlag(46, 0);

    CT_TaggerSettings co_Loaded(1, 1);
    co_Loaded.v_Load();
    EXPECT_EQ(7u, co_Loaded.pco_GetPaths()->n_BetweenSessions);
    EXPECT_EQ("D:\\src", co_Text(co_Loaded.pco_GetPaths()->co_SourceFolder));
    EXPECT_EQ("D:\\org", co_Text(co_Loaded.pco_GetPaths()->co_OriginalFolder));
    EXPECT_EQ("D:\\out", co_Text(co_Loaded.pco_GetPaths()->co_TranslatedFolder));
    EXPECT_EQ(3u, co_Loaded.pco_GetOptions()->n_ReadOnlyComponents);
    EXPECT_EQ(1031u, co_Loaded.pco_GetOptions()->n_TargetLanguageSelection);
    EXPECT_EQ("German", co_Text(co_Loaded.pco_GetOptions()->co_TargetLanguage));
    EXPECT_EQ(1u, co_Loaded.pco_GetReporting()->n_GetFlag(46));
    EXPECT_TRUE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane\\Ketra Verifier I\\PATHS"));
}

TEST_F(SettingsStore, FoldersAreSkippedWhenNotRememberedBetweenSessions)
{
    v_RegSetNumber(HKEY_CURRENT_USER, qccz_PathsF, "BETWEEN_SESSIONS", 0);
    v_RegSet(HKEY_CURRENT_USER, qccz_PathsF, "SOURCE_FILES", REG_SZ, "E:\\kept", 8);
    CT_TaggerSettings co_Store(0, 0);
    co_Store.pco_GetPaths()->co_SourceFolder.v_Set("mine", CT_String::sn_All, 0);
    co_Store.v_Load();
    EXPECT_EQ(0u, co_Store.pco_GetPaths()->n_BetweenSessions);
    EXPECT_EQ("mine", co_Text(co_Store.pco_GetPaths()->co_SourceFolder));

    co_Store.v_Save();
    EXPECT_EQ(REG_NONE, n_Type(qccz_PathsF, "ORG_FILES"));
    CT_CString co_Stored;
    CT_SettingsRegistry::sv_ReadText(qccz_PathsF, "SOURCE_FILES", "", &co_Stored);
    EXPECT_EQ("E:\\kept", co_Text(co_Stored));
}

TEST_F(SettingsStore, ValuesOfAnotherTypeLeaveTheDefault)
{
    const char* qccz_Reporting = "Software\\Corvane\\KetragenF\\REPORTING\\";
    const char* qccz_Label = ao_Reporting[0].qccz_GetLabel(0);
    v_RegSet(HKEY_CURRENT_USER, qccz_Reporting, qccz_Label, REG_SZ, "0", 2);
    v_RegSet(HKEY_CURRENT_USER, qccz_PathsF, "DURING_SESSION", REG_SZ, "0", 2);
    v_RegSetNumber(HKEY_CURRENT_USER, qccz_OptionsF, "SOURCE_LANGUAGE", 5);
    v_RegSet(HKEY_CURRENT_USER, qccz_OptionsF, "TARGET_LANGUAGE", REG_EXPAND_SZ, "x", 2);
    unsigned n_Flag = ao_Reporting[0].n_GetFlag(0);

    CT_TaggerSettings co_Store(0, 0);
    co_Store.v_Load();
    EXPECT_EQ(n_Flag, co_Store.pco_GetReporting()->n_GetFlag(0));
    EXPECT_EQ(1u, co_Store.pco_GetPaths()->n_DuringSession);
    EXPECT_EQ("English (US)", co_Text(co_Store.pco_GetOptions()->co_SourceLanguage));
    EXPECT_EQ("English (US)", co_Text(co_Store.pco_GetOptions()->co_TargetLanguage));
}

TEST_F(SettingsStore, TextsReachingTheLimitAreNotWritten)
{
    const char* qccz_Key = "Software\\Corvane\\Texts";
    CT_CString co_Short(std::string(259, 's').c_str(), CT_String::sn_All, 0);
    CT_CString co_Long(std::string(260, 'l').c_str(), CT_String::sn_All, 0);
    CT_SettingsRegistry::sv_WriteText(qccz_Key, "Value", &co_Short);
    CT_SettingsRegistry::sv_WriteText(qccz_Key, "Value", &co_Long);
    CT_CString co_Read;
    CT_SettingsRegistry::sv_ReadText(qccz_Key, "Value", "", &co_Read);
    EXPECT_EQ(std::string(259, 's'), co_Text(co_Read)) << "the old value stays";
}

TEST_F(SettingsStore, TextsWithoutTerminatorReadWhole)
{
    const char* qccz_Key = "Software\\Corvane\\Texts";
    v_RegSet(HKEY_CURRENT_USER, qccz_Key, "Bare", REG_SZ, "abc", 3);
    CT_CString co_Read;
    CT_SettingsRegistry::sv_ReadText(qccz_Key, "Bare", "default", &co_Read);
    EXPECT_EQ("abc", co_Text(co_Read));
    CT_SettingsRegistry::sv_ReadText(qccz_Key, "Missing", "default", &co_Read);
    EXPECT_EQ("default", co_Text(co_Read));
    CT_SettingsRegistry::sv_ReadText("Software\\Corvane\\None", "Bare", "none", &co_Read);
    EXPECT_EQ("none", co_Text(co_Read));
    EXPECT_EQ(9u, CT_SettingsRegistry::sn_ReadNumber("Software\\Corvane\\None", "N", 9));
}
} // namespace
