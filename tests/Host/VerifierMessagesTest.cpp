#include "HostTestSupport.h"
#include "MarkpadHost_h.h"

namespace
{
class VerifierMessages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        co_Messages = co_NewCollection();
        i_Baseline = i_LiveObjects() - 1;
    }
    void TearDown() override
    {
        co_Messages.v_Release();
        EXPECT_EQ(i_LiveObjects(), i_Baseline) << "stand-in objects leaked";
    }

    static CT_HostRef<IVerifierMessages> co_NewCollection()
    {
        CT_HostRef<IVerifierMessages> co_New;
        EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_VerifierMessages, nullptr,
                                                  CLSCTX_INPROC_SERVER, IID_IVerifierMessages,
                                                  co_New.ppv_Put()));
        return co_New;
    }

    // Adds a message whose number and position are i_Seed, the rest derived from it.
    static void v_Add(IVerifierMessages* pco_Messages, long i_Seed, const std::u16string& co_Text)
    {
        CT_HostRef<IDispatch> co_Message;
        ASSERT_HRESULT_SUCCEEDED(pco_Messages->Add(
            CT_HostBstr(co_Text).bstr_Get(), CT_HostBstr(u"").bstr_Get(), 3, i_Seed,
            CT_HostBstr(u"doc.kxf").bstr_Get(), i_Seed, 1, i_Seed, 1, 2, 0, co_Message.ppco_Put()));
        EXPECT_TRUE(co_Message);
    }

    std::vector<std::u16string> co_Texts(IVerifierMessages* pco_Messages)
    {
        LONG i_Count = 0;
        EXPECT_HRESULT_SUCCEEDED(pco_Messages->GetCount(&i_Count));
        std::vector<std::u16string> co_All;
        for (LONG i_Index = 1; i_Index <= i_Count; ++i_Index)
        {
            CT_HostRef<IDispatch> co_Item;
            CT_HostRef<IVerifierMessage> co_Message;
            EXPECT_HRESULT_SUCCEEDED(pco_Messages->GetItem(i_Index, co_Item.ppco_Put()));
            EXPECT_HRESULT_SUCCEEDED(co_Item.hr_QueryInto(co_Message));
            CT_HostBstr co_Text;
            if (co_Message)
                co_Message->get_Text(co_Text.pbstr_Put());
            co_All.push_back(co_Text.co_Text());
        }
        return co_All;
    }

    CT_HostRef<IVerifierMessages> co_Messages;
    long i_Baseline = 0;
};

TEST_F(VerifierMessages, KeepsEveryArgumentOfAdd)
{
    CT_HostRef<IDispatch> co_Returned;
    ASSERT_HRESULT_SUCCEEDED(co_Messages->Add(
        CT_HostBstr(u"Error 1234: tag missing").bstr_Get(), CT_HostBstr(u"extra").bstr_Get(), 3,
        1234, CT_HostBstr(u"a.kxf").bstr_Get(), 39, 5, 41, 6, 1, 7, co_Returned.ppco_Put()));
    CT_HostRef<IDispatch> co_Item;
    ASSERT_HRESULT_SUCCEEDED(co_Messages->GetItem(1, co_Item.ppco_Put()));
    EXPECT_EQ(co_Item.pco_Get(), co_Returned.pco_Get());

    CT_HostRef<IVerifierMessage> co_Message;
    ASSERT_HRESULT_SUCCEEDED(co_Item.hr_QueryInto(co_Message));
    CT_HostBstr co_Text, co_Extra, co_Document;
    LONG i_Values[8] = {};
    co_Message->get_Text(co_Text.pbstr_Put());
    co_Message->get_Extra(co_Extra.pbstr_Put());
    co_Message->get_Document(co_Document.pbstr_Put());
    co_Message->get_Severity(&i_Values[0]);
    co_Message->get_Number(&i_Values[1]);
    co_Message->get_Position(&i_Values[2]);
    co_Message->get_Line(&i_Values[3]);
    co_Message->get_EndPosition(&i_Values[4]);
    co_Message->get_EndLine(&i_Values[5]);
    co_Message->get_DocumentIndicator(&i_Values[6]);
    co_Message->get_Flags(&i_Values[7]);
    EXPECT_EQ(co_Text.co_Text(), u"Error 1234: tag missing");
    EXPECT_EQ(co_Extra.co_Text(), u"extra");
    EXPECT_EQ(co_Document.co_Text(), u"a.kxf");
    const LONG si_Expected[8] = {3, 1234, 39, 5, 41, 6, 1, 7};
    for (int i_Index = 0; i_Index < 8; ++i_Index)
        EXPECT_EQ(i_Values[i_Index], si_Expected[i_Index]) << "value " << i_Index;
    EXPECT_EQ(st_Hr{E_POINTER}, st_Hr{co_Message->get_Number(nullptr)});
}

