#include "ConsoleHost.h"

#include "HostRef.h"
#include "MarkpadHost_h.h"
#include "SettingsFrame.h"
#include "TextFile.h"

#include <algorithm>
#include <cstdio>

namespace
{
const wchar_t* qcwz_Wide(const std::u16string& co_Text)
{
    return reinterpret_cast<const wchar_t*>(co_Text.c_str());
}

std::u16string co_FromWide(const wchar_t* qcwz_Text, size_t n_Length)
{
    return std::u16string(reinterpret_cast<const char16_t*>(qcwz_Text), n_Length);
}

bool b_IsFile(const std::u16string& co_Path)
{
    const DWORD n_Attributes = GetFileAttributesW(qcwz_Wide(co_Path));
    return n_Attributes != INVALID_FILE_ATTRIBUTES && !(n_Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool b_IsFolder(const std::u16string& co_Path)
{
    const DWORD n_Attributes = GetFileAttributesW(qcwz_Wide(co_Path));
    return n_Attributes != INVALID_FILE_ATTRIBUTES && (n_Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Full paths with backslashes: the plug-in cuts paths at backslashes only.
std::u16string co_FullPath(const std::u16string& co_Path)
{
    const DWORD n_Size = GetFullPathNameW(qcwz_Wide(co_Path), 0, nullptr, nullptr);
    std::wstring co_Full(n_Size, L'\0');
    const DWORD n_Length =
        n_Size ? GetFullPathNameW(qcwz_Wide(co_Path), n_Size, co_Full.data(), nullptr) : 0;
    return n_Length && n_Length < n_Size ? co_FromWide(co_Full.c_str(), n_Length) : co_Path;
}

std::u16string co_Hex(HRESULT hr_Result)
{
    char qc_Text[16];
    std::snprintf(qc_Text, sizeof qc_Text, "0x%08lX", static_cast<unsigned long>(hr_Result));
    return std::u16string(qc_Text, qc_Text + std::char_traits<char>::length(qc_Text));
}

// The system's text for an HRESULT, with the number.
std::u16string co_Describe(HRESULT hr_Result)
{
    wchar_t* pw_Message = nullptr;
    const DWORD n_Length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr_Result), 0, reinterpret_cast<wchar_t*>(&pw_Message), 0,
        nullptr);
    std::u16string co_Text = n_Length ? co_FromWide(pw_Message, n_Length) : std::u16string();
    LocalFree(pw_Message);
    while (!co_Text.empty() && (co_Text.back() == u'\n' || co_Text.back() == u'\r' ||
                                co_Text.back() == u' ' || co_Text.back() == u'.'))
        co_Text.pop_back();
    return co_Text.empty() ? co_Hex(hr_Result) : co_Text + u" (" + co_Hex(hr_Result) + u")";
}

// A failed call's error object when it set one (the caller cleared the old one), else the
// system's text.
std::u16string co_DescribeFailure(HRESULT hr_Result)
{
    CT_HostRef<IErrorInfo> co_Info;
    CT_HostBstr co_Description;
    if (GetErrorInfo(0, co_Info.ppco_Put()) == S_OK && co_Info &&
        SUCCEEDED(co_Info->GetDescription(co_Description.pbstr_Put())) &&
        !co_Description.co_Text().empty())
        return co_Description.co_Text() + u" (" + co_Hex(hr_Result) + u")";
    return co_Describe(hr_Result);
}

std::u16string co_Column(const std::u16string& co_Text, size_t n_Width, bool b_Right)
{
    if (co_Text.size() >= n_Width)
        return co_Text;
    const std::u16string co_Fill(n_Width - co_Text.size(), u' ');
    return b_Right ? co_Fill + co_Text : co_Text + co_Fill;
}

std::u16string co_SeverityWord(long i_Severity)
{
    static const char16_t* const sqcuz_Words[] = {u"warning", u"alert", u"error", u"none"};
    return i_Severity >= 1 && i_Severity <= 4 ? sqcuz_Words[i_Severity - 1]
                                              : u"severity " + CT_TextFile::sco_Number(i_Severity);
}

std::u16string co_DocumentWord(long i_Indicator)
{
    return i_Indicator == 1   ? u"original"
           : i_Indicator == 2 ? u"translation"
                              : u"document " + CT_TextFile::sco_Number(i_Indicator);
}

std::u16string co_Counted(long i_Count, const char16_t* qcuz_Word)
{
    return CT_TextFile::sco_Number(i_Count) + u" " + qcuz_Word + (i_Count == 1 ? u"" : u"s");
}

// What one verification printed: the texts that positions point into, by document indicator.
struct st_Texts
{
    std::u16string co_Original;
    std::u16string co_Translation;
};

void v_PrintMessage(IVerifierMessage* pco_Message, const st_Texts& co_Texts, long* pi_BySeverity)
{
    CT_HostBstr co_Text;
    LONG i_Severity = 0, i_Number = 0, i_Position = 0, i_Indicator = 0;
    pco_Message->get_Text(co_Text.pbstr_Put());
    pco_Message->get_Severity(&i_Severity);
    pco_Message->get_Number(&i_Number);
    pco_Message->get_Position(&i_Position);
    pco_Message->get_DocumentIndicator(&i_Indicator);
    ++pi_BySeverity[i_Severity >= 1 && i_Severity <= 4 ? i_Severity : 4];

    long i_Line = 0, i_Column = 0;
    const std::u16string& co_Into =
        i_Indicator == 1 ? co_Texts.co_Original : co_Texts.co_Translation;
    const bool b_Located = (i_Indicator == 1 || i_Indicator == 2) &&
                           CT_TextFile::sb_LineColumn(co_Into, i_Position, i_Line, i_Column);
    const std::u16string co_Place =
        b_Located ? CT_TextFile::sco_Number(i_Line) + u":" + CT_TextFile::sco_Number(i_Column)
                  : u"-";
    CT_ConsoleHost::sv_Print(u"  " + co_Column(co_SeverityWord(i_Severity), 8, false) +
                             co_Column(CT_TextFile::sco_Number(i_Number), 8, true) + u"  " +
                             co_Column(co_DocumentWord(i_Indicator), 11, false) +
                             co_Column(CT_TextFile::sco_Number(i_Position), 10, true) +
                             co_Column(co_Place, 10, true) + u"  " + co_Text.co_Text());
}

void v_PrintMessages(IVerifierMessages* pco_Messages, const st_Texts& co_Texts,
                     const std::u16string& co_Name)
{
    LONG i_Count = 0;
    pco_Messages->GetCount(&i_Count);
    if (i_Count > 0)
        CT_ConsoleHost::sv_Print(u"  severity  number  document     position  line:col  text");
    long i_BySeverity[5] = {}; // indexed by severity code; 4 also takes unknown codes
    for (LONG i_Index = 1; i_Index <= i_Count; ++i_Index)
    {
        CT_HostRef<IDispatch> co_Item;
        CT_HostRef<IVerifierMessage> co_Message;
        if (SUCCEEDED(pco_Messages->GetItem(i_Index, co_Item.ppco_Put())) &&
            SUCCEEDED(co_Item.hr_QueryInto(co_Message)))
            v_PrintMessage(co_Message.pco_Get(), co_Texts, i_BySeverity);
    }
    std::u16string co_Summary = co_Name + u": ";
    if (i_Count == 0)
        co_Summary += u"no messages";
    else
    {
        co_Summary += co_Counted(i_Count, u"message") + u" (" +
                      co_Counted(i_BySeverity[3], u"error") + u", " +
                      co_Counted(i_BySeverity[1], u"warning") + u", " +
                      co_Counted(i_BySeverity[2], u"alert");
        if (i_BySeverity[4])
            co_Summary += u", " + CT_TextFile::sco_Number(i_BySeverity[4]) + u" other";
        co_Summary += u")";
    }
    CT_ConsoleHost::sv_Print(co_Summary);
}

// A Wine prefix may have no display: the tests' headless graphics driver shows windows to
// nobody.
bool b_HasNoDisplay()
{
    char ac_Driver[16] = "";
    DWORD n_Size = sizeof ac_Driver;
    return RegGetValueA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics", RRF_RT_REG_SZ,
                        nullptr, ac_Driver, &n_Size) == ERROR_SUCCESS &&
           lstrcmpiA(ac_Driver, "null") == 0;
}

class CT_Apartment
{
public:
    CT_Apartment() : hr_Init(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    CT_Apartment(const CT_Apartment&) = delete;
    CT_Apartment& operator=(const CT_Apartment&) = delete;
    ~CT_Apartment()
    {
        if (SUCCEEDED(hr_Init))
            CoUninitialize();
    }
    HRESULT hr_Result() const { return hr_Init; }

private:
    const HRESULT hr_Init;
};
} // namespace

// The connected components, released before the apartment ends.
struct CT_ConsoleHost::st_Session
{
    CT_HostRef<IHostApplication> co_Application;
    CT_HostRef<IHostPlugIn> co_PlugIn;
    CT_HostRef<IHostVerifier> co_Verifier;

    int i_Connect(const std::u16string& co_ProgId);
    int i_ShowSettings();
    int i_VerifyDocument(IDispatch* pco_Document, long i_Type, const st_Texts& co_Texts);
};

int CT_ConsoleHost::st_Session::i_Connect(const std::u16string& co_ProgId)
{
    HRESULT hr_Result = CoCreateInstance(CLSID_HostApplication, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IHostApplication, co_Application.ppv_Put());
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"cannot create the Markpad host application: " + co_Describe(hr_Result) +
                      u"; MarkpadHost.dll must be registered (regsvr32 MarkpadHost.dll)");
        return eo_NotRegistered;
    }
    CLSID co_Class;
    hr_Result = CLSIDFromProgID(qcwz_Wide(co_ProgId), &co_Class);
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"the verifier plug-in " + co_ProgId +
                      u" is not registered (regsvr32 KxfVerifierPlugIn.dll)");
        return eo_NotRegistered;
    }
    hr_Result = CoCreateInstance(co_Class, nullptr, CLSCTX_INPROC_SERVER, IID_IHostPlugIn,
                                 co_PlugIn.ppv_Put());
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"cannot create the verifier plug-in " + co_ProgId + u": " +
                      co_Describe(hr_Result));
        return eo_NotRegistered;
    }
    VARIANT_BOOL b_Accepted = VARIANT_FALSE;
    hr_Result = co_PlugIn->Connect(co_Application.pco_Get(), 1, &b_Accepted);
    if (FAILED(hr_Result) || !b_Accepted)
    {
        sv_PrintError(u"the plug-in did not accept the connection" +
                      (FAILED(hr_Result) ? u": " + co_Describe(hr_Result) : std::u16string()));
        return eo_Failed;
    }
    hr_Result = co_PlugIn.hr_QueryInto(co_Verifier);
    if (FAILED(hr_Result))
    {
        co_PlugIn->Disconnect(1);
        sv_PrintError(u"the plug-in " + co_ProgId + u" does not verify documents: " +
                      co_Describe(hr_Result));
        return eo_Failed;
    }
    return eo_Verified;
}

