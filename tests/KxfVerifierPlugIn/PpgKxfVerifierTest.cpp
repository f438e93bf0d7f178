// The settings page against a scripted host: what it lists for the active document, what
// Activate loads and what Apply saves.
#include "ComTestSupport.h"
#include "PageTestSupport.h"

#include <htmlhelp.h>

namespace
{
testing::Environment* const pco_Apartment =
    testing::AddGlobalTestEnvironment(new CT_ApartmentEnvironment);

const std::string co_KeyF = "Software\\Corvane\\KetragenF\\";
const std::string co_KeyI = "Software\\Corvane\\KetragenI\\";

using SettingsPage = SettingsPageTest;

TEST_F(SettingsPage, ListsTheTableOfFormatI)
{
    v_ConnectWithDocument(i_TypeI);
    ASSERT_HR(S_OK, hr_Activate());
    EXPECT_EQ("Select tags to suppress:", co_Caption());
    ASSERT_EQ(47, i_Items());
    EXPECT_EQ("<:an \"xxx\"> autonumber", co_Label(0));
    EXPECT_EQ("<:r1>-<:r16384> Interleaf reserved characters", co_Label(25));
    EXPECT_EQ("<ss> sort string", co_Label(46));
    for (int i_Item = 0; i_Item < i_Items(); ++i_Item)
    {
        LVITEMA so_Item = {};
        so_Item.mask = LVIF_PARAM;
        so_Item.iItem = i_Item;
        SendMessageA(h_List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&so_Item));
        EXPECT_EQ(i_Item, so_Item.lParam);
    }
    EXPECT_EQ(0x24u, ListView_GetExtendedListViewStyle(h_List()) & 0x24u);
    LVCOLUMNA so_Column = {};
    so_Column.mask = LVCF_WIDTH;
    EXPECT_TRUE(SendMessageA(h_List(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&so_Column)));
    EXPECT_GT(so_Column.cx, 0) << "the label column is sized to its contents";
    EXPECT_FALSE(SendMessageA(h_List(), LVM_GETCOLUMNA, 2, reinterpret_cast<LPARAM>(&so_Column)));
    EXPECT_FALSE(b_IsGrey());
    EXPECT_EQ(1, st_Scenario::so_Current.i_Count("app.GetActiveDocument"));
}

TEST_F(SettingsPage, ChecksTheDefaultsOfFormatF)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    ASSERT_EQ(45, i_Items());
    EXPECT_EQ("<:i> and  <:/i> italics", co_Label(21));
    EXPECT_EQ((std::vector<int>{0, 2, 3, 21, 31}), ai_Checked());
    for (int i_Item = 0; i_Item < i_Items(); ++i_Item)
        EXPECT_NE(0u, n_StateImage(i_Item)) << "every item has a check box, item " << i_Item;
}

TEST_F(SettingsPage, ActivateTakesTheFlagsFromTheRegistry)
{
    v_RegSetNumber(HKEY_CURRENT_USER, co_KeyF + "REPORTING", "<:b> and <:/b> bold", 0);
    v_RegSetNumber(HKEY_CURRENT_USER, co_KeyF + "REPORTING", "<:gt> greater than", 7);
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    EXPECT_EQ((std::vector<int>{2, 3, 17, 21, 31}), ai_Checked());
    CT_ReportingSettings co_TableF;
    co_TableF.v_SetVariant(0);
    EXPECT_EQ(0u, co_TableF.n_GetFlag(0)) << "loading changes the process-wide table";
}

TEST_F(SettingsPage, ApplyWritesTheCheckMarksAndTheWholeStore)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    v_SetCheck(0, false);
    v_SetCheck(1, true);
    EXPECT_HR(S_FALSE, pco_Page->IsPageDirty()) << "check marks do not make the page dirty";
    EXPECT_HR(S_OK, pco_Page->Apply());

    const std::string co_Reporting = co_KeyF + "REPORTING";
    EXPECT_EQ(REG_DWORD, n_RegType(HKEY_CURRENT_USER, co_Reporting, "<:b> and <:/b> bold"));
    EXPECT_EQ(0u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:b> and <:/b> bold"));
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:bb \"xxx\"> building block"));
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:s> and <:/s> small caps"));
    EXPECT_EQ(REG_DWORD, n_RegType(HKEY_CURRENT_USER, co_Reporting, "<ss> sort string"));

    const std::string co_Paths = co_KeyF + "PATHS";
    for (const char* qccz_Folder : {"SOURCE_FILES", "TRANSLATED_FILES", "ORG_FILES"})
        EXPECT_EQ("C:\\", co_RegText(HKEY_CURRENT_USER, co_Paths, qccz_Folder)) << qccz_Folder;
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Paths, "BETWEEN_SESSIONS"));
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Paths, "DURING_SESSION"));

    const std::string co_Options = co_KeyF + "OPTIONS";
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Options, "FILE_FORMAT_FOR_KXF"));
    EXPECT_EQ("220", co_RegText(HKEY_CURRENT_USER, co_Options, "SOURCE_MARKER_LENGTH"));
    EXPECT_EQ("English (US)", co_RegText(HKEY_CURRENT_USER, co_Options, "TARGET_LANGUAGE"));
    EXPECT_EQ(1000u, n_RegNumber(HKEY_CURRENT_USER, co_Options, "SOURCE_LANGUAGE_SELECTION"));
    EXPECT_EQ(REG_DWORD, n_RegType(HKEY_CURRENT_USER, co_Options, "CHARACTER_SET_TEXT"));
    EXPECT_EQ(REG_NONE, n_RegType(HKEY_CURRENT_USER, co_Options, "READ_ONLY_COMPONENTS"));
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, co_KeyI));

    EXPECT_HR(S_FALSE, pco_Page->IsPageDirty());
    EXPECT_TRUE(pco_Site->an_Status.empty()) << "the page never reports itself dirty";
}

