// What the plug-in's tests share: HRESULTs that print in hexadecimal, a single-threaded
// apartment for the whole test program, a private current-user registry, the module's entry
// points, and a count of the test's own COM objects alive.
#pragma once

#include "TaggerSettings.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlwapi.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// An HRESULT that gtest prints as 0x8000FFFF.
struct st_HResult
{
    HRESULT hr_Value;
    bool operator==(const st_HResult& so_Other) const { return hr_Value == so_Other.hr_Value; }
};
inline void PrintTo(const st_HResult& so_Value, std::ostream* pso_Out)
{
    char ac_Text[16];
    std::snprintf(ac_Text, sizeof ac_Text, "0x%08lX",
                  static_cast<unsigned long>(so_Value.hr_Value));
    *pso_Out << ac_Text;
}
#define EXPECT_HR(expected, actual) EXPECT_EQ(st_HResult{expected}, st_HResult{actual})
#define ASSERT_HR(expected, actual) ASSERT_EQ(st_HResult{expected}, st_HResult{actual})

// The whole program runs in one single-threaded apartment, as the host calls the plug-in.
class CT_ApartmentEnvironment : public testing::Environment
{
public:
    void SetUp() override { ASSERT_HR(S_OK, CoInitialize(nullptr)); }
    void TearDown() override { CoUninitialize(); }
};

// While it lives, a predefined key of this process (HKEY_CURRENT_USER, HKEY_CLASSES_ROOT) is a
// fresh private key, so tests neither see nor touch what the user, the registered components
// or other test programs keep there. The key goes at the end.
class CT_PrivateRootKey
{
public:
    explicit CT_PrivateRootKey(HKEY h_Root = HKEY_CURRENT_USER) : h_Root(h_Root)
    {
        co_Path = "Software\\KxfVerifierPlugInTests\\" + std::to_string(GetCurrentProcessId()) +
                  (h_Root == HKEY_CURRENT_USER ? "-user" : "-classes");
        SHDeleteKeyA(HKEY_CURRENT_USER, co_Path.c_str());
        RegCreateKeyExA(HKEY_CURRENT_USER, co_Path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &h_Key, nullptr);
        RegOverridePredefKey(h_Root, h_Key);
    }
    ~CT_PrivateRootKey()
    {
        RegOverridePredefKey(h_Root, nullptr);
        RegCloseKey(h_Key);
        SHDeleteKeyA(HKEY_CURRENT_USER, co_Path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KxfVerifierPlugInTests"); // when empty
    }
    CT_PrivateRootKey(const CT_PrivateRootKey&) = delete;
    CT_PrivateRootKey& operator=(const CT_PrivateRootKey&) = delete;

private:
    HKEY h_Root;
    std::string co_Path;
    HKEY h_Key = nullptr;
};

// Gives both tag tables back the flags they had at its construction: runs and stores change them
// process-wide.
class CT_FlagKeeper
{
public:
    CT_FlagKeeper()
    {
        for (int i_Variant : {0, 1})
        {
            ao_Reporting[i_Variant].v_SetVariant(i_Variant);
            for (unsigned n = 0; n < ao_Reporting[i_Variant].n_GetCount(); ++n)
                an_Saved[i_Variant].push_back(ao_Reporting[i_Variant].n_GetFlag(n));
        }
    }
    ~CT_FlagKeeper()
    {
        for (int i_Variant : {0, 1})
            for (unsigned n = 0; n < an_Saved[i_Variant].size(); ++n)
                ao_Reporting[i_Variant].v_SetFlag(n, an_Saved[i_Variant][n]);
    }
    CT_FlagKeeper(const CT_FlagKeeper&) = delete;
    CT_FlagKeeper& operator=(const CT_FlagKeeper&) = delete;

private:
    CT_ReportingSettings ao_Reporting[2];
    std::vector<unsigned> an_Saved[2];
};

// Registry access for the checks. A missing text reads "<none>", a missing number 0, a missing
// value's type REG_NONE.
inline std::string co_RegText(HKEY h_Root, const std::string& co_Key,
                              const char* qccz_Name = nullptr)
{
    char ac[1024];
    DWORD n_Size = sizeof ac;
    if (RegGetValueA(h_Root, co_Key.c_str(), qccz_Name, RRF_RT_REG_SZ, nullptr, ac, &n_Size) !=
        ERROR_SUCCESS)
        return "<none>";
    return ac;
}
inline DWORD n_RegNumber(HKEY h_Root, const std::string& co_Key, const char* qccz_Name)
{
    DWORD n = 0, n_Size = sizeof n;
    RegGetValueA(h_Root, co_Key.c_str(), qccz_Name, RRF_RT_REG_DWORD, nullptr, &n, &n_Size);
    return n;
}
inline DWORD n_RegType(HKEY h_Root, const std::string& co_Key, const char* qccz_Name)
{
    DWORD n = REG_NONE;
    if (RegGetValueA(h_Root, co_Key.c_str(), qccz_Name, RRF_RT_ANY | RRF_NOEXPAND, &n, nullptr,
                     nullptr) != ERROR_SUCCESS)
        return REG_NONE;
    return n;
}
inline bool b_RegKey(HKEY h_Root, const std::string& co_Key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(h_Root, co_Key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}
// Creates the key as needed; a null name with no data only creates the key.
inline void v_RegSet(HKEY h_Root, const std::string& co_Key, const char* qccz_Name = nullptr,
                     DWORD n_Type = REG_NONE, const void* pcv_Data = nullptr, DWORD n_Size = 0)
{
    HKEY h = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(h_Root, co_Key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &h, nullptr));
    if (pcv_Data)
        RegSetValueExA(h, qccz_Name, 0, n_Type, static_cast<const BYTE*>(pcv_Data), n_Size);
    RegCloseKey(h);
}
inline void v_RegSetNumber(HKEY h_Root, const std::string& co_Key, const char* qccz_Name,
                           DWORD n_Value)
{
    v_RegSet(h_Root, co_Key, qccz_Name, REG_DWORD, &n_Value, sizeof n_Value);
}

// The module's entry points, which it exports by name only. The module stays loaded for the
// rest of the program, as COM would keep it.
template <class T>
T pfn_ModuleEntry(const char* qccz_Name)
{
    static const HMODULE sh_Module = LoadLibraryA("KxfVerifierPlugIn.dll");
    FARPROC pfn = GetProcAddress(sh_Module, qccz_Name);
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(pfn));
}
inline HRESULT hr_CallEntry(const char* qccz_Name)
{
    auto pfhr_Entry = pfn_ModuleEntry<HRESULT(WINAPI*)()>(qccz_Name);
    return pfhr_Entry ? pfhr_Entry() : E_NOTIMPL;
}

