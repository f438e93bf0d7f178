// The plug-in object's interfaces apart from the verification run.
#include "ComTestSupport.h"
#include "KxfVerifierPlugIn_h.h"
#include "MarkpadHost_h.h"

#include <olectl.h>

namespace
{
// Answers the event interface, as a client's sink would.
class CT_EventSink : public CT_TestDual<IDispatch>
{
protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch) ||
               IsEqualIID(ro_Interface, DIID__IKxfVerifierPlugInEvents);
    }
};

class CT_PlainObject : public CT_TestObject<IUnknown>
{
protected:
    bool b_Answers(REFIID) const override { return false; }
};

class PlugInObject : public testing::Test
{
protected:
    void SetUp() override
    {
        i_LiveAtStart = st_LiveObjects::si_Count;
        ASSERT_HR(S_OK, CoCreateInstance(CLSID_KxfVerifierPlugIn, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IUnknown, reinterpret_cast<void**>(&pco_PlugIn)));
    }
    void TearDown() override
    {
        if (pco_PlugIn)
        {
            EXPECT_EQ(0u, pco_PlugIn->Release()) << "references left on the plug-in";
        }
        EXPECT_EQ(i_LiveAtStart, st_LiveObjects::si_Count);
        EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow"));
    }

    template <class T>
    T* pco_Query(REFIID ro_Interface)
    {
        T* pco = nullptr;
        EXPECT_HR(S_OK, pco_PlugIn->QueryInterface(ro_Interface, reinterpret_cast<void**>(&pco)));
        return pco;
    }

    int i_LiveAtStart = 0;
    IUnknown* pco_PlugIn = nullptr;
};

TEST_F(PlugInObject, AnswersItsInterfacesWithOneIdentity)
{
    const IID* apcso_Interfaces[] = {&IID_IKxfVerifierPlugIn,   &IID_IDispatch,
                                     &IID_ISupportErrorInfo,    &IID_IConnectionPointContainer,
                                     &IID_IHostVerifier,        &IID_IHostPlugIn,
                                     &IID_ISpecifyPropertyPages};
    for (const IID* pcso : apcso_Interfaces)
    {
        IUnknown* pco = pco_Query<IUnknown>(*pcso);
        ASSERT_NE(nullptr, pco);
        IUnknown* pco_Identity = nullptr;
        pco->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&pco_Identity));
        EXPECT_EQ(pco_PlugIn, pco_Identity);
        pco_Identity->Release();
        pco->Release();
    }
    IUnknown* pco = nullptr;
    EXPECT_HR(E_NOINTERFACE,
              pco_PlugIn->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&pco)));
    EXPECT_EQ(nullptr, pco);
}

TEST_F(PlugInObject, DispatchGoesThroughTheTypeLibrary)
{
    IDispatch* pco_Dispatch = pco_Query<IDispatch>(IID_IDispatch);
    UINT n_Count = 0;
    EXPECT_HR(S_OK, pco_Dispatch->GetTypeInfoCount(&n_Count));
    EXPECT_EQ(1u, n_Count);
    ITypeInfo* pco_Info = nullptr;
    ASSERT_HR(S_OK, pco_Dispatch->GetTypeInfo(0, 0, &pco_Info));
    BSTR bstr_Name = nullptr;
    pco_Info->GetDocumentation(MEMBERID_NIL, &bstr_Name, nullptr, nullptr, nullptr);
    EXPECT_EQ("IKxfVerifierPlugIn", co_Narrow(bstr_Name));
    SysFreeString(bstr_Name);
    pco_Info->Release();
    EXPECT_HR(DISP_E_BADINDEX, pco_Dispatch->GetTypeInfo(1, 0, &pco_Info));

    OLECHAR aw_Name[] = L"Verify";
    LPOLESTR pw_Name = aw_Name;
    DISPID i_Member = 0;
    EXPECT_HR(DISP_E_UNKNOWNNAME, pco_Dispatch->GetIDsOfNames(IID_NULL, &pw_Name, 1, 0, &i_Member));
    EXPECT_HR(DISP_E_UNKNOWNINTERFACE,
              pco_Dispatch->GetIDsOfNames(IID_IDispatch, &pw_Name, 1, 0, &i_Member));
    DISPPARAMS so_None = {};
    VARIANT so_Result;
    VariantInit(&so_Result);
    EXPECT_HR(DISP_E_MEMBERNOTFOUND, pco_Dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &so_None,
                                                          &so_Result, nullptr, nullptr));
    pco_Dispatch->Release();
}

TEST_F(PlugInObject, ErrorInfoIsSupportedForItsOwnInterfaceOnly)
{
    ISupportErrorInfo* pco = pco_Query<ISupportErrorInfo>(IID_ISupportErrorInfo);
    EXPECT_HR(S_OK, pco->InterfaceSupportsErrorInfo(IID_IKxfVerifierPlugIn));
    EXPECT_HR(S_FALSE, pco->InterfaceSupportsErrorInfo(IID_IHostVerifier));
    EXPECT_HR(S_FALSE, pco->InterfaceSupportsErrorInfo(IID_IDispatch));
    pco->Release();
}

