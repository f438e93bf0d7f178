#include "ComModule.h"

#include "ComPtr.h"
#include "RegistryScript.h"

const st_ClassEntry* CT_ComModule::spcso_Classes = nullptr;
unsigned CT_ComModule::sn_Classes = 0;
HINSTANCE CT_ComModule::sh_Instance = nullptr;
const GUID* CT_ComModule::spcso_LibraryID = nullptr;
volatile long CT_ComModule::si4_Locks = 0;
CRITICAL_SECTION CT_ComModule::sso_TypeInfoLock;
CT_ComModule::st_TypeInfoSlot CT_ComModule::sso_TypeInfos[sn_TypeInfoSlots];

namespace
{
// Long enough for any module path Windows hands out; a longer one is refused, never cut.
constexpr unsigned n_PathSize = 1024;
constexpr unsigned n_GuidSize = 40;

class CT_TypeInfoLock
{
public:
    explicit CT_TypeInfoLock(CRITICAL_SECTION* pso_Lock) : pso_Lock(pso_Lock)
    {
        EnterCriticalSection(pso_Lock);
    }
    ~CT_TypeInfoLock() { LeaveCriticalSection(pso_Lock); }
    CT_TypeInfoLock(const CT_TypeInfoLock&) = delete;
    CT_TypeInfoLock& operator=(const CT_TypeInfoLock&) = delete;

private:
    CRITICAL_SECTION* pso_Lock;
};
} // namespace

void CT_ComModule::sv_Init(const st_ClassEntry* pcso_Table, unsigned n_Count, HINSTANCE h_Instance,
                           const GUID* pcso_LibraryID)
{
    spcso_Classes = pcso_Table;
    sn_Classes = n_Count;
    sh_Instance = h_Instance;
    spcso_LibraryID = pcso_LibraryID;
    InitializeCriticalSection(&sso_TypeInfoLock);
}

void CT_ComModule::sv_Term(int b_ProcessEnding)
{
    for (st_TypeInfoSlot& so_Slot : sso_TypeInfos)
    {
        if (so_Slot.pco_TypeInfo && !b_ProcessEnding)
            so_Slot.pco_TypeInfo->Release();
        so_Slot.pco_TypeInfo = nullptr;
    }
    DeleteCriticalSection(&sso_TypeInfoLock);
}

void CT_ComModule::sv_Lock()
{
    InterlockedIncrement(&si4_Locks);
}

void CT_ComModule::sv_Unlock()
{
    InterlockedDecrement(&si4_Locks);
}

