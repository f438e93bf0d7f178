#include "TagComparison.h"

#include "TextFile.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace
{
enum et_StepKind
{
    eo_Match,
    eo_OriginalOnly,
    eo_TranslationOnly
};

// One step of the alignment; a step of one side only may be paired with one of the other side
// (the same tag moved, or the same tag with other arguments).
struct st_Step
{
    et_StepKind eo_Kind;
    size_t n_Original;    // index of the original's next tag at this step
    size_t n_Translation; // likewise in the translation
    size_t n_Gap;         // number of matches before the step
    long i_Partner = -1;
    et_FindingNumber eo_Pairing = eo_TagMissing;
};

class CT_Alignment
{
public:
    CT_Alignment(const std::vector<st_KxfTag>& co_Original,
                 const std::vector<st_KxfTag>& co_Translation)
        : co_Orig(co_Original), co_Trans(co_Translation)
    {
    }

    // False when the differing middle is too large to align.
    bool b_Align()
    {
        size_t n_Prefix = 0;
        while (n_Prefix < co_Orig.size() && n_Prefix < co_Trans.size() &&
               co_Orig[n_Prefix].b_SameTag(co_Trans[n_Prefix]))
            ++n_Prefix;
        size_t n_Suffix = 0;
        while (n_Suffix < co_Orig.size() - n_Prefix && n_Suffix < co_Trans.size() - n_Prefix &&
               co_Orig[co_Orig.size() - 1 - n_Suffix].b_SameTag(
                   co_Trans[co_Trans.size() - 1 - n_Suffix]))
            ++n_Suffix;
        const size_t n_Rows = co_Orig.size() - n_Prefix - n_Suffix;
        const size_t n_Columns = co_Trans.size() - n_Prefix - n_Suffix;
        if (static_cast<unsigned long long>(n_Rows) * n_Columns >
            CT_TagComparison::sn8_MaxAlignmentCells)
            return false;

        for (size_t n_Index = 0; n_Index < n_Prefix; ++n_Index)
            v_Add(eo_Match);
        v_AlignMiddle(n_Rows, n_Columns);
        for (size_t n_Index = 0; n_Index < n_Suffix; ++n_Index)
            v_Add(eo_Match);
        return true;
    }

    std::vector<st_Step> co_Steps;

private:
    // Table of the best scores of the suffixes: a pair of equal tags scores 2, a pair of tags of
    // the same name 1, since a changed argument is one finding where a missing and an extra
    // tag are two; the best score gives the fewest findings. Scores stay below 65536 because
    // the cell limit keeps the shorter side below 2000.
    void v_AlignMiddle(size_t n_Rows, size_t n_Columns)
    {
        const size_t n_Width = n_Columns + 1;
        std::vector<std::uint16_t> co_Scores((n_Rows + 1) * n_Width, 0);
        const auto n_Score = [&](size_t n_Row, size_t n_Column) -> unsigned
        { return co_Scores[n_Row * n_Width + n_Column]; };
        const size_t n_Orig = n_OrigAt, n_Trans = n_TransAt;
        for (size_t n_Row = n_Rows; n_Row-- > 0;)
            for (size_t n_Column = n_Columns; n_Column-- > 0;)
                co_Scores[n_Row * n_Width + n_Column] = static_cast<std::uint16_t>(std::max(
                    {n_Score(n_Row + 1, n_Column), n_Score(n_Row, n_Column + 1),
                     n_Score(n_Row + 1, n_Column + 1) +
                         sn_PairScore(co_Orig[n_Orig + n_Row], co_Trans[n_Trans + n_Column])}));

        // Equal tags are always paired (no better alignment leaves them apart); tags of the
        // same name are paired whenever that is as good as any other step.
        size_t n_Row = 0, n_Column = 0;
        while (n_Row < n_Rows || n_Column < n_Columns)
        {
            const bool b_Both = n_Row < n_Rows && n_Column < n_Columns;
            const unsigned n_Pair =
                b_Both ? sn_PairScore(co_Orig[n_OrigAt], co_Trans[n_TransAt]) : 0;
            if (n_Pair == 2)
            {
                v_Add(eo_Match);
                ++n_Row, ++n_Column;
            }
            else if (n_Pair == 1 &&
                     n_Score(n_Row, n_Column) == n_Score(n_Row + 1, n_Column + 1) + 1)
            {
                // Two steps of one gap, which the classifier pairs as other arguments.
                v_Add(eo_OriginalOnly);
                v_Add(eo_TranslationOnly);
                ++n_Row, ++n_Column;
            }
            else if (n_Column == n_Columns || (n_Row < n_Rows && n_Score(n_Row + 1, n_Column) >=
                                                                     n_Score(n_Row, n_Column + 1)))
            {
                v_Add(eo_OriginalOnly);
                ++n_Row;
            }
            else
            {
                v_Add(eo_TranslationOnly);
                ++n_Column;
            }
        }
    }

    static unsigned sn_PairScore(const st_KxfTag& co_Original, const st_KxfTag& co_Translated)
    {
        if (co_Original.co_Name != co_Translated.co_Name)
            return 0;
        return co_Original.co_Arguments == co_Translated.co_Arguments ? 2 : 1;
    }

    void v_Add(et_StepKind eo_Kind)
    {
        co_Steps.push_back({eo_Kind, n_OrigAt, n_TransAt, n_Matches});
        if (eo_Kind != eo_TranslationOnly)
            ++n_OrigAt;
        if (eo_Kind != eo_OriginalOnly)
            ++n_TransAt;
        if (eo_Kind == eo_Match)
            ++n_Matches;
    }

    const std::vector<st_KxfTag>& co_Orig;
    const std::vector<st_KxfTag>& co_Trans;
    size_t n_OrigAt = 0, n_TransAt = 0, n_Matches = 0;
};

class CT_Classifier
{
public:
    CT_Classifier(std::vector<st_Step>& co_AlignedSteps, const std::vector<st_KxfTag>& co_Original,
                  const std::vector<st_KxfTag>& co_Translation)
        : co_Steps(co_AlignedSteps), co_Orig(co_Original), co_Trans(co_Translation)
    {
    }

    // A tag that one side lacks and the other has elsewhere was moved; failing that, a tag
    // with the same name in the same gap between matches differs in its arguments.
    void v_Classify()
    {
        v_Pair(eo_TagMoved, [this](const st_Step& co_Gone, const st_Step& co_Added)
               { return co_Orig[co_Gone.n_Original].b_SameTag(co_Trans[co_Added.n_Translation]); });
        v_Pair(eo_ArgumentsDiffer,
               [this](const st_Step& co_Gone, const st_Step& co_Added)
               {
                   return co_Gone.n_Gap == co_Added.n_Gap &&
                          co_Orig[co_Gone.n_Original].co_Name ==
                              co_Trans[co_Added.n_Translation].co_Name;
               });
    }

private:
    template <class Fits>
    void v_Pair(et_FindingNumber eo_Pairing, Fits co_Fits)
    {
        for (size_t n_Gone = 0; n_Gone < co_Steps.size(); ++n_Gone)
        {
            if (co_Steps[n_Gone].eo_Kind != eo_OriginalOnly || co_Steps[n_Gone].i_Partner >= 0)
                continue;
            for (size_t n_Added = 0; n_Added < co_Steps.size(); ++n_Added)
            {
                st_Step& co_Added = co_Steps[n_Added];
                if (co_Added.eo_Kind == eo_TranslationOnly && co_Added.i_Partner < 0 &&
                    co_Fits(co_Steps[n_Gone], co_Added))
                {
                    co_Added.i_Partner = static_cast<long>(n_Gone);
                    co_Added.eo_Pairing = eo_Pairing;
                    co_Steps[n_Gone].i_Partner = static_cast<long>(n_Added);
                    break;
                }
            }
        }
    }

    std::vector<st_Step>& co_Steps;
    const std::vector<st_KxfTag>& co_Orig;
    const std::vector<st_KxfTag>& co_Trans;
};
} // namespace

