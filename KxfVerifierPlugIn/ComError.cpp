#include "ComError.h"

#include "ComPtr.h"

HRESULT CT_ComError::shr_Set(REFGUID ro_Interface, const OLECHAR* qcwz_Source,
                             const OLECHAR* qcwz_Description, const OLECHAR* qcwz_HelpFile,
                             DWORD n_HelpContext)
{
    CT_ComPtr<ICreateErrorInfo> co_Create;
    HRESULT hr_Result = CreateErrorInfo(co_Create.ppco_Put());
    if (FAILED(hr_Result))
        return hr_Result;
    co_Create->SetGUID(ro_Interface);
    if (qcwz_Source)
        co_Create->SetSource(const_cast<OLECHAR*>(qcwz_Source));
    if (qcwz_Description)
        co_Create->SetDescription(const_cast<OLECHAR*>(qcwz_Description));
    if (qcwz_HelpFile)
    {
        co_Create->SetHelpFile(const_cast<OLECHAR*>(qcwz_HelpFile));
        co_Create->SetHelpContext(n_HelpContext);
    }
    CT_ComPtr<IErrorInfo> co_Error;
    hr_Result = co_Create->QueryInterface(IID_IErrorInfo, co_Error.ppv_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = SetErrorInfo(0, co_Error.pco_Get());
    return hr_Result;
}
