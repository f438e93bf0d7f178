#include "HostDocument.h"

#include "HostApplication.h"
#include "HostRef.h"
#include "TextFile.h"

HRESULT CT_HostDocument::shr_Open(CT_HostApplication* pco_Owner, const std::u16string& co_Path,
                                  long i_DocumentType, const std::u16string& co_OriginalPath,
                                  CT_HostDocument** ppco_Document)
{
    CT_HostRef<CT_HostDocument> co_Document(new CT_HostDocument);
    if (!CT_TextFile::sb_Read(co_Path, co_Document->co_Text))
        return hr_LastError();
    co_Document->pco_Application = pco_Owner;
    co_Document->co_Path = co_Path;
    co_Document->co_OriginalPath = co_OriginalPath;
    co_Document->i_Type = i_DocumentType;
    *ppco_Document = co_Document.pco_Detach();
    return S_OK;
}

HRESULT CT_HostDocument::GetApplication(IDispatch** ppco_Application)
{
    return hr_ReturnDispatch(pco_Application, ppco_Application);
}

HRESULT CT_HostDocument::GetPath(BSTR* pbstr_Path)
{
    return CT_HostBstr::shr_Return(co_Path, pbstr_Path);
}

HRESULT CT_HostDocument::Save()
{
    const HRESULT hr_Result = hr_Write(co_Path);
    if (SUCCEEDED(hr_Result))
        b_Modified = false;
    return hr_Result;
}

HRESULT CT_HostDocument::Close()
{
    // The application may hold the last reference to us.
    CT_HostRef<CT_HostDocument> co_Self = CT_HostRef<CT_HostDocument>::sco_Share(this);
    if (pco_Application)
        pco_Application->v_Remove(this);
    v_Detach();
    return S_OK;
}

HRESULT CT_HostDocument::GetName(BSTR* pbstr_Name)
{
    return CT_HostBstr::shr_Return(CT_TextFile::sco_FileName(co_Path), pbstr_Name);
}

HRESULT CT_HostDocument::GetSourceLanguage(LONG*)
{
    return E_NOTIMPL;
}

HRESULT CT_HostDocument::GetTargetLanguage(LONG*)
{
    return E_NOTIMPL;
}

HRESULT CT_HostDocument::GetOriginalPath(BSTR* pbstr_Path)
{
    return CT_HostBstr::shr_Return(co_OriginalPath, pbstr_Path);
}

HRESULT CT_HostDocument::SetOriginalPath(BSTR bstr_Path)
{
    co_OriginalPath = CT_HostBstr::sco_Text(bstr_Path);
    return S_OK;
}

HRESULT CT_HostDocument::GetModified(VARIANT_BOOL* pb_Modified)
{
    return hr_Return<VARIANT_BOOL>(b_Modified ? VARIANT_TRUE : VARIANT_FALSE, pb_Modified);
}

HRESULT CT_HostDocument::GetLength(LONG* pi_Length)
{
    return hr_Return(static_cast<LONG>(co_Text.size()), pi_Length);
}

HRESULT CT_HostDocument::GetText(BSTR* pbstr_Text)
{
    return CT_HostBstr::shr_Return(co_Text, pbstr_Text);
}

HRESULT CT_HostDocument::SetText(BSTR bstr_Text)
{
    co_Text = CT_HostBstr::sco_Text(bstr_Text);
    b_Modified = true;
    return S_OK;
}

HRESULT CT_HostDocument::SaveTranslatedAs(BSTR bstr_Path)
{
    return hr_Write(CT_HostBstr::sco_Text(bstr_Path));
}

HRESULT CT_HostDocument::GetSelectionStart(LONG* pi_Position)
{
    return hr_Return<LONG>(0, pi_Position);
}

HRESULT CT_HostDocument::GetSelectionEnd(LONG* pi_Position)
{
    return hr_Return<LONG>(0, pi_Position);
}

HRESULT CT_HostDocument::GetDocumentType(LONG* pi_Type)
{
    return hr_Return<LONG>(i_Type, pi_Type);
}

HRESULT CT_HostDocument::hr_Write(const std::u16string& co_TargetPath) const
{
    if (co_TargetPath.empty())
        return E_INVALIDARG;
    return CT_TextFile::sb_Write(co_TargetPath, co_Text) ? S_OK : hr_LastError();
}