st_TagFinding CT_TagComparison::sco_Finding(et_FindingNumber eo_Number,
                                            const std::u16string& co_Detail, long i_Position,
                                            long i_AltPosition)
{
    st_TagFinding co_Finding;
    co_Finding.eo_Severity = eo_Number < 200 ? eo_Error : eo_Number < 300 ? eo_Warning : eo_Alert;
    co_Finding.i_Number = eo_Number;
    static const char16_t* const sqcuz_Words[] = {u"Error ", u"Warning ", u"Alert "};
    co_Finding.co_Text = sqcuz_Words[co_Finding.eo_Severity] + CT_TextFile::sco_Number(eo_Number) +
                         u": " + co_Detail;
    co_Finding.i_Position = i_Position;
    co_Finding.i_AltPosition = i_AltPosition;
    return co_Finding;
}

std::vector<st_TagFinding>
CT_TagComparison::sco_Compare(const std::vector<st_KxfTag>& co_Original, long i_OriginalLength,
                              const std::vector<st_KxfTag>& co_Translation)
{
    CT_Alignment co_Alignment(co_Original, co_Translation);
    if (!co_Alignment.b_Align())
        return {sco_Finding(eo_TooManyDifferences,
                            u"too many tag differences to compare in detail (" +
                                CT_TextFile::sco_Number(static_cast<long>(co_Original.size())) +
                                u" tags in the original, " +
                                CT_TextFile::sco_Number(static_cast<long>(co_Translation.size())) +
                                u" in the translation)",
                            -1, 0)};
    std::vector<st_Step>& co_Steps = co_Alignment.co_Steps;
    CT_Classifier(co_Steps, co_Original, co_Translation).v_Classify();

    std::vector<st_TagFinding> co_Findings;
    for (const st_Step& co_Step : co_Steps)
    {
        if (co_Step.eo_Kind == eo_OriginalOnly && co_Step.i_Partner < 0)
        {
            const st_KxfTag& co_Tag = co_Original[co_Step.n_Original];
            co_Findings.push_back(sco_Finding(eo_TagMissing,
                                              co_Tag.co_Source + u" is missing in the translation",
                                              -1, co_Tag.i_Position));
        }
        if (co_Step.eo_Kind != eo_TranslationOnly)
            continue;
        const st_KxfTag& co_Tag = co_Translation[co_Step.n_Translation];
        if (co_Step.i_Partner < 0)
        {
            const long i_Expected = co_Step.n_Original < co_Original.size()
                                        ? co_Original[co_Step.n_Original].i_Position
                                        : i_OriginalLength;
            co_Findings.push_back(sco_Finding(eo_TagExtra,
                                              co_Tag.co_Source + u" is not in the original",
                                              co_Tag.i_Position, i_Expected));
            continue;
        }
        const st_KxfTag& co_Was = co_Original[co_Steps[co_Step.i_Partner].n_Original];
        const std::u16string co_Detail =
            co_Step.eo_Pairing == eo_TagMoved
                ? co_Tag.co_Source + u" stands in another order than in the original"
                : co_Tag.co_Source + u" does not match " + co_Was.co_Source + u" of the original";
        co_Findings.push_back(
            sco_Finding(co_Step.eo_Pairing, co_Detail, co_Tag.i_Position, co_Was.i_Position));
    }
    return co_Findings;
}
