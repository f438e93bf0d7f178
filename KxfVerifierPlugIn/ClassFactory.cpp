#include "ClassFactory.h"

#include "ComModule.h"

HRESULT STDMETHODCALLTYPE CT_ClassFactory::QueryInterface(REFIID ro_Interface, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    if (IsEqualIID(ro_Interface, IID_IUnknown) || IsEqualIID(ro_Interface, IID_IClassFactory))
    {
        *ppv_Object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv_Object = nullptr;
    return E_NOINTERFACE;
}

// A static object: its references only keep the module loaded.
ULONG STDMETHODCALLTYPE CT_ClassFactory::AddRef()
{
    CT_ComModule::sv_Lock();
    return 2;
}

ULONG STDMETHODCALLTYPE CT_ClassFactory::Release()
{
    CT_ComModule::sv_Unlock();
    return 1;
}

HRESULT STDMETHODCALLTYPE CT_ClassFactory::CreateInstance(IUnknown* pco_Outer, REFIID ro_Interface,
                                                          void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    if (pco_Outer)
        return CLASS_E_NOAGGREGATION;
    return pfhr_Create(ro_Interface, ppv_Object);
}

HRESULT STDMETHODCALLTYPE CT_ClassFactory::LockServer(BOOL b_Lock)
{
    if (b_Lock)
        CT_ComModule::sv_Lock();
    else
        CT_ComModule::sv_Unlock();
    return S_OK;
}
