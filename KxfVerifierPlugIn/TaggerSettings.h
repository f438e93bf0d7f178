// CT_TaggerSettings: the settings store of one Ketragen tool and format variant, a key below
// HKEY_CURRENT_USER with the sections PATHS, OPTIONS and REPORTING. The store owns the values
// of the first two sections; the REPORTING flags live in the process-wide tag tables
// (TagTables.h), so loading any store of a variant changes what every user of that variant
// sees. Defaults apply when loading, for values missing from the registry; saving writes every
// value, so the first save creates the whole key tree.
//
// A store belongs to one user and one thread (the plug-in's apartment thread).
#pragma once

#include "Basis/Platform/Export.h"
#include "System/String/CString.h"

// The PATHS section: the tools' folders and whether they are remembered.
class CT_EXPORT CT_PathsSettings
{
public:
    void v_Reset();
    void v_Load(const CT_CString& co_Key);
    void v_Save(const CT_CString& co_Key) const;

    CT_CString co_SourceFolder;
    CT_CString co_TranslatedFolder;
    CT_CString co_OriginalFolder;
    unsigned n_BetweenSessions = 0; // 0: the folders are neither read nor written
    unsigned n_DuringSession = 0;
};

// The OPTIONS section: the tagger's conversion options. Some values belong to one variant only
// and are read and written only for it.
class CT_EXPORT CT_OptionsSettings
{
public:
    explicit CT_OptionsSettings(int i_Variant) : i_Variant(i_Variant) {}
    void v_Reset();
    void v_Load(const CT_CString& co_Key);
    void v_Save(const CT_CString& co_Key) const;

    unsigned n_RtfPageSize = 0;
    unsigned n_OverwriteFiles = 0;
    unsigned n_FileFormatForKxf = 0;
    unsigned n_MarkerPlaceholders = 0;
    unsigned n_SourceHyphenation = 0; // F only
    unsigned n_TranslationHyphenation = 0;
    unsigned n_SmartQuotes = 0;
    unsigned n_CharacterSetText = 0;   // F only
    unsigned n_ReadOnlyComponents = 0; // I only
    unsigned n_SourceLanguageSelection = 0;
    unsigned n_TargetLanguageSelection = 0;
    CT_CString co_SourceLanguage;
    CT_CString co_TargetLanguage;
    CT_CString co_SourceMarkerLength;
    int i_Variant; // 0: F, 1: I
};

// The REPORTING section: a view of the process-wide tag table of its variant.
class CT_EXPORT CT_ReportingSettings
{
public:
    // 0 selects format F, any other value format I.
    void v_SetVariant(int i_NewVariant);
    unsigned n_GetCount() const { return n_Count; }

    // Out of range: flag 0, setting ignored, label null, member 0.
    unsigned n_GetFlag(unsigned n_Index) const;
    void v_SetFlag(unsigned n_Index, unsigned n_Flag);
    const char* qccz_GetLabel(unsigned n_Index) const;
    long i_GetMember(unsigned n_Index) const;

    void v_Load(const CT_CString& co_Key);
    void v_Save(const CT_CString& co_Key) const;

private:
    int i_Variant = 0;
    unsigned n_Count = 0;
};

class CT_EXPORT CT_TaggerSettings
{
public:
    // i_Tool: 0 the tagger, 1 the verifier; i_Variant: 0 format F, 1 format I.
    CT_TaggerSettings(int i_Tool, int i_Variant);

    void v_Load();
    void v_Save() const;
    void v_Reset();

    const CT_CString& co_GetKey() const { return co_Key; }
    CT_PathsSettings* pco_GetPaths() { return &co_Paths; }
    CT_OptionsSettings* pco_GetOptions() { return &co_Options; }
    CT_ReportingSettings* pco_GetReporting() { return &co_Reporting; }

private:
    void v_BuildKey();

    int i_Tool;
    int i_Variant;
    CT_CString co_Key; // ends in a backslash
    CT_PathsSettings co_Paths;
    CT_OptionsSettings co_Options;
    CT_ReportingSettings co_Reporting;
};
