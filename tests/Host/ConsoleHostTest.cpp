// The console host as a user runs it: a separate process, judged by its output and exit status.
#include "HostTestSupport.h"

#include <functional>

namespace
{
struct st_Outcome
{
    DWORD n_Exit = 0xFFFFFFFF;
    std::string co_Out;
    std::string co_Err;
};

HANDLE h_InheritableFile(const std::u16string& co_Path)
{
    SECURITY_ATTRIBUTES co_Inherit = {sizeof co_Inherit, nullptr, TRUE};
    return CreateFileW(reinterpret_cast<const wchar_t*>(co_Path.c_str()), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &co_Inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs KxfVerify.exe beside the test program with the given arguments (each one quoted);
// pf_Meanwhile, when given, deals with the running program.
st_Outcome co_RunHost(const std::vector<std::u16string>& co_Arguments,
                      const std::function<void(const PROCESS_INFORMATION&)>& pf_Meanwhile = {})
{
    CT_TempFolder co_Temp;
    const std::u16string co_Program = co_ProgramFolder() + u"\\KxfVerify.exe";
    std::u16string co_CommandLine = u"\"" + co_Program + u"\"";
    for (const std::u16string& co_Argument : co_Arguments)
        co_CommandLine += u" \"" + co_Argument + u"\"";

    STARTUPINFOW co_Startup = {};
    co_Startup.cb = sizeof co_Startup;
    co_Startup.dwFlags = STARTF_USESTDHANDLES;
    co_Startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    co_Startup.hStdOutput = h_InheritableFile(co_Temp.co_File(u"out.txt"));
    co_Startup.hStdError = h_InheritableFile(co_Temp.co_File(u"err.txt"));
    PROCESS_INFORMATION co_Process = {};
    st_Outcome co_Outcome;
    if (CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(co_CommandLine.data()), nullptr, nullptr,
                       TRUE, 0, nullptr, nullptr, &co_Startup, &co_Process))
    {
        if (pf_Meanwhile)
            pf_Meanwhile(co_Process);
        WaitForSingleObject(co_Process.hProcess, INFINITE);
        GetExitCodeProcess(co_Process.hProcess, &co_Outcome.n_Exit);
        CloseHandle(co_Process.hThread);
        CloseHandle(co_Process.hProcess);
    }
    else
        ADD_FAILURE() << "cannot start the console host, error " << GetLastError();
    CloseHandle(co_Startup.hStdOutput);
    CloseHandle(co_Startup.hStdError);
    co_Outcome.co_Out = co_ReadBytes(co_Temp.co_File(u"out.txt"));
    co_Outcome.co_Err = co_ReadBytes(co_Temp.co_File(u"err.txt"));
    return co_Outcome;
}

std::string co_Narrow(const std::u16string& co_Text)
{
    return std::string(co_Text.begin(), co_Text.end());
}

class ConsoleHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        co_Original = co_Temp.co_WriteText(u"original.kxf", u"a<:hs>b");
        co_Translation = co_Temp.co_WriteText(u"translation.kxf", u"a b");
    }

    CT_TempFolder co_Temp;
    std::u16string co_Original;
    std::u16string co_Translation;
};

TEST_F(ConsoleHost, ShowsItsUsage)
{
    const st_Outcome co_Outcome = co_RunHost({u"--help"});
    EXPECT_EQ(co_Outcome.n_Exit, 0u);
    EXPECT_EQ(
        co_Outcome.co_Out.rfind(
            "usage: KxfVerify [--progid PROGID] [--settings] [TYPE ORIGINAL TRANSLATION]\n", 0),
        0u)
        << co_Outcome.co_Out;
}

TEST_F(ConsoleHost, WrongUsageSaysWhatIsWrong)
{
    const st_Outcome co_Outcome = co_RunHost({u"X", co_Original, co_Translation});
    EXPECT_EQ(co_Outcome.n_Exit, 2u);
    EXPECT_EQ(
        co_Outcome.co_Err.rfind("KxfVerify: unknown document type X (F, I or a number)\nusage:", 0),
        0u)
        << co_Outcome.co_Err;
    EXPECT_EQ(co_Outcome.co_Out, "");
}

TEST_F(ConsoleHost, MissingFilesAreNamed)
{
    const std::u16string co_None = co_Temp.co_File(u"none.kxf");
    st_Outcome co_Outcome = co_RunHost({u"F", co_None, co_Translation});
    EXPECT_EQ(co_Outcome.n_Exit, 2u);
    EXPECT_EQ(co_Outcome.co_Err,
              "KxfVerify: original file not found: " + co_Narrow(co_None) + "\n");

    co_Outcome = co_RunHost({u"I", co_Original, co_None});
    EXPECT_EQ(co_Outcome.n_Exit, 2u);
    EXPECT_EQ(co_Outcome.co_Err,
              "KxfVerify: translated file not found: " + co_Narrow(co_None) + "\n");
}

