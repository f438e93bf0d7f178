// CT_ErrorManager and CT_Failure: the per-thread state machine, texts of every setter, the trail,
// the HRESULT descriptions, the message box's text, the exhausted pool, and several threads at
// once. Under Wine the COM error objects, FormatMessage and the message box are the real ones,
// and the 8-bit paths run with the platform forced below NT.
//
// CT_ERROR_STRESS_ROUNDS sets how many rounds each thread of the concurrency test runs.
#include "Basis/Runtime/ErrorManager.h"

#include "Basis/Platform/SystemText.h"
#include "Basis/Platform/Thread.h"
#include "Basis/Runtime/Failure.h"
#include "Basis/Runtime/OS.h"
#include "EnvironmentStrings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>

#include <oleauto.h>
#endif

namespace
{
CT_ErrorManager* pco_Errors()
{
    return CT_ErrorManager::spco_Get();
}

std::u16string co_Message()
{
    const char16_t* pcu = pco_Errors()->qcuz_GetErrorMessage();
    return pcu ? std::u16string(pcu) : u"<none>";
}

std::u16string co_Widen(const std::string& co)
{
    return std::u16string(co.begin(), co.end());
}

std::u16string co_Code(int i_Code)
{
    return co_Widen("(" + std::to_string(i_Code) + "): ");
}

// Every test starts and ends with the thread free of errors and the platform as it is.
class ErrorManager : public ::testing::Test
{
protected:
    void SetUp() override { v_ClearAll(); }
    void TearDown() override
    {
        v_ClearAll();
        CT_OS::sv_Init();
    }
    static void v_ClearAll()
    {
        pco_Errors()->v_ClearError();
        pco_Errors()->v_ClearError();
    }
};

// ---- State machine ---------------------------------------------------------------------------

TEST_F(ErrorManager, NoErrorAnswersNothing)
{
    CT_ErrorManager* pco = pco_Errors();
    EXPECT_FALSE(pco->b_IsSetError());
    EXPECT_FALSE(pco->b_IsHoldError());
    EXPECT_EQ(pco->n_GetErrorCode(), 0u);
    EXPECT_EQ(pco->n_GetFormatID(), 0u);
    EXPECT_EQ(pco->qcuz_GetErrorMessage(), nullptr);
    EXPECT_EQ(pco->n_GetLocationCount(), 0u);
    EXPECT_EQ(pco->qccz_GetLocationFileAt(1), nullptr);
    EXPECT_EQ(pco->n_GetLocationLineAt(1), 0u);
    pco->v_AddLocation("D:\\src\\unit", 1);
    pco->v_HoldError();
    pco->v_SetIgnoreError(1);
    EXPECT_FALSE(pco->b_IsSetError());
    EXPECT_FALSE(pco->b_IsHoldError());
}

TEST_F(ErrorManager, FirstErrorOfAThreadWins)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(5, u"first");
    pco->v_SetError(6, u"second");
    pco->v_SetMessageError(u"third");
    EXPECT_TRUE(pco->b_IsSetError());
    EXPECT_EQ(pco->n_GetErrorCode(), 5u);
    EXPECT_EQ(co_Message(), u"(5): first");
}

TEST_F(ErrorManager, HeldErrorStaysReadableUntilANewErrorReplacesIt)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(7, u"held");
    pco->v_AddLocation("D:\\src\\unit", 3);
    pco->v_HoldError();
    EXPECT_FALSE(pco->b_IsSetError());
    EXPECT_TRUE(pco->b_IsHoldError());
    EXPECT_EQ(pco->n_GetErrorCode(), 7u);
    EXPECT_EQ(co_Message(), u"(7): held");
    // Locations go to active errors only.
    pco->v_AddLocation("D:\\src\\other", 4);
    EXPECT_EQ(pco->n_GetLocationCount(), 1u);

    pco->v_SetError(8, u"new");
    EXPECT_TRUE(pco->b_IsSetError());
    EXPECT_FALSE(pco->b_IsHoldError());
    EXPECT_EQ(co_Message(), u"(8): new");
    EXPECT_EQ(pco->n_GetLocationCount(), 0u);
}

