// Module entry of the product DLL and the COM server's entry points. The foundation's statics
// are built by the C runtime before DllMain runs and torn down after the last detach.
#include "ClassFactory.h"
#include "ComModule.h"
#include "KxfVerifierPlugIn.h"
#include "KxfVerifierPlugIn_h.h"
#include "PpgKxfVerifier.h"
#include "resource.h"

#include <windows.h>

#include <iterator>

namespace
{
CT_ClassFactory co_PlugInFactory(&CT_ClassFactory::shr_Create<CT_KxfVerifierPlugIn>);
CT_ClassFactory co_PageFactory(&CT_ClassFactory::shr_Create<CT_PpgKxfVerifier>);

const st_ClassEntry aso_Classes[] = {
    {&CLSID_KxfVerifierPlugIn, IDR_KXFVERIFIERPLUGIN, &co_PlugInFactory},
    {&CLSID_PpgKxfVerifier, IDR_PPGKXFVERIFIER, &co_PageFactory},
};
} // namespace

// lpvReserved is non-null when the process is exiting rather than unloading the DLL.
extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID lpvReserved)
{
    if (fdwReason == DLL_PROCESS_ATTACH)
    {
        CT_ComModule::sv_Init(aso_Classes, static_cast<unsigned>(std::size(aso_Classes)), hinstDLL,
                              &LIBID_KetraVerifierPlugIn);
        DisableThreadLibraryCalls(hinstDLL);
    }
    else if (fdwReason == DLL_PROCESS_DETACH)
    {
        CT_KxfVerifierPlugIn::sv_ReleaseHostApplication(lpvReserved != nullptr);
        CT_ComModule::sv_Term(lpvReserved != nullptr);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return CT_ComModule::shr_GetClassObject(rclsid, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CT_ComModule::shr_CanUnloadNow();
}

extern "C" HRESULT WINAPI DllRegisterServer()
{
    return CT_ComModule::shr_RegisterServer();
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    return CT_ComModule::shr_UnregisterServer();
}
