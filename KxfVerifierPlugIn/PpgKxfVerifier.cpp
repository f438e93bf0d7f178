#include "PpgKxfVerifier.h"

#include "AboutBox.h"
#include "Basis/Runtime/LoadString.h"
#include "DocumentType.h"
#include "KxfVerifierPlugIn.h"
#include "System/String/CString.h"
#include "TaggerSettings.h"
#include "resource.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <shlwapi.h>

namespace
{
// State images of the list's check boxes: 1 unchecked, 2 checked.
constexpr unsigned n_Unchecked = 1;
constexpr unsigned n_Checked = 2;
constexpr unsigned n_StateImageShift = 12;

// The topic within the help file.
const char qccz_HelpTopic[] = "::/The_Ketra_Verifier.htm";

CT_CString co_LoadAnsi(unsigned n_ID)
{
    CT_CString co_Text;
    CT_LoadString::sv_LoadString(&co_Text, CT_ComModule::sh_GetInstance(), n_ID);
    return co_Text;
}

using pfh_HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The HTML Help control is loaded on first use and stays: its windows outlive the call.
pfh_HtmlHelpA pfh_GetHtmlHelp()
{
    static const pfh_HtmlHelpA spfh_HtmlHelp = []() -> pfh_HtmlHelpA
    {
        HMODULE h_Control = LoadLibraryA("hhctrl.ocx");
        FARPROC pfn_Entry = h_Control ? GetProcAddress(h_Control, "HtmlHelpA") : nullptr;
        return reinterpret_cast<pfh_HtmlHelpA>(reinterpret_cast<void (*)()>(pfn_Entry));
    }();
    return spfh_HtmlHelp;
}

// The help file lies in the folder of this module. A module path that does not fit the
// buffer is a failure, not a cut path.
bool b_ShowHelpTopic()
{
    char ac_Folder[MAX_PATH];
    DWORD n_Length = GetModuleFileNameA(CT_ComModule::sh_GetInstance(), ac_Folder, MAX_PATH);
    if (n_Length == 0 || n_Length >= MAX_PATH || !PathRemoveFileSpecA(ac_Folder))
        return false;
    CT_CString co_Path(ac_Folder, CT_String::sn_All, 0);
    co_Path.v_Append('\\');
    CT_CString co_HelpFile = co_LoadAnsi(IDS_HELP_FILE);
    co_Path.v_Append(&co_HelpFile, CT_String::sn_All);
    co_Path.v_Append(qccz_HelpTopic, CT_String::sn_All);
    pfh_HtmlHelpA pfh_HtmlHelp = pfh_GetHtmlHelp();
    return pfh_HtmlHelp &&
           pfh_HtmlHelp(GetActiveWindow(), co_Path.qccz_Get(), HH_DISPLAY_TOPIC, 0) != nullptr;
}
} // namespace

CT_PpgKxfVerifier::CT_PpgKxfVerifier()
    : CT_PropertyPage(IDD_PPGKXFVERIFIER, IDS_PAGE_TITLE, IDS_PAGE_DOC_STRING, IDS_HELP_FILE)
{
}

CT_PpgKxfVerifier::~CT_PpgKxfVerifier() = default;

HRESULT STDMETHODCALLTYPE CT_PpgKxfVerifier::Activate(HWND h_Parent, LPCRECT pcso_Rect,
                                                      BOOL b_Modal)
{
    // The dialog's list view needs its window class.
    INITCOMMONCONTROLSEX so_Controls = {sizeof so_Controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&so_Controls);
    HRESULT hr_Result = CT_PropertyPage::Activate(h_Parent, pcso_Rect, b_Modal);
    if (FAILED(hr_Result))
        return hr_Result;
    if (!pco_Settings)
    {
        v_GreyOutList();
        return S_FALSE;
    }
    pco_Settings->v_Load();
    const CT_ReportingSettings* pcco_Reporting = pco_Settings->pco_GetReporting();
    for (unsigned n_Index = 0; n_Index < pcco_Reporting->n_GetCount(); ++n_Index)
        v_SetCheck(n_Index, pcco_Reporting->n_GetFlag(n_Index));
    return hr_Result;
}

// Only the two states of a check box are flags: without its list (the dialog is gone) an entry
// keeps its flag rather than taking the "no state" of a missing item.
HRESULT STDMETHODCALLTYPE CT_PpgKxfVerifier::Apply()
{
    if (pco_Settings)
    {
        CT_ReportingSettings* pco_Reporting = pco_Settings->pco_GetReporting();
        for (unsigned n_Index = 0; h_List && n_Index < pco_Reporting->n_GetCount(); ++n_Index)
        {
            unsigned n_State =
                ListView_GetItemState(h_List, static_cast<int>(n_Index), LVIS_STATEIMAGEMASK) >>
                n_StateImageShift;
            if (n_State == n_Unchecked || n_State == n_Checked)
                pco_Reporting->v_SetFlag(n_Index, n_State - 1);
        }
        pco_Settings->v_Save();
    }
    return CT_PropertyPage::Apply();
}

