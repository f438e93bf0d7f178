#include "ConnectionPoint.h"

#include "ComModule.h"

#include <new>

namespace
{
void v_AddRef(IConnectionPoint* pco_Point)
{
    pco_Point->AddRef();
}
void v_Release(IConnectionPoint* pco_Point)
{
    pco_Point->Release();
}
void v_AddRef(const CONNECTDATA& co_Connection)
{
    co_Connection.pUnk->AddRef();
}
void v_Release(const CONNECTDATA& co_Connection)
{
    co_Connection.pUnk->Release();
}

// A snapshot enumerator: it holds a reference to each item and hands out new ones.
template <class T_Enum, class T_Item>
class CT_Enumerator final : private CT_ComObjectBase, public T_Enum
{
public:
    static HRESULT shr_Create(REFIID ro_Interface, const std::vector<T_Item>& co_Items,
                              unsigned n_Position, T_Enum** ppco_Enum)
    {
        if (!ppco_Enum)
            return E_POINTER;
        *ppco_Enum = nullptr;
        try
        {
            *ppco_Enum = new CT_Enumerator(ro_Interface, co_Items, n_Position);
            return S_OK;
        }
        catch (const std::bad_alloc&)
        {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Asked, void** ppv_Object) override
    {
        if (!ppv_Object)
            return E_POINTER;
        *ppv_Object = nullptr;
        if (!IsEqualIID(ro_Asked, IID_IUnknown) && !IsEqualIID(ro_Asked, ro_Interface))
            return E_NOINTERFACE;
        *ppv_Object = static_cast<T_Enum*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return n_AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return n_Release(); }

    HRESULT STDMETHODCALLTYPE Next(ULONG n_Wanted, T_Item* pso_Items, ULONG* pn_Fetched) override
    {
        if (!pso_Items || (n_Wanted != 1 && !pn_Fetched))
            return E_POINTER;
        ULONG n_Fetched = 0;
        for (; n_Fetched < n_Wanted && n_Position < ao_Items.size(); ++n_Fetched)
        {
            pso_Items[n_Fetched] = ao_Items[n_Position++];
            v_AddRef(pso_Items[n_Fetched]);
        }
        if (pn_Fetched)
            *pn_Fetched = n_Fetched;
        return n_Fetched == n_Wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG n_Count) override
    {
        size_t n_Left = ao_Items.size() - n_Position;
        n_Position += n_Count < n_Left ? n_Count : n_Left;
        return n_Count <= n_Left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        n_Position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(T_Enum** ppco_Enum) override
    {
        return shr_Create(ro_Interface, ao_Items, static_cast<unsigned>(n_Position), ppco_Enum);
    }

private:
    CT_Enumerator(REFIID ro_Interface, const std::vector<T_Item>& co_Items, unsigned n_Start)
        : CT_ComObjectBase(1), ro_Interface(ro_Interface), ao_Items(co_Items), n_Position(n_Start)
    {
        for (const T_Item& co_Item : ao_Items)
            v_AddRef(co_Item);
    }
    ~CT_Enumerator() override
    {
        for (const T_Item& co_Item : ao_Items)
            v_Release(co_Item);
    }

    REFIID ro_Interface;
    std::vector<T_Item> ao_Items;
    size_t n_Position;
};
} // namespace

CT_ConnectionPoint::~CT_ConnectionPoint()
{
    for (IUnknown* pco_Sink : apco_Sinks)
        if (pco_Sink)
            pco_Sink->Release();
}

HRESULT CT_ConnectionPoint::shr_EnumPoints(IConnectionPoint* const* ppco_Points, unsigned n_Count,
                                           IEnumConnectionPoints** ppco_Enum)
{
    try
    {
        std::vector<IConnectionPoint*> apco_Points(ppco_Points, ppco_Points + n_Count);
        return CT_Enumerator<IEnumConnectionPoints, IConnectionPoint*>::shr_Create(
            IID_IEnumConnectionPoints, apco_Points, 0, ppco_Enum);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CT_ConnectionPoint::QueryInterface(REFIID ro_Interface, void** ppv_Object)
{
    if (!ppv_Object)
        return E_POINTER;
    *ppv_Object = nullptr;
    if (!IsEqualIID(ro_Interface, IID_IUnknown) && !IsEqualIID(ro_Interface, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *ppv_Object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CT_ConnectionPoint::AddRef()
{
    return pco_Container->AddRef();
}

ULONG STDMETHODCALLTYPE CT_ConnectionPoint::Release()
{
    return pco_Container->Release();
}

HRESULT STDMETHODCALLTYPE CT_ConnectionPoint::GetConnectionInterface(IID* pso_Interface)
{
    if (!pso_Interface)
        return E_POINTER;
    *pso_Interface = ro_Outgoing;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE
CT_ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppco_Container)
{
    if (!ppco_Container)
        return E_POINTER;
    pco_Container->AddRef();
    *ppco_Container = pco_Container;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_ConnectionPoint::Advise(IUnknown* pco_Sink, DWORD* pn_Cookie)
{
    if (!pco_Sink || !pn_Cookie)
        return E_POINTER;
    *pn_Cookie = 0;
    IUnknown* pco_Outgoing = nullptr;
    if (FAILED(pco_Sink->QueryInterface(ro_Outgoing, reinterpret_cast<void**>(&pco_Outgoing))))
        return CONNECT_E_CANNOTCONNECT;
    try
    {
        apco_Sinks.push_back(pco_Outgoing);
    }
    catch (const std::bad_alloc&)
    {
        pco_Outgoing->Release();
        return E_OUTOFMEMORY;
    }
    *pn_Cookie = static_cast<DWORD>(apco_Sinks.size());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_ConnectionPoint::Unadvise(DWORD n_Cookie)
{
    if (n_Cookie == 0 || n_Cookie > apco_Sinks.size() || !apco_Sinks[n_Cookie - 1])
        return CONNECT_E_NOCONNECTION;
    apco_Sinks[n_Cookie - 1]->Release();
    apco_Sinks[n_Cookie - 1] = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_ConnectionPoint::EnumConnections(IEnumConnections** ppco_Enum)
{
    try
    {
        std::vector<CONNECTDATA> aso_Connections;
        for (size_t n_Index = 0; n_Index < apco_Sinks.size(); ++n_Index)
            if (apco_Sinks[n_Index])
                aso_Connections.push_back({apco_Sinks[n_Index], static_cast<DWORD>(n_Index + 1)});
        return CT_Enumerator<IEnumConnections, CONNECTDATA>::shr_Create(
            IID_IEnumConnections, aso_Connections, 0, ppco_Enum);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}