TEST_F(ErrorManager, ClearRemovesTheActiveErrorElseTheHeldOne)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(1, u"one");
    pco->v_HoldError();
    pco->v_ClearError();
    EXPECT_FALSE(pco->b_IsHoldError());
    EXPECT_EQ(pco->qcuz_GetErrorMessage(), nullptr);

    pco->v_SetError(2, u"two");
    pco->v_ClearError();
    EXPECT_FALSE(pco->b_IsSetError());
    EXPECT_EQ(pco->n_GetErrorCode(), 0u);
}

TEST_F(ErrorManager, IgnoredErrorIsNotSetButStillBlocksNewOnes)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(3, u"ignored");
    pco->v_SetIgnoreError(1);
    EXPECT_FALSE(pco->b_IsSetError());
    pco->v_SetError(4, u"later");
    EXPECT_EQ(pco->n_GetErrorCode(), 3u);
    pco->v_SetIgnoreError(0);
    EXPECT_TRUE(pco->b_IsSetError());
}

// ---- Texts -----------------------------------------------------------------------------------

TEST_F(ErrorManager, CodedTextsCarryTheCodeAsSignedDecimal)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(0x80004005u, u"%s %d", u"x", 7);
    EXPECT_EQ(co_Message(), u"(-2147467259): x 7");
    EXPECT_EQ(pco->n_GetFormatID(), 0u);
}

TEST_F(ErrorManager, FormatResourceOfTheDefaultModule)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(9, nullptr, CT_TEST_STRING_FORMAT, 3, "abc");
    EXPECT_EQ(co_Message(), u"(9): Item 3 of abc");
    EXPECT_EQ(pco->n_GetFormatID(), unsigned{CT_TEST_STRING_FORMAT});
}

TEST_F(ErrorManager, MissingFormatResourceLeavesTheCodeAlone)
{
    pco_Errors()->v_SetError(5, nullptr, 0);
    EXPECT_EQ(co_Message(), u"(5): ");
    pco_Errors()->v_ClearError();
    pco_Errors()->v_SetError(5, nullptr, CT_TEST_STRING_MISSING, 1);
    EXPECT_EQ(co_Message(), u"(5): ");
}

TEST_F(ErrorManager, TextsAreCutTo1023Units)
{
    std::u16string co_Long(3000, u'x');
    pco_Errors()->v_SetError(1, u"%s", co_Long.c_str());
    EXPECT_EQ(co_Message(), u"(1): " + co_Long.substr(0, 1023 - 5));
    pco_Errors()->v_ClearError();
    pco_Errors()->v_SetMessageError("%s", std::string(3000, 'y').c_str());
    EXPECT_EQ(co_Message(), std::u16string(1023, u'y'));
}

TEST_F(ErrorManager, MessageErrorsHaveCodeZeroAndNoPrefix)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetMessageError(u"%s has %d", u"disk", 2);
    EXPECT_EQ(pco->n_GetErrorCode(), 0u);
    EXPECT_EQ(co_Message(), u"disk has 2");

    // The 8-bit forms format 8-bit text, then convert it from the ANSI code page.
    pco->v_ClearError();
    pco->v_SetMessageError("%s \xE9 %d", "caf\xE9", 4);
    EXPECT_EQ(co_Message(), u"caf\u00E9 \u00E9 4");

    pco->v_ClearError();
    pco->v_SetMessageError(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(pco->b_IsSetError());
    EXPECT_EQ(co_Message(), u"");
}

// ---- Mapping functions -----------------------------------------------------------------------

struct st_MapCall
{
    unsigned n_Bytes, n_Code, n_FormatID;
    int i_FirstArgument;
};
st_MapCall so_LastMap;

int b_MapWrites(char16_t* pu_Buffer, unsigned n_Bytes, unsigned n_Code, unsigned n_FormatID,
                va_list args)
{
    so_LastMap = {n_Bytes, n_Code, n_FormatID, va_arg(args, int)};
    std::char_traits<char16_t>::copy(pu_Buffer, u"mapped", 7);
    return 1;
}

// Reads the arguments and declines: the format must still see them whole.
int b_MapDeclines(char16_t*, unsigned n_Bytes, unsigned n_Code, unsigned n_FormatID, va_list args)
{
    so_LastMap = {n_Bytes, n_Code, n_FormatID, va_arg(args, int)};
    return 0;
}

