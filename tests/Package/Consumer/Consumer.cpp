// Converts a text through both string classes and the error manager's table: the library's
// start-up ran in this process, its exports link, and its answers are the library's own.
#include "Basis/Runtime/ErrorManager.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <cstdio>
#include <cstring>

int main()
{
    const CT_UString co_Wide(u"caf\u00E9 \u20AC", CT_String::sn_All);
    const CT_CString co_Narrow(&co_Wide, 1252);
    const bool b_Converted = std::strcmp(co_Narrow.qccz_Get(), "caf\xE9 \x80") == 0;
    const bool b_Described = std::strcmp(CT_ErrorManager::sqccz_GetHRESULTDescription(E_FAIL),
                                         "E_FAIL (Unspecified error)") == 0;
    const bool b_Running = CT_ErrorManager::spco_Get() != nullptr;
    std::printf("converted %d, described %d, running %d\n", b_Converted, b_Described, b_Running);
    return b_Converted && b_Described && b_Running ? 0 : 1;
}
