// CT_ConnectionPoint: one outgoing interface of a connectable object, kept inside its container
// (whose reference count it shares). It accepts sinks that answer the outgoing interface,
// keeps a reference to each until it is unadvised or the container dies, and enumerates them.
// Enumerators hold their own references and keep the module loaded while they live.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <vector>

class CT_ConnectionPoint : public IConnectionPoint
{
public:
    CT_ConnectionPoint(IConnectionPointContainer* pco_Container, REFIID ro_Outgoing)
        : pco_Container(pco_Container), ro_Outgoing(ro_Outgoing)
    {
    }
    ~CT_ConnectionPoint();
    CT_ConnectionPoint(const CT_ConnectionPoint&) = delete;
    CT_ConnectionPoint& operator=(const CT_ConnectionPoint&) = delete;

    REFIID ro_GetOutgoing() const { return ro_Outgoing; }
    // An enumerator over the given points of a container.
    static HRESULT shr_EnumPoints(IConnectionPoint* const* ppco_Points, unsigned n_Count,
                                  IEnumConnectionPoints** ppco_Enum);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID ro_Interface, void** ppv_Object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* pso_Interface) override;
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** ppco_Container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* pco_Sink, DWORD* pn_Cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD n_Cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** ppco_Enum) override;

private:
    IConnectionPointContainer* pco_Container;
    REFIID ro_Outgoing;
    // A cookie is the slot's index plus 1; an unadvised slot stays empty so cookies stay unique.
    std::vector<IUnknown*> apco_Sinks;
};
