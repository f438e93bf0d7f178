#include "TaggerSettings.h"

#include "SettingsRegistry.h"
#include "TagTables.h"

namespace
{
const char qccz_Root[] = "Software\\Corvane\\";

// The store's key followed by a section's subkey.
class CT_SectionKey
{
public:
    CT_SectionKey(const CT_CString& co_Key, const char* qccz_Section) : co_Path(&co_Key)
    {
        co_Path.v_Append(qccz_Section, CT_String::sn_All);
    }

    unsigned n_Read(const char* qccz_Name, unsigned n_Default) const
    {
        return CT_SettingsRegistry::sn_ReadNumber(co_Path.qccz_Get(), qccz_Name, n_Default);
    }
    void v_Read(const char* qccz_Name, const char* qccz_Default, CT_CString* pco_Text) const
    {
        CT_SettingsRegistry::sv_ReadText(co_Path.qccz_Get(), qccz_Name, qccz_Default, pco_Text);
    }
    void v_Write(const char* qccz_Name, unsigned n_Value) const
    {
        CT_SettingsRegistry::sv_WriteNumber(co_Path.qccz_Get(), qccz_Name, n_Value);
    }
    void v_Write(const char* qccz_Name, const CT_CString& co_Text) const
    {
        CT_SettingsRegistry::sv_WriteText(co_Path.qccz_Get(), qccz_Name, &co_Text);
    }

private:
    CT_CString co_Path;
};

const char* qccz_ToolKey(int i_Tool, int i_Variant)
{
    static const char* const aqccz_Keys[2][2] = {{"KetragenF\\", "KetragenI\\"},
                                                 {"Ketra Verifier F\\", "Ketra Verifier I\\"}};
    if (i_Tool < 0 || i_Tool > 1 || i_Variant < 0 || i_Variant > 1)
        return "";
    return aqccz_Keys[i_Tool][i_Variant];
}
} // namespace

// PATHS

void CT_PathsSettings::v_Reset()
{
    co_SourceFolder.v_Set("", 0, 0);
    co_TranslatedFolder.v_Set("", 0, 0);
    co_OriginalFolder.v_Set("", 0, 0);
    n_BetweenSessions = 0;
    n_DuringSession = 0;
}

void CT_PathsSettings::v_Load(const CT_CString& co_Key)
{
    CT_SectionKey co_Section(co_Key, "PATHS\\");
    n_BetweenSessions = co_Section.n_Read("BETWEEN_SESSIONS", 1);
    n_DuringSession = co_Section.n_Read("DURING_SESSION", 1);
    if (n_BetweenSessions == 0)
        return;
    co_Section.v_Read("SOURCE_FILES", "C:\\", &co_SourceFolder);
    co_Section.v_Read("ORG_FILES", "C:\\", &co_OriginalFolder);
    co_Section.v_Read("TRANSLATED_FILES", "C:\\", &co_TranslatedFolder);
}

void CT_PathsSettings::v_Save(const CT_CString& co_Key) const
{
    CT_SectionKey co_Section(co_Key, "PATHS\\");
    co_Section.v_Write("BETWEEN_SESSIONS", n_BetweenSessions);
    co_Section.v_Write("DURING_SESSION", n_DuringSession);
    if (n_BetweenSessions == 0)
        return;
    co_Section.v_Write("SOURCE_FILES", co_SourceFolder);
    co_Section.v_Write("ORG_FILES", co_OriginalFolder);
    co_Section.v_Write("TRANSLATED_FILES", co_TranslatedFolder);
}

// OPTIONS

void CT_OptionsSettings::v_Reset()
{
    *this = CT_OptionsSettings(i_Variant);
}

void CT_OptionsSettings::v_Load(const CT_CString& co_Key)
{
    CT_SectionKey co_Section(co_Key, "OPTIONS\\");
    n_RtfPageSize = co_Section.n_Read("RTF_PAGE_SIZE", 0);
    n_FileFormatForKxf = co_Section.n_Read("FILE_FORMAT_FOR_KXF", 1);
    n_OverwriteFiles = co_Section.n_Read("OVERWRITE_FILES", 0);
    n_MarkerPlaceholders = co_Section.n_Read("MARKER_PLACEHOLDERS", 0);
    n_TranslationHyphenation = co_Section.n_Read("TRANSLATION_HYPHENATION", 0);
    n_SmartQuotes = co_Section.n_Read("SMART_QUOTES", 0);
    co_Section.v_Read("SOURCE_LANGUAGE", "English (US)", &co_SourceLanguage);
    co_Section.v_Read("TARGET_LANGUAGE", "English (US)", &co_TargetLanguage);
    if (i_Variant == 0)
    {
        n_SourceHyphenation = co_Section.n_Read("SOURCE_HYPHENATION", 0);
        n_CharacterSetText = co_Section.n_Read("CHARACTER_SET_TEXT", 0);
        co_Section.v_Read("SOURCE_MARKER_LENGTH", "220", &co_SourceMarkerLength);
    }
    else
    {
        n_ReadOnlyComponents = co_Section.n_Read("READ_ONLY_COMPONENTS", 0);
        co_Section.v_Read("SOURCE_MARKER_LENGTH", "200", &co_SourceMarkerLength);
    }
    n_SourceLanguageSelection = co_Section.n_Read("SOURCE_LANGUAGE_SELECTION", 1000);
    n_TargetLanguageSelection = co_Section.n_Read("TARGET_LANGUAGE_SELECTION", 1000);
}

