// The About box as the settings page opens it: a modal dialog, looked at and closed from a
// timer that runs inside its message loop.
#include "ComTestSupport.h"
#include "PageTestSupport.h"

#include <set>
#include <utility>

namespace
{
// What the timer saw of the box.
struct st_AboutBox
{
    int i_Seen = 0;
    std::string co_Title;
    std::string co_ProductLine;
    std::string co_LegalNotice;
    std::set<std::pair<LONG, LONG>> aso_Pictures; // bitmap sizes
    bool b_Modal = false;                         // the page's frame was disabled meanwhile
};
st_AboutBox so_Box;
WORD n_CloseCommand = IDOK;
HWND h_Frame = nullptr;

std::string co_WindowText(HWND h_Window)
{
    char ac[1024] = "";
    GetWindowTextA(h_Window, ac, sizeof ac);
    return ac;
}

BOOL CALLBACK b_AddPicture(HWND h_Child, LPARAM)
{
    if ((GetWindowLongW(h_Child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
        return TRUE;
    auto h_Bitmap = reinterpret_cast<HBITMAP>(SendMessageW(h_Child, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP so_Bitmap = {};
    if (h_Bitmap && GetObjectW(h_Bitmap, sizeof so_Bitmap, &so_Bitmap))
        so_Box.aso_Pictures.insert({so_Bitmap.bmWidth, so_Bitmap.bmHeight});
    return TRUE;
}

// The box is the thread's visible top-level dialog.
BOOL CALLBACK b_FindBox(HWND h_Window, LPARAM n_Found)
{
    char ac_Class[32] = "";
    GetClassNameA(h_Window, ac_Class, sizeof ac_Class);
    if (std::string(ac_Class) != "#32770" || !IsWindowVisible(h_Window))
        return TRUE;
    *reinterpret_cast<HWND*>(n_Found) = h_Window;
    return FALSE;
}

// A box still there after its close command is counted again and destroyed, so that a box
// that does not close fails the test instead of holding it up.
void CALLBACK v_LookAndClose(HWND, UINT, UINT_PTR, DWORD)
{
    HWND h_Box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &b_FindBox, reinterpret_cast<LPARAM>(&h_Box));
    if (!h_Box)
        return;
    if (++so_Box.i_Seen > 1)
    {
        DestroyWindow(h_Box);
        return;
    }
    so_Box.co_Title = co_WindowText(h_Box);
    so_Box.co_ProductLine = co_WindowText(GetDlgItem(h_Box, 1001));
    so_Box.co_LegalNotice = co_WindowText(GetDlgItem(h_Box, 1004));
    EnumChildWindows(h_Box, &b_AddPicture, 0);
    so_Box.b_Modal = h_Frame && !IsWindowEnabled(h_Frame);
    PostMessageW(h_Box, WM_COMMAND, n_CloseCommand, 0);
}

class AboutBox : public SettingsPageTest
{
protected:
    void SetUp() override
    {
        SettingsPageTest::SetUp();
        if (HasFatalFailure())
            return;
        so_Box = st_AboutBox();
        v_ConnectWithDocument(i_TypeF);
        ASSERT_HR(S_OK, hr_Activate());
        ShowWindow(h_Parent, SW_SHOW);
        SetActiveWindow(h_Parent);
        h_Frame = h_Parent;
    }

    // Returns when the box is closed again.
    void v_Command(WORD n_Control, WORD n_Notification)
    {
        UINT_PTR n_Timer = SetTimer(nullptr, 0, 10, &v_LookAndClose);
        SendMessageW(h_Dialog(), WM_COMMAND, MAKEWPARAM(n_Control, n_Notification),
                     reinterpret_cast<LPARAM>(GetDlgItem(h_Dialog(), n_Control)));
        KillTimer(nullptr, n_Timer);
    }
};

TEST_F(AboutBox, AboutButtonShowsTheProductAndTheNotice)
{
    v_Command(i_AboutID, BN_CLICKED);
    ASSERT_EQ(1, so_Box.i_Seen);
    EXPECT_EQ("About Corvane Ketra Verifier Plug-in", so_Box.co_Title);
    EXPECT_EQ("Corvane Ketra Verifier Plug-in 5.5.0.244  -  (Build 244)", so_Box.co_ProductLine);
    char ac_Notice[1024] = "";
    LoadStringA(GetModuleHandleA("KxfVerifierPlugIn.dll"), 800, ac_Notice, sizeof ac_Notice);
    EXPECT_EQ(ac_Notice, so_Box.co_LegalNotice);
    EXPECT_FALSE(so_Box.co_LegalNotice.empty());
    EXPECT_EQ((std::set<std::pair<LONG, LONG>>{{64, 64}, {216, 36}}), so_Box.aso_Pictures);
    EXPECT_TRUE(so_Box.b_Modal) << "the box is modal to the active window";
}

TEST_F(AboutBox, CancelClosesItToo)
{
    n_CloseCommand = IDCANCEL;
    v_Command(i_AboutID, BN_CLICKED);
    n_CloseCommand = IDOK;
    EXPECT_EQ(1, so_Box.i_Seen) << "closed once, not left open";
}

TEST_F(AboutBox, OtherCommandsOpenNothing)
{
    v_Command(i_ListID, BN_CLICKED);
    v_Command(i_AboutID, BN_SETFOCUS);
    EXPECT_EQ(0, so_Box.i_Seen);
}
} // namespace
