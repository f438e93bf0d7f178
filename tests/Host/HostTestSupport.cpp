#include "HostTestSupport.h"

#include "TextFile.h"

#include <cstdio>

namespace
{
const wchar_t* qcwz_Wide(const std::u16string& co_Text)
{
    return reinterpret_cast<const wchar_t*>(co_Text.c_str());
}

// Every test thread runs in a single-threaded apartment, as the host's user-interface thread.
class CT_ApartmentEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override { CoUninitialize(); }
};

::testing::Environment* const pco_Apartment =
    ::testing::AddGlobalTestEnvironment(new CT_ApartmentEnvironment);
} // namespace

void PrintTo(const st_Hr& co_Hr, std::ostream* pco_Stream)
{
    char qc_Text[16];
    std::snprintf(qc_Text, sizeof qc_Text, "0x%08lX", static_cast<unsigned long>(co_Hr.hr_Result));
    *pco_Stream << qc_Text;
}

CT_TempFolder::CT_TempFolder()
{
    wchar_t qw_Temp[MAX_PATH];
    GetTempPathW(MAX_PATH, qw_Temp);
    static LONG si_Serial = 0;
    const std::wstring co_Name = L"HostTest" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(InterlockedIncrement(&si_Serial));
    const std::wstring co_Full = std::wstring(qw_Temp) + co_Name;
    co_Folder.assign(reinterpret_cast<const char16_t*>(co_Full.c_str()), co_Full.size());
    CreateDirectoryW(co_Full.c_str(), nullptr);
}

CT_TempFolder::~CT_TempFolder()
{
    // Subfolders first (they hold only files), then the folder itself.
    std::vector<std::u16string> co_Pending = co_Subfolders;
    co_Pending.push_back(co_Folder);
    for (const std::u16string& co_Each : co_Pending)
    {
        WIN32_FIND_DATAW co_Found;
        const HANDLE h_Find = FindFirstFileW(qcwz_Wide(co_Each + u"\\*"), &co_Found);
        for (BOOL b_More = h_Find != INVALID_HANDLE_VALUE; b_More;
             b_More = FindNextFileW(h_Find, &co_Found))
            if (!(co_Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW(
                    (std::wstring(qcwz_Wide(co_Each)) + L"\\" + co_Found.cFileName).c_str());
        if (h_Find != INVALID_HANDLE_VALUE)
            FindClose(h_Find);
        RemoveDirectoryW(qcwz_Wide(co_Each));
    }
}

std::u16string CT_TempFolder::co_File(const std::u16string& co_Name) const
{
    return co_Folder + u"\\" + co_Name;
}

std::u16string CT_TempFolder::co_Subfolder(const std::u16string& co_Name)
{
    const std::u16string co_Path = co_File(co_Name);
    CreateDirectoryW(qcwz_Wide(co_Path), nullptr);
    co_Subfolders.push_back(co_Path);
    return co_Path;
}

std::u16string CT_TempFolder::co_WriteText(const std::u16string& co_Name,
                                           const std::u16string& co_Text)
{
    const std::u16string co_Path = co_File(co_Name);
    EXPECT_TRUE(CT_TextFile::sb_Write(co_Path, co_Text));
    return co_Path;
}

std::string co_ReadBytes(const std::u16string& co_Path)
{
    std::string co_Bytes;
    FILE* pco_File = _wfopen(qcwz_Wide(co_Path), L"rb");
    if (!pco_File)
        return co_Bytes;
    char qc_Chunk[4096];
    for (size_t n_Read; (n_Read = std::fread(qc_Chunk, 1, sizeof qc_Chunk, pco_File)) > 0;)
        co_Bytes.append(qc_Chunk, n_Read);
    std::fclose(pco_File);
    return co_Bytes;
}

void v_WriteBytes(const std::u16string& co_Path, const std::string& co_Bytes)
{
    FILE* pco_File = _wfopen(qcwz_Wide(co_Path), L"wb");
    ASSERT_NE(pco_File, nullptr);
    std::fwrite(co_Bytes.data(), 1, co_Bytes.size(), pco_File);
    std::fclose(pco_File);
}

HRESULT hr_Invoke(IDispatch* pco_Object, DISPID i_Member, WORD n_Flags,
                  std::vector<VARIANT> co_Arguments, VARIANT* pco_Result)
{
    std::vector<VARIANT> co_Reversed(co_Arguments.rbegin(), co_Arguments.rend());
    DISPID i_Named = DISPID_PROPERTYPUT;
    const bool b_Put = n_Flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS co_Params = {co_Reversed.data(), b_Put ? &i_Named : nullptr,
                            static_cast<UINT>(co_Reversed.size()), b_Put ? 1u : 0u};
    if (pco_Result)
        VariantInit(pco_Result);
    UINT n_ArgError = 0;
    return pco_Object->Invoke(i_Member, IID_NULL, LOCALE_USER_DEFAULT, n_Flags, &co_Params,
                              pco_Result, nullptr, &n_ArgError);
}

HRESULT hr_PutProperty(IDispatch* pco_Object, DISPID i_Member, VARIANT co_Value)
{
    return hr_Invoke(pco_Object, i_Member, DISPATCH_PROPERTYPUT, {co_Value}, nullptr);
}

VARIANT co_BstrVariant(const std::u16string& co_Text)
{
    VARIANT co_Value;
    VariantInit(&co_Value);
    co_Value.vt = VT_BSTR;
    co_Value.bstrVal = CT_HostBstr(co_Text).bstr_Detach();
    return co_Value;
}

VARIANT co_BoolVariant(short sn2_Value)
{
    VARIANT co_Value;
    VariantInit(&co_Value);
    co_Value.vt = VT_BOOL;
    co_Value.boolVal = sn2_Value;
    return co_Value;
}

long i_LiveObjects()
{
    const HMODULE h_Module = GetModuleHandleW(L"MarkpadHost.dll");
    using Count = LONG(WINAPI*)();
    const auto pf_Count = h_Module ? reinterpret_cast<Count>(reinterpret_cast<void (*)()>(
                                         GetProcAddress(h_Module, "MarkpadHostObjectCount")))
                                   : nullptr;
    return pf_Count ? pf_Count() : -1;
}

std::u16string co_ProgramFolder()
{
    wchar_t qw_Path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, qw_Path, MAX_PATH);
    std::u16string co_Path(reinterpret_cast<const char16_t*>(qw_Path));
    return co_Path.substr(0, co_Path.find_last_of(u"\\/"));
}