TEST_F(VerifierMessages, PropertiesAnswerLateBoundCallsByName)
{
    v_Add(co_Messages.pco_Get(), 17, u"Warning 17");
    CT_HostRef<IDispatch> co_Item;
    ASSERT_HRESULT_SUCCEEDED(co_Messages->GetItem(1, co_Item.ppco_Put()));
    LPOLESTR pw_Name = const_cast<LPOLESTR>(L"Position");
    DISPID i_Id = 0;
    ASSERT_HRESULT_SUCCEEDED(
        co_Item->GetIDsOfNames(IID_NULL, &pw_Name, 1, LOCALE_USER_DEFAULT, &i_Id));
    VARIANT co_Value;
    ASSERT_HRESULT_SUCCEEDED(
        hr_Invoke(co_Item.pco_Get(), i_Id, DISPATCH_PROPERTYGET, {}, &co_Value));
    EXPECT_EQ(co_Value.vt, VT_I4);
    EXPECT_EQ(co_Value.lVal, 17);

    // and the collection itself, as a script would use it
    VARIANT co_Count;
    pw_Name = const_cast<LPOLESTR>(L"GetCount");
    ASSERT_HRESULT_SUCCEEDED(
        co_Messages->GetIDsOfNames(IID_NULL, &pw_Name, 1, LOCALE_USER_DEFAULT, &i_Id));
    ASSERT_HRESULT_SUCCEEDED(
        hr_Invoke(co_Messages.pco_Get(), i_Id, DISPATCH_METHOD, {}, &co_Count));
    EXPECT_EQ(co_Count.lVal, 1);
}

TEST_F(VerifierMessages, PositionsRunFromOne)
{
    v_Add(co_Messages.pco_Get(), 1, u"a");
    v_Add(co_Messages.pco_Get(), 2, u"b");
    v_Add(co_Messages.pco_Get(), 3, u"c");
    CT_HostRef<IDispatch> co_Item;
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Messages->GetItem(0, co_Item.ppco_Put())});
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Messages->GetItem(4, co_Item.ppco_Put())});
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Messages->Remove(4)});
    ASSERT_HRESULT_SUCCEEDED(co_Messages->Remove(2));
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()), (std::vector<std::u16string>{u"a", u"c"}));
    ASSERT_HRESULT_SUCCEEDED(co_Messages->Clear());
    EXPECT_TRUE(co_Texts(co_Messages.pco_Get()).empty());
}

TEST_F(VerifierMessages, AddWithoutAPlaceForTheMessageStillAdds)
{
    ASSERT_HRESULT_SUCCEEDED(
        co_Messages->Add(nullptr, nullptr, 4, 0, nullptr, -1, 1, -1, 1, 2, 0, nullptr));
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()), (std::vector<std::u16string>{u""}));
}

TEST_F(VerifierMessages, AddMessagesAppendsTheOtherCollectionInOrder)
{
    v_Add(co_Messages.pco_Get(), 1, u"mine");
    CT_HostRef<IVerifierMessages> co_Other = co_NewCollection();
    v_Add(co_Other.pco_Get(), 2, u"first");
    v_Add(co_Other.pco_Get(), 3, u"second");
    ASSERT_HRESULT_SUCCEEDED(co_Messages->AddMessages(co_Other.pco_Get()));
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()),
              (std::vector<std::u16string>{u"mine", u"first", u"second"}));
    EXPECT_EQ(co_Texts(co_Other.pco_Get()), (std::vector<std::u16string>{u"first", u"second"}));

    // the copies stay when the other collection is emptied and gone
    co_Other->Clear();
    co_Other.v_Release();
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()).size(), 3u);

    // a collection added to itself doubles once
    ASSERT_HRESULT_SUCCEEDED(co_Messages->AddMessages(co_Messages.pco_Get()));
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()).size(), 6u);
    EXPECT_EQ(st_Hr{E_POINTER}, st_Hr{co_Messages->AddMessages(nullptr)});
}

TEST_F(VerifierMessages, HasTheSlotsThePlugInCalls)
{
    CT_HostRef<IVerifierMessages> co_Other = co_NewCollection();
    CT_HostRef<IDispatch> co_Message;
    ASSERT_HRESULT_SUCCEEDED(hr_CallSlot(
        co_Other.pco_Get(), 10, CT_HostBstr(u"Alert -5").bstr_Get(), CT_HostBstr(u"").bstr_Get(),
        2L, -5L, CT_HostBstr(u"a").bstr_Get(), 39L, 1L, 39L, 1L, 1L, 0L, co_Message.ppco_Put()));
    ASSERT_HRESULT_SUCCEEDED(hr_CallSlot(co_Messages.pco_Get(), 14, co_Other.pco_Get()));
    EXPECT_EQ(co_Texts(co_Messages.pco_Get()), (std::vector<std::u16string>{u"Alert -5"}));
}

} // namespace
