// CT_ComModule: the in-process server's module state. It owns the class table given at
// process attach, the module's lock count (objects alive plus server locks), the registration
// of the classes (their registry scripts) and of the type library, and the type information
// that the dual interfaces dispatch through, loaded once per interface.
//
// The lock count is changed with interlocked operations from any thread; the type-info cache is
// guarded by its own lock, since objects of different apartments may ask for it at once.
#pragma once

#include "Basis/Platform/Thread.h"

#include <oaidl.h>
#include <windows.h>

// One creatable class: its identifier, the REGISTRY resource that registers it and its class
// factory (a static object that lives as long as the module).
struct st_ClassEntry
{
    const CLSID* pcso_Class;
    unsigned n_ScriptID;
    IClassFactory* pco_Factory;
};

class CT_ComModule
{
public:
    static void sv_Init(const st_ClassEntry* pcso_Table, unsigned n_Count, HINSTANCE h_Instance,
                        const GUID* pcso_LibraryID);
    // b_ProcessEnding: the process is exiting and other modules may be gone already, so the
    // cached COM objects are left alone instead of released.
    static void sv_Term(int b_ProcessEnding);

    static HINSTANCE sh_GetInstance() { return sh_Instance; }

    static void sv_Lock();
    static void sv_Unlock();

    static HRESULT shr_GetClassObject(REFCLSID ro_Class, REFIID ro_Interface, void** ppv_Object);
    static HRESULT shr_CanUnloadNow();
    static HRESULT shr_RegisterServer();
    static HRESULT shr_UnregisterServer();

    // The type information of an interface of the module's type library; the caller receives
    // a reference of its own.
    static HRESULT shr_GetTypeInfo(REFGUID ro_Interface, ITypeInfo** ppco_TypeInfo);

private:
    static HRESULT shr_RunScripts(int b_Register);
    static HRESULT shr_LoadTypeLib(ITypeLib** ppco_TypeLib);
    static HRESULT shr_GetModulePath(wchar_t* pw_Path, unsigned n_Size);

    static constexpr unsigned sn_TypeInfoSlots = 4;
    struct st_TypeInfoSlot
    {
        GUID so_Interface;
        ITypeInfo* pco_TypeInfo;
    };

    static const st_ClassEntry* spcso_Classes;
    static unsigned sn_Classes;
    static HINSTANCE sh_Instance;
    static const GUID* spcso_LibraryID;
    static volatile long si4_Locks;
    static CT_CriticalSection sco_TypeInfoLock;
    static st_TypeInfoSlot sso_TypeInfos[sn_TypeInfoSlots];
};

// Holds the module loaded for as long as it lives; an object declares it as its first member
// so that the module stays loaded until the object's other members are gone.
class CT_ModuleLock
{
public:
    CT_ModuleLock() { CT_ComModule::sv_Lock(); }
    ~CT_ModuleLock() { CT_ComModule::sv_Unlock(); }
    CT_ModuleLock(const CT_ModuleLock&) = delete;
    CT_ModuleLock& operator=(const CT_ModuleLock&) = delete;
};

// What every COM object of the module has: the module lock, held until the object's own
// members are gone, and the reference count whose last Release deletes the object. Derive from
// it first, so that the object starts at the base's address.
class CT_ComObjectBase
{
protected:
    explicit CT_ComObjectBase(long i4_InitialReferences) : i4_References(i4_InitialReferences) {}
    virtual ~CT_ComObjectBase() = default;
    CT_ComObjectBase(const CT_ComObjectBase&) = delete;
    CT_ComObjectBase& operator=(const CT_ComObjectBase&) = delete;

    ULONG n_AddRef() { return static_cast<ULONG>(InterlockedIncrement(&i4_References)); }
    ULONG n_Release()
    {
        long i4_Left = InterlockedDecrement(&i4_References);
        if (i4_Left == 0)
            delete this;
        return static_cast<ULONG>(i4_Left);
    }

private:
    CT_ModuleLock co_ModuleLock;
    volatile long i4_References;
};
