// Base classes of the stand-in COM objects. CT_ComObject<I> gives reference counting,
// QueryInterface for IUnknown, IDispatch (when I derives from it) and I, and counts the object
// in the module's live-object count. CT_DualObject<I> adds IDispatch through the type library's
// description of I. Objects are created with one reference, held by the creator.
#pragma once

#include "HostModule.h"
#include "HostRef.h"

#include <type_traits>

template <class I>
class CT_ComObject : public I
{
public:
    CT_ComObject(const CT_ComObject&) = delete;
    CT_ComObject& operator=(const CT_ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID co_Iid, void** ppv_Object) override
    {
        if (!ppv_Object)
            return E_POINTER;
        *ppv_Object = nullptr;
        if (IsEqualIID(co_Iid, IID_IUnknown) || IsEqualIID(co_Iid, __uuidof(I)) ||
            (std::is_base_of_v<IDispatch, I> && IsEqualIID(co_Iid, IID_IDispatch)))
            *ppv_Object = static_cast<I*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override
    {
        return static_cast<ULONG>(InterlockedIncrement(&i_References));
    }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG i_Left = InterlockedDecrement(&i_References);
        if (i_Left == 0)
            delete this;
        return static_cast<ULONG>(i_Left);
    }

protected:
    CT_ComObject() { CT_HostModule::sv_ObjectCreated(); }
    virtual ~CT_ComObject() { CT_HostModule::sv_ObjectDestroyed(); }

private:
    LONG i_References = 1;
};

// An out parameter's value, or E_POINTER when the caller gave no place for it.
template <class T>
HRESULT hr_Return(T co_Value, T* pco_Out)
{
    if (!pco_Out)
        return E_POINTER;
    *pco_Out = co_Value;
    return S_OK;
}

// The calling thread's last Win32 error as an HRESULT; never a success.
inline HRESULT hr_LastError()
{
    const DWORD n_Error = GetLastError();
    return n_Error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(n_Error) : E_FAIL;
}

// A new reference to pco_Object (which may be null: "no object") as an IDispatch out parameter.
inline HRESULT hr_ReturnDispatch(IDispatch* pco_Object, IDispatch** ppco_Out)
{
    if (!ppco_Out)
        return E_POINTER;
    if (pco_Object)
        pco_Object->AddRef();
    *ppco_Out = pco_Object;
    return S_OK;
}

// Calls co_Call with the type information of the interface co_Guid.
template <class Call>
HRESULT hr_WithTypeInfo(REFGUID co_Guid, Call co_Call)
{
    CT_HostRef<ITypeInfo> co_Info;
    const HRESULT hr_Result = CT_HostModule::shr_GetTypeInfo(co_Guid, co_Info.ppco_Put());
    return SUCCEEDED(hr_Result) ? co_Call(co_Info.pco_Get()) : hr_Result;
}

// The type-information half of IDispatch, for an interface that the type library describes.
HRESULT hr_GetTypeInfo(const GUID& co_Guid, UINT n_Index, ITypeInfo** ppco_Info);

template <class I>
class CT_DualObject : public CT_ComObject<I>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pn_Count) override
    {
        if (!pn_Count)
            return E_POINTER;
        *pn_Count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT n_Index, LCID, ITypeInfo** ppco_Info) override
    {
        return hr_GetTypeInfo(__uuidof(I), n_Index, ppco_Info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* ppu_Names, UINT n_Names, LCID,
                                            DISPID* pi_Ids) override
    {
        return hr_WithTypeInfo(__uuidof(I), [&](ITypeInfo* pco_Info)
                               { return pco_Info->GetIDsOfNames(ppu_Names, n_Names, pi_Ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID i_Member, REFIID, LCID, WORD n_Flags,
                                     DISPPARAMS* pco_Params, VARIANT* pco_Result,
                                     EXCEPINFO* pco_Exception, UINT* pn_ArgError) override
    {
        return hr_WithTypeInfo(__uuidof(I),
                               [&](ITypeInfo* pco_Info)
                               {
                                   return pco_Info->Invoke(static_cast<I*>(this), i_Member, n_Flags,
                                                           pco_Params, pco_Result, pco_Exception,
                                                           pn_ArgError);
                               });
    }
};

// An object whose IDispatch is written by hand, member by member (the verifier and its
// sub-objects, which the plug-in drives by member identifier only). With a type-information
// GUID, names are looked up there; without, the object has no names.
class CT_LateBoundObject : public CT_ComObject<IDispatch>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pn_Count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT n_Index, LCID, ITypeInfo** ppco_Info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* ppu_Names, UINT n_Names, LCID,
                                            DISPID* pi_Ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID i_Member, REFIID, LCID, WORD n_Flags,
                                     DISPPARAMS* pco_Params, VARIANT* pco_Result, EXCEPINFO*,
                                     UINT* pn_ArgError) override;

protected:
    explicit CT_LateBoundObject(const GUID* pco_TypeInfoGuid) : pco_TypeGuid(pco_TypeInfoGuid) {}

    // One member call; pco_Result is never null. Arguments come in DISPPARAMS order (last
    // first); named arguments have been checked.
    virtual HRESULT hr_Invoke(DISPID i_Member, WORD n_Flags, DISPPARAMS& co_Params,
                              VARIANT& co_Result, UINT& n_ArgError) = 0;

    // Argument n_Index (0 = the last one) coerced to n_Type, or DISP_E_TYPEMISMATCH.
    static HRESULT shr_GetArgument(DISPPARAMS& co_Params, UINT n_Index, VARTYPE n_Type,
                                   VARIANT& co_Value, UINT& n_ArgError);

private:
    const GUID* pco_TypeGuid;
};
