#include "TagComparison.h"
#include "TextFile.h"

#include <gtest/gtest.h>

namespace
{
std::vector<st_TagFinding> co_Compare(const std::u16string& co_Original,
                                      const std::u16string& co_Translation)
{
    return CT_TagComparison::sco_Compare(CT_KxfTags::sco_Scan(co_Original),
                                         static_cast<long>(co_Original.size()),
                                         CT_KxfTags::sco_Scan(co_Translation));
}

void v_ExpectFinding(const st_TagFinding& co_Finding, et_FindingNumber eo_Number,
                     const std::u16string& co_Text, long i_Position, long i_AltPosition)
{
    EXPECT_EQ(co_Finding.i_Number, eo_Number);
    EXPECT_EQ(co_Finding.co_Text, co_Text);
    EXPECT_EQ(co_Finding.i_Position, i_Position);
    EXPECT_EQ(co_Finding.i_AltPosition, i_AltPosition);
}

TEST(TagComparison, EqualTagsGiveNoFindingWhateverTheText)
{
    EXPECT_TRUE(co_Compare(u"Hello<:hs>world <ps \"A\">", u"Hallo<:hs>Welt, <ps \"A\">").empty());
    EXPECT_TRUE(co_Compare(u"no tags", u"keine").empty());
    EXPECT_TRUE(co_Compare(u"", u"").empty());
}

TEST(TagComparison, MissingTagPointsIntoTheOriginal)
{
    const auto co_Findings = co_Compare(u"a<:hs>b<:t>c", u"a b<:t>c");
    ASSERT_EQ(co_Findings.size(), 1u);
    v_ExpectFinding(co_Findings[0], eo_TagMissing,
                    u"Error 101: <:hs> is missing in the translation", -1, 1);
    EXPECT_EQ(co_Findings[0].eo_Severity, eo_Error);
}

TEST(TagComparison, ExtraTagPointsAtWhereTheOriginalWouldHaveIt)
{
    // in the middle: where the original's next tag stands
    auto co_Findings = co_Compare(u"ab<:t>c", u"a<:xr \"S\">b<:t>c");
    ASSERT_EQ(co_Findings.size(), 1u);
    v_ExpectFinding(co_Findings[0], eo_TagExtra, u"Error 102: <:xr \"S\"> is not in the original",
                    1, 2);
    // at the end: the end of the original
    co_Findings = co_Compare(u"abc", u"abc<:hs>");
    ASSERT_EQ(co_Findings.size(), 1u);
    v_ExpectFinding(co_Findings[0], eo_TagExtra, u"Error 102: <:hs> is not in the original", 3, 3);
}

TEST(TagComparison, SameNameWithOtherArgumentsIsAWarning)
{
    const auto co_Findings =
        co_Compare(u"<ps \"Body\">x<ps \"Heading 2\">y", u"<ps \"Body\">x<ps \"H2\">y");
    ASSERT_EQ(co_Findings.size(), 1u);
    v_ExpectFinding(co_Findings[0], eo_ArgumentsDiffer,
                    u"Warning 201: <ps \"H2\"> does not match <ps \"Heading 2\"> of the original",
                    12, 12);
    EXPECT_EQ(co_Findings[0].eo_Severity, eo_Warning);
}

TEST(TagComparison, ChangedArgumentsBesideAnotherDifferenceStayOneWarning)
{
    // aligning the two <:t> would leave <ps "Body"> and <ps "Rumpf"> in different gaps
    const auto co_Findings = co_Compare(u"Second <ps \"Body\"> line <:t> tab",
                                        u"Zweite <:t><ps \"Rumpf\"> Zeile <:t> Tab");
    ASSERT_EQ(co_Findings.size(), 2u);
    v_ExpectFinding(co_Findings[0], eo_TagExtra, u"Error 102: <:t> is not in the original", 7, 7);
    v_ExpectFinding(co_Findings[1], eo_ArgumentsDiffer,
                    u"Warning 201: <ps \"Rumpf\"> does not match <ps \"Body\"> of the original", 11,
                    7);
}

TEST(TagComparison, SwappedTagsGiveOneAlert)
{
    const auto co_Findings = co_Compare(u"x<:t><:v \"K\">y", u"x<:v \"K\"><:t>y");
    ASSERT_EQ(co_Findings.size(), 1u);
    // the tag that the alignment could not keep, at its place in each document
    v_ExpectFinding(co_Findings[0], eo_TagMoved,
                    u"Alert 301: <:t> stands in another order than in the original", 9, 1);
    EXPECT_EQ(co_Findings[0].eo_Severity, eo_Alert);
}

TEST(TagComparison, OtherNamesInOneGapAreMissingAndExtra)
{
    const auto co_Findings = co_Compare(u"a<:t.>b", u"a<:t_>b");
    ASSERT_EQ(co_Findings.size(), 2u);
    EXPECT_EQ(co_Findings[0].i_Number, eo_TagMissing);
    EXPECT_EQ(co_Findings[1].i_Number, eo_TagExtra);
}

TEST(TagComparison, ArgumentPairsStayWithinTheirGap)
{
    // <ps "A"> lost before the first match and <ps "B"> added after it: two tags, not a change
    const auto co_Findings = co_Compare(u"<ps \"A\">x<:hs>y", u"x<:hs>y<ps \"B\">");
    ASSERT_EQ(co_Findings.size(), 2u);
    EXPECT_EQ(co_Findings[0].i_Number, eo_TagMissing);
    EXPECT_EQ(co_Findings[1].i_Number, eo_TagExtra);
}

TEST(TagComparison, RepeatedTagsCountOneByOne)
{
    const auto co_Findings = co_Compare(u"<:hs><:hs><:hs>", u"<:hs><:hs>");
    ASSERT_EQ(co_Findings.size(), 1u);
    EXPECT_EQ(co_Findings[0].i_Number, eo_TagMissing);
}

TEST(TagComparison, FindingsFollowTheDocuments)
{
    const auto co_Findings =
        co_Compare(u"<:hs>a<ps \"X\">b<:t>c<:ems>", u"a<ps \"Y\">b<:t>c<:ems><:ns>");
    ASSERT_EQ(co_Findings.size(), 3u);
    EXPECT_EQ(co_Findings[0].i_Number, eo_TagMissing);
    EXPECT_EQ(co_Findings[1].i_Number, eo_ArgumentsDiffer);
    EXPECT_EQ(co_Findings[2].i_Number, eo_TagExtra);
}

std::u16string co_DistinctTags(const char16_t* qcuz_Prefix, int i_Count)
{
    std::u16string co_Text;
    for (int i_Index = 0; i_Index < i_Count; ++i_Index)
        co_Text += u"<" + std::u16string(qcuz_Prefix) + CT_TextFile::sco_Number(i_Index) + u">";
    return co_Text;
}

TEST(TagComparison, TooManyDifferencesGiveOneAlertInsteadOfExhaustingMemory)
{
    // 2001 by 2001 differing tags is just beyond the alignment limit
    const auto co_Findings = co_Compare(co_DistinctTags(u":a", 2001), co_DistinctTags(u":b", 2001));
    ASSERT_EQ(co_Findings.size(), 1u);
    v_ExpectFinding(co_Findings[0], eo_TooManyDifferences,
                    u"Alert 302: too many tag differences to compare in detail (2001 tags in the "
                    u"original, 2001 in the translation)",
                    -1, 0);
    // equal beginnings and ends do not count against the limit
    const std::u16string co_Same = co_DistinctTags(u":s", 3000);
    EXPECT_EQ(co_Compare(co_Same + u"<:x>" + co_Same, co_Same + u"<:y>" + co_Same).size(), 2u);
}

TEST(TagComparison, FindingTextCarriesSeverityWordAndNumber)
{
    EXPECT_EQ(CT_TagComparison::sco_Finding(eo_OriginalUnreadable, u"x", -1, 0).co_Text,
              u"Error 1: x");
    const st_TagFinding co_Warning = CT_TagComparison::sco_Finding(eo_ArgumentsDiffer, u"y", 4, 5);
    EXPECT_EQ(co_Warning.co_Text, u"Warning 201: y");
    EXPECT_EQ(co_Warning.eo_Severity, eo_Warning);
    EXPECT_EQ(co_Warning.i_Position, 4);
    EXPECT_EQ(co_Warning.i_AltPosition, 5);
    EXPECT_EQ(CT_TagComparison::sco_Finding(eo_TagMoved, u"z", 0, 0).co_Text, u"Alert 301: z");
}
} // namespace
