// CT_OutsideComponent: how the plug-in reaches the components outside the library (the Ketragen
// verifiers, the messages collection): creation by class identifier and late-bound calls by
// member identifier. A failing call returns its HRESULT; a member that raised an exception
// returns the exception's code and leaves its texts in the thread's error object. An empty
// component pointer gives E_POINTER.
#pragma once

#include "ComPtr.h"

class CT_OutsideComponent
{
public:
    // Context 0x17: in-process server and handler, local and remote server.
    static constexpr DWORD sn_Context =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

    // The context allows a component in another process, so it is created for IUnknown and
    // started (OleRun) before it is asked for the wanted interface.
    static HRESULT shr_Create(REFCLSID ro_Class, REFIID ro_Interface, void** ppv_Object);

    // Property get of an object-valued member.
    static HRESULT shr_GetObject(IDispatch* pco_Component, DISPID i_Member,
                                 CT_ComPtr<IDispatch>* pco_Object);
    // Property put of one value.
    static HRESULT shr_Put(IDispatch* pco_Component, DISPID i_Member, const VARIANT& co_Value);
    // Method call with no or one argument; the result is converted to n_ResultType (VT_EMPTY:
    // the result is not wanted).
    static HRESULT shr_Call(IDispatch* pco_Component, DISPID i_Member, VARTYPE n_ResultType,
                            CT_Variant* pco_Result, const VARIANT* pcso_Argument = nullptr);

private:
    static HRESULT shr_Invoke(IDispatch* pco_Component, DISPID i_Member, WORD n_Kind,
                              VARIANT* pso_Arguments, unsigned n_Arguments, VARIANT* pso_Result);
};