void CT_OptionsSettings::v_Save(const CT_CString& co_Key) const
{
    CT_SectionKey co_Section(co_Key, "OPTIONS\\");
    co_Section.v_Write("RTF_PAGE_SIZE", n_RtfPageSize);
    co_Section.v_Write("FILE_FORMAT_FOR_KXF", n_FileFormatForKxf);
    co_Section.v_Write("OVERWRITE_FILES", n_OverwriteFiles);
    co_Section.v_Write("MARKER_PLACEHOLDERS", n_MarkerPlaceholders);
    co_Section.v_Write("TRANSLATION_HYPHENATION", n_TranslationHyphenation);
    co_Section.v_Write("SMART_QUOTES", n_SmartQuotes);
    co_Section.v_Write("SOURCE_MARKER_LENGTH", co_SourceMarkerLength);
    co_Section.v_Write("SOURCE_LANGUAGE", co_SourceLanguage);
    co_Section.v_Write("TARGET_LANGUAGE", co_TargetLanguage);
    if (i_Variant == 0)
    {
        co_Section.v_Write("SOURCE_HYPHENATION", n_SourceHyphenation);
        co_Section.v_Write("CHARACTER_SET_TEXT", n_CharacterSetText);
    }
    else
        co_Section.v_Write("READ_ONLY_COMPONENTS", n_ReadOnlyComponents);
    co_Section.v_Write("SOURCE_LANGUAGE_SELECTION", n_SourceLanguageSelection);
    co_Section.v_Write("TARGET_LANGUAGE_SELECTION", n_TargetLanguageSelection);
}

// REPORTING

void CT_ReportingSettings::v_SetVariant(int i_NewVariant)
{
    i_Variant = i_NewVariant;
    n_Count = CT_TagTables::sn_GetCount(i_Variant);
}

unsigned CT_ReportingSettings::n_GetFlag(unsigned n_Index) const
{
    return n_Index < n_Count ? CT_TagTables::pso_GetTable(i_Variant)[n_Index].n_Flag : 0;
}

void CT_ReportingSettings::v_SetFlag(unsigned n_Index, unsigned n_Flag)
{
    if (n_Index < n_Count)
        CT_TagTables::pso_GetTable(i_Variant)[n_Index].n_Flag = n_Flag;
}

const char* CT_ReportingSettings::qccz_GetLabel(unsigned n_Index) const
{
    return n_Index < n_Count ? CT_TagTables::pso_GetTable(i_Variant)[n_Index].qccz_Label : nullptr;
}

long CT_ReportingSettings::i_GetMember(unsigned n_Index) const
{
    return n_Index < n_Count ? CT_TagTables::pso_GetTable(i_Variant)[n_Index].i_Member : 0;
}

void CT_ReportingSettings::v_Load(const CT_CString& co_Key)
{
    CT_SectionKey co_Section(co_Key, "REPORTING\\");
    st_TagEntry* pso_Table = CT_TagTables::pso_GetTable(i_Variant);
    for (unsigned n_Index = 0; n_Index < n_Count; ++n_Index)
        pso_Table[n_Index].n_Flag =
            co_Section.n_Read(pso_Table[n_Index].qccz_Label, pso_Table[n_Index].n_Flag);
}

void CT_ReportingSettings::v_Save(const CT_CString& co_Key) const
{
    CT_SectionKey co_Section(co_Key, "REPORTING\\");
    const st_TagEntry* pcso_Table = CT_TagTables::pso_GetTable(i_Variant);
    for (unsigned n_Index = 0; n_Index < n_Count; ++n_Index)
        co_Section.v_Write(pcso_Table[n_Index].qccz_Label, pcso_Table[n_Index].n_Flag);
}

// The store

CT_TaggerSettings::CT_TaggerSettings(int i_Tool, int i_Variant)
    : i_Tool(i_Tool), i_Variant(i_Variant), co_Options(i_Variant)
{
    co_Paths.v_Reset();
    co_Reporting.v_SetVariant(i_Variant);
    v_BuildKey();
}

void CT_TaggerSettings::v_BuildKey()
{
    co_Key.v_Set(qccz_Root, CT_String::sn_All, 0);
    co_Key.v_Append(qccz_ToolKey(i_Tool, i_Variant), CT_String::sn_All);
}

void CT_TaggerSettings::v_Load()
{
    co_Paths.v_Load(co_Key);
    co_Options.v_Load(co_Key);
    co_Reporting.v_Load(co_Key);
}

void CT_TaggerSettings::v_Save() const
{
    co_Paths.v_Save(co_Key);
    co_Options.v_Save(co_Key);
    co_Reporting.v_Save(co_Key);
}

void CT_TaggerSettings::v_Reset()
{
    co_Paths.v_Reset();
    co_Options.v_Reset();
    co_Reporting.v_SetVariant(i_Variant);
    v_BuildKey();
}
