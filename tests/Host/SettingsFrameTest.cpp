// The console host's property frame with a scripted page: what it asks of the page, and what
// OK, Apply, Cancel and closing do. The buttons are pressed from a timer that runs inside the
// frame's message loop.
#include "SettingsFrame.h"
#include "HostTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// {6C1F0C39-58B2-4D0E-9A57-0D5E2A9F4B11}
const CLSID co_FakePageClass = {
    0x6c1f0c39, 0x58b2, 0x4d0e, {0x9a, 0x57, 0x0d, 0x5e, 0x2a, 0x9f, 0x4b, 0x11}};

struct st_Script
{
    std::vector<std::string> co_Log;
    std::vector<HRESULT> co_ApplyResults; // one per Apply, then S_OK
    HRESULT hr_Activate = S_OK;
    std::vector<WPARAM> co_Commands; // posted to the frame once it is up; 0 posts WM_CLOSE
    std::wstring co_Caption;         // of the frame, as the timer found it
    RECT co_PageRect = {};           // of the page's window in the frame's client area
    int i_Buttons = 0;
    int i_LivePages = 0;
};
st_Script co_Script;

template <class T>
class CT_Fake : public T
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID co_Iid, void** ppv_Object) override
    {
        *ppv_Object = nullptr;
        if (!IsEqualIID(co_Iid, IID_IUnknown) && !IsEqualIID(co_Iid, __uuidof(T)))
            return E_NOINTERFACE;
        *ppv_Object = static_cast<T*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++n_References; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG n_Left = --n_References;
        if (n_Left == 0)
            delete this;
        return n_Left;
    }
    virtual ~CT_Fake() = default;

private:
    ULONG n_References = 1;
};

class CT_FakePage : public CT_Fake<IPropertyPage>
{
public:
    CT_FakePage() { ++co_Script.i_LivePages; }
    ~CT_FakePage() override { --co_Script.i_LivePages; }

    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* pco_Site) override
    {
        co_Script.co_Log.push_back(pco_Site ? "SetPageSite" : "SetPageSite(null)");
        co_Site = CT_HostRef<IPropertyPageSite>::sco_Share(pco_Site);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Activate(HWND h_Parent, LPCRECT pco_Rect, BOOL) override
    {
        co_Script.co_Log.push_back("Activate");
        if (FAILED(co_Script.hr_Activate))
            return co_Script.hr_Activate;
        h_Window =
            CreateWindowExW(0, L"STATIC", L"page", WS_CHILD, pco_Rect->left, pco_Rect->top,
                            pco_Rect->right - pco_Rect->left, pco_Rect->bottom - pco_Rect->top,
                            h_Parent, nullptr, nullptr, nullptr);
        return co_Script.hr_Activate;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override
    {
        co_Script.co_Log.push_back("Deactivate");
        if (h_Window)
            DestroyWindow(h_Window);
        h_Window = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* pco_Info) override
    {
        co_Script.co_Log.push_back("GetPageInfo");
        pco_Info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof L"Fake "));
        wcscpy(pco_Info->pszTitle, L"Fake ");
        pco_Info->size = {200, 100};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG n_Objects, IUnknown**) override
    {
        co_Script.co_Log.push_back("SetObjects(" + std::to_string(n_Objects) + ")");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Show(UINT n_Show) override
    {
        co_Script.co_Log.push_back(n_Show == SW_SHOW ? "Show" : "Show(other)");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Move(LPCRECT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsPageDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Apply() override
    {
        co_Script.co_Log.push_back("Apply");
        if (co_Script.co_ApplyResults.empty())
            return S_OK;
        const HRESULT hr_Result = co_Script.co_ApplyResults.front();
        co_Script.co_ApplyResults.erase(co_Script.co_ApplyResults.begin());
        return hr_Result;
    }
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    CT_HostRef<IPropertyPageSite> co_Site;
    HWND h_Window = nullptr;
};

class CT_FakeFactory : public CT_Fake<IClassFactory>
{
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID co_Iid, void** ppv_Object) override
    {
        CT_HostRef<CT_FakePage> co_Page(new CT_FakePage);
        return co_Page->QueryInterface(co_Iid, ppv_Object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

// A plug-in that names the given pages.
class CT_FakePlugIn : public CT_Fake<ISpecifyPropertyPages>
{
public:
    explicit CT_FakePlugIn(std::vector<CLSID> co_TheClasses) : co_Classes(std::move(co_TheClasses))
    {
    }
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pco_Pages) override
    {
        pco_Pages->cElems = static_cast<ULONG>(co_Classes.size());
        pco_Pages->pElems =
            static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (co_Classes.size() + 1)));
        for (size_t n = 0; n < co_Classes.size(); ++n)
            pco_Pages->pElems[n] = co_Classes[n];
        return S_OK;
    }

private:
    std::vector<CLSID> co_Classes;
};

BOOL CALLBACK b_CountButton(HWND h_Child, LPARAM n_Count)
{
    wchar_t aw_Class[16] = L"";
    GetClassNameW(h_Child, aw_Class, 16);
    if (std::wstring(aw_Class) == L"Button")
        ++*reinterpret_cast<int*>(n_Count);
    return TRUE;
}

BOOL CALLBACK b_FindFrame(HWND h_Window, LPARAM n_Found)
{
    if (!IsWindowVisible(h_Window))
        return TRUE;
    *reinterpret_cast<HWND*>(n_Found) = h_Window;
    return FALSE;
}

// Looks at the frame once it is up and presses the script's buttons.
void CALLBACK v_PressButtons(HWND, UINT, UINT_PTR n_Timer, DWORD)
{
    HWND h_Frame = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &b_FindFrame, reinterpret_cast<LPARAM>(&h_Frame));
    if (!h_Frame)
        return;
    KillTimer(nullptr, n_Timer);
    wchar_t aw_Caption[64] = L"";
    GetWindowTextW(h_Frame, aw_Caption, 64);
    co_Script.co_Caption = aw_Caption;
    HWND h_Page = FindWindowExW(h_Frame, nullptr, L"STATIC", L"page");
    GetWindowRect(h_Page, &co_Script.co_PageRect);
    MapWindowPoints(nullptr, h_Frame, reinterpret_cast<POINT*>(&co_Script.co_PageRect), 2);
    EnumChildWindows(h_Frame, &b_CountButton, reinterpret_cast<LPARAM>(&co_Script.i_Buttons));
    for (WPARAM n_Command : co_Script.co_Commands)
        if (n_Command)
            PostMessageW(h_Frame, WM_COMMAND, MAKEWPARAM(n_Command, BN_CLICKED), 0);
        else
            PostMessageW(h_Frame, WM_CLOSE, 0, 0);
}

