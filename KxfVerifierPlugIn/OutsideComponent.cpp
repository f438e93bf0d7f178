#include "OutsideComponent.h"

#include "ComError.h"

#include <ole2.h>

HRESULT CT_OutsideComponent::shr_Create(REFCLSID ro_Class, REFIID ro_Interface, void** ppv_Object)
{
    *ppv_Object = nullptr;
    CT_ComPtr<IUnknown> co_Unknown;
    HRESULT hr_Result =
        CoCreateInstance(ro_Class, nullptr, sn_Context, IID_IUnknown, co_Unknown.ppv_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = OleRun(co_Unknown.pco_Get());
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Unknown->QueryInterface(ro_Interface, ppv_Object);
    return hr_Result;
}

// An exception's code becomes the result, its texts the thread's error object.
HRESULT CT_OutsideComponent::shr_Invoke(IDispatch* pco_Component, DISPID i_Member, WORD n_Kind,
                                        VARIANT* pso_Arguments, unsigned n_Arguments,
                                        VARIANT* pso_Result)
{
    if (!pco_Component)
        return E_POINTER;
    DISPID i_Named = DISPID_PROPERTYPUT;
    DISPPARAMS so_Parameters = {pso_Arguments, nullptr, n_Arguments, 0};
    if (n_Kind == DISPATCH_PROPERTYPUT)
    {
        so_Parameters.rgdispidNamedArgs = &i_Named;
        so_Parameters.cNamedArgs = 1;
    }
    EXCEPINFO so_Exception = {};
    HRESULT hr_Result = pco_Component->Invoke(i_Member, IID_NULL, LOCALE_USER_DEFAULT, n_Kind,
                                              &so_Parameters, pso_Result, &so_Exception, nullptr);
    if (hr_Result != DISP_E_EXCEPTION)
        return hr_Result;
    if (so_Exception.pfnDeferredFillIn)
        so_Exception.pfnDeferredFillIn(&so_Exception);
    if (FAILED(so_Exception.scode))
        hr_Result = so_Exception.scode;
    CT_ComError::shr_Set(IID_IDispatch, so_Exception.bstrSource, so_Exception.bstrDescription,
                         so_Exception.bstrHelpFile, so_Exception.dwHelpContext);
    SysFreeString(so_Exception.bstrSource);
    SysFreeString(so_Exception.bstrDescription);
    SysFreeString(so_Exception.bstrHelpFile);
    return hr_Result;
}

HRESULT CT_OutsideComponent::shr_GetObject(IDispatch* pco_Component, DISPID i_Member,
                                           CT_ComPtr<IDispatch>* pco_Object)
{
    CT_Variant co_Result;
    HRESULT hr_Result =
        shr_Invoke(pco_Component, i_Member, DISPATCH_PROPERTYGET, nullptr, 0, co_Result.pso_Get());
    if (SUCCEEDED(hr_Result) && V_VT(co_Result.pso_Get()) != VT_DISPATCH)
        hr_Result = VariantChangeType(co_Result.pso_Get(), co_Result.pso_Get(), 0, VT_DISPATCH);
    if (SUCCEEDED(hr_Result))
    {
        // The holder takes over the variant's reference.
        *pco_Object->ppco_Put() = V_DISPATCH(co_Result.pso_Get());
        V_VT(co_Result.pso_Get()) = VT_EMPTY;
    }
    return hr_Result;
}

HRESULT CT_OutsideComponent::shr_Put(IDispatch* pco_Component, DISPID i_Member,
                                     const VARIANT& co_Value)
{
    VARIANT so_Argument = co_Value;
    return shr_Invoke(pco_Component, i_Member, DISPATCH_PROPERTYPUT, &so_Argument, 1, nullptr);
}

HRESULT CT_OutsideComponent::shr_Call(IDispatch* pco_Component, DISPID i_Member,
                                      VARTYPE n_ResultType, CT_Variant* pco_Result,
                                      const VARIANT* pcso_Argument)
{
    VARIANT so_Argument = {};
    if (pcso_Argument)
        so_Argument = *pcso_Argument;
    HRESULT hr_Result =
        shr_Invoke(pco_Component, i_Member, DISPATCH_METHOD, pcso_Argument ? &so_Argument : nullptr,
                   pcso_Argument ? 1 : 0, pco_Result->pso_Put());
    VARIANT* pso_Result = pco_Result->pso_Get();
    if (SUCCEEDED(hr_Result) && n_ResultType != VT_EMPTY && V_VT(pso_Result) != n_ResultType)
        hr_Result = VariantChangeType(pso_Result, pso_Result, 0, n_ResultType);
    return hr_Result;
}