// Counts the test's own COM objects; a test ends with the count where it began.
struct st_LiveObjects
{
    static inline int si_Count = 0;
};

// IUnknown for a test object with one interface T (and whatever b_Answers adds).
template <class T>
class CT_TestObject : public T
{
public:
    CT_TestObject() { ++st_LiveObjects::si_Count; }
    virtual ~CT_TestObject() { --st_LiveObjects::si_Count; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Interface, void** ppv_Object) override
    {
        if (!ppv_Object)
            return E_POINTER;
        *ppv_Object = nullptr;
        if (!IsEqualIID(ro_Interface, IID_IUnknown) && !b_Answers(ro_Interface))
            return E_NOINTERFACE;
        *ppv_Object = static_cast<T*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++n_References; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ULONG n_Left = --n_References;
        if (n_Left == 0)
            delete this;
        return n_Left;
    }
    ULONG n_GetReferences() const { return n_References; }

protected:
    virtual bool b_Answers(REFIID ro_Interface) const = 0;

private:
    ULONG n_References = 1;
};

// The IDispatch members that a test object reached through its function table never needs.
template <class T>
class CT_TestDual : public CT_TestObject<T>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        return E_NOTIMPL;
    }
};

inline std::string co_Narrow(const wchar_t* qcwz_Text)
{
    std::string co_Out;
    for (; qcwz_Text && *qcwz_Text; ++qcwz_Text)
        co_Out += static_cast<char>(*qcwz_Text < 0x80 ? *qcwz_Text : '?');
    return co_Out;
}
