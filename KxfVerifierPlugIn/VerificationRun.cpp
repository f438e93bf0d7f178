#include "VerificationRun.h"

#include "ComError.h"
#include "ComModule.h"
#include "DocumentType.h"
#include "KxfVerifierPlugIn_h.h"
#include "OutsideComponent.h"
#include "System/String/CString.h"
#include "System/String/UString.h"
#include "TaggerSettings.h"
#include "VerifierMessage.h"
#include "resource.h"

#include <shlwapi.h>

#include <vector>

namespace
{
// Error texts are loaded into this many bytes.
constexpr int i_TextSize = 512;

HRESULT hr_ToBstr(const CT_String& co_Text, CT_Bstr* pco_Bstr)
{
    CT_UString co_Wide(&co_Text);
    return pco_Bstr->hr_Attach(SysAllocStringLen(
        reinterpret_cast<const OLECHAR*>(co_Wide.qcuz_Get()), co_Wide.n_GetLength()));
}

CT_CString co_ToAnsi(const CT_Bstr& co_Text)
{
    return CT_CString(co_Text.qcuz_Get(), co_Text.n_GetLength(), 0);
}

// The temporary folder followed by the file name; empty when the folder is unavailable or the
// combination does not fit a path.
HRESULT hr_TemporaryPath(const char* qccz_FileName, CT_Bstr* pco_Path)
{
    char ac_Folder[MAX_PATH];
    char ac_Path[MAX_PATH] = "";
    DWORD n_Length = GetTempPathA(MAX_PATH, ac_Folder);
    if (n_Length == 0 || n_Length >= MAX_PATH || !PathCombineA(ac_Path, ac_Folder, qccz_FileName))
        ac_Path[0] = 0;
    return hr_ToBstr(CT_CString(ac_Path, CT_String::sn_All, 0), pco_Path);
}

// The folder of a path (in the ANSI code page) as one of the verifier's Paths properties; the
// Paths object is fetched afresh for each put.
HRESULT hr_PutFolder(IDispatch* pco_Verifier, long i_Member, const CT_Bstr& co_Path)
{
    CT_CString co_Ansi = co_ToAnsi(co_Path);
    std::vector<char> ac_Folder(co_Ansi.qccz_Get(), co_Ansi.qccz_Get() + co_Ansi.n_GetLength() + 1);
    if (!PathRemoveFileSpecA(ac_Folder.data()))
        return E_UNEXPECTED;
    CT_Bstr co_Folder;
    HRESULT hr_Result = hr_ToBstr(CT_CString(ac_Folder.data(), CT_String::sn_All, 0), &co_Folder);
    CT_ComPtr<IDispatch> co_Paths;
    if (SUCCEEDED(hr_Result))
        hr_Result = CT_OutsideComponent::shr_GetObject(pco_Verifier, KetragenPaths, &co_Paths);
    if (FAILED(hr_Result))
        return hr_Result;
    VARIANT so_Value;
    V_VT(&so_Value) = VT_BSTR;
    V_BSTR(&so_Value) = co_Folder.bstr_Get();
    return CT_OutsideComponent::shr_Put(co_Paths.pco_Get(), i_Member, so_Value);
}

HRESULT hr_GetCount(IDispatch* pco_Verifier, long i_Member, long long* pi_Sum)
{
    CT_Variant co_Count;
    HRESULT hr_Result = CT_OutsideComponent::shr_Call(pco_Verifier, i_Member, VT_I4, &co_Count);
    if (SUCCEEDED(hr_Result))
        *pi_Sum += V_I4(co_Count.pso_Get());
    return hr_Result;
}
} // namespace

CT_VerificationRun::CT_VerificationRun() = default;

CT_VerificationRun::~CT_VerificationRun() = default;

void CT_VerificationRun::v_Reset()
{
    co_VerifierF.v_Release();
    co_VerifierI.v_Release();
    pco_Settings.reset();
}

CT_ComPtr<IDispatch>* CT_VerificationRun::pco_VerifierOf(long i_Type)
{
    return i_Type == CT_DocumentType::si_FormatF ? &co_VerifierF : &co_VerifierI;
}

