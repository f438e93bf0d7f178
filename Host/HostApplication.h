// CT_HostApplication: the stand-in Markpad application. It opens documents (each one a
// translation with the path of its original and a document type), keeps them in opening order
// (positions from 1) and knows the active one, which is the last opened unless set otherwise.
// Owns its documents; a document keeps only a plain pointer back, which the application clears
// when it goes. Apartment-threaded.
#pragma once

#include "ComObject.h"
#include "HostRef.h"
#include "MarkpadHost_h.h"

#include <vector>

class CT_HostDocument;

class CT_HostApplication : public CT_DualObject<IHostApplication>
{
public:
    static HRESULT shr_Create(REFIID co_Iid, void** ppv_Object);

    // A document's Close: it leaves the application (and stops being active).
    void v_Remove(CT_HostDocument* pco_Document);

    HRESULT STDMETHODCALLTYPE GetName(BSTR* pbstr_Name) override;
    HRESULT STDMETHODCALLTYPE GetVersion(BSTR* pbstr_Version) override;
    HRESULT STDMETHODCALLTYPE GetDocumentCount(LONG* pi_Count) override;
    HRESULT STDMETHODCALLTYPE GetDocument(LONG i_Index, IDispatch** ppco_Document) override;
    HRESULT STDMETHODCALLTYPE OpenDocument(BSTR bstr_Path, LONG i_DocumentType,
                                           BSTR bstr_OriginalPath,
                                           IDispatch** ppco_Document) override;
    HRESULT STDMETHODCALLTYPE SetActiveDocument(IDispatch* pco_Document) override;
    HRESULT STDMETHODCALLTYPE GetActiveDocument(IDispatch** ppco_Document) override;

private:
    CT_HostApplication() = default;
    ~CT_HostApplication() override;

    std::vector<CT_HostRef<CT_HostDocument>> co_Documents;
    CT_HostDocument* pco_Active = nullptr; // one of co_Documents, or none
};
