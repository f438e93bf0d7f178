// The stand-in verifier driven as the plug-in drives it: late bound, by member identifier.
#include "HostTestSupport.h"
#include "MarkpadHost_h.h"

namespace
{
enum et_Member : DISPID
{
    eo_Paths = 1,
    eo_Reporting = 3,
    eo_LoadTranslatedFile = 12,
    eo_RunCheck = 18,
    eo_NextFinding = 21,
    eo_FindingAltPosition = 22,
    eo_FindingPosition = 23,
    eo_FindingText = 24,
    eo_CountA = 25,
    eo_CountB = 26,
    eo_CountC = 27
};

struct st_Finding
{
    std::u16string co_Text;
    short sn2_Position;
    short sn2_AltPosition;
};

class KetragenVerifier : public ::testing::Test
{
protected:
    void SetUp() override { i_Baseline = i_LiveObjects(); }
    void TearDown() override
    {
        co_Verifier.v_Release();
        if (i_Baseline >= 0)
        {
            EXPECT_EQ(i_LiveObjects(), i_Baseline) << "stand-in objects leaked";
        }
    }

    void v_Create(const CLSID& co_Class)
    {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(co_Class, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IDispatch, co_Verifier.ppv_Put()));
    }

    CT_HostRef<IDispatch> co_SubObject(DISPID i_Member)
    {
        VARIANT co_Result;
        EXPECT_HRESULT_SUCCEEDED(
            hr_Invoke(co_Verifier.pco_Get(), i_Member, DISPATCH_PROPERTYGET, {}, &co_Result));
        EXPECT_EQ(co_Result.vt, VT_DISPATCH);
        return CT_HostRef<IDispatch>(co_Result.vt == VT_DISPATCH ? co_Result.pdispVal : nullptr);
    }

    VARIANT co_Call(DISPID i_Member, std::vector<VARIANT> co_Arguments = {})
    {
        VARIANT co_Result;
        EXPECT_HRESULT_SUCCEEDED(
            hr_Invoke(co_Verifier.pco_Get(), i_Member, DISPATCH_METHOD, co_Arguments, &co_Result))
            << "member " << i_Member;
        return co_Result;
    }

    // Paths, LoadTranslatedFile and RunCheck, in the plug-in's order.
    void v_Run(const std::u16string& co_OriginalFolder, const std::u16string& co_TranslatedPath)
    {
        VARIANT co_Folder = co_BstrVariant(co_OriginalFolder);
        EXPECT_HRESULT_SUCCEEDED(hr_PutProperty(co_SubObject(eo_Paths).pco_Get(), 1, co_Folder));
        VariantClear(&co_Folder);
        VARIANT co_Path = co_BstrVariant(co_TranslatedPath);
        VARIANT co_Loaded = co_Call(eo_LoadTranslatedFile, {co_Path});
        EXPECT_EQ(co_Loaded.vt, VT_BOOL);
        VariantClear(&co_Path);
        co_Call(eo_RunCheck);
    }

    void v_Suppress(DISPID i_Member, short sn2_Flag)
    {
        EXPECT_HRESULT_SUCCEEDED(hr_PutProperty(co_SubObject(eo_Reporting).pco_Get(), i_Member,
                                                co_BoolVariant(sn2_Flag)));
    }

    std::vector<st_Finding> co_Findings()
    {
        std::vector<st_Finding> co_All;
        while (co_Call(eo_NextFinding).boolVal != VARIANT_FALSE)
        {
            VARIANT co_Text = co_Call(eo_FindingText);
            co_All.push_back({CT_HostBstr::sco_Text(co_Text.bstrVal),
                              co_Call(eo_FindingPosition).iVal,
                              co_Call(eo_FindingAltPosition).iVal});
            VariantClear(&co_Text);
        }
        return co_All;
    }

    std::vector<long> co_Counts()
    {
        return {co_Call(eo_CountA).lVal, co_Call(eo_CountB).lVal, co_Call(eo_CountC).lVal};
    }

    // An original in one folder and a translation of the same name in another.
    std::u16string co_WritePair(const std::u16string& co_Original,
                                const std::u16string& co_Translation)
    {
        co_OriginalFolder = co_Temp.co_Subfolder(u"original");
        co_Temp.co_Subfolder(u"translated");
        co_Temp.co_WriteText(u"original\\doc.kxf", co_Original);
        return co_Temp.co_WriteText(u"translated\\doc.kxf", co_Translation);
    }