HRESULT CT_ComModule::sh_GetClassObject(REFCLSID ro_Class, REFIID ro_Interface, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    for (unsigned n_Index = 0; n_Index < sn_Classes; ++n_Index)
        if (IsEqualCLSID(ro_Class, *spcso_Classes[n_Index].pcso_Class))
            return spcso_Classes[n_Index].pco_Factory->QueryInterface(ro_Interface, ppv_Object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CT_ComModule::sh_CanUnloadNow()
{
    return si4_Locks == 0 ? S_OK : S_FALSE;
}

HRESULT CT_ComModule::sh_GetModulePath(wchar_t* pw_Path, unsigned n_Size)
{
    DWORD n_Length = GetModuleFileNameW(sh_Instance, pw_Path, n_Size);
    if (n_Length == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    if (n_Length >= n_Size)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

HRESULT CT_ComModule::sh_LoadTypeLib(ITypeLib** ppco_TypeLib)
{
    wchar_t aw_Path[n_PathSize];
    HRESULT h_Result = sh_GetModulePath(aw_Path, n_PathSize);
    if (FAILED(h_Result))
        return h_Result;
    return LoadTypeLibEx(aw_Path, REGKIND_NONE, ppco_TypeLib);
}

// Each class's script gets the module path and the class's and library's identifiers put in.
HRESULT CT_ComModule::sh_RunScripts(int b_Register)
{
    wchar_t aw_Path[n_PathSize];
    HRESULT h_Result = sh_GetModulePath(aw_Path, n_PathSize);
    if (FAILED(h_Result))
        return h_Result;
    wchar_t aw_Library[n_GuidSize];
    StringFromGUID2(*spcso_LibraryID, aw_Library, n_GuidSize);

    for (unsigned n_Index = 0; n_Index < sn_Classes && SUCCEEDED(h_Result); ++n_Index)
    {
        wchar_t aw_Class[n_GuidSize];
        StringFromGUID2(*spcso_Classes[n_Index].pcso_Class, aw_Class, n_GuidSize);
        const st_ScriptSymbol aso_Symbols[] = {
            {L"MODULE", aw_Path}, {L"CLSID", aw_Class}, {L"LIBID", aw_Library}};
        h_Result = CT_RegistryScript::sh_RunResource(sh_Instance, spcso_Classes[n_Index].n_ScriptID,
                                                     aso_Symbols, 3, b_Register);
    }
    return h_Result;
}

HRESULT CT_ComModule::sh_RegisterServer()
{
    wchar_t aw_Path[n_PathSize];
    HRESULT h_Result = sh_GetModulePath(aw_Path, n_PathSize);
    CT_ComPtr<ITypeLib> co_TypeLib;
    if (SUCCEEDED(h_Result))
        h_Result = sh_LoadTypeLib(co_TypeLib.ppco_Put());
    if (SUCCEEDED(h_Result))
        h_Result = sh_RunScripts(TRUE);
    if (SUCCEEDED(h_Result))
        h_Result = RegisterTypeLib(co_TypeLib.pco_Get(), aw_Path, nullptr);
    // A half-done registration is taken back whole.
    if (FAILED(h_Result))
        sh_UnregisterServer();
    return h_Result;
}

// Removes what it can and reports the first failure; entries already gone are no failure.
HRESULT CT_ComModule::sh_UnregisterServer()
{
    HRESULT h_Result = sh_RunScripts(FALSE);
    CT_ComPtr<ITypeLib> co_TypeLib;
    HRESULT h_TypeLib = sh_LoadTypeLib(co_TypeLib.ppco_Put());
    TLIBATTR* pso_Attributes = nullptr;
    if (SUCCEEDED(h_TypeLib))
        h_TypeLib = co_TypeLib->GetLibAttr(&pso_Attributes);
    if (SUCCEEDED(h_TypeLib))
    {
        h_TypeLib = UnRegisterTypeLib(pso_Attributes->guid, pso_Attributes->wMajorVerNum,
                                      pso_Attributes->wMinorVerNum, pso_Attributes->lcid,
                                      pso_Attributes->syskind);
        co_TypeLib->ReleaseTLibAttr(pso_Attributes);
        // Not registered: Windows says TYPE_E_REGISTRYACCESS, Wine E_INVALIDARG.
        if (h_TypeLib == TYPE_E_REGISTRYACCESS || h_TypeLib == E_INVALIDARG)
            h_TypeLib = S_OK;
    }
    return FAILED(h_Result) ? h_Result : h_TypeLib;
}

HRESULT CT_ComModule::sh_GetTypeInfo(REFGUID ro_Interface, ITypeInfo** ppco_TypeInfo)
{
    if (!ppco_TypeInfo)
        return E_POINTER;
    *ppco_TypeInfo = nullptr;
    CT_TypeInfoLock co_Lock(&sso_TypeInfoLock);

    st_TypeInfoSlot* pso_Free = nullptr;
    for (st_TypeInfoSlot& so_Slot : sso_TypeInfos)
    {
        if (so_Slot.pco_TypeInfo && IsEqualGUID(so_Slot.so_Interface, ro_Interface))
        {
            so_Slot.pco_TypeInfo->AddRef();
            *ppco_TypeInfo = so_Slot.pco_TypeInfo;
            return S_OK;
        }
        if (!so_Slot.pco_TypeInfo && !pso_Free)
            pso_Free = &so_Slot;
    }

    CT_ComPtr<ITypeLib> co_TypeLib;
    HRESULT h_Result = sh_LoadTypeLib(co_TypeLib.ppco_Put());
    if (SUCCEEDED(h_Result))
        h_Result = co_TypeLib->GetTypeInfoOfGuid(ro_Interface, ppco_TypeInfo);
    if (SUCCEEDED(h_Result) && pso_Free)
    {
        pso_Free->so_Interface = ro_Interface;
        pso_Free->pco_TypeInfo = *ppco_TypeInfo;
        pso_Free->pco_TypeInfo->AddRef();
    }
    return h_Result;
}
