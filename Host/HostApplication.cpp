#include "HostApplication.h"

#include "HostDocument.h"

#include <algorithm>

HRESULT CT_HostApplication::shr_Create(REFIID co_Iid, void** ppv_Object)
{
    CT_HostRef<CT_HostApplication> co_Application(new CT_HostApplication);
    return co_Application->QueryInterface(co_Iid, ppv_Object);
}

CT_HostApplication::~CT_HostApplication()
{
    for (CT_HostRef<CT_HostDocument>& co_Document : co_Documents)
        co_Document->v_Detach();
}

void CT_HostApplication::v_Remove(CT_HostDocument* pco_Document)
{
    if (pco_Active == pco_Document)
        pco_Active = nullptr;
    std::erase_if(co_Documents, [pco_Document](const CT_HostRef<CT_HostDocument>& co_Document)
                  { return co_Document.pco_Get() == pco_Document; });
}

HRESULT CT_HostApplication::GetName(BSTR* pbstr_Name)
{
    return CT_HostBstr::shr_Return(u"Markpad", pbstr_Name);
}

HRESULT CT_HostApplication::GetVersion(BSTR* pbstr_Version)
{
    return CT_HostBstr::shr_Return(u"1.0 (stand-in)", pbstr_Version);
}

HRESULT CT_HostApplication::GetDocumentCount(LONG* pi_Count)
{
    return hr_Return(static_cast<LONG>(co_Documents.size()), pi_Count);
}

HRESULT CT_HostApplication::GetDocument(LONG i_Index, IDispatch** ppco_Document)
{
    if (i_Index < 1 || static_cast<size_t>(i_Index) > co_Documents.size())
        return E_INVALIDARG;
    return hr_ReturnDispatch(co_Documents[static_cast<size_t>(i_Index - 1)].pco_Get(),
                             ppco_Document);
}

HRESULT CT_HostApplication::OpenDocument(BSTR bstr_Path, LONG i_DocumentType,
                                         BSTR bstr_OriginalPath, IDispatch** ppco_Document)
{
    if (!ppco_Document)
        return E_POINTER;
    *ppco_Document = nullptr;
    CT_HostRef<CT_HostDocument> co_Document;
    const HRESULT hr_Result =
        CT_HostDocument::shr_Open(this, CT_HostBstr::sco_Text(bstr_Path), i_DocumentType,
                                  CT_HostBstr::sco_Text(bstr_OriginalPath), co_Document.ppco_Put());
    if (FAILED(hr_Result))
        return hr_Result;
    pco_Active = co_Document.pco_Get();
    co_Documents.push_back(std::move(co_Document));
    return hr_ReturnDispatch(pco_Active, ppco_Document);
}

HRESULT CT_HostApplication::SetActiveDocument(IDispatch* pco_Document)
{
    if (!pco_Document)
    {
        pco_Active = nullptr;
        return S_OK;
    }
    // Object identity is the IUnknown pointer.
    CT_HostRef<IUnknown> co_Identity;
    HRESULT hr_Result = pco_Document->QueryInterface(IID_IUnknown, co_Identity.ppv_Put());
    if (FAILED(hr_Result))
        return hr_Result;
    const auto co_Found =
        std::find_if(co_Documents.begin(), co_Documents.end(),
                     [&](const CT_HostRef<CT_HostDocument>& co_Own)
                     { return static_cast<IUnknown*>(co_Own.pco_Get()) == co_Identity.pco_Get(); });
    if (co_Found == co_Documents.end())
        return E_INVALIDARG;
    pco_Active = co_Found->pco_Get();
    return S_OK;
}

HRESULT CT_HostApplication::GetActiveDocument(IDispatch** ppco_Document)
{
    return hr_ReturnDispatch(pco_Active, ppco_Document);
}