TEST_F(ErrorManager, MappingFunctionOfTheThreadWritesTheText)
{
    CT_ErrorManager* pco = pco_Errors();
    unsigned n_Thread = CT_PlatformThread::sn_GetCurrentId();
    pco->v_SetMapFunction(b_MapDeclines, n_Thread);
    pco->v_SetMapFunction(b_MapWrites, n_Thread);
    pco->v_SetMapFunction(b_MapDeclines, n_Thread + 1);

    so_LastMap = {};
    pco->v_SetError(12, nullptr, 34, 56);
    EXPECT_EQ(co_Message(), u"(12): mapped");
    EXPECT_EQ(so_LastMap.n_Bytes, 2048u);
    EXPECT_EQ(so_LastMap.n_Code, 12u);
    EXPECT_EQ(so_LastMap.n_FormatID, 34u);
    EXPECT_EQ(so_LastMap.i_FirstArgument, 56);

    // A format given directly reaches the function as code and identifier both.
    pco->v_ClearError();
    pco->v_SetError(13, u"unused %d", 0);
    EXPECT_EQ(so_LastMap.n_FormatID, 13u);

    // The latest registration goes first, revealing the one before.
    pco->v_RemoveMapFunction(n_Thread);
    pco->v_ClearError();
    pco->v_SetError(14, u"%d and %d", 15, 16);
    EXPECT_EQ(co_Message(), u"(14): 15 and 16");
    EXPECT_EQ(so_LastMap.i_FirstArgument, 15);

    pco->v_RemoveMapFunction(n_Thread);
    pco->v_RemoveMapFunction(n_Thread + 1);
    pco->v_ClearError();
    so_LastMap = {};
    pco->v_SetError(17, u"plain");
    EXPECT_EQ(so_LastMap.n_Code, 0u);
}

// ---- System errors ---------------------------------------------------------------------------

// The system's text through the 16-bit call, which the 8-bit path must match for these codes.
std::u16string co_SystemText(unsigned n_Code)
{
    char16_t au[CT_ErrorManager::sn_TextSize];
    if (!CT_PlatformSystemText::sb_GetErrorText(n_Code, 0, au, CT_ErrorManager::sn_TextSize))
        return u"";
    CT_ErrorManager::sv_StripSystemError(au);
    return au;
}

class ErrorManagerPlatform : public ErrorManager, public ::testing::WithParamInterface<CT_OS::et_OS>
{
protected:
    void SetUp() override
    {
        ErrorManager::SetUp();
        CT_OS::sv_ForceVersion(GetParam());
    }
};

TEST_P(ErrorManagerPlatform, SystemErrorTakesTheLastErrorAndResetsIt)
{
    constexpr unsigned sn_NotFound = 2; // ERROR_FILE_NOT_FOUND, ENOENT
    std::u16string co_System = co_SystemText(sn_NotFound);
    ASSERT_FALSE(co_System.empty());
    EXPECT_NE(co_System.back(), u'\n');
    EXPECT_EQ(co_System.find(u'\r'), std::u16string::npos);

    CT_PlatformSystemText::sv_SetLastError(sn_NotFound);
    pco_Errors()->v_SetSystemError();
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_NotFound);
    EXPECT_EQ(co_Message(), u"(2): " + co_System);
    EXPECT_EQ(CT_PlatformSystemText::sn_GetLastError(), 0u);
}

TEST_P(ErrorManagerPlatform, SystemErrorDetailsFollowInBrackets)
{
    constexpr unsigned sn_AccessDenied = 5; // ERROR_ACCESS_DENIED, EIO
    std::u16string co_System = co_SystemText(sn_AccessDenied);
    if (!co_System.empty() && co_System.back() == u' ')
        co_System.pop_back();
    CT_PlatformSystemText::sv_SetLastError(sn_AccessDenied);
    pco_Errors()->v_SetSystemError(u"%s #%d", u"C:\\file", 3);
    EXPECT_EQ(co_Message(), u"(5): " + co_System + u" [C:\\file #3]");
}