// The page edits the settings of the active document's format: the document just opened.
int CT_ConsoleHost::st_Session::i_ShowSettings()
{
    if (b_HasNoDisplay())
        sv_PrintError(u"this Wine prefix has no display (graphics driver \"null\"): nobody sees "
                      u"the settings page, which waits for OK or Cancel");
    const HRESULT hr_Result = CT_SettingsFrame::shr_Show(co_PlugIn.pco_Get());
    if (hr_Result == S_OK)
        return eo_Verified;
    sv_PrintError(hr_Result == S_FALSE
                      ? u"the plug-in has no settings page"
                      : u"cannot show the settings page: " + co_Describe(hr_Result));
    return eo_Failed;
}

int CT_ConsoleHost::st_Session::i_VerifyDocument(IDispatch* pco_Document, long i_Type,
                                                 const st_Texts& co_Texts)
{
    VARIANT_BOOL b_Can = VARIANT_FALSE;
    HRESULT hr_Result = co_Verifier->CanVerify(pco_Document, &b_Can);
    if (FAILED(hr_Result) || !b_Can)
    {
        sv_PrintError(FAILED(hr_Result) ? u"CanVerify failed: " + co_Describe(hr_Result)
                                        : u"the plug-in cannot verify documents of type " +
                                              CT_TextFile::sco_Number(i_Type));
        return eo_Failed;
    }
    CT_HostRef<IVerifierMessages> co_Messages;
    hr_Result = CoCreateInstance(CLSID_VerifierMessages, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IVerifierMessages, co_Messages.ppv_Put());
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"cannot create a messages collection: " + co_Describe(hr_Result));
        return eo_NotRegistered;
    }
    SetErrorInfo(0, nullptr);
    hr_Result = co_Verifier->Verify(pco_Document, co_Messages.pco_Get());
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"verification failed: " + co_DescribeFailure(hr_Result));
        return eo_Failed;
    }
    CT_HostRef<IHostDocument> co_HostDocument;
    CT_HostBstr co_Name;
    if (SUCCEEDED(pco_Document->QueryInterface(IID_IHostDocument, co_HostDocument.ppv_Put())))
        co_HostDocument->GetName(co_Name.pbstr_Put());
    v_PrintMessages(co_Messages.pco_Get(), co_Texts, co_Name.co_Text());
    return eo_Verified;
}

