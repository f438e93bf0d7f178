// CT_AppVersion: an application's version numbers and product names, and the version and
// edition texts made from them ("5.1.0.0 Beta", "Edition 0 Build 0"). The texts are rebuilt
// lazily on the first read after a number changed. Not synchronised: one thread at a time, the
// reads included, since a read may rebuild.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/String/UString.h"

class CT_EXPORT CT_AppVersion
{
public:
    CT_AppVersion();
    CT_AppVersion(const CT_AppVersion& co_Other);
    CT_AppVersion& operator=(const CT_AppVersion& co_Other);
    ~CT_AppVersion();

    void v_SetEdition(unsigned n_Value) { v_SetNumber(&n_Edition, n_Value); }
    void v_SetMajorVersion(unsigned n_Value) { v_SetNumber(&n_MajorVersion, n_Value); }
    void v_SetMinorVersion(unsigned n_Value) { v_SetNumber(&n_MinorVersion, n_Value); }
    void v_SetMaintenance(unsigned n_Value) { v_SetNumber(&n_Maintenance, n_Value); }
    void v_SetBuild(unsigned n_Value) { v_SetNumber(&n_Build, n_Value); }
    // 0 is a release; 1 to 6 add a text to the version (" Beta" ... " Preview"), others none.
    void v_SetBetaLevel(unsigned n_Level) { v_SetNumber(&n_BetaLevel, n_Level); }
    // Any non-zero value is level 1 (" Beta").
    void v_SetBeta(int b_Beta) { v_SetBetaLevel(b_Beta ? 1 : 0); }

    unsigned n_GetEdition() const { return n_Edition; }
    unsigned n_GetMajorVersion() const { return n_MajorVersion; }
    unsigned n_GetMinorVersion() const { return n_MinorVersion; }
    unsigned n_GetMaintenance() const { return n_Maintenance; }
    unsigned n_GetBuild() const { return n_Build; }
    unsigned n_GetBetaLevel() const { return n_BetaLevel; }
    int b_GetBeta() const { return n_BetaLevel != 0; }

    // The names do not enter the version texts.
    void v_SetShortProductName(const CT_UString* pcco_Name) { o_ShortProductName.v_Set(pcco_Name); }
    void v_SetLongProductName(const CT_UString* pcco_Name) { o_LongProductName.v_Set(pcco_Name); }
    const CT_UString* pcco_GetShortProductName() const { return &o_ShortProductName; }
    const CT_UString* pcco_GetLongProductName() const { return &o_LongProductName; }

    // "major.minor.maintenance.build" and the beta text.
    const CT_UString* pcco_GetProductVersion();
    // "Edition e Build b".
    const CT_UString* pcco_GetProductEdition();

protected:
    void v_Init();
    void v_Update();

private:
    void v_SetNumber(unsigned* pn_Member, unsigned n_Value)
    {
        *pn_Member = n_Value;
        b_Changed = 1;
    }

    int b_Changed;
    CT_UString o_ProductVersion;
    CT_UString o_ProductEdition;
    unsigned n_Edition;
    unsigned n_MajorVersion;
    unsigned n_MinorVersion;
    unsigned n_Maintenance;
    unsigned n_Build;
    unsigned n_BetaLevel;
    CT_UString o_ShortProductName;
    CT_UString o_LongProductName;
};
