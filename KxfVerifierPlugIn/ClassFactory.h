// CT_ClassFactory: the class factory of one class of the module. Factories are static objects
// that live as long as the module: their references and LockServer hold the module loaded
// through its lock count, and a creation function makes the class's objects.
#pragma once

#include <unknwn.h>

#include <new>

// Creates one object and queries it for the wanted interface (no aggregation).
using pfhr_CreateObject = HRESULT (*)(REFIID ro_Interface, void** ppv_Object);

class CT_ClassFactory : public IClassFactory
{
public:
    explicit constexpr CT_ClassFactory(pfhr_CreateObject pfhr_Create) : pfhr_Create(pfhr_Create) {}

    // The creation function of a class T that makes CT_ClassFactory its friend: a new object,
    // which goes again when it refuses the wanted interface.
    template <class T>
    static HRESULT shr_Create(REFIID ro_Interface, void** ppv_Object)
    {
        T* pco_Object = new (std::nothrow) T;
        if (!pco_Object)
            return E_OUTOFMEMORY;
        pco_Object->AddRef();
        HRESULT hr_Result = pco_Object->QueryInterface(ro_Interface, ppv_Object);
        pco_Object->Release();
        return hr_Result;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Interface, void** ppv_Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pco_Outer, REFIID ro_Interface,
                                             void** ppv_Object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL b_Lock) override;

private:
    pfhr_CreateObject pfhr_Create;
};
