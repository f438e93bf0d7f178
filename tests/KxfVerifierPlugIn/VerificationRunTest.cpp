// The verification run against scripted host, verifier and messages components.
#include "ComTestSupport.h"
#include "HostFakes.h"
#include "KxfVerifierPlugIn_h.h"

#include <algorithm>
#include <memory>
#include <numeric>

namespace
{
struct CT_Components : testing::Environment
{
    void SetUp() override { v_RegisterFakeComponents(); }
};
testing::Environment* const pco_Apartment =
    testing::AddGlobalTestEnvironment(new CT_ApartmentEnvironment);
testing::Environment* const pco_Components = testing::AddGlobalTestEnvironment(new CT_Components);

constexpr long i_TypeF = 6;
constexpr long i_TypeI = 7;

std::string co_TempFolder()
{
    char ac_Folder[MAX_PATH];
    GetTempPathA(MAX_PATH, ac_Folder);
    return ac_Folder;
}

std::wstring co_Wide(const std::string& co_Text)
{
    return std::wstring(co_Text.begin(), co_Text.end());
}

void v_WriteFlag(const char* qccz_Format, const char* qccz_Label, DWORD n_Value)
{
    v_RegSetNumber(HKEY_CURRENT_USER,
                   std::string("Software\\Corvane\\") + qccz_Format + "\\REPORTING", qccz_Label,
                   n_Value);
}

class VerificationRun : public testing::Test
{
protected:
    void SetUp() override
    {
        st_Scenario::so_Current = st_Scenario();
        i_LiveAtStart = st_LiveObjects::si_Count;
        co_Folder = co_TempFolder() + "kxf-original-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(co_Folder.c_str(), nullptr);
        co_Original = co_Folder + "\\a.kxf";
        CloseHandle(
            CreateFileA(co_Original.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        pco_Document = pco_NewDocument({i_TypeF});
        pco_Messages = new CT_FakeMessages("caller");
        ASSERT_HR(S_OK, CoCreateInstance(CLSID_KxfVerifierPlugIn, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IHostVerifier, reinterpret_cast<void**>(&pco_PlugIn)));
        ASSERT_HR(S_OK,
                  pco_PlugIn->QueryInterface(IID_IHostPlugIn, reinterpret_cast<void**>(&pco_Host)));
    }

    // Also after a failed SetUp, which leaves the plug-in's pointers null.
    void TearDown() override
    {
        if (pco_Host)
        {
            pco_Host->Disconnect(0);
            pco_Host->Release();
        }
        if (pco_PlugIn)
            pco_PlugIn->Release();
        pco_Document->Release();
        pco_Messages->Release();
        DeleteFileA(co_Original.c_str());
        RemoveDirectoryA(co_Folder.c_str());
        EXPECT_EQ(i_LiveAtStart, st_LiveObjects::si_Count) << "test objects left alive";
        EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow")) << "plug-in objects left alive";
    }

    CT_FakeDocument* pco_NewDocument(std::vector<long> ai_Types, const std::string& co_Path = "")
    {
        return new CT_FakeDocument(L"a.kxf", co_Wide(co_Path.empty() ? co_Original : co_Path),
                                   std::move(ai_Types));
    }

    HRESULT hr_Verify() { return pco_PlugIn->Verify(pco_Document, pco_Messages); }

    void v_Connect(const char* qccz_Label, IHostDocument* pco_Active)
    {
        auto* pco_Application = new CT_FakeApplication(qccz_Label, pco_Active);
        VARIANT_BOOL b_Accepted = 0;
        EXPECT_HR(S_OK, pco_Host->Connect(pco_Application, 0, &b_Accepted));
        EXPECT_EQ(VARIANT_TRUE, b_Accepted);
        pco_Application->Release();
    }

    void v_GiveFindings(std::vector<st_Finding> aso_Findings)
    {
        st_Scenario::so_Current.aso_Findings = std::move(aso_Findings);
        st_Scenario::so_Current.ai_Counts[1] = 1;
    }

    const st_Scenario& so_Scene() const { return st_Scenario::so_Current; }

    CT_PrivateRootKey co_UserKey;
    CT_FlagKeeper co_Flags;
    int i_LiveAtStart = 0;
    std::string co_Folder;
    std::string co_Original;
    IHostVerifier* pco_PlugIn = nullptr;
    IHostPlugIn* pco_Host = nullptr;
    CT_FakeDocument* pco_Document = nullptr;
    CT_FakeMessages* pco_Messages = nullptr;
};

// The text, source and interface of the thread's error object; empty texts when there is none.
struct st_ErrorObject
{
    bool b_Present = false;
    std::string co_Source, co_Description;
    GUID so_Interface = GUID_NULL;
};

st_ErrorObject so_TakeError()
{
    st_ErrorObject so;
    IErrorInfo* pco_Error = nullptr;
    if (GetErrorInfo(0, &pco_Error) != S_OK || !pco_Error)
        return so;
    so.b_Present = true;
    BSTR bstr = nullptr;
    pco_Error->GetSource(&bstr);
    so.co_Source = co_Narrow(bstr);
    SysFreeString(bstr);
    pco_Error->GetDescription(&bstr);
    so.co_Description = co_Narrow(bstr);
    SysFreeString(bstr);
    pco_Error->GetGUID(&so.so_Interface);
    pco_Error->Release();
    return so;
}

TEST_F(VerificationRun, NullDocumentIsRefusedWithoutErrorObject)
{
    SetErrorInfo(0, nullptr);
    EXPECT_HR(E_INVALIDARG, pco_PlugIn->Verify(nullptr, pco_Messages));
    EXPECT_FALSE(so_TakeError().b_Present);
    EXPECT_TRUE(so_Scene().aso_Log.empty());
}

TEST_F(VerificationRun, MissingOriginalReportsPathAndSavesNothing)
{
    std::string co_Missing = co_Folder + "\\missing.kxf";
    pco_Document->Release();
    pco_Document = pco_NewDocument({i_TypeF}, co_Missing);

    EXPECT_HR(E_FAIL, hr_Verify());
    st_ErrorObject so = so_TakeError();
    ASSERT_TRUE(so.b_Present);
    EXPECT_EQ("Original file missing: " + co_Missing, so.co_Description);
    EXPECT_EQ("KetraVerifierPlugIn.KxfVerifierPlugIn.5", so.co_Source);
    EXPECT_TRUE(IsEqualGUID(IID_IKxfVerifierPlugIn, so.so_Interface));
    EXPECT_EQ(0, so_Scene().i_Count("doc.SaveTranslatedAs"));
}

TEST_F(VerificationRun, TemporaryFolderTooLongReportsTheOriginal)
{
    char ac_Saved[MAX_PATH * 2] = "";
    GetEnvironmentVariableA("TMP", ac_Saved, sizeof ac_Saved);
    std::string co_Long = "C:\\" + std::string(300, 't');
    SetEnvironmentVariableA("TMP", co_Long.c_str());
    HRESULT hr_Result = hr_Verify();
    SetEnvironmentVariableA("TMP", ac_Saved[0] ? ac_Saved : nullptr);

    EXPECT_HR(E_FAIL, hr_Result);
    EXPECT_EQ("Could not create temporary translated KXF file." + co_Original,
              so_TakeError().co_Description);
    EXPECT_EQ(0, so_Scene().i_Count("doc.SaveTranslatedAs"));
}

TEST_F(VerificationRun, TemporaryFileKeepsTheOriginalName)
{
    EXPECT_HR(S_OK, hr_Verify());
    std::string co_Temporary = co_TempFolder() + "a.kxf";
    EXPECT_EQ(co_Temporary, co_Narrow(pco_Document->co_SavedAs.c_str()));
    std::string co_TemporaryFolder = co_Temporary.substr(0, co_Temporary.rfind('\\'));
    EXPECT_EQ(co_Folder, co_Narrow(so_Scene().aso_Folders.at(1).c_str()));
    EXPECT_EQ(co_TemporaryFolder, co_Narrow(so_Scene().aso_Folders.at(3).c_str()));
    EXPECT_EQ(1, so_Scene().i_Count(("loaded " + co_Temporary).c_str()));
}

TEST_F(VerificationRun, RunsItsStepsInOrder)
{
    v_Connect("app", pco_Document);
    v_GiveFindings({{5, 0, L"Error 7 "}});
    EXPECT_HR(S_OK, hr_Verify());

    const char* aqccz_Steps[] = {"doc.GetOriginalPath",
                                 "doc.SaveTranslatedAs",
                                 "doc.GetDocumentType",
                                 "create F",
                                 "doc.GetOriginalPath",
                                 "verifier.Paths",
                                 "paths.1",
                                 "verifier.Paths",
                                 "paths.3",
                                 "verifier.LoadTranslatedFile",
                                 "app.GetActiveDocument",
                                 "doc.GetDocumentType",
                                 "verifier.Reporting",
                                 "reporting.1",
                                 "verifier.RunCheck",
                                 "verifier.CountA",
                                 "verifier.CountB",
                                 "verifier.CountC",
                                 "create messages",
                                 "verifier.NextFinding",
                                 "verifier.FindingPosition",
                                 "verifier.FindingText",
                                 "doc.GetName",
                                 "created.Add",
                                 "verifier.NextFinding",
                                 "caller.AddMessages"};
    int i_At = -1;
    for (const char* qccz_Step : aqccz_Steps)
    {
        int i_Next = so_Scene().i_Find(qccz_Step, i_At);
        ASSERT_GT(i_Next, i_At) << qccz_Step << " missing or out of order";
        i_At = i_Next;
    }
    EXPECT_EQ(1, so_Scene().i_Count("doc.SaveTranslatedAs"));
    EXPECT_EQ(0, so_Scene().i_Count("verifier.FindingAltPosition"));
}

TEST_F(VerificationRun, OtherDocumentTypesStopAfterSaving)
{
    for (long i_Type : {5L, 8L})
    {
        st_Scenario::so_Current = st_Scenario();
        pco_Document->Release();
        pco_Document = pco_NewDocument({i_Type});
        EXPECT_HR(S_OK, hr_Verify()) << "type " << i_Type;
        EXPECT_EQ(1, so_Scene().i_Count("doc.SaveTranslatedAs"));
        EXPECT_EQ(2, so_Scene().i_Count("doc.GetDocumentType")) << "asked twice";
        EXPECT_EQ(0, so_Scene().i_Count("create F") + so_Scene().i_Count("create I"));
    }
}

TEST_F(VerificationRun, FormatIIsRecognisedOnTheSecondQuestion)
{
    pco_Document->Release();
    pco_Document = pco_NewDocument({i_TypeI});
    EXPECT_HR(S_OK, hr_Verify());
    EXPECT_EQ(1, so_Scene().i_Count("create I"));
    EXPECT_EQ(2, so_Scene().i_Count("doc.GetDocumentType"));
}

TEST_F(VerificationRun, ZeroCountsCreateNoCollection)
{
    v_GiveFindings({{5, 0, L"Warning 1 "}});
    st_Scenario::so_Current.ai_Counts[0] = 2;
    st_Scenario::so_Current.ai_Counts[1] = -2;
    EXPECT_HR(S_OK, hr_Verify());
    EXPECT_EQ(0, so_Scene().i_Count("create messages"));
    EXPECT_EQ(0, so_Scene().i_Count("verifier.NextFinding"));
    EXPECT_TRUE(so_Scene().aso_Handed.empty());
}

TEST_F(VerificationRun, FindingsBecomeMessagesHandedOverOnce)
{
    v_GiveFindings({{1, 40, L"Error 1234: tag missing"},
                    {40, 0, L"Warning 17"},
                    {0, 9, L"Alert -5 here"},
                    {-3, 0, L"no words"}});
    EXPECT_HR(S_OK, hr_Verify());

    struct
    {
        long i_Severity, i_Number, i_Position, i_Indicator;
    } aso_Expected[] = {{3, 1234, 39, 1}, {1, 17, 39, 2}, {2, -5, -1, 2}, {4, 0, -4, 2}};
    ASSERT_EQ(4u, so_Scene().aso_Adds.size());
    for (size_t n = 0; n < 4; ++n)
    {
        const st_AddCall& so = so_Scene().aso_Adds[n];
        EXPECT_EQ("created", so.co_Collection);
        EXPECT_EQ(so_Scene().aso_Findings[n].co_Text, so.co_Text);
        EXPECT_TRUE(so.b_ExtraIsEmptyString);
        EXPECT_EQ(aso_Expected[n].i_Severity, so.i_Severity) << n;
        EXPECT_EQ(aso_Expected[n].i_Number, so.i_Number) << n;
        EXPECT_EQ(L"a.kxf", so.co_Document);
        EXPECT_EQ(aso_Expected[n].i_Position, so.i_Position) << n;
        EXPECT_EQ(aso_Expected[n].i_Position, so.i_EndPosition) << n;
        EXPECT_EQ(1, so.i_Line);
        EXPECT_EQ(1, so.i_EndLine);
        EXPECT_EQ(aso_Expected[n].i_Indicator, so.i_Indicator) << n;
        EXPECT_EQ(0, so.i_Flags);
    }
    EXPECT_EQ(4, so_Scene().i_Count("doc.GetName")) << "the name is asked per finding";
    EXPECT_EQ(1, so_Scene().i_Count("verifier.FindingAltPosition"));
    EXPECT_EQ(std::vector<std::string>{"created"}, so_Scene().aso_Handed);
    int i_LastAdd = static_cast<int>(so_Scene().aso_Log.rend() -
                                     std::find(so_Scene().aso_Log.rbegin(),
                                               so_Scene().aso_Log.rend(), "created.Add")) -
                    1;
    EXPECT_GT(so_Scene().i_Find("caller.AddMessages"), i_LastAdd);
}

TEST_F(VerificationRun, WithoutCallerCollectionTheFindingsGoNowhere)
{
    v_GiveFindings({{5, 0, L"Warning 1 "}});
    EXPECT_HR(S_OK, pco_PlugIn->Verify(pco_Document, nullptr));
    EXPECT_EQ(1u, so_Scene().aso_Adds.size());
    EXPECT_TRUE(so_Scene().aso_Handed.empty());
}

// Which members got which VT_BOOL values, in the order of the puts.
std::vector<std::pair<long, int>> aso_Puts(const st_Scenario& so)
{
    std::vector<std::pair<long, int>> aso;
    for (const auto& so_Put : so.aso_Flags)
        aso.push_back(
            {so_Put.first, V_VT(&so_Put.second) == VT_BOOL ? V_BOOL(&so_Put.second) : 99});
    return aso;
}

TEST_F(VerificationRun, FlagsGoToTheVerifierAsOneOrZero)
{
    v_WriteFlag("KetragenF", "<:b> and <:/b> bold", 2);
    v_WriteFlag("KetragenF", "<:bb \"xxx\"> building block", 1);
    v_WriteFlag("KetragenF", "<ss> sort string", 1);
    v_Connect("app", pco_Document);
    EXPECT_HR(S_OK, hr_Verify());

    auto aso = aso_Puts(so_Scene());
    ASSERT_EQ(45u, aso.size());
    EXPECT_EQ(std::make_pair(1L, 0), aso[0]) << "2 is not a suppressed tag";
    EXPECT_EQ(std::make_pair(2L, 1), aso[1]) << "1, not VARIANT_TRUE";
    EXPECT_EQ(std::make_pair(42L, 1), aso[44]);
    EXPECT_EQ(45, so_Scene().i_Count("verifier.Reporting")) << "fetched afresh per flag";
}

TEST_F(VerificationRun, EachFormatWalksItsWholeTable)
{
    for (long i_Type : {i_TypeF, i_TypeI})
    {
        st_Scenario::so_Current = st_Scenario();
        pco_Document->Release();
        pco_Document = pco_NewDocument({i_Type});
        v_Connect("app", pco_Document);
        EXPECT_HR(S_OK, hr_Verify());
        std::vector<long> ai_Members;
        for (const auto& so_Put : aso_Puts(so_Scene()))
            ai_Members.push_back(so_Put.first);
        std::vector<long> ai_All(i_Type == i_TypeF ? 45 : 47);
        std::iota(ai_All.begin(), ai_All.end(), 1L);
        EXPECT_EQ(i_Type == i_TypeF ? 42 : 39, ai_Members.back()) << "the last entry's member";
        std::sort(ai_Members.begin(), ai_Members.end());
        EXPECT_EQ(ai_All, ai_Members) << "every member once, type " << i_Type;
    }
}

TEST_F(VerificationRun, ActiveDocumentOfAnotherKindTransfersNothing)
{
    CT_FakeDocument* pco_Other = pco_NewDocument({5});
    v_Connect("app", pco_Other);
    pco_Other->Release();
    EXPECT_HR(S_OK, hr_Verify());
    EXPECT_EQ(1, so_Scene().i_Count("app.GetActiveDocument"));
    EXPECT_TRUE(so_Scene().aso_Flags.empty());
}

TEST_F(VerificationRun, ActiveDocumentOfTheOtherFormatStillUsesTheVerifiedFormat)
{
    v_WriteFlag("KetragenF", "<ss> sort string", 1);
    v_WriteFlag("KetragenI", "<ss> sort string", 0);
    CT_FakeDocument* pco_Other = pco_NewDocument({i_TypeI});
    v_Connect("app", pco_Other);
    pco_Other->Release();
    EXPECT_HR(S_OK, hr_Verify());
    auto aso = aso_Puts(so_Scene());
    ASSERT_EQ(45u, aso.size());
    EXPECT_EQ(std::make_pair(42L, 1), aso[44]);
}

TEST_F(VerificationRun, ApplicationIsSharedByAllPlugInsUntilDisconnected)
{
    IHostPlugIn* pco_Second = nullptr;
    ASSERT_HR(S_OK, CoCreateInstance(CLSID_KxfVerifierPlugIn, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IHostPlugIn, reinterpret_cast<void**>(&pco_Second)));
    v_Connect("first", pco_Document);
    int i_Live = st_LiveObjects::si_Count;
    auto* pco_Application = new CT_FakeApplication("second", pco_Document);
    VARIANT_BOOL b_Accepted = 0;
    EXPECT_HR(S_OK, pco_Second->Connect(pco_Application, 0, &b_Accepted));
    pco_Application->Release();
    EXPECT_EQ(i_Live, st_LiveObjects::si_Count) << "the replaced application is released";

    EXPECT_HR(S_OK, hr_Verify());
    EXPECT_EQ(0, so_Scene().i_Count("first.GetActiveDocument"));
    EXPECT_EQ(1, so_Scene().i_Count("second.GetActiveDocument"));

    EXPECT_HR(S_OK, pco_Second->Disconnect(0));
    pco_Second->Release();
    EXPECT_EQ(i_Live, st_LiveObjects::si_Count) << "a verifier more, the application less";
    st_Scenario::so_Current = st_Scenario();
    EXPECT_HR(S_OK, hr_Verify());
    EXPECT_EQ(0, so_Scene().i_Count("second.GetActiveDocument"));
    EXPECT_TRUE(so_Scene().aso_Flags.empty());
}

TEST_F(VerificationRun, ConnectReleasesTheVerifiers)
{
    EXPECT_HR(S_OK, hr_Verify());
    int i_Live = st_LiveObjects::si_Count;
    VARIANT_BOOL b_Accepted = 0;
    EXPECT_HR(S_OK, pco_Host->Connect(nullptr, 0, &b_Accepted));
    EXPECT_EQ(i_Live - 1, st_LiveObjects::si_Count);
}

TEST_F(VerificationRun, FailuresOfCalledComponentsPassThrough)
{
    const HRESULT hr_Failure = static_cast<HRESULT>(0x80047001);
    const char* aqccz_Members[] = {"doc.GetOriginalPath",
                                   "doc.SaveTranslatedAs",
                                   "doc.GetDocumentType",
                                   "verifier.Paths",
                                   "paths.3",
                                   "verifier.LoadTranslatedFile",
                                   "app.GetActiveDocument",
                                   "verifier.Reporting",
                                   "reporting.27",
                                   "verifier.RunCheck",
                                   "verifier.CountC",
                                   "verifier.NextFinding",
                                   "verifier.FindingPosition",
                                   "verifier.FindingAltPosition",
                                   "verifier.FindingText",
                                   "doc.GetName",
                                   "created.Add",
                                   "caller.AddMessages"};
    for (bool b_Exceptions : {false, true})
        for (const char* qccz_Member : aqccz_Members)
        {
            st_Scenario::so_Current = st_Scenario();
            st_Scenario::so_Current.aso_Failures[qccz_Member] = hr_Failure;
            st_Scenario::so_Current.b_RaiseExceptions = b_Exceptions;
            v_GiveFindings({{1, 3, L"Warning 1 "}});
            v_Connect("app", pco_Document);
            SetErrorInfo(0, nullptr);
            EXPECT_HR(hr_Failure, hr_Verify()) << qccz_Member;
            EXPECT_EQ(1, so_Scene().i_Count(qccz_Member)) << qccz_Member;
            bool b_Raised = b_Exceptions && std::string(qccz_Member).rfind("verifier.", 0) == 0;
            EXPECT_EQ(b_Raised ? "the check broke down" : "", so_TakeError().co_Description)
                << qccz_Member;
            if (std::string(qccz_Member) != "caller.AddMessages")
            {
                EXPECT_TRUE(so_Scene().aso_Handed.empty()) << qccz_Member;
            }
        }
}

TEST_F(VerificationRun, FailedCreationsEndTheRun)
{
    st_Scenario::so_Current.hr_CreateVerifier = REGDB_E_CLASSNOTREG;
    EXPECT_HR(E_POINTER, hr_Verify()) << "the empty verifier pointer fails its first call";

    st_Scenario::so_Current = st_Scenario();
    st_Scenario::so_Current.hr_CreateMessages = E_OUTOFMEMORY;
    v_GiveFindings({{1, 3, L"Warning 1 "}});
    EXPECT_HR(E_OUTOFMEMORY, hr_Verify());
    EXPECT_EQ(0, so_Scene().i_Count("verifier.NextFinding"));
}

TEST_F(VerificationRun, CanVerifyOnlyFormatsFAndI)
{
    for (long i_Type : {5L, 6L, 7L, 8L})
    {
        CT_FakeDocument* pco = pco_NewDocument({i_Type});
        VARIANT_BOOL b = 1;
        EXPECT_HR(S_OK, pco_PlugIn->CanVerify(pco, &b));
        EXPECT_EQ(i_Type == 6 || i_Type == 7 ? VARIANT_TRUE : VARIANT_FALSE, b) << i_Type;
        pco->Release();
    }
    st_Scenario::so_Current.aso_Failures["doc.GetDocumentType"] = E_ACCESSDENIED;
    VARIANT_BOOL b = 1;
    EXPECT_HR(E_ACCESSDENIED, pco_PlugIn->CanVerify(pco_Document, &b));
    EXPECT_EQ(VARIANT_FALSE, b);
    EXPECT_HR(E_INVALIDARG, pco_PlugIn->CanVerify(nullptr, &b));
}
} // namespace