HRESULT STDMETHODCALLTYPE CT_PpgKxfVerifier::Help(LPCOLESTR)
{
    return b_ShowHelpTopic() ? S_OK : E_FAIL;
}

INT_PTR CT_PpgKxfVerifier::vi_OnMessage(UINT n_Message, WPARAM n_WParam, LPARAM)
{
    switch (n_Message)
    {
    case WM_INITDIALOG:
        v_SetUpDialog();
        return FALSE; // the dialog manager does not set the focus
    case WM_COMMAND:
        if (LOWORD(n_WParam) != IDC_ABOUT || HIWORD(n_WParam) != BN_CLICKED)
            return FALSE;
        CT_AboutBox::sv_Show(GetActiveWindow());
        return TRUE;
    case WM_HELP:
        b_ShowHelpTopic();
        return TRUE;
    case WM_DESTROY:
        h_List = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

// Every set-up decides afresh: a page activated again for another document gets the store of
// that document's format, or none.
void CT_PpgKxfVerifier::v_SetUpDialog()
{
    h_List = GetDlgItem(h_GetWindow(), IDC_TAG_LIST);
    pco_Settings.reset();
    long i_DocumentType = 0;
    unsigned n_CaptionID = IDS_NO_ACTIVE_DOCUMENT;
    if (SUCCEEDED(CT_DocumentType::shr_GetActive(CT_KxfVerifierPlugIn::spco_GetHostApplication(),
                                                 &i_DocumentType)))
    {
        n_CaptionID = IDS_NO_KXF_DOCUMENT;
        if (CT_DocumentType::sb_IsKxf(i_DocumentType))
        {
            n_CaptionID = IDS_SELECT_TAGS;
            pco_Settings = CT_DocumentType::spco_NewSettings(i_DocumentType);
        }
    }

    if (pco_Settings)
    {
        v_SetUpList();
        v_FillList();
    }
    else
        v_GreyOutList();
    SetDlgItemTextA(h_GetWindow(), IDC_TAG_GROUP, co_LoadAnsi(n_CaptionID).qccz_Get());
}

// Check boxes with full-row selection, and two columns without text: the check box and the
// label.
void CT_PpgKxfVerifier::v_SetUpList()
{
    ListView_SetExtendedListViewStyle(h_List, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (int i_Column = 0; i_Column < 2; ++i_Column)
    {
        LVCOLUMNA so_Column = {};
        so_Column.mask = LVCF_SUBITEM;
        so_Column.iSubItem = i_Column;
        SendMessageA(h_List, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i_Column),
                     reinterpret_cast<LPARAM>(&so_Column));
    }
}

// Item i is table entry i, checked from the process-wide flag; Activate sets the marks again
// from the flags it loads.
void CT_PpgKxfVerifier::v_FillList()
{
    const CT_ReportingSettings* pcco_Reporting = pco_Settings->pco_GetReporting();
    for (unsigned n_Index = 0; n_Index < pcco_Reporting->n_GetCount(); ++n_Index)
    {
        LVITEMA so_Item = {};
        so_Item.mask = LVIF_PARAM;
        so_Item.iItem = ListView_GetItemCount(h_List);
        so_Item.lParam = static_cast<LPARAM>(n_Index);
        int i_Item = static_cast<int>(
            SendMessageA(h_List, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&so_Item)));
        if (i_Item < 0)
            continue;
        v_SetCheck(static_cast<unsigned>(i_Item), pcco_Reporting->n_GetFlag(n_Index));
        so_Item = {};
        so_Item.iSubItem = 1;
        so_Item.pszText = const_cast<char*>(pcco_Reporting->qccz_GetLabel(n_Index));
        SendMessageA(h_List, LVM_SETITEMTEXTA, static_cast<WPARAM>(i_Item),
                     reinterpret_cast<LPARAM>(&so_Item));
    }
    ListView_SetColumnWidth(h_List, 0, LVSCW_AUTOSIZE);
    ListView_SetColumnWidth(h_List, 1, LVSCW_AUTOSIZE);
}

// The list stays empty and enabled.
void CT_PpgKxfVerifier::v_GreyOutList()
{
    ListView_SetBkColor(h_List, GetSysColor(COLOR_GRAYTEXT));
}

void CT_PpgKxfVerifier::v_SetCheck(unsigned n_Index, unsigned n_Flag)
{
    ListView_SetItemState(h_List, static_cast<int>(n_Index),
                          INDEXTOSTATEIMAGEMASK(n_Flag ? n_Checked : n_Unchecked),
                          LVIS_STATEIMAGEMASK);
}