TEST_P(ErrorManagerPlatform, SystemErrorWithAnErrorSetLeavesItButResetsTheLastError)
{
    pco_Errors()->v_SetError(1, u"first");
    CT_PlatformSystemText::sv_SetLastError(2);
    pco_Errors()->v_SetSystemError(u"detail");
    EXPECT_EQ(co_Message(), u"(1): first");
    EXPECT_EQ(CT_PlatformSystemText::sn_GetLastError(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Platforms, ErrorManagerPlatform,
                         ::testing::Values(CT_OS::eo_WindowsNT, CT_OS::eo_Windows95),
                         [](const auto& info)
                         { return info.param == CT_OS::eo_WindowsNT ? "Wide" : "Ansi"; });

TEST(ErrorManagerStrip, LineEndsBecomeOneBlank)
{
    struct
    {
        std::u16string co_In, co_Out;
    } const aso_Cases[] = {
        {u"Not found.\r\n", u"Not found."}, // the usual ending
        {u"one\r\ntwo\r\n", u"one two"},    // a break inside
        {u"one \r\ntwo", u"one two"},       // after a blank, deleted
        {u"one\n\ntwo", u"one two"},        // the second follows the new blank
        {u"\r\n", u" "},                    // the first unit is never dropped
        {u"\ntext", u" text"},              // nothing before it: a blank
        {u"", u""},                         //
        {u"a\r\n\r\n\n", u"a"},             // every line end at the end
    };
    for (const auto& so : aso_Cases)
    {
        std::u16string co = so.co_In;
        CT_ErrorManager::sv_StripSystemError(co.data());
        EXPECT_EQ(std::u16string(co.c_str()), so.co_Out);
    }
}

// ---- COM errors and HRESULT descriptions -----------------------------------------------------

TEST(ErrorManagerHRESULT, DescriptionsByExactValue)
{
    struct
    {
        std::uint32_t n_Value;
        const char* qccz_Text;
    } const aso_Cases[] = {
        {0x00000000, "S_OK"},
        {0x00000001, "S_FALSE"},
        {0x80004005, "E_FAIL (Unspecified error)"},
        {0x80070057, "E_INVALIDARG (One or more arguments are invalid)"},
        {0x8007000E, "E_OUTOFMEMORY (Ran out of memory)"},
        {0x8000FFFF, "E_UNEXPECTED (Catastrophic failure)"},
        {0x80020009, "DISP_E_EXCEPTION (Exception occurred.)"},
        {0x00030200,
         "STG_S_CONVERTED (The underlying file was converted to compound file format.)"},
        {0x0009035C, "SEC_I_SIGNATURE_NEEDED"}, // a name without a text
        {0x8004E003, "CONTEXT_E_ABORTING"},     // its text came later
        {0xC0090002, "ERROR_ALL_SIDS_FILTERED (The SID filtering operation removed all SIDs.)"},
        {0x12345678, "[No explanation]"},
        {0x80070002, "[No explanation]"}, // WIN32 codes other than COM's four
        {0x00000002, "[No explanation]"}, // between the first entries
        {0xC0090003, "[No explanation]"}, // past the last entry
        {0xFFFFFFFF, "[No explanation]"},
    };
    for (const auto& so : aso_Cases)
        EXPECT_STREQ(CT_ErrorManager::sqccz_GetHRESULTDescription(static_cast<HRESULT>(so.n_Value)),
                     so.qccz_Text)
            << std::hex << so.n_Value;
}

TEST_F(ErrorManager, COMErrorWithoutErrorObjectTakesTheDescription)
{
    pco_Errors()->v_SetCOMError(static_cast<HRESULT>(0x80004005));
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), 0x80004005u);
    EXPECT_EQ(co_Message(), u"(-2147467259): E_FAIL (Unspecified error)");

    pco_Errors()->v_ClearError();
    pco_Errors()->v_SetCOMError(S_FALSE);
    pco_Errors()->v_SetCOMError(S_OK);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(ErrorManager, COMErrorTextsAreNeverFormats)
{
    pco_Errors()->v_SetCOMError(static_cast<HRESULT>(0x80030002));
    EXPECT_EQ(co_Message(), u"(-2147287038): STG_E_FILENOTFOUND (%1 could not be found.)");
}

#if defined(_WIN32)
// Installs an error object with the description as COM servers do.
void v_SetErrorObject(const wchar_t* pw_Description)
{
    ICreateErrorInfo* pco_Create = nullptr;
    ASSERT_EQ(CreateErrorInfo(&pco_Create), S_OK);
    pco_Create->SetDescription(const_cast<wchar_t*>(pw_Description));
    IErrorInfo* pco_Info = nullptr;
    pco_Create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&pco_Info));
    ASSERT_EQ(SetErrorInfo(0, pco_Info), S_OK);
    pco_Info->Release();
    pco_Create->Release();
}