TEST_F(SettingsPage, ApplyOfFormatIWritesItsOwnKey)
{
    v_ConnectWithDocument(i_TypeI);
    ASSERT_HR(S_OK, hr_Activate());
    v_SetCheck(25, true);
    EXPECT_HR(S_OK, pco_Page->Apply());
    const std::string co_Reporting = co_KeyI + "REPORTING";
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting,
                              "<:r1>-<:r16384> Interleaf reserved characters"));
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:b> and <:/b> bold"));
    EXPECT_EQ("200", co_RegText(HKEY_CURRENT_USER, co_KeyI + "OPTIONS", "SOURCE_MARKER_LENGTH"));
    EXPECT_EQ(REG_DWORD, n_RegType(HKEY_CURRENT_USER, co_KeyI + "OPTIONS", "READ_ONLY_COMPONENTS"));
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, co_KeyF));
}

// A host, or an answer of it, that gives no active document.
struct st_NoDocument
{
    const char* qccz_Case;
    bool b_Connect;
    bool b_WithDocument;
    const char* qccz_Failing; // the member of the scripted host that fails
};

class SettingsPageWithoutDocument : public SettingsPageTest,
                                    public testing::WithParamInterface<st_NoDocument>
{
};

TEST_P(SettingsPageWithoutDocument, ShowsAGreyEmptyListAndSavesNothing)
{
    const st_NoDocument& so_Case = GetParam();
    if (so_Case.qccz_Failing)
        st_Scenario::so_Current.aso_Failures[so_Case.qccz_Failing] = E_FAIL;
    if (so_Case.b_Connect && so_Case.b_WithDocument)
        v_ConnectWithDocument(i_TypeF);
    else if (so_Case.b_Connect)
        v_Connect(nullptr);

    EXPECT_HR(S_FALSE, hr_Activate());
    EXPECT_EQ("(no active document)", co_Caption());
    EXPECT_EQ(0, i_Items());
    EXPECT_TRUE(b_IsGrey());
    EXPECT_TRUE(IsWindowEnabled(h_List()));
    EXPECT_HR(S_OK, pco_Page->Apply());
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPageWithoutDocument,
    testing::Values(st_NoDocument{"NeverConnected", false, false, nullptr},
                    st_NoDocument{"NoActiveDocument", true, false, nullptr},
                    st_NoDocument{"ActiveDocumentFails", true, true, "app.GetActiveDocument"},
                    st_NoDocument{"DocumentTypeFails", true, true, "doc.GetDocumentType"}),
    [](const testing::TestParamInfo<st_NoDocument>& so_Info) { return so_Info.param.qccz_Case; });

TEST_F(SettingsPage, OtherDocumentTypeShowsAGreyEmptyList)
{
    v_ConnectWithDocument(3);
    EXPECT_HR(S_FALSE, hr_Activate());
    EXPECT_EQ("(no KXF document active)", co_Caption());
    EXPECT_EQ(0, i_Items());
    EXPECT_TRUE(b_IsGrey());
    EXPECT_HR(S_OK, pco_Page->Apply());
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane"));
}

TEST_F(SettingsPage, FailedActivationAsksTheHostNothing)
{
    v_ConnectWithDocument(i_TypeF);
    RECT so_Rect = {0, 0, 100, 100};
    // A child dialog without a parent cannot be made.
    EXPECT_TRUE(FAILED(pco_Page->Activate(nullptr, &so_Rect, TRUE)));
    EXPECT_EQ(0, st_Scenario::so_Current.i_Count("app.GetActiveDocument"));
    EXPECT_HR(S_OK, pco_Page->Apply());
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane"));
}

// Apply after the frame took the dialog down keeps the flags as loaded: there are no check
// marks left to read.
TEST_F(SettingsPage, ApplyAfterDeactivateKeepsTheFlags)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    v_SetCheck(0, false);
    EXPECT_HR(S_OK, pco_Page->Deactivate());
    EXPECT_HR(S_OK, pco_Page->Apply());
    const std::string co_Reporting = co_KeyF + "REPORTING";
    EXPECT_EQ(1u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:b> and <:/b> bold"));
    EXPECT_EQ(0u, n_RegNumber(HKEY_CURRENT_USER, co_Reporting, "<:bb \"xxx\"> building block"));
}

