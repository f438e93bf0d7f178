#include "HostTestSupport.h"
#include "MarkpadHost_h.h"

namespace
{
class HostApplication : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_HostApplication, nullptr,
                                                  CLSCTX_INPROC_SERVER, IID_IHostApplication,
                                                  co_Application.ppv_Put()));
        i_Baseline = i_LiveObjects() - 1;
    }
    void TearDown() override
    {
        co_Application.v_Release();
        EXPECT_EQ(i_LiveObjects(), i_Baseline) << "stand-in objects leaked";
    }

    CT_HostRef<IHostDocument> co_Open(const std::u16string& co_Text, long i_Type)
    {
        const std::u16string co_Path = co_Temp.co_WriteText(u"Guide.kxf", co_Text);
        CT_HostRef<IDispatch> co_Document;
        CT_HostRef<IHostDocument> co_HostDocument;
        EXPECT_HRESULT_SUCCEEDED(co_Application->OpenDocument(
            CT_HostBstr(co_Path).bstr_Get(), i_Type, CT_HostBstr(u"D:\\work\\Guide.kxf").bstr_Get(),
            co_Document.ppco_Put()));
        EXPECT_HRESULT_SUCCEEDED(co_Document.hr_QueryInto(co_HostDocument));
        return co_HostDocument;
    }

    CT_TempFolder co_Temp;
    CT_HostRef<IHostApplication> co_Application;
    long i_Baseline = 0;
};

TEST_F(HostApplication, OpenedDocumentAnswersWhatThePlugInAsks)
{
    CT_HostRef<IHostDocument> co_Document = co_Open(u"<ps \"Body\">Gr\u00FC\u00DFe", 6);
    ASSERT_TRUE(co_Document);
    LONG i_Type = 0, i_Length = 0;
    CT_HostBstr co_Name, co_Original, co_Text;
    // by the positions of the function table that the plug-in relies on
    EXPECT_HRESULT_SUCCEEDED(hr_CallSlot(co_Document.pco_Get(), 23, &i_Type));
    EXPECT_HRESULT_SUCCEEDED(hr_CallSlot(co_Document.pco_Get(), 11, co_Name.pbstr_Put()));
    EXPECT_HRESULT_SUCCEEDED(hr_CallSlot(co_Document.pco_Get(), 14, co_Original.pbstr_Put()));
    EXPECT_EQ(i_Type, 6);
    EXPECT_EQ(co_Name.co_Text(), u"Guide.kxf");
    EXPECT_EQ(co_Original.co_Text(), u"D:\\work\\Guide.kxf");
    EXPECT_HRESULT_SUCCEEDED(co_Document->GetText(co_Text.pbstr_Put()));
    EXPECT_EQ(co_Text.co_Text(), u"<ps \"Body\">Gr\u00FC\u00DFe");
    EXPECT_HRESULT_SUCCEEDED(co_Document->GetLength(&i_Length));
    EXPECT_EQ(i_Length, 16);

    CT_HostRef<IDispatch> co_Active;
    EXPECT_HRESULT_SUCCEEDED(hr_CallSlot(co_Application.pco_Get(), 13, co_Active.ppco_Put()));
    CT_HostRef<IUnknown> co_Identity;
    co_Active.hr_QueryInto(co_Identity);
    EXPECT_EQ(co_Identity.pco_Get(), static_cast<IUnknown*>(co_Document.pco_Get()));
}

TEST_F(HostApplication, SaveTranslatedAsWritesTheTextAsUtf8)
{
    CT_HostRef<IHostDocument> co_Document = co_Open(u"x", 7);
    ASSERT_HRESULT_SUCCEEDED(
        co_Document->SetText(CT_HostBstr(u"<:hs>\u00E9\U0001F600").bstr_Get()));
    const std::u16string co_Target = co_Temp.co_File(u"saved.kxf");
    ASSERT_HRESULT_SUCCEEDED(
        hr_CallSlot(co_Document.pco_Get(), 20, CT_HostBstr(co_Target).bstr_Get()));
    EXPECT_EQ(co_ReadBytes(co_Target), "<:hs>\xC3\xA9\xF0\x9F\x98\x80");

    // a place that cannot be written is a failure, not a success
    const HRESULT hr_Result =
        co_Document->SaveTranslatedAs(CT_HostBstr(co_Temp.co_File(u"no\\such\\x.kxf")).bstr_Get());
    EXPECT_TRUE(FAILED(hr_Result)) << std::hex << hr_Result;
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Document->SaveTranslatedAs(nullptr)});
}

