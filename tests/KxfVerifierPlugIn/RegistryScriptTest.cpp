// Registry scripts, run against a private current-user key.
#include "RegistryScript.h"
#include "ComTestSupport.h"

#include <cstring>
#include <string>

namespace
{
class RegistryScript : public testing::Test
{
protected:
    HRESULT hr_Run(const char* qccz_Script, int b_Register)
    {
        const st_ScriptSymbol aso_Symbols[] = {
            {L"MODULE", L"C:\\it's {odd}\\x.dll"},
            {L"CLSID", L"{0000AAAA-0000-0000-0000-000000000001}"}};
        return CT_RegistryScript::shr_Run(qccz_Script,
                                          static_cast<unsigned>(std::strlen(qccz_Script)),
                                          aso_Symbols, 2, b_Register);
    }

    static std::string co_Value(const char* qccz_Key, const char* qccz_Name = nullptr)
    {
        return co_RegText(HKEY_CURRENT_USER, qccz_Key, qccz_Name);
    }
    static DWORD n_Number(const char* qccz_Key, const char* qccz_Name)
    {
        return n_RegNumber(HKEY_CURRENT_USER, qccz_Key, qccz_Name);
    }
    static bool b_Key(const char* qccz_Key) { return b_RegKey(HKEY_CURRENT_USER, qccz_Key); }

    CT_PrivateRootKey co_UserKey;
};

const char qccz_Script[] =
    "\xEF\xBB\xBF"
    "HKCU\n"
    "{\n"
    "    NoRemove Software\n"
    "    {\n"
    "        'Test App' = s 'It''s %CLSID%'\n"
    "        {\n"
    "            val Count = d 0x10\n"
    "            ForceRemove Inner = s '%MODULE%' { val 'Per Cent' = s '100%%' }\n"
    "            Empty\n"
    "        }\n"
    "        NoRemove Shared { val Mine = d '7' }\n"
    "    }\n"
    "}\n";

TEST_F(RegistryScript, RegistersKeysAndValues)
{
    ASSERT_HR(S_OK, hr_Run(qccz_Script, TRUE));
    EXPECT_EQ("It's {0000AAAA-0000-0000-0000-000000000001}", co_Value("Software\\Test App"));
    EXPECT_EQ(16u, n_Number("Software\\Test App", "Count"));
    EXPECT_EQ("C:\\it's {odd}\\x.dll", co_Value("Software\\Test App\\Inner"))
        << "a symbol's value never changes the script's form";
    EXPECT_EQ("100%", co_Value("Software\\Test App\\Inner", "Per Cent"));
    EXPECT_TRUE(b_Key("Software\\Test App\\Empty"));
    EXPECT_EQ(7u, n_Number("Software\\Shared", "Mine"));
}

TEST_F(RegistryScript, ForceRemoveStartsTheKeyAfresh)
{
    v_RegSet(HKEY_CURRENT_USER, "Software\\Test App\\Inner\\Stale");
    v_RegSet(HKEY_CURRENT_USER, "Software\\Test App\\Kept");
    ASSERT_HR(S_OK, hr_Run(qccz_Script, TRUE));
    EXPECT_FALSE(b_Key("Software\\Test App\\Inner\\Stale"));
    EXPECT_TRUE(b_Key("Software\\Test App\\Kept"));
}

TEST_F(RegistryScript, UnregisteringKeepsNoRemoveKeysOnly)
{
    ASSERT_HR(S_OK, hr_Run(qccz_Script, TRUE));
    v_RegSet(HKEY_CURRENT_USER, "Software\\Shared\\Other");

    ASSERT_HR(S_OK, hr_Run(qccz_Script, FALSE));
    EXPECT_FALSE(b_Key("Software\\Test App")) << "removed with its whole tree";
    EXPECT_TRUE(b_Key("Software\\Shared\\Other"));
    EXPECT_EQ(0u, n_Number("Software\\Shared", "Mine")) << "a NoRemove key's values go";
    EXPECT_HR(S_OK, hr_Run(qccz_Script, FALSE)) << "nothing left to remove is no failure";
}

TEST_F(RegistryScript, BrokenScriptsChangeNothing)
{
    const char* aqccz_Broken[] = {
        "HKCU { Software { A = s 'x' }",       // a block left open
        "HKCU { Software = s 'unterminated }", // a quote left open
        "HKCU { A = s '%NOSUCH%' }",           // an unknown symbol
        "HKCU { A = s '%CLSID' }",             // a symbol left open
        "HKCU { A = d 12x }",                  // not a number
        "HKCU { A = d 0x100000000 }",          // beyond 32 bits
        "HKCU { A = q 'x' }",                  // no such value kind
        "HKXX { A }",                          // no such root
        "HKCU { val A = s 'x' }",              // named values only inside a key
        "HKCU { A = }",                        // a value left out
        "HKCU { B } HKCU { A = s }",           // the last root breaks the first one too
    };
    for (const char* qccz : aqccz_Broken)
    {
        EXPECT_HR(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), hr_Run(qccz, TRUE)) << qccz;
        EXPECT_FALSE(b_Key("A")) << qccz;
        EXPECT_FALSE(b_Key("B")) << qccz;
    }
}
} // namespace