int CT_ConsoleHost::i_Run(const std::vector<st_VerifyJob>& co_Jobs)
{
    for (const st_VerifyJob& co_Job : co_Jobs)
        for (const std::u16string* pcco_Path : {&co_Job.co_Original, &co_Job.co_Translation})
            if (!b_IsFile(*pcco_Path))
            {
                sv_PrintError((pcco_Path == &co_Job.co_Original ? u"original file not found: "
                                                                : u"translated file not found: ") +
                              *pcco_Path);
                return eo_Usage;
            }

    CT_Apartment co_Apartment;
    if (FAILED(co_Apartment.hr_Result()))
    {
        sv_PrintError(u"cannot start COM: " + co_Describe(co_Apartment.hr_Result()));
        return eo_Failed;
    }
    st_Session co_Session;
    int i_Exit = co_Session.i_Connect(co_ProgId);
    if (i_Exit != eo_Verified)
        return i_Exit;
    for (const st_VerifyJob& co_Job : co_Jobs)
        i_Exit = std::max(i_Exit, i_Verify(co_Session, co_Job));
    co_Session.co_PlugIn->Disconnect(1);
    return i_Exit;
}

int CT_ConsoleHost::i_Verify(st_Session& co_Session, const st_VerifyJob& co_Job)
{
    const std::u16string co_Original = co_FullPath(co_Job.co_Original);
    const std::u16string co_Translation = co_FullPath(co_Job.co_Translation);
    sv_Print(u"Verifying " + co_Translation + u" against " + co_Original + u" (document type " +
             CT_TextFile::sco_Number(co_Job.i_DocumentType) + u")");

    CT_HostRef<IDispatch> co_Document;
    const HRESULT hr_Result = co_Session.co_Application->OpenDocument(
        CT_HostBstr(co_Translation).bstr_Get(), co_Job.i_DocumentType,
        CT_HostBstr(co_Original).bstr_Get(), co_Document.ppco_Put());
    if (FAILED(hr_Result))
    {
        sv_PrintError(u"cannot open " + co_Translation + u": " + co_Describe(hr_Result));
        return eo_Failed;
    }
    st_Texts co_Texts;
    CT_TextFile::sb_Read(co_Original, co_Texts.co_Original);
    CT_TextFile::sb_Read(co_Translation, co_Texts.co_Translation);
    int i_Exit = b_ShowSettings ? co_Session.i_ShowSettings() : eo_Verified;
    if (i_Exit == eo_Verified)
        i_Exit =
            co_Session.i_VerifyDocument(co_Document.pco_Get(), co_Job.i_DocumentType, co_Texts);

    CT_HostRef<IHostDocument> co_HostDocument;
    if (SUCCEEDED(co_Document.hr_QueryInto(co_HostDocument)))
        co_HostDocument->Close();
    return i_Exit;
}