bool b_ErrorObjectLeft()
{
    IErrorInfo* pco_Info = nullptr;
    HRESULT hr = GetErrorInfo(0, &pco_Info);
    if (pco_Info)
        pco_Info->Release();
    return hr == S_OK;
}

TEST_F(ErrorManager, COMErrorObjectWithCodeInItsDescription)
{
    v_SetErrorObject(L"(42): disk full");
    pco_Errors()->v_SetCOMError(E_FAIL);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), 42u);
    EXPECT_EQ(co_Message(), u"(42):  disk full");
    EXPECT_FALSE(b_ErrorObjectLeft());
}

TEST_F(ErrorManager, COMErrorObjectDescriptionUnderTheHRESULT)
{
    v_SetErrorObject(L"Disk 100% full");
    pco_Errors()->v_SetCOMError(E_FAIL);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), static_cast<unsigned>(E_FAIL));
    EXPECT_EQ(co_Message(), u"(-2147467259): Disk 100% full");

    // "(n)" without a colon keeps the whole description.
    pco_Errors()->v_ClearError();
    v_SetErrorObject(L"(-7) odd");
    pco_Errors()->v_SetCOMError(E_FAIL);
    EXPECT_EQ(co_Message(), u"(-7): (-7) odd");
}

TEST_F(ErrorManager, COMErrorObjectIsTakenEvenForSuccess)
{
    v_SetErrorObject(L"(42): disk full");
    pco_Errors()->v_SetCOMError(S_FALSE);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
    EXPECT_FALSE(b_ErrorObjectLeft());
}
#endif

// ---- Trail -----------------------------------------------------------------------------------

TEST_F(ErrorManager, TrailKeepsOrderAndDropsWhatThePoolCannotHold)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(1, u"trail");
    for (unsigned i = 1; i <= 101; ++i)
        pco->v_AddLocation(i % 2 ? "D:\\src\\odd" : "D:\\src\\even", i);
    EXPECT_EQ(pco->n_GetLocationCount(), 100u);
    EXPECT_STREQ(pco->qccz_GetLocationFileAt(1), "D:\\src\\odd");
    EXPECT_EQ(pco->n_GetLocationLineAt(1), 1u);
    EXPECT_STREQ(pco->qccz_GetLocationFileAt(100), "D:\\src\\even");
    EXPECT_EQ(pco->n_GetLocationLineAt(100), 100u);

    // Clearing gives every location back.
    pco->v_ClearError();
    pco->v_SetError(2, u"again");
    for (unsigned i = 1; i <= 100; ++i)
        pco->v_AddLocation("unit", i);
    EXPECT_EQ(pco->n_GetLocationCount(), 100u);
}

// ---- Message box -----------------------------------------------------------------------------

struct st_Window
{
    std::u16string co_Caption, co_Body;
};

st_Window so_Compose(unsigned n_CaptionID, const char16_t* qcuz_Caption)
{
    char16_t au_Buffer[CT_ErrorManager::sn_TextSize];
    const char16_t* pcu_Body =
        pco_Errors()->pcu_ComposeLocationWindow(au_Buffer, n_CaptionID, qcuz_Caption);
    EXPECT_GE(pcu_Body, au_Buffer + 1);
    EXPECT_LT(pcu_Body, au_Buffer + CT_ErrorManager::sn_TextSize);
    EXPECT_EQ(pcu_Body[-1], u'\0');
    return {au_Buffer, pcu_Body};
}

