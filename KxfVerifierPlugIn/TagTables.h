// The two process-wide tag-suppression tables, one per format variant (0: format F, any other
// value: format I). An entry's label is also its registry value name under REPORTING; its flag
// (1: the verifier must not report the tag) starts at the default and changes only by loading
// a settings store or through the settings page; its member is the identifier of the verifier's
// Reporting property that receives the flag. The table order is the order of the settings
// page's list and of the transfer to the verifier; the members do not follow it.
//
// Not locked: every user runs on the apartment thread of the plug-in and its page.
#pragma once

#include "Basis/Platform/Export.h"

struct st_TagEntry
{
    const char* qccz_Label;
    unsigned n_Flag;
    long i_Member;
};

class CT_EXPORT CT_TagTables
{
public:
    static constexpr unsigned sn_CountF = 45;
    static constexpr unsigned sn_CountI = 47;

    static st_TagEntry* pso_GetTable(int i_Variant);
    static unsigned sn_GetCount(int i_Variant) { return i_Variant == 0 ? sn_CountF : sn_CountI; }
};