std::vector<st_VerifyJob> CT_ConsoleHost::sco_FindSamples()
{
    wchar_t qw_Program[MAX_PATH] = {};
    const DWORD n_Length = GetModuleFileNameW(nullptr, qw_Program, MAX_PATH);
    std::u16string co_Folder = co_FromWide(qw_Program, n_Length < MAX_PATH ? n_Length : 0);
    std::vector<st_VerifyJob> co_Jobs;
    for (size_t n_Cut = co_Folder.find_last_of(u"\\/");
         n_Cut != std::u16string::npos && co_Jobs.empty(); n_Cut = co_Folder.find_last_of(u"\\/"))
    {
        co_Folder.resize(n_Cut);
        const std::u16string co_Samples = CT_TextFile::sco_Combine(co_Folder, u"samples");
        if (!b_IsFolder(co_Samples))
            continue;
        for (const auto& [qcuz_Format, i_Type] : {std::pair{u"F", 6L}, std::pair{u"I", 7L}})
        {
            const std::u16string co_Base = CT_TextFile::sco_Combine(co_Samples, qcuz_Format);
            WIN32_FIND_DATAW co_Found;
            const HANDLE h_Find =
                FindFirstFileW(qcwz_Wide(co_Base + u"\\original\\*.kxf"), &co_Found);
            for (BOOL b_More = h_Find != INVALID_HANDLE_VALUE; b_More;
                 b_More = FindNextFileW(h_Find, &co_Found))
            {
                const std::u16string co_Name =
                    co_FromWide(co_Found.cFileName, wcslen(co_Found.cFileName));
                co_Jobs.push_back({co_Base + u"\\original\\" + co_Name,
                                   co_Base + u"\\translation\\" + co_Name, i_Type});
            }
            if (h_Find != INVALID_HANDLE_VALUE)
                FindClose(h_Find);
        }
    }
    return co_Jobs;
}

void CT_ConsoleHost::sv_Print(const std::u16string& co_Line)
{
    const std::string co_Bytes = CT_TextFile::sco_EncodeUtf8(co_Line + u"\n");
    std::fwrite(co_Bytes.data(), 1, co_Bytes.size(), stdout);
    std::fflush(stdout);
}

void CT_ConsoleHost::sv_PrintError(const std::u16string& co_Line)
{
    std::fflush(stdout);
    const std::string co_Bytes = CT_TextFile::sco_EncodeUtf8(u"KxfVerify: " + co_Line + u"\n");
    std::fwrite(co_Bytes.data(), 1, co_Bytes.size(), stderr);
}
