#include "ComModule.h"

#include "ComPtr.h"
#include "RegistryScript.h"

const st_ClassEntry* CT_ComModule::spcso_Classes = nullptr;
unsigned CT_ComModule::sn_Classes = 0;
HINSTANCE CT_ComModule::sh_Instance = nullptr;
const GUID* CT_ComModule::spcso_LibraryID = nullptr;
volatile long CT_ComModule::si4_Locks = 0;
CT_CriticalSection CT_ComModule::sco_TypeInfoLock;
CT_ComModule::st_TypeInfoSlot CT_ComModule::sso_TypeInfos[sn_TypeInfoSlots];

namespace
{
// Long enough for any module path Windows hands out; a longer one is refused, never cut.
constexpr unsigned n_PathSize = 1024;
constexpr unsigned n_GuidSize = 40;
} // namespace

void CT_ComModule::sv_Init(const st_ClassEntry* pcso_Table, unsigned n_Count, HINSTANCE h_Instance,
                           const GUID* pcso_LibraryID)
{
    spcso_Classes = pcso_Table;
    sn_Classes = n_Count;
    sh_Instance = h_Instance;
    spcso_LibraryID = pcso_LibraryID;
}

void CT_ComModule::sv_Term(int b_ProcessEnding)
{
    for (st_TypeInfoSlot& so_Slot : sso_TypeInfos)
    {
        if (so_Slot.pco_TypeInfo && !b_ProcessEnding)
            so_Slot.pco_TypeInfo->Release();
        so_Slot.pco_TypeInfo = nullptr;
    }
}

void CT_ComModule::sv_Lock()
{
    InterlockedIncrement(&si4_Locks);
}

void CT_ComModule::sv_Unlock()
{
    InterlockedDecrement(&si4_Locks);
}

HRESULT CT_ComModule::shr_GetClassObject(REFCLSID ro_Class, REFIID ro_Interface, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    for (unsigned n_Index = 0; n_Index < sn_Classes; ++n_Index)
        if (IsEqualCLSID(ro_Class, *spcso_Classes[n_Index].pcso_Class))
            return spcso_Classes[n_Index].pco_Factory->QueryInterface(ro_Interface, ppv_Object);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CT_ComModule::shr_CanUnloadNow()
{
    return si4_Locks == 0 ? S_OK : S_FALSE;
}

HRESULT CT_ComModule::shr_GetModulePath(wchar_t* pw_Path, unsigned n_Size)
{
    DWORD n_Length = GetModuleFileNameW(sh_Instance, pw_Path, n_Size);
    if (n_Length == 0)
        return HRESULT_FROM_WIN32(GetLastError());
    if (n_Length >= n_Size)
        return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    return S_OK;
}

HRESULT CT_ComModule::shr_LoadTypeLib(ITypeLib** ppco_TypeLib)
{
    wchar_t aw_Path[n_PathSize];
    HRESULT hr_Result = shr_GetModulePath(aw_Path, n_PathSize);
    if (FAILED(hr_Result))
        return hr_Result;
    return LoadTypeLibEx(aw_Path, REGKIND_NONE, ppco_TypeLib);
}

// Each class's script gets the module path and the class's and library's identifiers put in.
HRESULT CT_ComModule::shr_RunScripts(int b_Register)
{
    wchar_t aw_Path[n_PathSize];
    HRESULT hr_Result = shr_GetModulePath(aw_Path, n_PathSize);
    if (FAILED(hr_Result))
        return hr_Result;
    wchar_t aw_Library[n_GuidSize];
    StringFromGUID2(*spcso_LibraryID, aw_Library, n_GuidSize);

    for (unsigned n_Index = 0; n_Index < sn_Classes && SUCCEEDED(hr_Result); ++n_Index)
    {
        wchar_t aw_Class[n_GuidSize];
        StringFromGUID2(*spcso_Classes[n_Index].pcso_Class, aw_Class, n_GuidSize);
        const st_ScriptSymbol aso_Symbols[] = {
            {L"MODULE", aw_Path}, {L"CLSID", aw_Class}, {L"LIBID", aw_Library}};
        hr_Result = CT_RegistryScript::shr_RunResource(
            sh_Instance, spcso_Classes[n_Index].n_ScriptID, aso_Symbols, 3, b_Register);
    }
    return hr_Result;
}

HRESULT CT_ComModule::shr_RegisterServer()
{
    wchar_t aw_Path[n_PathSize];
    HRESULT hr_Result = shr_GetModulePath(aw_Path, n_PathSize);
    CT_ComPtr<ITypeLib> co_TypeLib;
    if (SUCCEEDED(hr_Result))
        hr_Result = shr_LoadTypeLib(co_TypeLib.ppco_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = shr_RunScripts(TRUE);
    if (SUCCEEDED(hr_Result))
        hr_Result = RegisterTypeLib(co_TypeLib.pco_Get(), aw_Path, nullptr);
    // A half-done registration is taken back whole.
    if (FAILED(hr_Result))
        shr_UnregisterServer();
    return hr_Result;
}

// Removes what it can and reports the first failure; entries already gone are no failure.
HRESULT CT_ComModule::shr_UnregisterServer()
{
    HRESULT hr_Result = shr_RunScripts(FALSE);
    CT_ComPtr<ITypeLib> co_TypeLib;
    HRESULT hr_TypeLib = shr_LoadTypeLib(co_TypeLib.ppco_Put());
    TLIBATTR* pso_Attributes = nullptr;
    if (SUCCEEDED(hr_TypeLib))
        hr_TypeLib = co_TypeLib->GetLibAttr(&pso_Attributes);
    if (SUCCEEDED(hr_TypeLib))
    {
        hr_TypeLib = UnRegisterTypeLib(pso_Attributes->guid, pso_Attributes->wMajorVerNum,
                                       pso_Attributes->wMinorVerNum, pso_Attributes->lcid,
                                       pso_Attributes->syskind);
        co_TypeLib->ReleaseTLibAttr(pso_Attributes);
        // Not registered: Windows says TYPE_E_REGISTRYACCESS, Wine E_INVALIDARG.
        if (hr_TypeLib == TYPE_E_REGISTRYACCESS || hr_TypeLib == E_INVALIDARG)
            hr_TypeLib = S_OK;
    }
    return FAILED(hr_Result) ? hr_Result : hr_TypeLib;
}

HRESULT CT_ComModule::shr_GetTypeInfo(REFGUID ro_Interface, ITypeInfo** ppco_TypeInfo)
{
    if (!ppco_TypeInfo)
        return E_POINTER;
    *ppco_TypeInfo = nullptr;
    CT_CriticalSectionLock co_Lock(&sco_TypeInfoLock);

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
    HRESULT hr_Result = shr_LoadTypeLib(co_TypeLib.ppco_Put());
    if (SUCCEEDED(hr_Result))
        hr_Result = co_TypeLib->GetTypeInfoOfGuid(ro_Interface, ppco_TypeInfo);
    if (SUCCEEDED(hr_Result) && pso_Free)
    {
        pso_Free->so_Interface = ro_Interface;
        pso_Free->pco_TypeInfo = *ppco_TypeInfo;
        pso_Free->pco_TypeInfo->AddRef();
    }
    return hr_Result;
}
