#include "KxfVerifierPlugIn.h"

#include "DocumentType.h"

IDispatch* CT_KxfVerifierPlugIn::spco_HostApplication = nullptr;

CT_KxfVerifierPlugIn::CT_KxfVerifierPlugIn()
    : CT_ComObjectBase(0),
      co_EventPoint(static_cast<IConnectionPointContainer*>(this), DIID__IKxfVerifierPlugInEvents)
{
}

CT_KxfVerifierPlugIn::~CT_KxfVerifierPlugIn() = default;

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
        hr_Result = CT_DocumentType::shr_Get(co_Document.pco_Get(), &i_Type);
    if (SUCCEEDED(hr_Result) && CT_DocumentType::sb_IsKxf(i_Type))
        *pb_CanVerify = VARIANT_TRUE;
    return hr_Result;
}

HRESULT STDMETHODCALLTYPE CT_KxfVerifierPlugIn::Verify(IDispatch* pco_Document,
                                                       IVerifierMessages* pco_Messages)
{
    try
    {
        return co_Run.hr_Run(pco_Document, pco_Messages, spco_HostApplication);
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
    co_Run.v_Reset();
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
