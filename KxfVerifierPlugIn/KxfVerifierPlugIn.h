// CT_KxfVerifierPlugIn: the Ketra Verifier plug-in object that the Markpad host loads. It
// answers, in this order, IKxfVerifierPlugIn (with IDispatch, through the type library),
// ISupportErrorInfo, IConnectionPointContainer (one point for _IKxfVerifierPlugInEvents, never
// fired), IHostVerifier, IHostPlugIn and ISpecifyPropertyPages.
//
// An object owns what its verification runs keep (CT_VerificationRun). The host application pointer
// is process-wide: the last Connect of any object sets it, any Disconnect empties it. Objects are
// registered for the apartment model: the object and the process-wide state are used on one
// apartment thread and not locked.
#pragma once

#include "ComModule.h"
#include "ComPtr.h"
#include "ConnectionPoint.h"
#include "KxfVerifierPlugIn_h.h"
#include "MarkpadHost_h.h"
#include "VerificationRun.h"

// The object base comes first, so that its last Release deletes the object at its own address.
class CT_KxfVerifierPlugIn final : private CT_ComObjectBase,
                                   public IKxfVerifierPlugIn,
                                   public ISupportErrorInfo,
                                   public IConnectionPointContainer,
                                   public IHostVerifier,
                                   public IHostPlugIn,
                                   public ISpecifyPropertyPages
{
public:
    // At unload; see CT_ComModule::sv_Term for b_ProcessEnding.
    static void sv_ReleaseHostApplication(int b_ProcessEnding);
    // The application of the last Connect, null when disconnected; no reference is added.
    static IDispatch* spco_GetHostApplication() { return spco_HostApplication; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Interface, void** ppv_Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pn_Count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT n_Index, LCID n_Locale,
                                          ITypeInfo** ppco_TypeInfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID ro_Reserved, LPOLESTR* ppw_Names, UINT n_Names,
                                            LCID n_Locale, DISPID* pi_Members) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID i_Member, REFIID ro_Reserved, LCID n_Locale,
                                     WORD n_Flags, DISPPARAMS* pso_Parameters, VARIANT* pso_Result,
                                     EXCEPINFO* pso_Exception, UINT* pn_ArgumentError) override;

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID ro_Interface) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** ppco_Enum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID ro_Outgoing,
                                                  IConnectionPoint** ppco_Point) override;

    // IHostVerifier
    HRESULT STDMETHODCALLTYPE CanVerify(IDispatch* pco_Document,
                                        VARIANT_BOOL* pb_CanVerify) override;
    HRESULT STDMETHODCALLTYPE Verify(IDispatch* pco_Document,
                                     IVerifierMessages* pco_Messages) override;

    // IHostPlugIn
    HRESULT STDMETHODCALLTYPE Connect(IDispatch* pco_Application, LONG i_Cookie,
                                      VARIANT_BOOL* pb_Accepted) override;
    HRESULT STDMETHODCALLTYPE Disconnect(LONG i_Cookie) override;

    // ISpecifyPropertyPages
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pso_Pages) override;

private:
    friend class CT_ClassFactory;
    CT_KxfVerifierPlugIn();
    ~CT_KxfVerifierPlugIn() override;

    static HRESULT shr_GetDispatchInfo(REFIID ro_Reserved, CT_ComPtr<ITypeInfo>* pco_TypeInfo);

    CT_VerificationRun co_Run;
    CT_ConnectionPoint co_EventPoint;

    static IDispatch* spco_HostApplication;
};
