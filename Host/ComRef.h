// CT_ComRef and CT_Bstr: owners of one COM reference and of one BSTR, for the stand-ins, the
// console host and their tests. Both are move-only; neither is shared between threads.
#pragma once

#include <windows.h>

#include <oleauto.h>
#include <string>
#include <utility>

template <class T>
class CT_ComRef
{
public:
    CT_ComRef() = default;
    // Takes over a reference that the caller already holds.
    explicit CT_ComRef(T* pco_Taken) : pco_Object(pco_Taken) {}
    CT_ComRef(CT_ComRef&& co_Other) noexcept
        : pco_Object(std::exchange(co_Other.pco_Object, nullptr))
    {
    }
    CT_ComRef& operator=(CT_ComRef&& co_Other) noexcept
    {
        std::swap(pco_Object, co_Other.pco_Object);
        return *this;
    }
    CT_ComRef(const CT_ComRef&) = delete;
    CT_ComRef& operator=(const CT_ComRef&) = delete;
    ~CT_ComRef() { v_Release(); }

    // A new reference to an object held elsewhere.
    static CT_ComRef sco_Share(T* pco_Held)
    {
        if (pco_Held)
            pco_Held->AddRef();
        return CT_ComRef(pco_Held);
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
    HRESULT hr_QueryInto(CT_ComRef<U>& co_Target) const
    {
        if (!pco_Object)
            return E_POINTER;
        return pco_Object->QueryInterface(__uuidof(U), co_Target.ppv_Put());
    }

private:
    T* pco_Object = nullptr;
};

class CT_Bstr
{
public:
    CT_Bstr() = default;
    explicit CT_Bstr(const std::u16string& co_Text)
        : bstr_Value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(co_Text.data()),
                                       static_cast<UINT>(co_Text.size())))
    {
    }
    CT_Bstr(CT_Bstr&& co_Other) noexcept : bstr_Value(std::exchange(co_Other.bstr_Value, nullptr))
    {
    }
    CT_Bstr& operator=(CT_Bstr&& co_Other) noexcept
    {
        std::swap(bstr_Value, co_Other.bstr_Value);
        return *this;
    }
    CT_Bstr(const CT_Bstr&) = delete;
    CT_Bstr& operator=(const CT_Bstr&) = delete;
    ~CT_Bstr() { SysFreeString(bstr_Value); }

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
        *pbstr_Result = CT_Bstr(co_Text).bstr_Detach();
        return *pbstr_Result ? S_OK : E_OUTOFMEMORY;
    }

private:
    BSTR bstr_Value = nullptr;
};
