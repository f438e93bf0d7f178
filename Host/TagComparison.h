// CT_TagComparison: the check of the stand-in Ketragen verifier. It aligns the tags of the
// original with those of the translation so that the differences give the fewest findings
// (equal tags paired first, then tags of the same name) and turns each difference into a
// finding. Stateless; any thread.
#pragma once

#include "KxfTags.h"

#include <string>
#include <vector>

// Finding numbers; the hundreds give the severity (below 200 error, 2xx warning, 3xx alert).
enum et_FindingNumber
{
    eo_OriginalUnreadable = 1,
    eo_TranslationUnreadable = 2,
    eo_TagMissing = 101,
    eo_TagExtra = 102,
    eo_ArgumentsDiffer = 201,
    eo_TagMoved = 301,
    eo_TooManyDifferences = 302
};

enum et_Severity
{
    eo_Error,
    eo_Warning,
    eo_Alert
};

struct st_TagFinding
{
    et_Severity eo_Severity = eo_Error;
    long i_Number = 0;
    std::u16string co_Text;  // "Error 101: ...", "Warning 201: ...", "Alert 301: ..."
    long i_Position = -1;    // in the translation, from 0; -1 when the finding has none there
    long i_AltPosition = -1; // in the original, from 0; -1 when it has none there
};

class CT_TagComparison
{
public:
    // The findings in the order of the alignment. i_OriginalLength is where a tag that the
    // translation adds at its end would have stood in the original.
    static std::vector<st_TagFinding> sco_Compare(const std::vector<st_KxfTag>& co_Original,
                                                  long i_OriginalLength,
                                                  const std::vector<st_KxfTag>& co_Translation);

    // A finding with its text: the severity word and number of eo_Number, then the detail.
    static st_TagFinding sco_Finding(et_FindingNumber eo_Number, const std::u16string& co_Detail,
                                     long i_Position, long i_AltPosition);

    // Beyond this many cells (differing original tags times differing translated ones) the
    // alignment would take too much memory: the comparison then gives one alert.
    static constexpr unsigned long long sn8_MaxAlignmentCells = 4000000;
};