TEST_F(ConsoleHost, UnregisteredPlugInIsNamed)
{
    const st_Outcome co_Outcome =
        co_RunHost({u"--progid", u"KxfVerifyTest.NoSuchPlugIn", u"F", co_Original, co_Translation});
    EXPECT_EQ(co_Outcome.n_Exit, 3u);
    EXPECT_EQ(co_Outcome.co_Err,
              "KxfVerify: the verifier plug-in KxfVerifyTest.NoSuchPlugIn is not "
              "registered (regsvr32 KxfVerifierPlugIn.dll)\n");
}

TEST_F(ConsoleHost, ComponentThatIsNoPlugInIsRefused)
{
    const st_Outcome co_Outcome =
        co_RunHost({u"--progid=Markpad.VerifierMessages", u"F", co_Original, co_Translation});
    EXPECT_EQ(co_Outcome.n_Exit, 3u);
    EXPECT_EQ(co_Outcome.co_Err.rfind(
                  "KxfVerify: cannot create the verifier plug-in Markpad.VerifierMessages: ", 0),
              0u)
        << co_Outcome.co_Err;
    EXPECT_NE(co_Outcome.co_Err.find("0x80004002"), std::string::npos) << co_Outcome.co_Err;
}

// While it lives, the user's Corvane settings are kept elsewhere, so that the plug-in runs
// with its defaults and what a test saves goes again.
class CT_SettingsAside
{
public:
    CT_SettingsAside()
    {
        b_Kept = RegCopyTreeA(HKEY_CURRENT_USER, sqccz_Key, h_Aside()) == ERROR_SUCCESS;
        RegDeleteTreeA(HKEY_CURRENT_USER, sqccz_Key);
    }
    ~CT_SettingsAside()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, sqccz_Key);
        if (b_Kept)
        {
            HKEY h_Key = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, sqccz_Key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &h_Key, nullptr);
            RegCopyTreeA(h_Aside(), nullptr, h_Key);
            RegCloseKey(h_Key);
        }
        RegCloseKey(h_AsideKey);
        RegDeleteTreeA(HKEY_CURRENT_USER, co_AsideName.c_str());
    }
    CT_SettingsAside(const CT_SettingsAside&) = delete;
    CT_SettingsAside& operator=(const CT_SettingsAside&) = delete;

    static constexpr const char* sqccz_Key = "Software\\Corvane";

private:
    HKEY h_Aside()
    {
        if (!h_AsideKey)
            RegCreateKeyExA(HKEY_CURRENT_USER, co_AsideName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &h_AsideKey, nullptr);
        return h_AsideKey;
    }

    const std::string co_AsideName =
        "Software\\KxfVerifyTest-aside-" + std::to_string(GetCurrentProcessId());
    HKEY h_AsideKey = nullptr;
    bool b_Kept = false;
};

// With the real plug-in: registers it first, as scripts/run does.
class ConsoleHostWithPlugIn : public ConsoleHost
{
protected:
    void SetUp() override
    {
        ConsoleHost::SetUp();
        if (HasFatalFailure())
            return;
        const std::u16string co_Dll = co_ProgramFolder() + u"\\KxfVerifierPlugIn.dll";
        const HMODULE h_PlugIn = LoadLibraryW(reinterpret_cast<const wchar_t*>(co_Dll.c_str()));
        ASSERT_NE(h_PlugIn, nullptr) << "KxfVerifierPlugIn.dll, error " << GetLastError();
        using Register = HRESULT(STDAPICALLTYPE*)();
        const auto pf_Register = reinterpret_cast<Register>(
            reinterpret_cast<void (*)()>(GetProcAddress(h_PlugIn, "DllRegisterServer")));
        const HRESULT hr_Result = pf_Register ? pf_Register() : E_NOTIMPL;
        FreeLibrary(h_PlugIn);
        ASSERT_HRESULT_SUCCEEDED(hr_Result);
    }

    CT_SettingsAside co_Settings;
};

TEST_F(ConsoleHostWithPlugIn, VerifiesTheSamples)
{
    const st_Outcome co_Outcome = co_RunHost({});
    EXPECT_EQ(co_Outcome.n_Exit, 0u) << co_Outcome.co_Err;
    const char* const sqccz_Expected[] = {
        "\\samples\\F\\translation\\Guide.kxf against ",
        "  severity  number  document     position  line:col  text\n",
        "  error        101  original           89      2:48  Error 101: <:hs> is missing in the "
        "translation\n",
        "  warning      201  translation       129       3:1  Warning 201: <ps \"\xC3\x9C"
        "berschrift 2\"> does not match <ps \"Heading 2\"> of the original\n",
        "Alert 301: <:t> stands in another order than in the original\n",
        "Error 102: <:xr \"Setup\"> is not in the original\n",
        "Guide.kxf: 4 messages (2 errors, 1 warning, 1 alert)\n",
        "\\samples\\I\\translation\\Catalog.kxf against ",
        "Error 101: <:r12> is missing in the translation\n",
        "Error 101: <ie \"Prices\"> is missing in the translation\n",
        "Error 101: <:t.> is missing in the translation\n",
        "Error 102: <:t_> is not in the original\n",
        "Warning 201: <:xr \"Commander\" page> does not match <:xr \"Ordering\" page> of the "
        "original\n",
        "Catalog.kxf: 5 messages (4 errors, 1 warning, 0 alerts)\n",
    };
    size_t n_From = 0;
    for (const char* qccz_Expected : sqccz_Expected)
    {
        const size_t n_Found = co_Outcome.co_Out.find(qccz_Expected, n_From);
        EXPECT_NE(n_Found, std::string::npos)
            << "missing or out of order: " << qccz_Expected << "\noutput:\n"
            << co_Outcome.co_Out;
        if (n_Found != std::string::npos)
            n_From = n_Found;
    }
}

