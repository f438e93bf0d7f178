// The standard part of the settings page, as a property frame uses it: site, objects, page
// information, the dialog's life and keyboard navigation.
#include "ComTestSupport.h"
#include "PageTestSupport.h"

namespace
{
class CT_Object : public CT_TestObject<IUnknown>
{
protected:
    bool b_Answers(REFIID) const override { return false; }
};

using PropertyPage = SettingsPageTest;

std::string co_Text(LPOLESTR pw_Text)
{
    std::string co = co_Narrow(pw_Text);
    CoTaskMemFree(pw_Text);
    return co;
}

TEST_F(PropertyPage, AnswersOnlyItsPageInterface)
{
    IUnknown* pco_Identity = nullptr;
    ASSERT_HR(S_OK,
              pco_Page->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pco_Identity)));
    EXPECT_EQ(static_cast<IUnknown*>(pco_Page), pco_Identity);
    pco_Identity->Release();
    void* pv = reinterpret_cast<void*>(1);
    EXPECT_HR(E_NOINTERFACE, pco_Page->QueryInterface(IID_IPropertyPage2, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow")) << "a live page holds the module";
}

TEST_F(PropertyPage, PageInfoComesFromTheResources)
{
    v_ConnectWithDocument(i_TypeF);
    PROPPAGEINFO so_Info = {};
    ASSERT_HR(S_OK, pco_Page->GetPageInfo(&so_Info));
    EXPECT_EQ(sizeof(PROPPAGEINFO), so_Info.cb);
    EXPECT_EQ("Ketra Verifier ", co_Text(so_Info.pszTitle));
    EXPECT_EQ("Doc", co_Text(so_Info.pszDocString));
    EXPECT_EQ("Hlp\\VerificationPlugIns1033.chm", co_Text(so_Info.pszHelpFile));
    EXPECT_EQ(0u, so_Info.dwHelpContext);

    // The size is the one the dialog manager gives the template.
    ASSERT_HR(S_OK, pco_Page->Activate(h_Parent, nullptr, TRUE));
    RECT so_Rect = {};
    GetWindowRect(h_Dialog(), &so_Rect);
    EXPECT_EQ(so_Rect.right - so_Rect.left, so_Info.size.cx);
    EXPECT_EQ(so_Rect.bottom - so_Rect.top, so_Info.size.cy);
    EXPECT_GT(so_Info.size.cx, 320) << "larger than the template's dialog units";

    EXPECT_HR(E_POINTER, pco_Page->GetPageInfo(nullptr));
}

TEST_F(PropertyPage, TakesOneSiteAndGivesItBack)
{
    EXPECT_EQ(2u, pco_Site->n_GetReferences());
    auto* pco_Other = new CT_TestPageSite;
    EXPECT_HR(E_UNEXPECTED, pco_Page->SetPageSite(pco_Other));
    EXPECT_EQ(1u, pco_Other->n_GetReferences());
    EXPECT_HR(S_OK, pco_Page->SetPageSite(nullptr));
    EXPECT_EQ(1u, pco_Site->n_GetReferences());
    EXPECT_HR(S_OK, pco_Page->SetPageSite(pco_Other));
    EXPECT_HR(S_OK, pco_Page->SetPageSite(nullptr));
    pco_Other->Release();
}

TEST_F(PropertyPage, HoldsTheObjectsUntilReplacedOrGone)
{
    auto* pco_First = new CT_Object;
    auto* pco_Second = new CT_Object;
    IUnknown* apco_Objects[] = {pco_First, pco_Second};
    EXPECT_HR(S_OK, pco_Page->SetObjects(2, apco_Objects));
    EXPECT_EQ(2u, pco_First->n_GetReferences());
    EXPECT_HR(S_OK, pco_Page->SetObjects(1, &apco_Objects[1]));
    EXPECT_EQ(1u, pco_First->n_GetReferences());
    EXPECT_EQ(2u, pco_Second->n_GetReferences());
    EXPECT_HR(E_POINTER, pco_Page->SetObjects(1, nullptr));
    EXPECT_EQ(2u, pco_Second->n_GetReferences()) << "a refused call changes nothing";

    pco_Page->SetPageSite(nullptr);
    pco_Page->Release();
    pco_Page = nullptr;
    EXPECT_EQ(1u, pco_Second->n_GetReferences()) << "the page's end releases them";
    pco_First->Release();
    pco_Second->Release();
}

TEST_F(PropertyPage, DialogLivesFromActivateToDeactivate)
{
    v_ConnectWithDocument(i_TypeF);
    EXPECT_HR(E_UNEXPECTED, pco_Page->Show(SW_SHOW));
    ASSERT_HR(S_OK, hr_Activate());
    HWND h_Page = h_Dialog();
    ASSERT_NE(nullptr, h_Page);
    EXPECT_EQ(h_Parent, GetParent(h_Page));
    EXPECT_TRUE(GetWindowLongW(h_Page, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(IsWindowVisible(h_Page)) << "shown only when the frame says so";
    EXPECT_HR(E_UNEXPECTED, hr_Activate()) << "one dialog at a time";

    RECT so_Rect = {};
    GetWindowRect(h_Page, &so_Rect);
    MapWindowPoints(nullptr, h_Parent, reinterpret_cast<POINT*>(&so_Rect), 2);
    EXPECT_EQ(10, so_Rect.left);
    EXPECT_EQ(600, so_Rect.right - so_Rect.left);
    RECT so_Moved = {20, 30, 320, 230};
    EXPECT_HR(S_OK, pco_Page->Move(&so_Moved));
    GetWindowRect(h_Page, &so_Rect);
    EXPECT_EQ(200, so_Rect.bottom - so_Rect.top);
    EXPECT_HR(E_POINTER, pco_Page->Move(nullptr));

    ShowWindow(h_Parent, SW_SHOW);
    EXPECT_HR(S_OK, pco_Page->Show(SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(h_Page));
    EXPECT_HR(S_OK, pco_Page->Deactivate());
    EXPECT_FALSE(IsWindow(h_Page));
    EXPECT_HR(E_UNEXPECTED, pco_Page->Move(&so_Moved));
    EXPECT_HR(S_OK, pco_Page->Deactivate());
    EXPECT_HR(S_OK, hr_Activate()) << "a page can be activated again";
}

TEST_F(PropertyPage, ReleasedWhileActiveTakesItsDialogAlong)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    HWND h_Page = h_Dialog();
    pco_Page->SetPageSite(nullptr);
    EXPECT_EQ(0u, pco_Page->Release());
    pco_Page = nullptr;
    EXPECT_FALSE(IsWindow(h_Page));
}

TEST_F(PropertyPage, TranslatesTheKeysOfItsControls)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    MSG so_Tab = {h_List(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_HR(S_OK, pco_Page->TranslateAccelerator(&so_Tab));
    MSG so_Paint = {h_List(), WM_PAINT, 0, 0, 0, {}};
    EXPECT_HR(S_FALSE, pco_Page->TranslateAccelerator(&so_Paint));
    EXPECT_HR(E_POINTER, pco_Page->TranslateAccelerator(nullptr));
    pco_Page->Deactivate();
    EXPECT_HR(S_FALSE, pco_Page->TranslateAccelerator(&so_Tab));
}
} // namespace