HRESULT CT_VerificationRun::hr_Run(IDispatch* pco_Document, IVerifierMessages* pco_Messages,
                                   IDispatch* pco_HostApplication)
{
    if (!pco_Document)
        return E_INVALIDARG;
    CT_ComPtr<IHostDocument> co_Document;
    HRESULT hr_Result = pco_Document->QueryInterface(IID_IHostDocument, co_Document.ppv_Put());
    CT_Bstr co_Original;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Document->GetOriginalPath(co_Original.pbstr_Put());
    if (FAILED(hr_Result))
        return hr_Result;

    CT_UString co_OriginalPath(co_Original.qcuz_Get(), co_Original.n_GetLength());
    CT_CString co_AnsiOriginal(co_OriginalPath.qcuz_Get(), co_OriginalPath.n_GetLength(), 0);
    if (!PathFileExistsA(co_AnsiOriginal.qccz_Get()))
        return shr_ReportError(IDS_ORIGINAL_MISSING, co_Original);
    CT_Bstr co_Temporary;
    hr_Result = hr_TemporaryPath(PathFindFileNameA(co_AnsiOriginal.qccz_Get()), &co_Temporary);
    if (FAILED(hr_Result))
        return hr_Result;
    if (co_Temporary.n_GetLength() == 0)
        return shr_ReportError(IDS_NO_TEMPORARY_FILE, co_Original);

    hr_Result = co_Document->SaveTranslatedAs(co_Temporary.bstr_Get());
    long i_Type = 0;
    if (SUCCEEDED(hr_Result))
        hr_Result = CT_DocumentType::shr_Get(co_Document.pco_Get(), &i_Type);
    if (SUCCEEDED(hr_Result) && i_Type != CT_DocumentType::si_FormatF)
    {
        // Asked again, not reused: the host gets the sequence of calls it is built for.
        hr_Result = CT_DocumentType::shr_Get(co_Document.pco_Get(), &i_Type);
        if (SUCCEEDED(hr_Result) && i_Type != CT_DocumentType::si_FormatI)
            return S_OK;
    }
    if (FAILED(hr_Result))
        return hr_Result;

    // A failed creation leaves the pointer empty; the first call on it then fails (E_POINTER).
    i_DocumentType = i_Type;
    CT_ComPtr<IDispatch>* pco_Kept = pco_VerifierOf(i_Type);
    CT_OutsideComponent::shr_Create(i_Type == CT_DocumentType::si_FormatF ? CLSID_KetragenVerifierF
                                                                          : CLSID_KetragenVerifierI,
                                    IID_IDispatch, pco_Kept->ppv_Put());
    // The run's own reference: a re-entrant Connect may empty the object's pointer meanwhile.
    CT_ComPtr<IDispatch> co_Verifier(pco_Kept->pco_Get());

    // Asked again, not reused: the host gets the sequence of calls it is built for.
    CT_Bstr co_OriginalAgain;
    hr_Result = co_Document->GetOriginalPath(co_OriginalAgain.pbstr_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_PutFolder(co_Verifier.pco_Get(), KetragenOriginalFolder, co_OriginalAgain);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_PutFolder(co_Verifier.pco_Get(), KetragenTranslatedFolder, co_Temporary);
    CT_Variant co_Ignored;
    if (SUCCEEDED(hr_Result))
    {
        VARIANT so_Path;
        V_VT(&so_Path) = VT_BSTR;
        V_BSTR(&so_Path) = co_Temporary.bstr_Get();
        hr_Result = CT_OutsideComponent::shr_Call(co_Verifier.pco_Get(), KetragenLoadTranslatedFile,
                                                  VT_EMPTY, &co_Ignored, &so_Path);
    }
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_ApplyTagSettings(co_Verifier.pco_Get(), pco_HostApplication);
    if (SUCCEEDED(hr_Result))
        hr_Result = CT_OutsideComponent::shr_Call(co_Verifier.pco_Get(), KetragenRunCheck, VT_EMPTY,
                                                  &co_Ignored);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_CollectFindings(co_Verifier.pco_Get(), co_Document.pco_Get(), pco_Messages);
    return FAILED(hr_Result) ? hr_Result : S_OK;
}

// Only while connected, and only when the host's active document is a KXF document. The flags
// come from the store of the verified document's format and go to that format's members, so a
// different active format never mixes one table's flags with the other's members.
HRESULT CT_VerificationRun::hr_ApplyTagSettings(IDispatch* pco_Verifier,
                                                IDispatch* pco_HostApplication)
{
    if (!pco_HostApplication)
        return S_OK;
    long i_ActiveType = 0;
    HRESULT hr_Result = CT_DocumentType::shr_GetActive(pco_HostApplication, &i_ActiveType);
    if (FAILED(hr_Result) || !CT_DocumentType::sb_IsKxf(i_ActiveType))
        return hr_Result;

    pco_Settings = CT_DocumentType::spco_NewSettings(i_DocumentType);
    if (!pco_Settings)
        return E_OUTOFMEMORY;
    pco_Settings->v_Load();
    // A view of the process-wide table, kept by value: the verifier's calls may re-enter Connect,
    // which drops the store.
    const CT_ReportingSettings co_Reporting = *pco_Settings->pco_GetReporting();
    for (unsigned n_Index = 0; n_Index < co_Reporting.n_GetCount() && SUCCEEDED(hr_Result);
         ++n_Index)
    {
        // Fetched afresh for each flag, as the Paths object for each folder.
        CT_ComPtr<IDispatch> co_Object;
        hr_Result = CT_OutsideComponent::shr_GetObject(pco_Verifier, KetragenReporting, &co_Object);
        // The verifier takes 1 for a suppressed tag, not VARIANT_TRUE.
        VARIANT so_Flag;
        V_VT(&so_Flag) = VT_BOOL;
        V_BOOL(&so_Flag) = co_Reporting.n_GetFlag(n_Index) == 1 ? 1 : 0;
        if (SUCCEEDED(hr_Result))
            hr_Result = CT_OutsideComponent::shr_Put(co_Object.pco_Get(),
                                                     co_Reporting.i_GetMember(n_Index), so_Flag);
    }
    return hr_Result;
}

// A new collection only when the counts sum to more than 0; the caller's collection receives
// it whole after the last finding.
HRESULT CT_VerificationRun::hr_CollectFindings(IDispatch* pco_Verifier, IHostDocument* pco_Document,
                                               IVerifierMessages* pco_Messages)
{
    long long i_Sum = 0;
    HRESULT hr_Result = hr_GetCount(pco_Verifier, KetragenCountA, &i_Sum);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_GetCount(pco_Verifier, KetragenCountB, &i_Sum);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_GetCount(pco_Verifier, KetragenCountC, &i_Sum);
    if (FAILED(hr_Result) || i_Sum <= 0)
        return hr_Result;

    CT_ComPtr<IVerifierMessages> co_Collection;
    hr_Result = CT_OutsideComponent::shr_Create(CLSID_VerifierMessages, IID_IVerifierMessages,
                                                co_Collection.ppv_Put());
    while (SUCCEEDED(hr_Result))
    {
        CT_Variant co_More;
        hr_Result =
            CT_OutsideComponent::shr_Call(pco_Verifier, KetragenNextFinding, VT_BOOL, &co_More);
        if (FAILED(hr_Result) || V_BOOL(co_More.pso_Get()) == 0)
            break;
        hr_Result =
            CT_VerifierMessage::shr_AddFinding(pco_Verifier, pco_Document, co_Collection.pco_Get());
    }
    if (SUCCEEDED(hr_Result) && pco_Messages)
        hr_Result = pco_Messages->AddMessages(co_Collection.pco_Get());
    return hr_Result;
}

// The text is the string resource (ANSI, widened) followed by the path; the error object names
// IKxfVerifierPlugIn and the class's ProgID. The result is always E_FAIL.
HRESULT CT_VerificationRun::shr_ReportError(unsigned n_TextID, const CT_Bstr& co_Path)
{
    char ac_Text[i_TextSize] = "";
    int i_Length = LoadStringA(CT_ComModule::sh_GetInstance(), n_TextID, ac_Text, i_TextSize);
    CT_UString co_Description(ac_Text, i_Length > 0 ? static_cast<unsigned>(i_Length) : 0, 0);
    co_Description.v_Append(co_Path.qcuz_Get(), co_Path.n_GetLength());
    LPOLESTR pw_ProgID = nullptr;
    if (FAILED(ProgIDFromCLSID(CLSID_KxfVerifierPlugIn, &pw_ProgID)))
        pw_ProgID = nullptr;
    CT_ComError::shr_Set(IID_IKxfVerifierPlugIn, pw_ProgID,
                         reinterpret_cast<const OLECHAR*>(co_Description.qcuz_Get()));
    CoTaskMemFree(pw_ProgID);
    return E_FAIL;
}
