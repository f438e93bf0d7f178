// CT_HostRef and CT_HostBstr: owners of one COM reference and of one BSTR, for the stand-ins, the
// console host and their tests. Both are move-only; neither is shared between threads. A
// CT_HostRef made from a pointer takes that reference over (the plug-in's CT_ComPtr, which Host
// does not use, adds one instead).
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <string>
#include <utility>

template <class T>
class CT_HostRef
{
public:
    CT_HostRef() = default;
    // Takes over a reference that the caller already holds.
    explicit CT_HostRef(T* pco_Taken) : pco_Object(pco_Taken) {}
    CT_HostRef(CT_HostRef&& co_Other) noexcept
        : pco_Object(std::exchange(co_Other.pco_Object, nullptr))
    {
    }
    CT_HostRef& operator=(CT_HostRef&& co_Other) noexcept
    {
        std::swap(pco_Object, co_Other.pco_Object);
        return *this;
    }
    CT_HostRef(const CT_HostRef&) = delete;
    CT_HostRef& operator=(const CT_HostRef&) = delete;
    ~CT_HostRef() { v_Release(); }

    // A new reference to an object held elsewhere.
    static CT_HostRef sco_Share(T* pco_Held)
    {
        if (pco_Held)
            pco_Held->AddRef();
        return CT_HostRef(pco_Held);
    }

    T* operator->() const { return pco_Object; }
    T* pco_Get() const { return pco_Object; }
    explicit operator bool() const { return pco_Object != nullptr; }

    // For out parameters: drops what is held and hands out the slot.
    T** ppco_Put()
    {
        v_Release();
        return &pco_Object;
    }
    void** ppv_Put() { return reinterpret_cast<void**>(ppco_Put()); }

    // Gives the reference to the caller.
    T* pco_Detach() { return std::exchange(pco_Object, nullptr); }

    void v_Release()
    {
        if (T* pco_Old = std::exchange(pco_Object, nullptr))
            pco_Old->Release();
    }

    template <class U>
    HRESULT hr_QueryInto(CT_HostRef<U>& co_Target) const
    {
        if (!pco_Object)
            return E_POINTER;
        return pco_Object->QueryInterface(__uuidof(U), co_Target.ppv_Put());
    }

private:
    T* pco_Object = nullptr;
};

class CT_HostBstr
{
public:
    CT_HostBstr() = default;
    explicit CT_HostBstr(const std::u16string& co_Text)
        : bstr_Value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(co_Text.data()),
                                       static_cast<UINT>(co_Text.size())))
    {
    }
    CT_HostBstr(CT_HostBstr&& co_Other) noexcept
        : bstr_Value(std::exchange(co_Other.bstr_Value, nullptr))
    {
    }
    CT_HostBstr& operator=(CT_HostBstr&& co_Other) noexcept
    {
        std::swap(bstr_Value, co_Other.bstr_Value);
        return *this;
    }
    CT_HostBstr(const CT_HostBstr&) = delete;
    CT_HostBstr& operator=(const CT_HostBstr&) = delete;
    ~CT_HostBstr() { SysFreeString(bstr_Value); }

    BSTR bstr_Get() const { return bstr_Value; }
    BSTR* pbstr_Put()
    {
        SysFreeString(std::exchange(bstr_Value, nullptr));
        return &bstr_Value;
    }
    BSTR bstr_Detach() { return std::exchange(bstr_Value, nullptr); }
    std::u16string co_Text() const { return sco_Text(bstr_Value); }

    // A null BSTR is the empty text.
    static std::u16string sco_Text(BSTR bstr_Text)
    {
        if (!bstr_Text)
            return {};
        return std::u16string(reinterpret_cast<const char16_t*>(bstr_Text),
                              SysStringLen(bstr_Text));
    }
    // A new BSTR for an out parameter; E_OUTOFMEMORY when it cannot be allocated.
    static HRESULT shr_Return(const std::u16string& co_Text, BSTR* pbstr_Result)
    {
        if (!pbstr_Result)
            return E_POINTER;
        *pbstr_Result = CT_HostBstr(co_Text).bstr_Detach();
        return *pbstr_Result ? S_OK : E_OUTOFMEMORY;
    }

private:
    BSTR bstr_Value = nullptr;
};