    CT_TempFolder co_Temp;
    std::u16string co_OriginalFolder;
    CT_HostRef<IDispatch> co_Verifier;
    long i_Baseline = -1;
};

TEST_F(KetragenVerifier, ReportsTagDifferencesWithOneBasedPositions)
{
    v_Create(CLSID_KetragenVerifierF);
    const std::u16string co_Translated =
        co_WritePair(u"<ps \"Body\">a<:hs>b<:t><:v \"K\">c\n<ps \"H\">d",
                     u"<ps \"Body\">a b<:v \"K\"><:t>c\n<ps \"X\">d<:xr \"S\">");
    v_Run(co_OriginalFolder, co_Translated);
    const std::vector<st_Finding> co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 4u);
    // missing: no place in the translation (1), the original's place plus 1
    EXPECT_EQ(co_All[0].co_Text, u"Error 101: <:hs> is missing in the translation");
    EXPECT_EQ(co_All[0].sn2_Position, 1);
    EXPECT_EQ(co_All[0].sn2_AltPosition, 13);
    EXPECT_EQ(co_All[1].co_Text, u"Alert 301: <:t> stands in another order than in the original");
    EXPECT_EQ(co_All[1].sn2_Position, 23);
    EXPECT_EQ(co_All[1].sn2_AltPosition, 19);
    EXPECT_EQ(co_All[2].co_Text,
              u"Warning 201: <ps \"X\"> does not match <ps \"H\"> of the original");
    EXPECT_EQ(co_All[2].sn2_Position, 29);
    EXPECT_EQ(co_All[3].co_Text, u"Error 102: <:xr \"S\"> is not in the original");
    EXPECT_EQ(co_All[3].sn2_Position, 38);
    EXPECT_EQ(co_All[3].sn2_AltPosition, 42); // the end of the original, plus 1
    EXPECT_EQ(co_Counts(), (std::vector<long>{2, 1, 1}));

    // past the end: no finding, no text
    EXPECT_EQ(co_Call(eo_NextFinding).boolVal, VARIANT_FALSE);
    VARIANT co_Text = co_Call(eo_FindingText);
    EXPECT_EQ(SysStringLen(co_Text.bstrVal), 0u);
    VariantClear(&co_Text);
}

TEST_F(KetragenVerifier, SuppressedTagsAreNotReportedAndNotCounted)
{
    v_Create(CLSID_KetragenVerifierF);
    const std::u16string co_Translated = co_WritePair(u"<:b>a<:/b><:hs><:i>b<:/i>", u"<:b>a<:i>b");
    v_Suppress(1, 1);  // <:b>, with the plug-in's value 1 rather than VARIANT_TRUE
    v_Suppress(27, 1); // <:i>
    v_Run(co_OriginalFolder, co_Translated);
    std::vector<st_Finding> co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 1u);
    EXPECT_EQ(co_All[0].co_Text, u"Error 101: <:hs> is missing in the translation");
    EXPECT_EQ(co_Counts(), (std::vector<long>{1, 0, 0}));

    // a flag put back to 0 reports again; the next check starts afresh
    v_Suppress(1, 0);
    co_Call(eo_RunCheck);
    co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 2u);
    EXPECT_EQ(co_All[0].co_Text, u"Error 101: <:/b> is missing in the translation");
}

TEST_F(KetragenVerifier, FormatIHasItsOwnMembers)
{
    v_Create(CLSID_KetragenVerifierI);
    const std::u16string co_Translated = co_WritePair(u"<:hs><:t-d><:sc \"x\">", u"");
    v_Suppress(22, 1); // <:hs> in format F, <il> in format I
    v_Suppress(44, 1); // <:t-d> in format I
    v_Suppress(46, 1); // <:sc> in format I; format F has no member 46
    v_Run(co_OriginalFolder, co_Translated);
    const std::vector<st_Finding> co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 1u);
    EXPECT_EQ(co_All[0].co_Text, u"Error 101: <:hs> is missing in the translation");
}