TEST_F(ConsoleHostWithPlugIn, DocumentTypeThePlugInCannotVerify)
{
    const st_Outcome co_Outcome = co_RunHost({u"5", co_Original, co_Translation});
    EXPECT_EQ(co_Outcome.n_Exit, 1u);
    EXPECT_EQ(co_Outcome.co_Err, "KxfVerify: the plug-in cannot verify documents of type 5\n");
}
// The settings frame of the console host: a person presses a button in it; this test posts the
// press to the frame's window once it is there.
struct st_Press
{
    WPARAM n_Command;
    bool b_FrameSeen = false;
};

BOOL CALLBACK b_FindFrameOf(HWND h_Window, LPARAM n_Search)
{
    auto* pco_Search = reinterpret_cast<std::pair<DWORD, HWND>*>(n_Search);
    DWORD n_Process = 0;
    GetWindowThreadProcessId(h_Window, &n_Process);
    wchar_t aw_Caption[64] = L"";
    GetWindowTextW(h_Window, aw_Caption, 64);
    if (n_Process != pco_Search->first ||
        std::wstring(aw_Caption) != L"Ketra Verifier Properties" || !IsWindowVisible(h_Window))
        return TRUE;
    pco_Search->second = h_Window;
    return FALSE;
}

// Waits for the frame while the program runs (it ends with a failure otherwise), then presses.
void v_PressInFrame(const PROCESS_INFORMATION& co_Process, st_Press& co_Press)
{
    std::pair<DWORD, HWND> co_Search{co_Process.dwProcessId, nullptr};
    for (int i_Try = 0; i_Try < 600 && !co_Search.second; ++i_Try)
    {
        if (WaitForSingleObject(co_Process.hProcess, 50) != WAIT_TIMEOUT)
            return;
        EnumWindows(&b_FindFrameOf, reinterpret_cast<LPARAM>(&co_Search));
    }
    if (!co_Search.second)
    {
        TerminateProcess(co_Process.hProcess, 99);
        return;
    }
    co_Press.b_FrameSeen = true;
    PostMessageW(co_Search.second, WM_COMMAND, MAKEWPARAM(co_Press.n_Command, BN_CLICKED), 0);
}

TEST_F(ConsoleHostWithPlugIn, SettingsFrameSavesOnOkAndThenVerifies)
{
    const std::string co_Reporting = "Software\\Corvane\\KetragenF\\REPORTING";
    for (const WPARAM n_Command : {WPARAM{IDCANCEL}, WPARAM{IDOK}})
    {
        st_Press co_Press{n_Command};
        const st_Outcome co_Outcome = co_RunHost({u"--settings", u"F", co_Original, co_Translation},
                                                 [&](const PROCESS_INFORMATION& co_Process)
                                                 { v_PressInFrame(co_Process, co_Press); });
        ASSERT_TRUE(co_Press.b_FrameSeen) << co_Outcome.co_Err;
        EXPECT_EQ(co_Outcome.n_Exit, 0u) << co_Outcome.co_Err;
        EXPECT_EQ(co_Outcome.co_Err.rfind("KxfVerify: this Wine prefix has no display", 0), 0u)
            << "the tests' prefix is headless: " << co_Outcome.co_Err;
        EXPECT_NE(co_Outcome.co_Out.find("Error 101: <:hs> is missing in the translation"),
                  std::string::npos)
            << co_Outcome.co_Out;
        DWORD n_Flag = 7, n_Size = sizeof n_Flag;
        const LSTATUS i_Read =
            RegGetValueA(HKEY_CURRENT_USER, co_Reporting.c_str(), "<:b> and <:/b> bold",
                         RRF_RT_REG_DWORD, nullptr, &n_Flag, &n_Size);
        if (n_Command == IDCANCEL)
            EXPECT_NE(i_Read, ERROR_SUCCESS) << "Cancel saves nothing";
        else
            EXPECT_TRUE(i_Read == ERROR_SUCCESS && n_Flag == 1) << "OK saves the page's choice";
    }
}
} // namespace
