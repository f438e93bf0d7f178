#include "SettingsFrame.h"

#include <string>

namespace
{
// Layout in pixels: the page with a margin round it, the buttons in a row under its right end.
constexpr int i_Margin = 8;
constexpr int i_ButtonWidth = 75;
constexpr int i_ButtonHeight = 23;
constexpr int i_ButtonGap = 6;

// A dialog without controls: the frame adds the page and its buttons once it knows the page's
// size. The menu, class and title fields follow the fixed part, all empty.
struct alignas(4) st_FrameTemplate
{
    DLGTEMPLATE co_Dialog;
    WORD an_MenuClassTitle[3];
};
const st_FrameTemplate sco_Template = {
    {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 0, 0, 0}, {0, 0, 0}};

void v_FreePageInfo(PROPPAGEINFO& co_Info)
{
    CoTaskMemFree(co_Info.pszTitle);
    CoTaskMemFree(co_Info.pszDocString);
    CoTaskMemFree(co_Info.pszHelpFile);
}
} // namespace

HRESULT CT_SettingsFrame::shr_Show(IUnknown* pco_Object)
{
    CT_SettingsFrame co_Frame;
    return co_Frame.hr_Run(pco_Object);
}

HRESULT CT_SettingsFrame::hr_Run(IUnknown* pco_Object)
{
    if (!pco_Object)
        return E_POINTER;
    CT_HostRef<ISpecifyPropertyPages> co_Pages;
    CAUUID co_Classes = {};
    HRESULT hr_Result = pco_Object->QueryInterface(IID_ISpecifyPropertyPages, co_Pages.ppv_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Pages->GetPages(&co_Classes);
    if (FAILED(hr_Result))
        return hr_Result;
    const CLSID co_First = co_Classes.cElems ? co_Classes.pElems[0] : CLSID_NULL;
    CoTaskMemFree(co_Classes.pElems);
    if (co_Classes.cElems == 0)
        return S_FALSE;

    hr_Result = CoCreateInstance(co_First, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                 co_Page.ppv_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Page->SetPageSite(this);
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Page->SetObjects(1, &pco_Object);
    PROPPAGEINFO co_Info = {};
    co_Info.cb = sizeof co_Info;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Page->GetPageInfo(&co_Info);
    if (SUCCEEDED(hr_Result))
        hr_Result = hr_Open(co_Info);
    v_FreePageInfo(co_Info);
    if (SUCCEEDED(hr_Result))
        v_RunMessageLoop();

    if (co_Page)
    {
        co_Page->Deactivate();
        co_Page->SetObjects(0, nullptr);
        co_Page->SetPageSite(nullptr);
        co_Page.v_Release();
    }
    if (h_Frame)
        DestroyWindow(h_Frame);
    return FAILED(hr_Result) ? hr_Result : S_OK;
}

HRESULT CT_SettingsFrame::hr_Open(const PROPPAGEINFO& co_Info)
{
    h_Frame = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &sco_Template.co_Dialog,
                                         nullptr, &si_DialogProc, reinterpret_cast<LPARAM>(this));
    if (!h_Frame)
        return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring co_Caption =
        std::wstring(co_Info.pszTitle ? co_Info.pszTitle : L"") + sqcwz_CaptionEnd;
    SetWindowTextW(h_Frame, co_Caption.c_str());

    const int i_ButtonTop = i_Margin + co_Info.size.cy + i_Margin;
    RECT co_Outer = {0, 0, co_Info.size.cx + 2 * i_Margin, i_ButtonTop + i_ButtonHeight + i_Margin};
    AdjustWindowRectEx(&co_Outer, static_cast<DWORD>(GetWindowLongW(h_Frame, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(h_Frame, GWL_EXSTYLE)));
    const int i_Width = co_Outer.right - co_Outer.left;
    const int i_Height = co_Outer.bottom - co_Outer.top;
    SetWindowPos(h_Frame, nullptr, (GetSystemMetrics(SM_CXSCREEN) - i_Width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - i_Height) / 2, i_Width, i_Height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    // S_FALSE (a page with nothing to edit) is an activation too.
    const RECT co_PageRect = {i_Margin, i_Margin, i_Margin + co_Info.size.cx,
                              i_Margin + co_Info.size.cy};
    const HRESULT hr_Result = co_Page->Activate(h_Frame, &co_PageRect, TRUE);
    if (FAILED(hr_Result))
        return hr_Result;
    // The page's window is the frame's first child: its controls join the frame's keyboard
    // navigation and mnemonics.
    if (HWND h_PageWindow = GetWindow(h_Frame, GW_CHILD))
        SetWindowLongW(h_PageWindow, GWL_EXSTYLE,
                       GetWindowLongW(h_PageWindow, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);

    const int i_Right = i_Margin + co_Info.size.cx;
    const int i_Step = i_ButtonWidth + i_ButtonGap;
    v_AddButton(IDOK, L"OK", i_Right - 3 * i_Step + i_ButtonGap, i_ButtonTop, BS_DEFPUSHBUTTON);
    v_AddButton(IDCANCEL, L"Cancel", i_Right - 2 * i_Step + i_ButtonGap, i_ButtonTop, 0);
    v_AddButton(si_ApplyID, L"&Apply", i_Right - i_Step + i_ButtonGap, i_ButtonTop, 0);
    co_Page->Show(SW_SHOW);
    ShowWindow(h_Frame, SW_SHOW);
    SetFocus(GetNextDlgTabItem(h_Frame, nullptr, FALSE));
    b_Open = true;
    return S_OK;
}

void CT_SettingsFrame::v_AddButton(int i_ID, const wchar_t* qcwz_Text, int i_Left, int i_Top,
                                   DWORD n_Style)
{
    HWND h_Button = CreateWindowExW(
        0, L"BUTTON", qcwz_Text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | n_Style, i_Left, i_Top,
        i_ButtonWidth, i_ButtonHeight, h_Frame, reinterpret_cast<HMENU>(static_cast<INT_PTR>(i_ID)),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(h_Button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
}

// The frame's dialog navigation covers the page's controls too (see hr_Open). A quit message
// ends the frame and is posted again for the caller's loop.
void CT_SettingsFrame::v_RunMessageLoop()
{
    MSG co_Message;
    while (b_Open)
    {
        const BOOL b_Got = GetMessageW(&co_Message, nullptr, 0, 0);
        if (b_Got <= 0)
        {
            if (b_Got == 0)
                PostQuitMessage(static_cast<int>(co_Message.wParam));
            return;
        }
        if (IsDialogMessageW(h_Frame, &co_Message))
            continue;
        TranslateMessage(&co_Message);
        DispatchMessageW(&co_Message);
    }
}

// A page that refuses Apply keeps the frame open on OK.
void CT_SettingsFrame::v_OnCommand(WORD n_ID)
{
    if ((n_ID == IDOK || n_ID == si_ApplyID) && FAILED(co_Page->Apply()))
        return;
    if (n_ID == IDOK || n_ID == IDCANCEL)
        b_Open = false;
}

INT_PTR CALLBACK CT_SettingsFrame::si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam,
                                                 LPARAM n_LParam)
{
    if (n_Message == WM_INITDIALOG)
    {
        SetWindowLongPtrW(h_Dialog, DWLP_USER, n_LParam);
        return FALSE;
    }
    auto* pco_Frame = reinterpret_cast<CT_SettingsFrame*>(GetWindowLongPtrW(h_Dialog, DWLP_USER));
    if (!pco_Frame || n_Message != WM_COMMAND || HIWORD(n_WParam) != BN_CLICKED)
        return FALSE;
    pco_Frame->v_OnCommand(LOWORD(n_WParam));
    return TRUE;
}

HRESULT STDMETHODCALLTYPE CT_SettingsFrame::QueryInterface(REFIID co_Iid, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    if (!IsEqualIID(co_Iid, IID_IUnknown) && !IsEqualIID(co_Iid, IID_IPropertyPageSite))
        return E_NOINTERFACE;
    *ppv_Object = static_cast<IPropertyPageSite*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CT_SettingsFrame::AddRef()
{
    return static_cast<ULONG>(++i_References);
}

ULONG STDMETHODCALLTYPE CT_SettingsFrame::Release()
{
    return static_cast<ULONG>(--i_References);
}

// Apply stays available whatever the page reports.
HRESULT STDMETHODCALLTYPE CT_SettingsFrame::OnStatusChange(DWORD)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_SettingsFrame::GetLocaleID(LCID* pn_Locale)
{
    if (!pn_Locale)
        return E_POINTER;
    *pn_Locale = GetUserDefaultLCID();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_SettingsFrame::GetPageContainer(IUnknown** ppco_Container)
{
    if (ppco_Container)
        *ppco_Container = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CT_SettingsFrame::TranslateAccelerator(MSG*)
{
    return S_FALSE;
}
