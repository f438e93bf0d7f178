#include "AboutBox.h"

#include "Basis/Runtime/AppVersion.h"
#include "Basis/Runtime/LoadString.h"
#include "ComModule.h"
#include "System/String/UString.h"
#include "resource.h"

void CT_AboutBox::sv_Show(HWND h_Owner)
{
    DialogBoxParamW(CT_ComModule::sh_GetInstance(), MAKEINTRESOURCEW(IDD_ABOUTBOX), h_Owner,
                    &si_DialogProc, 0);
}

INT_PTR CALLBACK CT_AboutBox::si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam, LPARAM)
{
    if (n_Message == WM_INITDIALOG)
    {
        sv_SetUp(h_Dialog);
        return TRUE; // the focus goes to the OK button
    }
    if (n_Message == WM_COMMAND && (LOWORD(n_WParam) == IDOK || LOWORD(n_WParam) == IDCANCEL))
    {
        EndDialog(h_Dialog, LOWORD(n_WParam));
        return TRUE;
    }
    return FALSE;
}

// The product line is a format that takes the version text and the build number; the one we
// ship holds no placeholders and shows as it is.
void CT_AboutBox::sv_SetUp(HWND h_Dialog)
{
    HINSTANCE h_Instance = CT_ComModule::sh_GetInstance();
    CT_AppVersion co_Version;
    co_Version.v_SetMajorVersion(KXF_VERSION_MAJOR);
    co_Version.v_SetMinorVersion(KXF_VERSION_MINOR);
    co_Version.v_SetMaintenance(KXF_VERSION_MAINTENANCE);
    co_Version.v_SetBuild(KXF_VERSION_BUILD);

    CT_UString co_Text;
    CT_LoadString::sv_LoadStringVA(&co_Text, h_Instance, IDS_PRODUCT_LINE,
                                   co_Version.pcco_GetProductVersion()->qcuz_Get(),
                                   co_Version.n_GetBuild());
    SetDlgItemTextW(h_Dialog, IDC_PRODUCT_LINE,
                    reinterpret_cast<const wchar_t*>(co_Text.qcuz_Get()));
    CT_LoadString::sv_LoadString(&co_Text, h_Instance, IDS_LEGAL_NOTICE);
    SetDlgItemTextW(h_Dialog, IDC_LEGAL_NOTICE,
                    reinterpret_cast<const wchar_t*>(co_Text.qcuz_Get()));
}
