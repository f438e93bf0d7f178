// CT_SettingsFrame: the console host's property frame, in which the Markpad editor shows a
// plug-in's settings: the first page the plug-in names (ISpecifyPropertyPages), with OK, Cancel
// and Apply below it. OK and Apply apply the page whether or not it reports changes (a page may
// never report them); Cancel and closing the window leave what was not applied. The frame is
// the page's site and hands it the plug-in as its one object.
//
// Modal and single-threaded: shr_Show runs the frame's message loop on the calling thread,
// which must be in a single-threaded apartment, and returns when the frame is closed.
#pragma once

#include "HostRef.h"

#include <ocidl.h>

class CT_SettingsFrame final : public IPropertyPageSite
{
public:
    // S_FALSE when the object names no page; a failure of the page's creation or activation
    // is returned.
    static HRESULT shr_Show(IUnknown* pco_Object);

    // The frame's caption is the page's title followed by this; the Apply button's identifier.
    static constexpr const wchar_t* sqcwz_CaptionEnd = L"Properties";
    static constexpr int si_ApplyID = 0x3021;

    // IUnknown, for the page; the frame lives on the caller's stack.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID co_Iid, void** ppv_Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IPropertyPageSite
    HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD n_Flags) override;
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pn_Locale) override;
    HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** ppco_Container) override;
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* pco_Message) override;

private:
    CT_SettingsFrame() = default;
    ~CT_SettingsFrame() = default;

    HRESULT hr_Run(IUnknown* pco_Object);
    HRESULT hr_Open(const PROPPAGEINFO& co_Info);
    void v_AddButton(int i_ID, const wchar_t* qcwz_Text, int i_Left, int i_Top, DWORD n_Style);
    void v_RunMessageLoop();
    void v_OnCommand(WORD n_ID);
    static INT_PTR CALLBACK si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam,
                                          LPARAM n_LParam);

    CT_HostRef<IPropertyPage> co_Page;
    HWND h_Frame = nullptr;
    bool b_Open = false;
    LONG i_References = 0;
};
