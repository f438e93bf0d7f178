#include "ComObject.h"

HRESULT hr_GetTypeInfo(const GUID& co_Guid, UINT n_Index, ITypeInfo** ppco_Info)
{
    if (!ppco_Info)
        return E_POINTER;
    *ppco_Info = nullptr;
    if (n_Index != 0)
        return DISP_E_BADINDEX;
    return CT_HostModule::shr_GetTypeInfo(co_Guid, ppco_Info);
}

HRESULT CT_LateBoundObject::GetTypeInfoCount(UINT* pn_Count)
{
    if (!pn_Count)
        return E_POINTER;
    *pn_Count = pco_TypeGuid ? 1 : 0;
    return S_OK;
}

HRESULT CT_LateBoundObject::GetTypeInfo(UINT n_Index, LCID, ITypeInfo** ppco_Info)
{
    if (!pco_TypeGuid)
    {
        if (ppco_Info)
            *ppco_Info = nullptr;
        return DISP_E_BADINDEX;
    }
    return hr_GetTypeInfo(*pco_TypeGuid, n_Index, ppco_Info);
}

HRESULT CT_LateBoundObject::GetIDsOfNames(REFIID, LPOLESTR* ppu_Names, UINT n_Names, LCID,
                                          DISPID* pi_Ids)
{
    if (!pco_TypeGuid)
    {
        for (UINT n_Name = 0; pi_Ids && n_Name < n_Names; ++n_Name)
            pi_Ids[n_Name] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    return hr_WithTypeInfo(*pco_TypeGuid, [&](ITypeInfo* pco_Info)
                           { return pco_Info->GetIDsOfNames(ppu_Names, n_Names, pi_Ids); });
}

HRESULT CT_LateBoundObject::Invoke(DISPID i_Member, REFIID, LCID, WORD n_Flags,
                                   DISPPARAMS* pco_Params, VARIANT* pco_Result, EXCEPINFO*,
                                   UINT* pn_ArgError)
{
    if (!pco_Params)
        return E_INVALIDARG;
    // Only the value of a property put may be named, and only as such.
    const bool b_Put = (n_Flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (pco_Params->cNamedArgs > (b_Put ? 1u : 0u) ||
        (pco_Params->cNamedArgs == 1 && pco_Params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_NONAMEDARGS;

    VARIANT co_Result;
    VariantInit(&co_Result);
    UINT n_ArgError = 0;
    const HRESULT hr_Result = hr_Invoke(i_Member, n_Flags, *pco_Params, co_Result, n_ArgError);
    if ((hr_Result == DISP_E_TYPEMISMATCH || hr_Result == DISP_E_PARAMNOTFOUND) && pn_ArgError)
        *pn_ArgError = n_ArgError;
    if (SUCCEEDED(hr_Result) && pco_Result)
        *pco_Result = co_Result;
    else
        VariantClear(&co_Result);
    return hr_Result;
}

HRESULT CT_LateBoundObject::shr_GetArgument(DISPPARAMS& co_Params, UINT n_Index, VARTYPE n_Type,
                                            VARIANT& co_Value, UINT& n_ArgError)
{
    if (n_Index >= co_Params.cArgs)
        return DISP_E_BADPARAMCOUNT;
    const UINT n_Slot = co_Params.cArgs - 1 - n_Index;
    VariantInit(&co_Value);
    if (FAILED(VariantChangeType(&co_Value, &co_Params.rgvarg[n_Slot], 0, n_Type)))
    {
        n_ArgError = n_Slot;
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}