TEST_F(HostApplication, SaveWritesBackAndClearsTheModifiedFlag)
{
    CT_HostRef<IHostDocument> co_Document = co_Open(u"old", 6);
    VARIANT_BOOL b_Modified = VARIANT_TRUE;
    co_Document->GetModified(&b_Modified);
    EXPECT_EQ(b_Modified, VARIANT_FALSE);
    co_Document->SetText(CT_HostBstr(u"new").bstr_Get());
    co_Document->GetModified(&b_Modified);
    EXPECT_EQ(b_Modified, VARIANT_TRUE);
    ASSERT_HRESULT_SUCCEEDED(co_Document->Save());
    co_Document->GetModified(&b_Modified);
    EXPECT_EQ(b_Modified, VARIANT_FALSE);
    EXPECT_EQ(co_ReadBytes(co_Temp.co_File(u"Guide.kxf")), "new");
}

TEST_F(HostApplication, MissingFileIsNotOpened)
{
    CT_HostRef<IDispatch> co_Document;
    EXPECT_EQ(
        st_Hr{HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        st_Hr{co_Application->OpenDocument(CT_HostBstr(co_Temp.co_File(u"none.kxf")).bstr_Get(), 6,
                                           nullptr, co_Document.ppco_Put())});
    EXPECT_FALSE(co_Document);
    LONG i_Count = -1;
    co_Application->GetDocumentCount(&i_Count);
    EXPECT_EQ(i_Count, 0);
}

TEST_F(HostApplication, ActiveDocumentFollowsOpenSetAndClose)
{
    CT_HostRef<IHostDocument> co_First = co_Open(u"1", 6);
    CT_HostRef<IHostDocument> co_Second = co_Open(u"2", 7);
    CT_HostRef<IDispatch> co_Active;
    co_Application->GetActiveDocument(co_Active.ppco_Put());
    EXPECT_EQ(co_Active.pco_Get(), static_cast<IDispatch*>(co_Second.pco_Get()));

    ASSERT_HRESULT_SUCCEEDED(co_Application->SetActiveDocument(co_First.pco_Get()));
    co_Application->GetActiveDocument(co_Active.ppco_Put());
    EXPECT_EQ(co_Active.pco_Get(), static_cast<IDispatch*>(co_First.pco_Get()));
    CT_HostRef<IDispatch> co_ByIndex;
    ASSERT_HRESULT_SUCCEEDED(co_Application->GetDocument(2, co_ByIndex.ppco_Put()));
    EXPECT_EQ(co_ByIndex.pco_Get(), static_cast<IDispatch*>(co_Second.pco_Get()));
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Application->GetDocument(3, co_ByIndex.ppco_Put())});

    // an object that is not one of its documents
    CT_HostRef<IDispatch> co_Foreign;
    ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_VerifierMessages, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IDispatch, co_Foreign.ppv_Put()));
    EXPECT_EQ(st_Hr{E_INVALIDARG}, st_Hr{co_Application->SetActiveDocument(co_Foreign.pco_Get())});

    // closing leaves a usable object without application
    ASSERT_HRESULT_SUCCEEDED(co_First->Close());
    co_Application->GetActiveDocument(co_Active.ppco_Put());
    EXPECT_FALSE(co_Active);
    LONG i_Count = 0;
    co_Application->GetDocumentCount(&i_Count);
    EXPECT_EQ(i_Count, 1);
    CT_HostRef<IDispatch> co_Owner;
    EXPECT_HRESULT_SUCCEEDED(co_First->GetApplication(co_Owner.ppco_Put()));
    EXPECT_FALSE(co_Owner);
    LONG i_Type = 0;
    EXPECT_HRESULT_SUCCEEDED(co_First->GetDocumentType(&i_Type));
    EXPECT_EQ(i_Type, 6);
}

TEST_F(HostApplication, DocumentsOutliveTheirApplication)
{
    CT_HostRef<IHostDocument> co_Document = co_Open(u"x", 6);
    CT_HostRef<IDispatch> co_Owner;
    ASSERT_HRESULT_SUCCEEDED(co_Document->GetApplication(co_Owner.ppco_Put()));
    EXPECT_EQ(co_Owner.pco_Get(), static_cast<IDispatch*>(co_Application.pco_Get()));
    co_Owner.v_Release();
    co_Application.v_Release();
    ASSERT_HRESULT_SUCCEEDED(co_Document->GetApplication(co_Owner.ppco_Put()));
    EXPECT_FALSE(co_Owner);
    EXPECT_HRESULT_SUCCEEDED(co_Document->Close());
}

} // namespace
