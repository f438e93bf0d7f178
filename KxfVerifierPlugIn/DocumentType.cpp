#include "DocumentType.h"

#include "ComPtr.h"
#include "TaggerSettings.h"

#include <new>

namespace
{
// The settings store of the verification belongs to the tagger, not to the verifier.
constexpr int i_Tagger = 0;
} // namespace

std::unique_ptr<CT_TaggerSettings> CT_DocumentType::spco_NewSettings(long i_Type)
{
    return std::unique_ptr<CT_TaggerSettings>(
        new (std::nothrow) CT_TaggerSettings(i_Tagger, i_Type == si_FormatF ? 0 : 1));
}

HRESULT CT_DocumentType::shr_Get(IHostDocument* pco_Document, long* pi_Type)
{
    *pi_Type = 0;
    return pco_Document->GetDocumentType(pi_Type);
}

HRESULT CT_DocumentType::shr_GetActive(IDispatch* pco_Application, long* pi_Type)
{
    *pi_Type = 0;
    if (!pco_Application)
        return E_POINTER;
    CT_ComPtr<IHostApplication> co_Application;
    HRESULT hr_Result =
        pco_Application->QueryInterface(IID_IHostApplication, co_Application.ppv_Put());
    CT_ComPtr<IDispatch> co_Active;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Application->GetActiveDocument(co_Active.ppco_Put());
    if (SUCCEEDED(hr_Result) && !co_Active)
        hr_Result = E_POINTER;
    CT_ComPtr<IHostDocument> co_Document;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Active->QueryInterface(IID_IHostDocument, co_Document.ppv_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = shr_Get(co_Document.pco_Get(), pi_Type);
    return hr_Result;
}
