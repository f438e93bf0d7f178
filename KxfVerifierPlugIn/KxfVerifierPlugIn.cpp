#include "KxfVerifierPlugIn.h"

#include "ComError.h"
#include "OutsideComponent.h"
#include "System/String/CString.h"
#include "System/String/UString.h"
#include "TaggerSettings.h"
#include "VerifierMessage.h"
#include "resource.h"

#include <shlwapi.h>

#include <new>
#include <vector>

IDispatch* CT_KxfVerifierPlugIn::spco_HostApplication = nullptr;

namespace
{
// Document type codes of the host that name the two KXF formats.
constexpr long i_TypeF = 6;
constexpr long i_TypeI = 7;
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

HRESULT hr_GetDocumentType(IHostDocument* pco_Document, long* pi_Type)
{
    *pi_Type = 0;
    return pco_Document->GetDocumentType(pi_Type);
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

CT_KxfVerifierPlugIn::CT_KxfVerifierPlugIn()
    : CT_ComObjectBase(0),
      co_EventPoint(static_cast<IConnectionPointContainer*>(this), DIID__IKxfVerifierPlugInEvents)
{
}

CT_KxfVerifierPlugIn::~CT_KxfVerifierPlugIn() = default;

HRESULT CT_KxfVerifierPlugIn::shr_Create(REFIID ro_Interface, void** ppv_Object)
{
    CT_KxfVerifierPlugIn* pco_Object = new (std::nothrow) CT_KxfVerifierPlugIn;
    if (!pco_Object)
        return E_OUTOFMEMORY;
    pco_Object->AddRef();
    HRESULT hr_Result = pco_Object->QueryInterface(ro_Interface, ppv_Object);
    pco_Object->Release();
    return hr_Result;
}

void CT_KxfVerifierPlugIn::sv_ReleaseHostApplication(int b_ProcessEnding)
{
    IDispatch* pco_Application = spco_HostApplication;
    spco_HostApplication = nullptr;
    if (pco_Application && !b_ProcessEnding)
        pco_Application->Release();
}

// IUnknown

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::QueryInterface(REFIID ro_Interface,
                                                               void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    if (IsEqualIID(ro_Interface, IID_IUnknown) || IsEqualIID(ro_Interface, IID_IDispatch) ||
        IsEqualIID(ro_Interface, IID_IKxfVerifierPlugIn))
        *ppv_Object = static_cast<IKxfVerifierPlugIn*>(this);
    else if (IsEqualIID(ro_Interface, IID_ISupportErrorInfo))
        *ppv_Object = static_cast<ISupportErrorInfo*>(this);
    else if (IsEqualIID(ro_Interface, IID_IConnectionPointContainer))
        *ppv_Object = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(ro_Interface, IID_IHostVerifier))
        *ppv_Object = static_cast<IHostVerifier*>(this);
    else if (IsEqualIID(ro_Interface, IID_IHostPlugIn))
        *ppv_Object = static_cast<IHostPlugIn*>(this);
    else if (IsEqualIID(ro_Interface, IID_ISpecifyPropertyPages))
        *ppv_Object = static_cast<ISpecifyPropertyPages*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CT_KxfVerifierPlugIn::AddRef()
{
    return n_AddRef();
}

ULONG STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Release()
{
    return n_Release();
}

// IDispatch, through the type library's description of IKxfVerifierPlugIn

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::GetTypeInfoCount(UINT* pn_Count)
{
    if (!pn_Count)
        return E_POINTER;
    *pn_Count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::GetTypeInfo(UINT n_Index, LCID,
                                                            ITypeInfo** ppco_TypeInfo)
{
    if (!ppco_TypeInfo)
        return E_POINTER;
    *ppco_TypeInfo = nullptr;
    if (n_Index != 0)
        return DISP_E_BADINDEX;
    return CT_ComModule::shr_GetTypeInfo(IID_IKxfVerifierPlugIn, ppco_TypeInfo);
}

// Names and calls are resolved for IID_NULL only, as IDispatch requires.
HRESULT CT_KxfVerifierPlugIn::shr_GetDispatchInfo(REFIID ro_Reserved,
                                                  CT_ComPtr<ITypeInfo>* pco_TypeInfo)
{
    if (!IsEqualIID(ro_Reserved, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return CT_ComModule::shr_GetTypeInfo(IID_IKxfVerifierPlugIn, pco_TypeInfo->ppco_Put());
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::GetIDsOfNames(REFIID ro_Reserved,
                                                              LPOLESTR* ppw_Names, UINT n_Names,
                                                              LCID, DISPID* pi_Members)
{
    CT_ComPtr<ITypeInfo> co_TypeInfo;
    HRESULT hr_Result = shr_GetDispatchInfo(ro_Reserved, &co_TypeInfo);
    if (FAILED(hr_Result))
        return hr_Result;
    return co_TypeInfo->GetIDsOfNames(ppw_Names, n_Names, pi_Members);
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Invoke(DISPID i_Member, REFIID ro_Reserved, LCID,
                                                       WORD n_Flags, DISPPARAMS* pso_Parameters,
                                                       VARIANT* pso_Result,
                                                       EXCEPINFO* pso_Exception,
                                                       UINT* pn_ArgumentError)
{
    CT_ComPtr<ITypeInfo> co_TypeInfo;
    HRESULT hr_Result = shr_GetDispatchInfo(ro_Reserved, &co_TypeInfo);
    if (FAILED(hr_Result))
        return hr_Result;
    return co_TypeInfo->Invoke(static_cast<IKxfVerifierPlugIn*>(this), i_Member, n_Flags,
                               pso_Parameters, pso_Result, pso_Exception, pn_ArgumentError);
}

// ISupportErrorInfo

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::InterfaceSupportsErrorInfo(REFIID ro_Interface)
{
    return IsEqualIID(ro_Interface, IID_IKxfVerifierPlugIn) ? S_OK : S_FALSE;
}

// IConnectionPointContainer

HRESULT STDMETHODCALLTYPE
CT_KxfVerifierPlugIn::EnumConnectionPoints(IEnumConnectionPoints** ppco_Enum)
{
    IConnectionPoint* pco_Point = &co_EventPoint;
    return CT_ConnectionPoint::shr_EnumPoints(&pco_Point, 1, ppco_Enum);
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::FindConnectionPoint(REFIID ro_Outgoing,
                                                                    IConnectionPoint** ppco_Point)
{
    if (!ppco_Point)
        return E_POINTER;
    *ppco_Point = nullptr;
    if (!IsEqualIID(ro_Outgoing, co_EventPoint.ro_GetOutgoing()))
        return CONNECT_E_NOCONNECTION;
    co_EventPoint.AddRef();
    *ppco_Point = &co_EventPoint;
    return S_OK;
}

// IHostVerifier

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::CanVerify(IDispatch* pco_Document,
                                                          VARIANT_BOOL* pb_CanVerify)
{
    if (!pb_CanVerify)
        return E_POINTER;
    *pb_CanVerify = VARIANT_FALSE;
    if (!pco_Document)
        return E_INVALIDARG;
    CT_ComPtr<IHostDocument> co_Document;
    HRESULT hr_Result = pco_Document->QueryInterface(IID_IHostDocument, co_Document.ppv_Put());
    long i_Type = 0;
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_GetDocumentType(co_Document.pco_Get(), &i_Type);
    if (SUCCEEDED(hr_Result) && (i_Type == i_TypeF || i_Type == i_TypeI))
        *pb_CanVerify = VARIANT_TRUE;
    return hr_Result;
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Verify(IDispatch* pco_Document,
                                                       IVerifierMessages* pco_Messages)
{
    try
    {
        return hr_Verify(pco_Document, pco_Messages);
    }
    catch (...)
    {
        return E_UNEXPECTED;
    }
}

// IHostPlugIn

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Connect(IDispatch* pco_Application, LONG,
                                                        VARIANT_BOOL* pb_Accepted)
{
    co_VerifierF.v_Release();
    co_VerifierI.v_Release();
    pco_Settings.reset();
    if (pco_Application)
        pco_Application->AddRef();
    IDispatch* pco_Old = spco_HostApplication;
    spco_HostApplication = pco_Application;
    if (pco_Old)
        pco_Old->Release();
    if (pb_Accepted)
        *pb_Accepted = VARIANT_TRUE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Disconnect(LONG)
{
    sv_ReleaseHostApplication(FALSE);
    return S_OK;
}

// ISpecifyPropertyPages

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::GetPages(CAUUID* pso_Pages)
{
    if (!pso_Pages)
        return E_POINTER;
    pso_Pages->cElems = 0;
    pso_Pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pso_Pages->pElems)
        return E_OUTOFMEMORY;
    pso_Pages->cElems = 1;
    pso_Pages->pElems[0] = CLSID_PpgKxfVerifier;
    return S_OK;
}

// The verification run

CT_ComPtr<IDispatch>* CT_KxfVerifierPlugIn::pco_VerifierOf(long i_Type)
{
    return i_Type == i_TypeF ? &co_VerifierF : &co_VerifierI;
}

HRESULT CT_KxfVerifierPlugIn::hr_Verify(IDispatch* pco_Document, IVerifierMessages* pco_Messages)
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
        hr_Result = hr_GetDocumentType(co_Document.pco_Get(), &i_Type);
    if (SUCCEEDED(hr_Result) && i_Type != i_TypeF)
    {
        hr_Result = hr_GetDocumentType(co_Document.pco_Get(), &i_Type);
        if (SUCCEEDED(hr_Result) && i_Type != i_TypeI)
            return S_OK;
    }
    if (FAILED(hr_Result))
        return hr_Result;

    // A failed creation leaves the pointer empty; the first call on it then fails (E_POINTER).
    i_DocumentType = i_Type;
    CT_ComPtr<IDispatch>* pco_Kept = pco_VerifierOf(i_Type);
    CT_OutsideComponent::shr_Create(i_Type == i_TypeF ? CLSID_KetragenVerifierF
                                                      : CLSID_KetragenVerifierI,
                                    IID_IDispatch, pco_Kept->ppv_Put());
    // The run's own reference: a re-entrant Connect may empty the object's pointer meanwhile.
    CT_ComPtr<IDispatch> co_Verifier(pco_Kept->pco_Get());

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
        hr_Result = hr_ApplyTagSettings(co_Verifier.pco_Get());
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
HRESULT CT_KxfVerifierPlugIn::hr_ApplyTagSettings(IDispatch* pco_Verifier)
{
    if (!spco_HostApplication)
        return S_OK;
    CT_ComPtr<IHostApplication> co_Application;
    HRESULT hr_Result =
        spco_HostApplication->QueryInterface(IID_IHostApplication, co_Application.ppv_Put());
    CT_ComPtr<IDispatch> co_Active;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Application->GetActiveDocument(co_Active.ppco_Put());
    if (SUCCEEDED(hr_Result) && !co_Active)
        hr_Result = E_POINTER;
    CT_ComPtr<IHostDocument> co_ActiveDocument;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Active->QueryInterface(IID_IHostDocument, co_ActiveDocument.ppv_Put());
    long i_ActiveType = 0;
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_GetDocumentType(co_ActiveDocument.pco_Get(), &i_ActiveType);
    if (FAILED(hr_Result) || (i_ActiveType != i_TypeF && i_ActiveType != i_TypeI))
        return hr_Result;

    pco_Settings.reset(new (std::nothrow) CT_TaggerSettings(0, i_DocumentType == i_TypeF ? 0 : 1));
    if (!pco_Settings)
        return E_OUTOFMEMORY;
    pco_Settings->v_Load();
    const CT_ReportingSettings* pcco_Reporting = pco_Settings->pco_GetReporting();
    for (unsigned n_Index = 0; n_Index < pcco_Reporting->n_GetCount() && SUCCEEDED(hr_Result);
         ++n_Index)
    {
        CT_ComPtr<IDispatch> co_Reporting;
        hr_Result =
            CT_OutsideComponent::shr_GetObject(pco_Verifier, KetragenReporting, &co_Reporting);
        // The verifier takes 1 for a suppressed tag, not VARIANT_TRUE.
        VARIANT so_Flag;
        V_VT(&so_Flag) = VT_BOOL;
        V_BOOL(&so_Flag) = pcco_Reporting->n_GetFlag(n_Index) == 1 ? 1 : 0;
        if (SUCCEEDED(hr_Result))
            hr_Result = CT_OutsideComponent::shr_Put(co_Reporting.pco_Get(),
                                                     pcco_Reporting->i_GetMember(n_Index), so_Flag);
    }
    return hr_Result;
}

// A new collection only when the counts sum to more than 0; the caller's collection receives
// it whole after the last finding.
HRESULT CT_KxfVerifierPlugIn::hr_CollectFindings(IDispatch* pco_Verifier,
                                                 IHostDocument* pco_Document,
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
HRESULT CT_KxfVerifierPlugIn::shr_ReportError(unsigned n_TextID, const CT_Bstr& co_Path)
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