TEST_F(PlugInObject, NamesTheSettingsPage)
{
    ISpecifyPropertyPages* pco = pco_Query<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
    CAUUID so_Pages = {};
    ASSERT_HR(S_OK, pco->GetPages(&so_Pages));
    ASSERT_EQ(1u, so_Pages.cElems);
    EXPECT_TRUE(IsEqualGUID(CLSID_PpgKxfVerifier, so_Pages.pElems[0]));
    CoTaskMemFree(so_Pages.pElems);
    pco->Release();
}

TEST_F(PlugInObject, EventPointTakesAndReleasesSinks)
{
    IConnectionPointContainer* pco_Container =
        pco_Query<IConnectionPointContainer>(IID_IConnectionPointContainer);
    IConnectionPoint* pco_Point = nullptr;
    EXPECT_HR(CONNECT_E_NOCONNECTION,
              pco_Container->FindConnectionPoint(IID_IDispatch, &pco_Point));
    ASSERT_HR(S_OK, pco_Container->FindConnectionPoint(DIID__IKxfVerifierPlugInEvents, &pco_Point));
    IID so_Outgoing = IID_NULL;
    pco_Point->GetConnectionInterface(&so_Outgoing);
    EXPECT_TRUE(IsEqualIID(DIID__IKxfVerifierPlugInEvents, so_Outgoing));
    IConnectionPointContainer* pco_Back = nullptr;
    ASSERT_HR(S_OK, pco_Point->GetConnectionPointContainer(&pco_Back));
    EXPECT_EQ(pco_Container, pco_Back);
    pco_Back->Release();

    auto* pco_Plain = new CT_PlainObject;
    DWORD n_Cookie = 7;
    EXPECT_HR(CONNECT_E_CANNOTCONNECT, pco_Point->Advise(pco_Plain, &n_Cookie));
    EXPECT_EQ(0u, n_Cookie);
    pco_Plain->Release();

    auto* pco_Sink = new CT_EventSink;
    DWORD n_First = 0, n_Second = 0;
    ASSERT_HR(S_OK, pco_Point->Advise(pco_Sink, &n_First));
    ASSERT_HR(S_OK, pco_Point->Advise(pco_Sink, &n_Second));
    EXPECT_NE(n_First, n_Second);
    EXPECT_EQ(3u, pco_Sink->n_GetReferences());

    IEnumConnections* pco_Connections = nullptr;
    ASSERT_HR(S_OK, pco_Point->EnumConnections(&pco_Connections));
    CONNECTDATA aso_Data[3] = {};
    ULONG n_Fetched = 0;
    EXPECT_HR(S_FALSE, pco_Connections->Next(3, aso_Data, &n_Fetched));
    ASSERT_EQ(2u, n_Fetched);
    EXPECT_EQ(n_First, aso_Data[0].dwCookie);
    aso_Data[0].pUnk->Release();
    aso_Data[1].pUnk->Release();
    pco_Connections->Release();

    EXPECT_HR(S_OK, pco_Point->Unadvise(n_First));
    EXPECT_HR(CONNECT_E_NOCONNECTION, pco_Point->Unadvise(n_First));
    EXPECT_HR(CONNECT_E_NOCONNECTION, pco_Point->Unadvise(99));
    EXPECT_EQ(2u, pco_Sink->n_GetReferences());
    pco_Point->Release();
    pco_Container->Release();
    pco_Sink->Release(); // the second connection keeps it until the plug-in goes
    EXPECT_EQ(i_LiveAtStart + 1, st_LiveObjects::si_Count);
}

TEST_F(PlugInObject, EnumeratesItsOneConnectionPoint)
{
    IConnectionPointContainer* pco_Container =
        pco_Query<IConnectionPointContainer>(IID_IConnectionPointContainer);
    IEnumConnectionPoints* pco_Enum = nullptr;
    ASSERT_HR(S_OK, pco_Container->EnumConnectionPoints(&pco_Enum));
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow"));

    IConnectionPoint* apco[2] = {};
    ULONG n_Fetched = 0;
    EXPECT_HR(S_FALSE, pco_Enum->Next(2, apco, &n_Fetched));
    ASSERT_EQ(1u, n_Fetched);
    IID so_Outgoing = IID_NULL;
    apco[0]->GetConnectionInterface(&so_Outgoing);
    EXPECT_TRUE(IsEqualIID(DIID__IKxfVerifierPlugInEvents, so_Outgoing));
    apco[0]->Release();

    pco_Enum->Release();
    pco_Container->Release();
}
} // namespace
