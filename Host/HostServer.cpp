// The in-process server MarkpadHost.dll: module entry, class factories and self-registration of
// the stand-in components, and the live-object count that tests read.
#include "HostApplication.h"
#include "HostModule.h"
#include "KetragenVerifier.h"
#include "MarkpadHost_h.h"
#include "VerifierMessages.h"

#include <iterator>
#include <string>

HINSTANCE CT_HostModule::sh_Instance = nullptr;
LONG CT_HostModule::si_Objects = 0;
LONG CT_HostModule::si_Locks = 0;
ITypeLib* volatile CT_HostModule::spco_TypeLib = nullptr;

namespace
{
struct st_ServerClass
{
    const CLSID* pco_Class;
    const wchar_t* qcwz_ProgId;
    const wchar_t* qcwz_Description;
    HRESULT (*phr_Create)(REFIID, void**);
};

const st_ServerClass sco_Classes[] = {
    {&CLSID_HostApplication, L"Markpad.Application", L"Markpad host application (stand-in)",
     &CT_HostApplication::shr_Create},
    {&CLSID_VerifierMessages, L"Markpad.VerifierMessages", L"Markpad verifier messages (stand-in)",
     &CT_VerifierMessages::shr_Create},
    {&CLSID_KetragenVerifierF, L"Ketragen.VerifierF", L"Ketragen verifier, format F (stand-in)",
     &CT_KetragenVerifier::shr_CreateF},
    {&CLSID_KetragenVerifierI, L"Ketragen.VerifierI", L"Ketragen verifier, format I (stand-in)",
     &CT_KetragenVerifier::shr_CreateI},
};

// One static factory per class: it is not counted as an object, LockServer holds the module.
class CT_ClassFactory : public IClassFactory
{
public:
    explicit constexpr CT_ClassFactory(const st_ServerClass& co_TheClass) : co_Class(co_TheClass) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID co_Iid, void** ppv_Object) override
    {
        if (!ppv_Object)
            return E_POINTER;
        *ppv_Object = IsEqualIID(co_Iid, IID_IUnknown) || IsEqualIID(co_Iid, IID_IClassFactory)
                          ? static_cast<IClassFactory*>(this)
                          : nullptr;
        return *ppv_Object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pco_Outer, REFIID co_Iid,
                                             void** ppv_Object) override
    {
        if (!ppv_Object)
            return E_POINTER;
        *ppv_Object = nullptr;
        return pco_Outer ? CLASS_E_NOAGGREGATION : co_Class.phr_Create(co_Iid, ppv_Object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL b_Lock) override
    {
        CT_HostModule::sv_Lock(b_Lock != FALSE);
        return S_OK;
    }

private:
    const st_ServerClass& co_Class;
};

CT_ClassFactory sco_Factories[] = {CT_ClassFactory(sco_Classes[0]), CT_ClassFactory(sco_Classes[1]),
                                   CT_ClassFactory(sco_Classes[2]),
                                   CT_ClassFactory(sco_Classes[3])};
static_assert(std::size(sco_Factories) == std::size(sco_Classes));

std::wstring co_GuidText(const GUID& co_Guid)
{
    wchar_t qw_Text[40] = {};
    StringFromGUID2(co_Guid, qw_Text, static_cast<int>(std::size(qw_Text)));
    return qw_Text;
}

std::wstring co_ModulePath()
{
    wchar_t qw_Path[MAX_PATH] = {};
    const DWORD n_Length = GetModuleFileNameW(CT_HostModule::sh_GetInstance(), qw_Path,
                                              static_cast<DWORD>(std::size(qw_Path)));
    return n_Length > 0 && n_Length < std::size(qw_Path) ? std::wstring(qw_Path, n_Length)
                                                         : std::wstring();
}

// Creates HKEY_CLASSES_ROOT\co_Key and sets one string value (the default one when the name is
// null).
HRESULT hr_SetValue(const std::wstring& co_Key, const wchar_t* qcwz_Name,
                    const std::wstring& co_Value)
{
    HKEY h_Key = nullptr;
    LONG i_Error = RegCreateKeyExW(HKEY_CLASSES_ROOT, co_Key.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                   nullptr, &h_Key, nullptr);
    if (i_Error == ERROR_SUCCESS)
    {
        i_Error = RegSetValueExW(h_Key, qcwz_Name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(co_Value.c_str()),
                                 static_cast<DWORD>((co_Value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h_Key);
    }
    return HRESULT_FROM_WIN32(i_Error);
}

struct st_RegistryValue
{
    std::wstring co_Key;
    const wchar_t* qcwz_Name; // null: the key's default value
    std::wstring co_Data;
};

HRESULT hr_RegisterClass(const st_ServerClass& co_Class, const std::wstring& co_Module)
{
    const std::wstring co_ClassId = co_GuidText(*co_Class.pco_Class);
    const std::wstring co_ClassKey = L"CLSID\\" + co_ClassId;
    const std::wstring co_ProgId = co_Class.qcwz_ProgId;
    const st_RegistryValue sco_Values[] = {
        {co_ClassKey, nullptr, co_Class.qcwz_Description},
        {co_ClassKey + L"\\InprocServer32", nullptr, co_Module},
        {co_ClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {co_ClassKey + L"\\ProgID", nullptr, co_ProgId},
        {co_ClassKey + L"\\TypeLib", nullptr, co_GuidText(LIBID_MarkpadHost)},
        {co_ProgId, nullptr, co_Class.qcwz_Description},
        {co_ProgId + L"\\CLSID", nullptr, co_ClassId},
    };
    for (const st_RegistryValue& co_Value : sco_Values)
    {
        const HRESULT hr_Result =
            hr_SetValue(co_Value.co_Key, co_Value.qcwz_Name, co_Value.co_Data);
        if (FAILED(hr_Result))
            return hr_Result;
    }
    return S_OK;
}

// A key that is already gone counts as removed.
HRESULT hr_DeleteTree(const std::wstring& co_Key)
{
    const LONG i_Error = RegDeleteTreeW(HKEY_CLASSES_ROOT, co_Key.c_str());
    return i_Error == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(i_Error);
}
} // namespace

HRESULT CT_HostModule::shr_GetTypeInfo(REFGUID co_Guid, ITypeInfo** ppco_Info)
{
    if (!spco_TypeLib)
    {
        ITypeLib* pco_Loaded = nullptr;
        const HRESULT hr_Result = LoadTypeLibEx(co_ModulePath().c_str(), REGKIND_NONE, &pco_Loaded);
        if (FAILED(hr_Result))
            return hr_Result;
        // Another thread may have been quicker; keep one.
        if (InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&spco_TypeLib),
                                              pco_Loaded, nullptr) != nullptr)
            pco_Loaded->Release();
    }
    return spco_TypeLib->GetTypeInfoOfGuid(co_Guid, ppco_Info);
}

void CT_HostModule::sv_ReleaseTypeLibrary()
{
    if (ITypeLib* pco_Old = static_cast<ITypeLib*>(
            InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&spco_TypeLib), nullptr)))
        pco_Old->Release();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE h_Module, DWORD n_Reason, LPVOID pv_Reserved)
{
    if (n_Reason == DLL_PROCESS_ATTACH)
    {
        CT_HostModule::sv_SetInstance(h_Module);
        DisableThreadLibraryCalls(h_Module);
    }
    // At process exit (pv_Reserved set) other modules may be gone already: leave everything.
    else if (n_Reason == DLL_PROCESS_DETACH && !pv_Reserved)
        CT_HostModule::sv_ReleaseTypeLibrary();
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID co_Class, REFIID co_Iid,
                                                    void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    for (size_t n_Index = 0; n_Index < std::size(sco_Classes); ++n_Index)
        if (IsEqualCLSID(co_Class, *sco_Classes[n_Index].pco_Class))
            return sco_Factories[n_Index].QueryInterface(co_Iid, ppv_Object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return CT_HostModule::sb_CanUnload() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    const std::wstring co_Module = co_ModulePath();
    if (co_Module.empty())
        return E_UNEXPECTED;
    for (const st_ServerClass& co_Class : sco_Classes)
    {
        const HRESULT hr_Result = hr_RegisterClass(co_Class, co_Module);
        if (FAILED(hr_Result))
            return hr_Result;
    }
    ITypeLib* pco_Library = nullptr;
    const HRESULT hr_Result = LoadTypeLibEx(co_Module.c_str(), REGKIND_REGISTER, &pco_Library);
    if (SUCCEEDED(hr_Result))
        pco_Library->Release();
    return hr_Result;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    HRESULT hr_Result = S_OK;
    for (const st_ServerClass& co_Class : sco_Classes)
    {
        for (const std::wstring& co_Key :
             {L"CLSID\\" + co_GuidText(*co_Class.pco_Class), std::wstring(co_Class.qcwz_ProgId)})
        {
            const HRESULT hr_Key = hr_DeleteTree(co_Key);
            if (SUCCEEDED(hr_Result))
                hr_Result = hr_Key;
        }
    }
    // A type library that is not registered: Windows says TYPE_E_REGISTRYACCESS, Wine E_INVALIDARG.
    const HRESULT hr_Library =
        UnRegisterTypeLib(LIBID_MarkpadHost, 1, 0, LOCALE_NEUTRAL, SYS_WIN32);
    if (FAILED(hr_Result))
        return hr_Result;
    return hr_Library == TYPE_E_REGISTRYACCESS || hr_Library == E_INVALIDARG ? S_OK : hr_Library;
}

// Stand-in objects alive in this process (applications, documents, messages and collections,
// verifiers and their sub-objects), for tests that look for leaked references.
extern "C" LONG WINAPI MarkpadHostObjectCount()
{
    return CT_HostModule::si_GetObjectCount();
}