TEST_F(KetragenVerifier, UnreadableFilesBecomeFindings)
{
    v_Create(CLSID_KetragenVerifierF);
    // the original is looked for under the translated file's name
    co_WritePair(u"<:hs>", u"<:hs>");
    v_Run(co_Temp.co_File(u"translated"), co_Temp.co_File(u"original\\other.kxf"));
    const std::vector<st_Finding> co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 2u);
    EXPECT_EQ(co_All[0].co_Text, u"Error 1: cannot read the original file " +
                                     co_Temp.co_File(u"translated\\other.kxf"));
    EXPECT_EQ(co_All[0].sn2_Position, 1);
    EXPECT_EQ(co_All[0].sn2_AltPosition, 1);
    EXPECT_EQ(co_All[1].co_Text, u"Error 2: cannot read the translated file " +
                                     co_Temp.co_File(u"original\\other.kxf"));
    EXPECT_EQ(co_Counts(), (std::vector<long>{2, 0, 0}));
}

TEST_F(KetragenVerifier, PositionsBeyondSixteenBitsAreCut)
{
    v_Create(CLSID_KetragenVerifierF);
    const std::u16string co_Translated = co_WritePair(std::u16string(40000, u'x') + u"<:hs>", u"");
    v_Run(co_OriginalFolder, co_Translated);
    const std::vector<st_Finding> co_All = co_Findings();
    ASSERT_EQ(co_All.size(), 1u);
    EXPECT_EQ(co_All[0].sn2_AltPosition, 32767);
}

TEST_F(KetragenVerifier, RejectsWrongCalls)
{
    v_Create(CLSID_KetragenVerifierF);
    VARIANT co_Result;
    EXPECT_EQ(st_Hr{DISP_E_MEMBERNOTFOUND},
              st_Hr{hr_Invoke(co_Verifier.pco_Get(), 99, DISPATCH_METHOD, {}, &co_Result)});
    EXPECT_EQ(st_Hr{DISP_E_BADPARAMCOUNT},
              st_Hr{hr_Invoke(co_Verifier.pco_Get(), eo_LoadTranslatedFile, DISPATCH_METHOD, {},
                              &co_Result)});
    EXPECT_EQ(st_Hr{DISP_E_BADPARAMCOUNT},
              st_Hr{hr_Invoke(co_Verifier.pco_Get(), eo_RunCheck, DISPATCH_METHOD,
                              {co_BoolVariant(0)}, &co_Result)});
    EXPECT_EQ(st_Hr{DISP_E_MEMBERNOTFOUND},
              st_Hr{hr_PutProperty(co_Verifier.pco_Get(), eo_RunCheck, co_BoolVariant(0))});

    CT_HostRef<IDispatch> co_Paths = co_SubObject(eo_Paths);
    VARIANT co_Folder = co_BstrVariant(u"C:\\x");
    EXPECT_EQ(st_Hr{DISP_E_MEMBERNOTFOUND},
              st_Hr{hr_PutProperty(co_Paths.pco_Get(), 2, co_Folder)});
    VariantClear(&co_Folder);
    CT_HostRef<IDispatch> co_Reporting = co_SubObject(eo_Reporting);
    EXPECT_EQ(st_Hr{DISP_E_MEMBERNOTFOUND},
              st_Hr{hr_PutProperty(co_Reporting.pco_Get(), 46, co_BoolVariant(1))});
    EXPECT_EQ(st_Hr{DISP_E_MEMBERNOTFOUND},
              st_Hr{hr_PutProperty(co_Reporting.pco_Get(), 0, co_BoolVariant(1))});
    VARIANT co_Word = co_BstrVariant(u"maybe");
    EXPECT_EQ(st_Hr{DISP_E_TYPEMISMATCH},
              st_Hr{hr_PutProperty(co_Reporting.pco_Get(), 1, co_Word)});
    VariantClear(&co_Word);
}

TEST_F(KetragenVerifier, NamesComeFromTheTypeLibrary)
{
    v_Create(CLSID_KetragenVerifierF);
    const wchar_t* const sqcwz_Names[] = {L"RunCheck", L"FindingText", L"CountC"};
    const DISPID si_Expected[] = {eo_RunCheck, eo_FindingText, eo_CountC};
    for (size_t n_Index = 0; n_Index < 3; ++n_Index)
    {
        LPOLESTR pw_Name = const_cast<LPOLESTR>(sqcwz_Names[n_Index]);
        DISPID i_Id = 0;
        ASSERT_HRESULT_SUCCEEDED(
            co_Verifier->GetIDsOfNames(IID_NULL, &pw_Name, 1, LOCALE_USER_DEFAULT, &i_Id));
        EXPECT_EQ(i_Id, si_Expected[n_Index]);
    }
}
} // namespace
