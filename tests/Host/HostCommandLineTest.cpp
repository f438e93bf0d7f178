#include "HostCommandLine.h"

#include <gtest/gtest.h>

namespace
{
CT_HostCommandLine co_Parse(std::vector<std::u16string> co_Arguments)
{
    CT_HostCommandLine co_Line;
    co_Line.v_Parse(co_Arguments);
    return co_Line;
}

TEST(HostCommandLine, WithoutDocumentsVerifiesTheSamples)
{
    const CT_HostCommandLine co_Line = co_Parse({});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifySamples);
    EXPECT_EQ(co_Line.co_ProgId, u"KetraVerifierPlugIn.KxfVerifierPlugIn");
}

TEST(HostCommandLine, TakesTypeOriginalAndTranslation)
{
    const struct
    {
        const char16_t* qcuz_Type;
        long i_Type;
    } sco_Types[] = {{u"F", 6}, {u"f", 6}, {u"I", 7}, {u"i", 7}, {u"5", 5}, {u"0", 0}};
    for (const auto& co_Type : sco_Types)
    {
        const CT_HostCommandLine co_Line = co_Parse({co_Type.qcuz_Type, u"o.kxf", u"t.kxf"});
        ASSERT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifyDocument);
        EXPECT_EQ(co_Line.co_Job.i_DocumentType, co_Type.i_Type);
        EXPECT_EQ(co_Line.co_Job.co_Original, u"o.kxf");
        EXPECT_EQ(co_Line.co_Job.co_Translation, u"t.kxf");
    }
}

TEST(HostCommandLine, ReportsMistakes)
{
    const struct
    {
        std::vector<std::u16string> co_Arguments;
        const char16_t* qcuz_Mistake;
    } sco_Cases[] = {
        {{u"F", u"o.kxf"}, u"expected TYPE ORIGINAL TRANSLATION"},
        {{u"F", u"o", u"t", u"x"}, u"expected TYPE ORIGINAL TRANSLATION"},
        {{u"X", u"o", u"t"}, u"unknown document type X (F, I or a number)"},
        {{u"", u"o", u"t"}, u"unknown document type  (F, I or a number)"},
        {{u"1234567890", u"o", u"t"}, u"unknown document type 1234567890 (F, I or a number)"},
        {{u"--verbose"}, u"unknown option --verbose"},
        {{u"--progid"}, u"--progid needs a value"},
        {{u"--progid="}, u"--progid needs a value"},
    };
    for (const auto& co_Case : sco_Cases)
    {
        const CT_HostCommandLine co_Line = co_Parse(co_Case.co_Arguments);
        EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_Mistake);
        EXPECT_EQ(co_Line.co_Mistake, co_Case.qcuz_Mistake);
    }
}

TEST(HostCommandLine, SettingsGoWithSamplesOrADocument)
{
    EXPECT_FALSE(co_Parse({u"F", u"o", u"t"}).b_ShowSettings);
    CT_HostCommandLine co_Line = co_Parse({u"--settings"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifySamples);
    EXPECT_TRUE(co_Line.b_ShowSettings);
    co_Line = co_Parse({u"I", u"o", u"--settings", u"t"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifyDocument);
    EXPECT_TRUE(co_Line.b_ShowSettings);
    EXPECT_EQ(co_Line.co_Job.co_Translation, u"t");
    co_Line = co_Parse({u"--", u"--settings", u"o", u"t"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_Mistake) << "after -- it is a type";
    EXPECT_FALSE(co_Line.b_ShowSettings);
    EXPECT_EQ(co_Parse({u"--settings=yes"}).co_Mistake, u"unknown option --settings=yes");
}

TEST(HostCommandLine, OptionsAnywhereUntilDoubleDash)
{
    CT_HostCommandLine co_Line = co_Parse({u"I", u"--progid", u"Other.PlugIn", u"o", u"t"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifyDocument);
    EXPECT_EQ(co_Line.co_ProgId, u"Other.PlugIn");

    co_Line = co_Parse({u"--progid=X.Y"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifySamples);
    EXPECT_EQ(co_Line.co_ProgId, u"X.Y");

    co_Line = co_Parse({u"--", u"-3", u"-o.kxf", u"--help"});
    EXPECT_EQ(co_Line.eo_Action, CT_HostCommandLine::eo_VerifyDocument);
    EXPECT_EQ(co_Line.co_Job.i_DocumentType, -3);
    EXPECT_EQ(co_Line.co_Job.co_Original, u"-o.kxf");
    EXPECT_EQ(co_Line.co_Job.co_Translation, u"--help");

    EXPECT_EQ(co_Parse({u"F", u"-h"}).eo_Action, CT_HostCommandLine::eo_ShowHelp);
    EXPECT_EQ(co_Parse({u"--help", u"--bogus"}).eo_Action, CT_HostCommandLine::eo_ShowHelp);
}
} // namespace
