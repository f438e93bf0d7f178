#include "Basis/Runtime/AppVersion.h"

#include <iterator>

namespace
{
// What each beta level adds to the version text; other levels add nothing.
const char16_t* const saqcuz_BetaTexts[] = {u"",     u" Beta", u" Pre-Release", u" RC1",
                                            u" RC2", u" RC",   u" Preview"};

const char16_t* qcuz_BetaText(unsigned n_Level)
{
    return n_Level < std::size(saqcuz_BetaTexts) ? saqcuz_BetaTexts[n_Level] : u"";
}
} // namespace

CT_AppVersion::CT_AppVersion()
{
    v_Init();
}

CT_AppVersion::CT_AppVersion(const CT_AppVersion& co_Other) = default;
CT_AppVersion& CT_AppVersion::operator=(const CT_AppVersion& co_Other) = default;
CT_AppVersion::~CT_AppVersion() = default;

void CT_AppVersion::v_Init()
{
    b_Changed = 1;
    n_Edition = 0;
    n_MajorVersion = 5;
    n_MinorVersion = 1;
    n_Maintenance = 0;
    n_Build = 0;
    n_BetaLevel = 0;
}

const CT_UString* CT_AppVersion::pcco_GetProductVersion()
{
    if (b_Changed)
        v_Update();
    return &o_ProductVersion;
}

const CT_UString* CT_AppVersion::pcco_GetProductEdition()
{
    if (b_Changed)
        v_Update();
    return &o_ProductEdition;
}

// The numbers are unsigned: a version part above 2^31 stays a positive number.
void CT_AppVersion::v_Update()
{
    o_ProductVersion.v_Format(u"%u.%u.%u.%u%s%s", n_MajorVersion, n_MinorVersion, n_Maintenance,
                              n_Build, qcuz_BetaText(n_BetaLevel), u"");
    o_ProductEdition.v_Format(u"Edition %u Build %u", n_Edition, n_Build);
    b_Changed = 0;
}
