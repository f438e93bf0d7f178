// CT_PropertyPage: the standard part of a COM property page bound to a dialog template of the
// module. It keeps the page site and the objects the frame hands over (a reference to each),
// creates the page's dialog as a child of the frame's window on Activate and destroys it on
// Deactivate, answers GetPageInfo from the template and three string resources, and keeps the
// dirty flag. A derived page handles the dialog's messages and overrides the members whose
// behaviour is its own (Apply, Help, and Activate around the standard activation).
//
// Pages run on the apartment thread of their frame; nothing is locked.
#pragma once

#include "ComModule.h"
#include "ComPtr.h"

#include <ocidl.h>

#include <vector>

class CT_PropertyPage : private CT_ComObjectBase, public IPropertyPage
{
public:
    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Interface, void** ppv_Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyPage
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* pco_Site) override;
    // A null rectangle leaves the dialog at the size of its template.
    HRESULT STDMETHODCALLTYPE Activate(HWND h_Parent, LPCRECT pcso_Rect, BOOL b_Modal) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* pso_Info) override;
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG n_Objects, IUnknown** ppco_Objects) override;
    HRESULT STDMETHODCALLTYPE Show(UINT n_Show) override;
    HRESULT STDMETHODCALLTYPE Move(LPCRECT pcso_Rect) override;
    HRESULT STDMETHODCALLTYPE IsPageDirty() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR qcwz_HelpDirectory) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pso_Message) override;

protected:
    // The string resources give the title, the document string and the help file.
    CT_PropertyPage(unsigned n_DialogID, unsigned n_TitleID, unsigned n_DocStringID,
                    unsigned n_HelpFileID);
    ~CT_PropertyPage() override;
    CT_PropertyPage(const CT_PropertyPage&) = delete;
    CT_PropertyPage& operator=(const CT_PropertyPage&) = delete;

    // A message of the page's dialog, from WM_INITDIALOG on; the result is the dialog
    // procedure's (FALSE: not handled, the standard handling applies).
    virtual INT_PTR vi_OnMessage(UINT n_Message, WPARAM n_WParam, LPARAM n_LParam) = 0;

    HWND h_GetWindow() const { return h_Window; }
    // Tells the site when the flag changes.
    void v_SetDirty(int b_NewDirty);

private:
    static INT_PTR CALLBACK si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam,
                                          LPARAM n_LParam);
    void v_ReleaseObjects();

    const unsigned n_DialogID;
    const unsigned n_TitleID;
    const unsigned n_DocStringID;
    const unsigned n_HelpFileID;
    CT_ComPtr<IPropertyPageSite> co_Site;
    std::vector<IUnknown*> apco_Objects; // one reference each
    HWND h_Window = nullptr;
    int b_Dirty = 0;
};
