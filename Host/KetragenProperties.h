// CT_KetragenProperties: a sub-object of the stand-in verifier that holds numbered properties
// of one type: Paths (texts 1, the folder of the original, and 3, the folder of the translated
// file) and Reporting (flags 1 to the format's member count; a set flag suppresses the tags of
// that member). Property put coerces the value to the object's type; property get returns it.
// Owned by its verifier; used on the verifier's thread.
#pragma once

#include "ComObject.h"
#include "MarkpadHost_h.h"

#include <string>
#include <vector>

class CT_KetragenProperties : public CT_LateBoundObject
{
public:
    static CT_KetragenProperties* spco_NewPaths();
    static CT_KetragenProperties* spco_NewReporting(long i_MemberCount);

    // An empty text or a clear flag for a member never put.
    std::u16string co_GetText(DISPID i_Member) const;
    bool b_GetFlag(DISPID i_Member) const;

private:
    CT_KetragenProperties(VARTYPE n_ValueType, const std::vector<DISPID>& co_Members);
    ~CT_KetragenProperties() override;

    HRESULT hr_Invoke(DISPID i_Member, WORD n_Flags, DISPPARAMS& co_Params, VARIANT& co_Result,
                      UINT& n_ArgError) override;
    VARIANT* pco_Find(DISPID i_Member);
    const VARIANT* pcco_Find(DISPID i_Member) const;

    struct st_Property
    {
        DISPID i_Member;
        VARIANT co_Value;
    };
    const VARTYPE n_Type;
    std::vector<st_Property> co_Properties;
};
