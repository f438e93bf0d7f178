// CT_HostDocument: a translated document open in the stand-in Markpad application: its text
// (read from its path when opened), the path of its original and its document type. It has no
// selection (start and end 0) and no language information (E_NOTIMPL). Created by
// CT_HostApplication::OpenDocument; apartment-threaded.
#pragma once

#include "ComObject.h"
#include "MarkpadHost_h.h"

#include <string>

class CT_HostApplication;

class CT_HostDocument : public CT_DualObject<IHostDocument>
{
public:
    // A new document with the text of the file at co_Path, or the Win32 error of reading it.
    static HRESULT shr_Open(CT_HostApplication* pco_Owner, const std::u16string& co_Path,
                            long i_DocumentType, const std::u16string& co_OriginalPath,
                            CT_HostDocument** ppco_Document);
    // The application goes away or has closed the document.
    void v_Detach() { pco_Application = nullptr; }

    HRESULT STDMETHODCALLTYPE GetApplication(IDispatch** ppco_Application) override;
    HRESULT STDMETHODCALLTYPE GetPath(BSTR* pbstr_Path) override;
    HRESULT STDMETHODCALLTYPE Save() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE GetName(BSTR* pbstr_Name) override;
    HRESULT STDMETHODCALLTYPE GetSourceLanguage(LONG* pi_Language) override;
    HRESULT STDMETHODCALLTYPE GetTargetLanguage(LONG* pi_Language) override;
    HRESULT STDMETHODCALLTYPE GetOriginalPath(BSTR* pbstr_Path) override;
    HRESULT STDMETHODCALLTYPE SetOriginalPath(BSTR bstr_Path) override;
    HRESULT STDMETHODCALLTYPE GetModified(VARIANT_BOOL* pb_Modified) override;
    HRESULT STDMETHODCALLTYPE GetLength(LONG* pi_Length) override;
    HRESULT STDMETHODCALLTYPE GetText(BSTR* pbstr_Text) override;
    HRESULT STDMETHODCALLTYPE SetText(BSTR bstr_Text) override;
    HRESULT STDMETHODCALLTYPE SaveTranslatedAs(BSTR bstr_Path) override;
    HRESULT STDMETHODCALLTYPE GetSelectionStart(LONG* pi_Position) override;
    HRESULT STDMETHODCALLTYPE GetSelectionEnd(LONG* pi_Position) override;
    HRESULT STDMETHODCALLTYPE GetDocumentType(LONG* pi_Type) override;

private:
    CT_HostDocument() = default;
    // The text into co_Path, or the Win32 error of writing it.
    HRESULT hr_Write(const std::u16string& co_TargetPath) const;

    CT_HostApplication* pco_Application = nullptr; // not owned: the application owns us
    std::u16string co_Path;
    std::u16string co_OriginalPath;
    std::u16string co_Text;
    long i_Type = 0;
    bool b_Modified = false;
};
