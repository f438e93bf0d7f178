// CT_HostModule: process-wide state of the stand-in server MarkpadHost.dll: its instance handle,
// the count of live objects (every stand-in object counts itself, so that tests can see leaked
// references) and server locks, and the type information of its interfaces, read once from the
// type library in its resources. Counters are interlocked; any thread.
#pragma once

#include <windows.h>

#include <oaidl.h>

class CT_HostModule
{
public:
    static void sv_SetInstance(HINSTANCE h_Module) { sh_Instance = h_Module; }
    static HINSTANCE sh_GetInstance() { return sh_Instance; }

    static void sv_ObjectCreated() { InterlockedIncrement(&si_Objects); }
    static void sv_ObjectDestroyed() { InterlockedDecrement(&si_Objects); }
    static LONG si_GetObjectCount() { return si_Objects; }

    static void sv_Lock(bool b_Lock)
    {
        b_Lock ? InterlockedIncrement(&si_Locks) : InterlockedDecrement(&si_Locks);
    }
    static bool sb_CanUnload() { return si_Objects == 0 && si_Locks == 0; }

    // Type information of an interface of the server's type library (a new reference).
    static HRESULT shr_GetTypeInfo(REFGUID co_Guid, ITypeInfo** ppco_Info);
    // Drops the cached type library; at unload.
    static void sv_ReleaseTypeLibrary();

private:
    static HINSTANCE sh_Instance;
    static LONG si_Objects;
    static LONG si_Locks;
    static ITypeLib* volatile spco_TypeLib;
};
