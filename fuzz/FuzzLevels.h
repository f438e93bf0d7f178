// Every fuzz target runs each input at every level of instruction sets that the processor has.
#pragma once

#include "Basis/Platform/VectorLevel.h"

// Calls fn_Run with the codecs' dispatch points forced to each level in turn, then leaves them at
// the processor's highest.
template <typename TRun>
void v_AtEachLevel(TRun&& fn_Run)
{
    for (int i = 0; i <= CT_VectorLevel::seo_Supported(); ++i)
    {
        CT_VectorLevel::seo_Choose(static_cast<CT_VectorLevel::et_Level>(i));
        fn_Run();
    }
    CT_VectorLevel::seo_Choose(CT_VectorLevel::e_Levels);
}
