#include "PropertyPage.h"

#include "Basis/Runtime/LoadString.h"
#include "DialogTemplate.h"
#include "System/String/UString.h"

#include <cstring>

namespace
{
// A string resource of the module as a task-memory copy for the frame, which frees it.
HRESULT hr_TaskString(unsigned n_ID, LPOLESTR* ppw_Text)
{
    CT_UString co_Text;
    CT_LoadString::sv_LoadString(&co_Text, CT_ComModule::sh_GetInstance(), n_ID);
    const unsigned n_Bytes = (co_Text.n_GetLength() + 1) * sizeof(char16_t);
    *ppw_Text = static_cast<LPOLESTR>(CoTaskMemAlloc(n_Bytes));
    if (!*ppw_Text)
        return E_OUTOFMEMORY;
    std::memcpy(*ppw_Text, co_Text.qcuz_Get(), n_Bytes);
    return S_OK;
}
} // namespace

CT_PropertyPage::CT_PropertyPage(unsigned n_DialogID, unsigned n_TitleID, unsigned n_DocStringID,
                                 unsigned n_HelpFileID)
    : CT_ComObjectBase(0), n_DialogID(n_DialogID), n_TitleID(n_TitleID),
      n_DocStringID(n_DocStringID), n_HelpFileID(n_HelpFileID)
{
}

// A frame that lets go of a page without deactivating it leaves the dialog to the page: it goes
// without calling into the page, whose derived part is gone by now.
CT_PropertyPage::~CT_PropertyPage()
{
    if (h_Window)
    {
        SetWindowLongPtrW(h_Window, DWLP_USER, 0);
        DestroyWindow(h_Window);
    }
    v_ReleaseObjects();
}

// IUnknown

HRESULT STDMETHODCALLTYPE CT_PropertyPage::QueryInterface(REFIID ro_Interface, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    if (!IsEqualIID(ro_Interface, IID_IUnknown) && !IsEqualIID(ro_Interface, IID_IPropertyPage))
        return E_NOINTERFACE;
    *ppv_Object = static_cast<IPropertyPage*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CT_PropertyPage::AddRef()
{
    return n_AddRef();
}

ULONG STDMETHODCALLTYPE CT_PropertyPage::Release()
{
    return n_Release();
}

// IPropertyPage

// A frame hands over its site once and takes it back with a null site.
HRESULT STDMETHODCALLTYPE CT_PropertyPage::SetPageSite(IPropertyPageSite* pco_Site)
{
    if (!pco_Site)
    {
        co_Site.v_Release();
        return S_OK;
    }
    if (co_Site)
        return E_UNEXPECTED;
    pco_Site->AddRef();
    *co_Site.ppco_Put() = pco_Site;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Activate(HWND h_Parent, LPCRECT pcso_Rect, BOOL)
{
    if (h_Window)
        return E_UNEXPECTED;
    // WM_INITDIALOG runs inside the creation and finds the page through its parameter.
    HWND h_Created =
        CreateDialogParamW(CT_ComModule::sh_GetInstance(), MAKEINTRESOURCEW(n_DialogID), h_Parent,
                           &si_DialogProc, reinterpret_cast<LPARAM>(this));
    if (!h_Created)
    {
        DWORD n_Error = GetLastError();
        return n_Error ? HRESULT_FROM_WIN32(n_Error) : E_FAIL;
    }
    b_Dirty = 0;
    return pcso_Rect ? Move(pcso_Rect) : S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Deactivate()
{
    if (h_Window)
        DestroyWindow(h_Window);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::GetPageInfo(PROPPAGEINFO* pso_Info)
{
    if (!pso_Info)
        return E_POINTER;
    *pso_Info = {};
    pso_Info->cb = sizeof(PROPPAGEINFO);
    HRESULT hr_Result =
        CT_DialogTemplate::shr_GetSize(CT_ComModule::sh_GetInstance(), n_DialogID, &pso_Info->size);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_TaskString(n_TitleID, &pso_Info->pszTitle);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_TaskString(n_DocStringID, &pso_Info->pszDocString);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_TaskString(n_HelpFileID, &pso_Info->pszHelpFile);
    if (FAILED(hr_Result))
    {
        CoTaskMemFree(pso_Info->pszTitle);
        CoTaskMemFree(pso_Info->pszDocString);
        *pso_Info = {};
    }
    return hr_Result;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::SetObjects(ULONG n_Objects, IUnknown** ppco_Objects)
{
    if (n_Objects && !ppco_Objects)
        return E_POINTER;
    v_ReleaseObjects();
    for (ULONG n_Index = 0; n_Index < n_Objects; ++n_Index)
        if (ppco_Objects[n_Index])
        {
            ppco_Objects[n_Index]->AddRef();
            apco_Objects.push_back(ppco_Objects[n_Index]);
        }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Show(UINT n_Show)
{
    if (!h_Window)
        return E_UNEXPECTED;
    ShowWindow(h_Window, static_cast<int>(n_Show));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Move(LPCRECT pcso_Rect)
{
    if (!pcso_Rect)
        return E_POINTER;
    if (!h_Window)
        return E_UNEXPECTED;
    MoveWindow(h_Window, pcso_Rect->left, pcso_Rect->top, pcso_Rect->right - pcso_Rect->left,
               pcso_Rect->bottom - pcso_Rect->top, TRUE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::IsPageDirty()
{
    return b_Dirty ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Apply()
{
    v_SetDirty(0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_PropertyPage::Help(LPCOLESTR)
{
    return E_NOTIMPL;
}

// Keyboard navigation of the page's own controls.
HRESULT STDMETHODCALLTYPE CT_PropertyPage::TranslateAccelerator(MSG* pso_Message)
{
    if (!pso_Message)
        return E_POINTER;
    if (!h_Window || (pso_Message->message < WM_KEYFIRST || pso_Message->message > WM_KEYLAST))
        return S_FALSE;
    return IsDialogMessageW(h_Window, pso_Message) ? S_OK : S_FALSE;
}

void CT_PropertyPage::v_SetDirty(int b_NewDirty)
{
    if (!b_Dirty == !b_NewDirty)
        return;
    b_Dirty = b_NewDirty ? 1 : 0;
    if (co_Site)
        co_Site->OnStatusChange(b_Dirty ? PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE
                                        : PROPPAGESTATUS_CLEAN);
}

void CT_PropertyPage::v_ReleaseObjects()
{
    for (IUnknown* pco_Object : apco_Objects)
        pco_Object->Release();
    apco_Objects.clear();
}

INT_PTR CALLBACK CT_PropertyPage::si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam,
                                                LPARAM n_LParam)
{
    if (n_Message == WM_INITDIALOG)
    {
        SetWindowLongPtrW(h_Dialog, DWLP_USER, n_LParam);
        reinterpret_cast<CT_PropertyPage*>(n_LParam)->h_Window = h_Dialog;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no page yet.
    CT_PropertyPage* pco_Page =
        reinterpret_cast<CT_PropertyPage*>(GetWindowLongPtrW(h_Dialog, DWLP_USER));
    if (!pco_Page)
        return FALSE;
    INT_PTR i_Result = pco_Page->vi_OnMessage(n_Message, n_WParam, n_LParam);
    if (n_Message == WM_NCDESTROY)
    {
        pco_Page->h_Window = nullptr;
        SetWindowLongPtrW(h_Dialog, DWLP_USER, 0);
    }
    return i_Result;
}
