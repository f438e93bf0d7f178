// The console host as a user runs it: a separate process, judged by its output and exit status.
#include "HostTestSupport.h"

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

// Runs KxfVerify.exe beside the test program with the given arguments (each one quoted).
st_Outcome co_RunHost(const std::vector<std::u16string>& co_Arguments)
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
    EXPECT_EQ(co_Outcome.co_Out.rfind(
                  "usage: KxfVerify [--progid PROGID] [TYPE ORIGINAL TRANSLATION]\n", 0),
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

// With the real plug-in: registers it first, as scripts/run does.
class ConsoleHostWithPlugIn : public ConsoleHost
{
protected:
    void SetUp() override
    {
        ConsoleHost::SetUp();
        const std::u16string co_Dll = co_ProgramFolder() + u"\\KxfVerifierPlugIn.dll";
        const HMODULE h_PlugIn = LoadLibraryW(reinterpret_cast<const wchar_t*>(co_Dll.c_str()));
        ASSERT_NE(h_PlugIn, nullptr) << "KxfVerifierPlugIn.dll, error " << GetLastError();
        using Register = HRESULT(STDAPICALLTYPE*)();
        const auto pf_Register =
            reinterpret_cast<Register>(GetProcAddress(h_PlugIn, "DllRegisterServer"));
        const HRESULT hr = pf_Register ? pf_Register() : E_NOTIMPL;
        FreeLibrary(h_PlugIn);
        ASSERT_HRESULT_SUCCEEDED(hr);
    }
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
} // namespace