class SettingsFrame : public ::testing::Test
{
protected:
    void SetUp() override
    {
        co_Script = st_Script();
        CT_HostRef<CT_FakeFactory> co_Factory(new CT_FakeFactory);
        ASSERT_HRESULT_SUCCEEDED(CoRegisterClassObject(co_FakePageClass, co_Factory.pco_Get(),
                                                       CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                                       &n_Registration));
    }
    void TearDown() override
    {
        CoRevokeClassObject(n_Registration);
        EXPECT_EQ(co_Script.i_LivePages, 0) << "the frame left its page alive";
    }

    HRESULT hr_Show(std::vector<WPARAM> co_Commands,
                    std::vector<CLSID> co_Classes = {co_FakePageClass})
    {
        co_Script.co_Commands = std::move(co_Commands);
        CT_HostRef<CT_FakePlugIn> co_PlugIn(new CT_FakePlugIn(std::move(co_Classes)));
        const UINT_PTR n_Timer = SetTimer(nullptr, 0, 10, &v_PressButtons);
        const HRESULT hr_Result = CT_SettingsFrame::shr_Show(co_PlugIn.pco_Get());
        KillTimer(nullptr, n_Timer);
        return hr_Result;
    }

    DWORD n_Registration = 0;
};

using co_Log = std::vector<std::string>;

TEST_F(SettingsFrame, OkAppliesThePageAndCloses)
{
    EXPECT_EQ(st_Hr{S_OK}, st_Hr{hr_Show({CT_SettingsFrame::si_ApplyID, IDOK})});
    EXPECT_EQ(co_Script.co_Log,
              (co_Log{"SetPageSite", "SetObjects(1)", "GetPageInfo", "Activate", "Show", "Apply",
                      "Apply", "Deactivate", "SetObjects(0)", "SetPageSite(null)"}));
    EXPECT_EQ(co_Script.co_Caption, L"Fake Properties");
    EXPECT_EQ(co_Script.co_PageRect.left, 8);
    EXPECT_EQ(co_Script.co_PageRect.top, 8);
    EXPECT_EQ(co_Script.co_PageRect.right, 208);
    EXPECT_EQ(co_Script.co_PageRect.bottom, 108);
    EXPECT_EQ(co_Script.i_Buttons, 3);
}

TEST_F(SettingsFrame, CancelAndClosingApplyNothing)
{
    for (WPARAM n_Command : {WPARAM{IDCANCEL}, WPARAM{0}})
    {
        co_Script.co_Log.clear();
        EXPECT_EQ(st_Hr{S_OK}, st_Hr{hr_Show({n_Command})});
        EXPECT_EQ(co_Script.co_Log,
                  (co_Log{"SetPageSite", "SetObjects(1)", "GetPageInfo", "Activate", "Show",
                          "Deactivate", "SetObjects(0)", "SetPageSite(null)"}));
    }
}

TEST_F(SettingsFrame, RefusedApplyKeepsTheFrameOpen)
{
    co_Script.co_ApplyResults = {E_FAIL};
    EXPECT_EQ(st_Hr{S_OK}, st_Hr{hr_Show({IDOK, IDOK})});
    EXPECT_EQ(std::count(co_Script.co_Log.begin(), co_Script.co_Log.end(), "Apply"), 2);
}

TEST_F(SettingsFrame, FailedActivationIsReportedAndCleanedUp)
{
    co_Script.hr_Activate = E_ACCESSDENIED;
    EXPECT_EQ(st_Hr{E_ACCESSDENIED}, st_Hr{hr_Show({})});
    EXPECT_EQ(co_Script.co_Log.back(), "SetPageSite(null)");
}

TEST_F(SettingsFrame, ObjectsWithoutPages)
{
    EXPECT_EQ(st_Hr{S_FALSE}, st_Hr{hr_Show({}, {})});
    EXPECT_EQ(st_Hr{REGDB_E_CLASSNOTREG}, st_Hr{hr_Show({}, {CLSID_NULL})});
    EXPECT_TRUE(co_Script.co_Log.empty());

    CT_HostRef<CT_FakePage> co_NoPlugIn(new CT_FakePage);
    EXPECT_EQ(st_Hr{E_NOINTERFACE}, st_Hr{CT_SettingsFrame::shr_Show(co_NoPlugIn.pco_Get())});
    EXPECT_EQ(st_Hr{E_POINTER}, st_Hr{CT_SettingsFrame::shr_Show(nullptr)});
}
} // namespace
