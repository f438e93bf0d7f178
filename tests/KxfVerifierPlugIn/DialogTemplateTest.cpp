// The template reader against the dialog manager: the size it gives must be the size of the
// dialog made from the same template.
#include "DialogTemplate.h"

#include <gtest/gtest.h>

namespace
{
INT_PTR CALLBACK i_NoDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

TEST(DialogTemplate, SizeIsTheDialogManagers)
{
    const struct
    {
        unsigned n_ID;
        const char* qccz_Case;
    } aso_Cases[] = {{200, "plain, MS Sans Serif 8"},
                     {201, "extended, Tahoma 10 bold italic, title and a control"},
                     {202, "no font"}};
    for (const auto& so_Case : aso_Cases)
    {
        SIZE so_Size = {};
        ASSERT_EQ(S_OK,
                  CT_DialogTemplate::shr_GetSize(GetModuleHandleW(nullptr), so_Case.n_ID, &so_Size))
            << so_Case.qccz_Case;
        HWND h_Dialog = CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(so_Case.n_ID), nullptr, &i_NoDialogProc, 0);
        ASSERT_NE(nullptr, h_Dialog) << so_Case.qccz_Case;
        RECT so_Client = {};
        GetClientRect(h_Dialog, &so_Client);
        EXPECT_EQ(so_Client.right, so_Size.cx) << so_Case.qccz_Case;
        EXPECT_EQ(so_Client.bottom, so_Size.cy) << so_Case.qccz_Case;
        DestroyWindow(h_Dialog);
    }
}

TEST(DialogTemplate, CutOrMissingTemplatesAreRefused)
{
    SIZE so_Size = {-1, -1};
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
              CT_DialogTemplate::shr_GetSize(GetModuleHandleW(nullptr), 300, &so_Size));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
              CT_DialogTemplate::shr_GetSize(GetModuleHandleW(nullptr), 301, &so_Size));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND),
              CT_DialogTemplate::shr_GetSize(GetModuleHandleW(nullptr), 399, &so_Size));
    EXPECT_EQ(-1, so_Size.cx) << "a refused template leaves the size alone";
}
} // namespace