// The frame activates a page again when the user comes back to it; by then the host may have
// another active document.
TEST_F(SettingsPage, ActivatingAgainFollowsTheActiveDocument)
{
    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    ASSERT_HR(S_OK, pco_Page->Deactivate());

    v_ConnectWithDocument(i_TypeI);
    ASSERT_HR(S_OK, hr_Activate());
    EXPECT_EQ(47, i_Items());
    ASSERT_HR(S_OK, pco_Page->Deactivate());

    v_ConnectWithDocument(3);
    EXPECT_HR(S_FALSE, hr_Activate());
    EXPECT_EQ(0, i_Items());
    EXPECT_HR(S_OK, pco_Page->Apply());
    EXPECT_FALSE(b_RegKey(HKEY_CURRENT_USER, "Software\\Corvane")) << "no store is left over";
}

// ---- help -----------------------------------------------------------------------------------

BOOL CALLBACK b_CountHelpWindow(HWND h_Window, LPARAM n_Count)
{
    char ac_Class[64] = "";
    GetClassNameA(h_Window, ac_Class, sizeof ac_Class);
    if (std::string(ac_Class) == "HH Parent")
        ++*reinterpret_cast<int*>(n_Count);
    return TRUE;
}

// The help windows of this thread, which HTML Help makes top-level.
int i_HelpWindows()
{
    int i_Count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &b_CountHelpWindow, reinterpret_cast<LPARAM>(&i_Count));
    return i_Count;
}

void v_CloseHelp()
{
    using pfh_HtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    HMODULE h_Control = GetModuleHandleA("hhctrl.ocx");
    if (!h_Control)
        return;
    auto pfh = reinterpret_cast<pfh_HtmlHelpA>(
        reinterpret_cast<void (*)()>(GetProcAddress(h_Control, "HtmlHelpA")));
    pfh(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

TEST_F(SettingsPage, HelpOpensTheTopicBesideTheModule)
{
    EXPECT_HR(S_OK, pco_Page->Help(nullptr));
    v_CloseHelp();

    v_ConnectWithDocument(i_TypeF);
    ASSERT_HR(S_OK, hr_Activate());
    const int i_Before = i_HelpWindows();
    HELPINFO so_Help = {};
    so_Help.cbSize = sizeof so_Help;
    SendMessageW(h_Dialog(), WM_HELP, 0, reinterpret_cast<LPARAM>(&so_Help));
    EXPECT_EQ(i_Before + 1, i_HelpWindows()) << "F1 opens the help";
    v_CloseHelp();
}

// A copy of the module in a folder of its own finds its help file there, or fails.
TEST(SettingsPageHelp, IsFoundOnlyInTheModulesOwnFolder)
{
    char ac_Temp[MAX_PATH];
    GetTempPathA(MAX_PATH, ac_Temp);
    const std::string co_Folder =
        std::string(ac_Temp) + "kxf-help-" + std::to_string(GetCurrentProcessId());
    const std::string co_Module = co_Folder + "\\KxfVerifierPlugIn.dll";
    const std::string co_HelpFolder = co_Folder + "\\Hlp";
    const std::string co_HelpFile = co_HelpFolder + "\\VerificationPlugIns1033.chm";
    CreateDirectoryA(co_Folder.c_str(), nullptr);
    char ac_Original[MAX_PATH];
    GetModuleFileNameA(GetModuleHandleA("KxfVerifierPlugIn.dll"), ac_Original, MAX_PATH);
    ASSERT_TRUE(CopyFileA(ac_Original, co_Module.c_str(), FALSE));

    HMODULE h_Copy = LoadLibraryA(co_Module.c_str());
    ASSERT_NE(nullptr, h_Copy);
    auto pfhr_GetClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void (*)()>(GetProcAddress(h_Copy, "DllGetClassObject")));
    IClassFactory* pco_Factory = nullptr;
    ASSERT_HR(S_OK, pfhr_GetClassObject(CLSID_PpgKxfVerifier, IID_IClassFactory,
                                        reinterpret_cast<void**>(&pco_Factory)));
    IPropertyPage* pco_Page = nullptr;
    ASSERT_HR(S_OK, pco_Factory->CreateInstance(nullptr, IID_IPropertyPage,
                                                reinterpret_cast<void**>(&pco_Page)));
    EXPECT_HR(E_FAIL, pco_Page->Help(nullptr));

    CreateDirectoryA(co_HelpFolder.c_str(), nullptr);
    std::string co_Built(ac_Original);
    co_Built.replace(co_Built.rfind('\\'), std::string::npos, "\\Hlp\\VerificationPlugIns1033.chm");
    ASSERT_TRUE(CopyFileA(co_Built.c_str(), co_HelpFile.c_str(), FALSE));
    EXPECT_HR(S_OK, pco_Page->Help(nullptr));
    v_CloseHelp();

    pco_Page->Release();
    pco_Factory->Release();
    FreeLibrary(h_Copy);
    DeleteFileA(co_HelpFile.c_str());
    RemoveDirectoryA(co_HelpFolder.c_str());
    DeleteFileA(co_Module.c_str());
    RemoveDirectoryA(co_Folder.c_str());
}
} // namespace
