// What the settings page tests share: a page site of their own, and a fixture that connects
// the plug-in to a scripted host, creates the page through COM and activates it on a hidden
// parent window, with readers of the page's controls.
#pragma once

#include "HostFakes.h"
#include "KxfVerifierPlugIn_h.h"

#include <commctrl.h>
#include <ocidl.h>

#include <string>
#include <vector>

constexpr long i_TypeF = 6;
constexpr long i_TypeI = 7;

// Control identifiers of the page's dialog.
constexpr int i_ListID = 111;
constexpr int i_AboutID = 114;
constexpr int i_GroupID = 205;

class CT_TestPageSite : public CT_TestObject<IPropertyPageSite>
{
public:
    HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD n_Flags) override
    {
        an_Status.push_back(n_Flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID* pn_Locale) override
    {
        *pn_Locale = 0x0409;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown** ppco) override
    {
        *ppco = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

    std::vector<DWORD> an_Status; // every OnStatusChange

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IPropertyPageSite);
    }
};

class SettingsPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        st_Scenario::so_Current = st_Scenario();
        i_LiveAtStart = st_LiveObjects::si_Count;
        h_Parent = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, h_Parent);
        ASSERT_HR(S_OK, CoCreateInstance(CLSID_KxfVerifierPlugIn, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IHostPlugIn, reinterpret_cast<void**>(&pco_PlugIn)));
        ASSERT_HR(S_OK, CoCreateInstance(CLSID_PpgKxfVerifier, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IPropertyPage, reinterpret_cast<void**>(&pco_Page)));
        pco_Site = new CT_TestPageSite;
        ASSERT_HR(S_OK, pco_Page->SetPageSite(pco_Site));
    }

    void TearDown() override
    {
        if (pco_Page)
        {
            pco_Page->Deactivate();
            pco_Page->SetPageSite(nullptr);
            EXPECT_EQ(0u, pco_Page->Release()) << "references left on the page";
        }
        if (pco_PlugIn)
        {
            pco_PlugIn->Disconnect(0);
            pco_PlugIn->Release();
        }
        if (pco_Site)
            pco_Site->Release();
        DestroyWindow(h_Parent);
        EXPECT_EQ(i_LiveAtStart, st_LiveObjects::si_Count) << "test objects left alive";
        EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow")) << "plug-in objects left alive";
    }

    // The plug-in connected to a host whose active document reports i_Type.
    void v_ConnectWithDocument(long i_Type)
    {
        auto* pco_Document = new CT_FakeDocument(L"a.kxf", L"C:\\a.kxf", {i_Type});
        v_Connect(pco_Document);
        pco_Document->Release();
    }
    // A null document: the host has no active document.
    void v_Connect(IDispatch* pco_Active)
    {
        auto* pco_Application = new CT_FakeApplication("app", pco_Active);
        VARIANT_BOOL b_Accepted = 0;
        EXPECT_HR(S_OK, pco_PlugIn->Connect(pco_Application, 0, &b_Accepted));
        pco_Application->Release();
    }

    HRESULT hr_Activate()
    {
        RECT so_Rect = {10, 10, 610, 410};
        return pco_Page->Activate(h_Parent, &so_Rect, TRUE);
    }

    HWND h_Dialog() const { return GetWindow(h_Parent, GW_CHILD); }
    HWND h_List() const { return GetDlgItem(h_Dialog(), i_ListID); }

    std::string co_Caption() const
    {
        char ac[256] = "";
        GetDlgItemTextA(h_Dialog(), i_GroupID, ac, sizeof ac);
        return ac;
    }
    int i_Items() const { return ListView_GetItemCount(h_List()); }
    std::string co_Label(int i_Item) const
    {
        char ac[256] = "";
        LVITEMA so_Item = {};
        so_Item.iSubItem = 1;
        so_Item.pszText = ac;
        so_Item.cchTextMax = sizeof ac;
        SendMessageA(h_List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(i_Item),
                     reinterpret_cast<LPARAM>(&so_Item));
        return ac;
    }
    // 1 unchecked, 2 checked.
    unsigned n_StateImage(int i_Item) const
    {
        return ListView_GetItemState(h_List(), i_Item, LVIS_STATEIMAGEMASK) >> 12;
    }
    std::vector<int> ai_Checked() const
    {
        std::vector<int> ai;
        for (int i_Item = 0; i_Item < i_Items(); ++i_Item)
            if (n_StateImage(i_Item) == 2)
                ai.push_back(i_Item);
        return ai;
    }
    void v_SetCheck(int i_Item, bool b_Checked)
    {
        ListView_SetItemState(h_List(), i_Item, INDEXTOSTATEIMAGEMASK(b_Checked ? 2 : 1),
                              LVIS_STATEIMAGEMASK);
    }
    bool b_IsGrey() const { return ListView_GetBkColor(h_List()) == GetSysColor(COLOR_GRAYTEXT); }

    CT_PrivateRootKey co_UserKey;
    CT_FlagKeeper co_Flags;
    int i_LiveAtStart = 0;
    HWND h_Parent = nullptr;
    IHostPlugIn* pco_PlugIn = nullptr;
    IPropertyPage* pco_Page = nullptr;
    CT_TestPageSite* pco_Site = nullptr;
};
