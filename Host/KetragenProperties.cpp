#include "KetragenProperties.h"

CT_KetragenProperties* CT_KetragenProperties::spco_NewPaths()
{
    return new CT_KetragenProperties(VT_BSTR, {KetragenOriginalFolder, KetragenTranslatedFolder});
}

CT_KetragenProperties* CT_KetragenProperties::spco_NewReporting(long i_MemberCount)
{
    std::vector<DISPID> co_Members;
    for (DISPID i_Member = 1; i_Member <= i_MemberCount; ++i_Member)
        co_Members.push_back(i_Member);
    return new CT_KetragenProperties(VT_BOOL, co_Members);
}

CT_KetragenProperties::CT_KetragenProperties(VARTYPE n_ValueType,
                                             const std::vector<DISPID>& co_Members)
    : CT_LateBoundObject(nullptr), n_Type(n_ValueType)
{
    for (DISPID i_Member : co_Members)
    {
        st_Property co_Property{i_Member, {}};
        VariantInit(&co_Property.co_Value);
        co_Property.co_Value.vt = n_Type;
        if (n_Type == VT_BSTR)
            co_Property.co_Value.bstrVal = SysAllocString(L"");
        co_Properties.push_back(co_Property);
    }
}

CT_KetragenProperties::~CT_KetragenProperties()
{
    for (st_Property& co_Property : co_Properties)
        VariantClear(&co_Property.co_Value);
}

std::u16string CT_KetragenProperties::co_GetText(DISPID i_Member) const
{
    const VARIANT* pcco_Value = pcco_Find(i_Member);
    return pcco_Value && pcco_Value->vt == VT_BSTR ? CT_HostBstr::sco_Text(pcco_Value->bstrVal)
                                                   : std::u16string();
}

bool CT_KetragenProperties::b_GetFlag(DISPID i_Member) const
{
    const VARIANT* pcco_Value = pcco_Find(i_Member);
    return pcco_Value && pcco_Value->vt == VT_BOOL && pcco_Value->boolVal != 0;
}

HRESULT CT_KetragenProperties::hr_Invoke(DISPID i_Member, WORD n_Flags, DISPPARAMS& co_Params,
                                         VARIANT& co_Result, UINT& n_ArgError)
{
    VARIANT* pco_Value = pco_Find(i_Member);
    if (!pco_Value)
        return DISP_E_MEMBERNOTFOUND;
    if (n_Flags & DISPATCH_PROPERTYPUT)
    {
        if (co_Params.cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        VARIANT co_New;
        const HRESULT hr_Result = shr_GetArgument(co_Params, 0, n_Type, co_New, n_ArgError);
        if (FAILED(hr_Result))
            return hr_Result;
        VariantClear(pco_Value);
        *pco_Value = co_New;
        return S_OK;
    }
    if (n_Flags & DISPATCH_PROPERTYGET)
        return co_Params.cArgs == 0 ? VariantCopy(&co_Result, pco_Value) : DISP_E_BADPARAMCOUNT;
    return DISP_E_MEMBERNOTFOUND;
}

VARIANT* CT_KetragenProperties::pco_Find(DISPID i_Member)
{
    return const_cast<VARIANT*>(pcco_Find(i_Member));
}

const VARIANT* CT_KetragenProperties::pcco_Find(DISPID i_Member) const
{
    for (const st_Property& co_Property : co_Properties)
        if (co_Property.i_Member == i_Member)
            return &co_Property.co_Value;
    return nullptr;
}