TEST_F(ErrorManager, WindowShowsTextAndOneLinePerLocation)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(5, u"boom");
    pco->v_AddLocation("D:\\src\\unit1", 10);
    pco->v_AddLocation("unit2", 20);
    pco->v_AddLocation("/home/src/unit3.cpp", 30);
    pco->v_AddLocation("D:\\a/b\\c/d", 40);
    st_Window so = so_Compose(0, u"Caption");
    EXPECT_EQ(so.co_Caption, u"Caption");
    EXPECT_EQ(so.co_Body, u"(5): boom\n\nunit1: line 10\n(unknown file): line 20\n"
                          u"unit3.cpp: line 30\nc/d: line 40");
}

TEST_F(ErrorManager, WindowWithoutTrailShowsTheTextAlone)
{
    pco_Errors()->v_SetError(5, u"boom");
    pco_Errors()->v_HoldError();
    st_Window so = so_Compose(0, nullptr);
    EXPECT_EQ(so.co_Caption, u"");
    EXPECT_EQ(so.co_Body, u"(5): boom");
}

TEST_F(ErrorManager, WindowCaptionFromTheErrorsModule)
{
    pco_Errors()->v_SetError(5, u"boom");
    EXPECT_EQ(so_Compose(CT_TEST_STRING_SHORT, nullptr).co_Caption, u"Hello");
    EXPECT_EQ(so_Compose(CT_TEST_STRING_SHORT, u"given").co_Caption, u"given");
}

TEST_F(ErrorManager, WindowKeepsToItsBufferAndDropsTrailThatDoesNotFit)
{
    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetMessageError(u"%s", std::u16string(980, u'e').c_str());
    for (unsigned i = 1; i <= 5; ++i)
        pco->v_AddLocation("D:\\unit", i); // "unit: line i\n" is 13 units
    st_Window so = so_Compose(0, u"1234567890");
    // 11 units of caption, 982 of text and blank line, room for two entries and a terminator.
    EXPECT_EQ(so.co_Body, std::u16string(980, u'e') + u"\n\nunit: line 1\nunit: line 2");

    // A caption of the whole buffer still leaves the body its terminator.
    std::u16string co_Long(2000, u'c');
    so = so_Compose(0, co_Long.c_str());
    EXPECT_EQ(so.co_Caption.size(), CT_ErrorManager::sn_TextSize - 2);
    EXPECT_EQ(so.co_Body, u"");
}

#if defined(_WIN32)
// Closes the message box of the given caption with a button, once it shows, and keeps its text.
class CT_BoxCloser
{
public:
    CT_BoxCloser(const std::u16string& co_Caption, int i_Button)
        : co_Thread([this, co_Caption, i_Button] { v_Close(co_Caption, i_Button); })
    {
    }
    ~CT_BoxCloser()
    {
        if (co_Thread.joinable())
            co_Thread.join();
    }
    std::u16string co_GetText()
    {
        co_Thread.join();
        return co_Text;
    }

private:
    void v_Close(const std::u16string& co_Caption, int i_Button)
    {
        HWND h_Box = nullptr;
        for (int i = 0; i < 2000 && !h_Box; ++i)
        {
            h_Box = FindWindowW(L"#32770", reinterpret_cast<const wchar_t*>(co_Caption.c_str()));
            if (!h_Box)
                Sleep(5);
        }
        if (!h_Box)
            return;
        EnumChildWindows(h_Box, sb_KeepStaticText, reinterpret_cast<LPARAM>(&co_Text));
        PostMessageW(h_Box, WM_COMMAND, i_Button, 0);
    }
    static BOOL CALLBACK sb_KeepStaticText(HWND h_Child, LPARAM l_Text)
    {
        wchar_t aw_Class[16], aw_Text[CT_ErrorManager::sn_TextSize];
        GetClassNameW(h_Child, aw_Class, 16);
        if (lstrcmpiW(aw_Class, L"Static") == 0 && GetWindowTextW(h_Child, aw_Text, 1024) > 0)
            *reinterpret_cast<std::u16string*>(l_Text) = reinterpret_cast<char16_t*>(aw_Text);
        return TRUE;
    }

    std::u16string co_Text;
    std::thread co_Thread;
};

