// Small owners for COM resources: an interface pointer, a BSTR and a VARIANT. Each releases
// what it holds when it goes out of scope, so every exit of a COM method leaves nothing behind.
// They are not copyable; a holder is filled through its Put slot, from an out parameter.
#pragma once

#include <oaidl.h>
#include <windows.h>

template <class T>
class CT_ComPtr
{
public:
    CT_ComPtr() = default;
    // Takes a reference of its own.
    explicit CT_ComPtr(T* pco_Given) : pco_Object(pco_Given)
    {
        if (pco_Object)
            pco_Object->AddRef();
    }
    ~CT_ComPtr() { v_Release(); }
    CT_ComPtr(const CT_ComPtr&) = delete;
    CT_ComPtr& operator=(const CT_ComPtr&) = delete;

    T* pco_Get() const { return pco_Object; }
    T* operator->() const { return pco_Object; }
    explicit operator bool() const { return pco_Object != nullptr; }

    // Empties the holder and lends its slot to a function that returns a new reference.
    T** ppco_Put()
    {
        v_Release();
        return &pco_Object;
    }
    void** ppv_Put() { return reinterpret_cast<void**>(ppco_Put()); }

    void v_Release()
    {
        if (pco_Object)
            pco_Object->Release();
        pco_Object = nullptr;
    }

private:
    T* pco_Object = nullptr;
};

class CT_Bstr
{
public:
    CT_Bstr() = default;
    ~CT_Bstr() { SysFreeString(bstr_Text); }
    CT_Bstr(const CT_Bstr&) = delete;
    CT_Bstr& operator=(const CT_Bstr&) = delete;

    BSTR bstr_Get() const { return bstr_Text; }
    unsigned n_GetLength() const { return SysStringLen(bstr_Text); }
    // A null BSTR reads as the empty text.
    const char16_t* qcuz_Get() const
    {
        return bstr_Text ? reinterpret_cast<const char16_t*>(bstr_Text) : u"";
    }

    BSTR* pbstr_Put()
    {
        v_Free();
        return &bstr_Text;
    }
    // Takes ownership of an allocated BSTR; a null one from a failed allocation is reported.
    HRESULT hr_Attach(BSTR bstr_New)
    {
        v_Free();
        bstr_Text = bstr_New;
        return bstr_New ? S_OK : E_OUTOFMEMORY;
    }

private:
    void v_Free()
    {
        SysFreeString(bstr_Text);
        bstr_Text = nullptr;
    }

    BSTR bstr_Text = nullptr;
};

class CT_Variant
{
public:
    CT_Variant() { VariantInit(&so_Value); }
    ~CT_Variant() { VariantClear(&so_Value); }
    CT_Variant(const CT_Variant&) = delete;
    CT_Variant& operator=(const CT_Variant&) = delete;

    VARIANT* pso_Get() { return &so_Value; }
    VARIANT* pso_Put()
    {
        VariantClear(&so_Value);
        return &so_Value;
    }

private:
    VARIANT so_Value;
};