TEST_P(ErrorManagerPlatform, WindowIsARealMessageBox)
{
    pco_Errors()->v_SetError(5, u"boom");
    pco_Errors()->v_AddLocation("D:\\src\\unit1", 10);
    CT_BoxCloser co_Closer(u"Error box", IDCANCEL);
    EXPECT_EQ(pco_Errors()->i_ErrorLocationWindow(0, u"Error box", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(co_Closer.co_GetText(), u"(5): boom\n\nunit1: line 10");
}
#else
TEST_F(ErrorManager, WindowNativelyWritesToStandardErrorAndAnswersOK)
{
    pco_Errors()->v_SetError(5, u"boom");
    ::testing::internal::CaptureStderr();
    int i_Button = pco_Errors()->i_ErrorLocationWindow(0, u"Error box", MB_OKCANCEL);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Error box\n(5): boom\n");
    EXPECT_EQ(i_Button, IDOK);
}
#endif

// ---- Failure reports -------------------------------------------------------------------------

TEST_F(ErrorManager, FailureReportsSetOnceAndAlwaysAddTheLocation)
{
    CT_ErrorManager* pco = pco_Errors();
    CT_PlatformSystemText::sv_SetLastError(2);
    CT_Failure::sv_ReportSystemError("D:\\src\\File.cpp", 198);
    CT_Failure::sv_ReportError(9, nullptr, CT_TEST_STRING_FORMAT, "D:\\src\\Other.cpp", 12, 1, "x");
    CT_Failure::sv_AddLocation("D:\\src\\Caller.cpp", 40);
    EXPECT_EQ(pco->n_GetErrorCode(), 2u);
    ASSERT_EQ(pco->n_GetLocationCount(), 3u);
    EXPECT_EQ(pco->n_GetLocationLineAt(1), 198u);
    EXPECT_EQ(pco->n_GetLocationLineAt(2), 12u);
    EXPECT_STREQ(pco->qccz_GetLocationFileAt(3), "D:\\src\\Caller.cpp");

    pco->v_ClearError();
    CT_Failure::sv_ReportError(9, nullptr, CT_TEST_STRING_FORMAT, "D:\\src\\Other.cpp", 12, 1, "x");
    EXPECT_EQ(co_Message(), u"(9): Item 1 of x");
}

// ---- Threads ---------------------------------------------------------------------------------

// Runs fn_Body on n_Threads threads that all start together.
template <typename Fn>
void v_RunTogether(unsigned n_Threads, Fn fn_Body)
{
    std::atomic<unsigned> n_Waiting{n_Threads};
    std::vector<std::thread> co_Threads;
    for (unsigned i = 0; i < n_Threads; ++i)
        co_Threads.emplace_back(
            [&, i]
            {
                --n_Waiting;
                while (n_Waiting.load())
                    std::this_thread::yield();
                fn_Body(i);
            });
    for (auto& co : co_Threads)
        co.join();
}

// Blocks threads until it is opened.
class CT_Gate
{
public:
    void v_Wait()
    {
        std::unique_lock<std::mutex> co_Lock(co_Mutex);
        co_Opened.wait(co_Lock, [this] { return b_Open; });
    }
    void v_Open()
    {
        std::lock_guard<std::mutex> co_Lock(co_Mutex);
        b_Open = true;
        co_Opened.notify_all();
    }

private:
    std::mutex co_Mutex;
    std::condition_variable co_Opened;
    bool b_Open = false;
};

TEST_F(ErrorManager, ThreadsHaveIndependentErrors)
{
    pco_Errors()->v_SetError(1, u"main");
    std::thread co_Other(
        [&]
        {
            CT_ErrorManager* pco = pco_Errors();
            EXPECT_FALSE(pco->b_IsSetError());
            pco->v_SetError(2, u"other");
            EXPECT_EQ(co_Message(), u"(2): other");
            pco->v_ClearError();
        });
    co_Other.join();
    EXPECT_EQ(co_Message(), u"(1): main");
}

// Twenty errors alive at once use the whole pool; the next one is not recorded, and nothing
// else is disturbed.
TEST_F(ErrorManager, ExhaustedPoolLeavesTheNewErrorUnrecorded)
{
    constexpr unsigned sn_Holders = CT_ErrorManager::sn_ErrorPoolSize;
    std::atomic<unsigned> n_Set{0}, n_Recorded{0};
    CT_Gate co_Release;
    std::vector<std::thread> co_Holders;
    for (unsigned i = 0; i < sn_Holders; ++i)
        co_Holders.emplace_back(
            [&, i]
            {
                pco_Errors()->v_SetError(100 + i, u"holder");
                n_Recorded += pco_Errors()->b_IsSetError();
                if (i % 2)
                    pco_Errors()->v_HoldError(); // held errors take records too
                ++n_Set;
                co_Release.v_Wait();
                EXPECT_EQ(pco_Errors()->n_GetErrorCode(), 100 + i);
                pco_Errors()->v_ClearError();
            });
    while (n_Set.load() < sn_Holders)
        std::this_thread::yield();
    EXPECT_EQ(n_Recorded.load(), sn_Holders);

    CT_ErrorManager* pco = pco_Errors();
    pco->v_SetError(1, u"one too many");
    pco->v_AddLocation("D:\\src\\unit", 1);
    EXPECT_FALSE(pco->b_IsSetError());
    EXPECT_EQ(pco->n_GetErrorCode(), 0u);
    EXPECT_EQ(pco->n_GetLocationCount(), 0u);

    co_Release.v_Open();
    for (auto& co : co_Holders)
        co.join();
    pco->v_SetError(2, u"room again");
    EXPECT_EQ(co_Message(), u"(2): room again");
}

unsigned n_StressRounds()
{
    const char* pcc = std::getenv("CT_ERROR_STRESS_ROUNDS");
    return pcc ? static_cast<unsigned>(std::strtoul(pcc, nullptr, 10)) : 300;
}

// Each thread sets, extends, holds, reads and clears its own errors while the others do the
// same: every read must find exactly what that thread wrote.
TEST_F(ErrorManager, ConcurrentThreadsNeverSeeLostOrMixedRecords)
{
    static const char* const sapcc_Files[] = {"D:\\a\\t0", "D:\\a\\t1", "D:\\a\\t2", "D:\\a\\t3",
                                              "D:\\a\\t4", "D:\\a\\t5", "D:\\a\\t6", "D:\\a\\t7"};
    constexpr unsigned sn_Threads = std::size(sapcc_Files);
    constexpr unsigned sn_Locations = 3;
    const unsigned n_Rounds = n_StressRounds();
    std::atomic<unsigned> n_Failures{0};
    v_RunTogether(sn_Threads,
                  [&](unsigned n_Index)
                  {
                      CT_ErrorManager* pco = pco_Errors();
                      for (unsigned n_Round = 0; n_Round < n_Rounds; ++n_Round)
                      {
                          unsigned n_Code = n_Index * 100000 + n_Round;
                          pco->v_SetError(n_Code, u"t%u r%u", n_Index, n_Round);
                          for (unsigned i = 0; i < sn_Locations; ++i)
                              pco->v_AddLocation(sapcc_Files[n_Index], n_Round + i);
                          if (n_Round % 3 == 0)
                              pco->v_HoldError();
                          std::u16string co_Expected = co_Code(static_cast<int>(n_Code)) +
                                                       co_Widen("t" + std::to_string(n_Index) +
                                                                " r" + std::to_string(n_Round));
                          bool b_Good = pco->n_GetErrorCode() == n_Code &&
                                        co_Message() == co_Expected &&
                                        pco->b_IsSetError() == (n_Round % 3 != 0) &&
                                        pco->n_GetLocationCount() == sn_Locations;
                          for (unsigned i = 1; b_Good && i <= sn_Locations; ++i)
                              b_Good = pco->qccz_GetLocationFileAt(i) == sapcc_Files[n_Index] &&
                                       pco->n_GetLocationLineAt(i) == n_Round + i - 1;
                          pco->v_ClearError();
                          b_Good = b_Good && !pco->b_IsSetError() && !pco->b_IsHoldError();
                          n_Failures += b_Good ? 0 : 1;
                      }
                  });
    EXPECT_EQ(n_Failures.load(), 0u);
}
} // namespace
