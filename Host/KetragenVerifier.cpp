#include "KetragenVerifier.h"

#include "MarkpadHost_h.h"
#include "TextFile.h"

#include <algorithm>
#include <iterator>

namespace
{
const DISPID si_Members[] = {
    KetragenPaths,           KetragenReporting,   KetragenLoadTranslatedFile,
    KetragenRunCheck,        KetragenNextFinding, KetragenFindingAltPosition,
    KetragenFindingPosition, KetragenFindingText, KetragenCountA,
    KetragenCountB,          KetragenCountC};

// Positions go out 1-based in 16 bits. 1 also stands for "no position in this document", so a
// finding at the very start of the translation is shown at its place in the original instead;
// positions beyond the 16-bit range are cut to its end.
short sn2_Position(long i_Position)
{
    return static_cast<short>(i_Position < 0 ? 1 : std::min(i_Position + 1, 32767L));
}

HRESULT hr_SetObject(IDispatch* pco_Object, VARIANT& co_Result)
{
    co_Result.vt = VT_DISPATCH;
    co_Result.pdispVal = pco_Object;
    pco_Object->AddRef();
    return S_OK;
}

HRESULT hr_SetBool(bool b_Value, VARIANT& co_Result)
{
    co_Result.vt = VT_BOOL;
    co_Result.boolVal = b_Value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT hr_SetShort(short sn2_Value, VARIANT& co_Result)
{
    co_Result.vt = VT_I2;
    co_Result.iVal = sn2_Value;
    return S_OK;
}

HRESULT hr_SetLong(long i_Value, VARIANT& co_Result)
{
    co_Result.vt = VT_I4;
    co_Result.lVal = i_Value;
    return S_OK;
}
} // namespace

HRESULT CT_KetragenVerifier::shr_CreateF(REFIID co_Iid, void** ppv_Object)
{
    return shr_Create(eo_FormatF, co_Iid, ppv_Object);
}

HRESULT CT_KetragenVerifier::shr_CreateI(REFIID co_Iid, void** ppv_Object)
{
    return shr_Create(eo_FormatI, co_Iid, ppv_Object);
}

HRESULT CT_KetragenVerifier::shr_Create(et_KxfFormat eo_TheFormat, REFIID co_Iid, void** ppv_Object)
{
    CT_HostRef<CT_KetragenVerifier> co_Verifier(new CT_KetragenVerifier(eo_TheFormat));
    return co_Verifier->QueryInterface(co_Iid, ppv_Object);
}

CT_KetragenVerifier::CT_KetragenVerifier(et_KxfFormat eo_TheFormat)
    : CT_LateBoundObject(&DIID_DKetragenVerifier), eo_Format(eo_TheFormat),
      pco_Paths(CT_KetragenProperties::spco_NewPaths()),
      pco_Reporting(
          CT_KetragenProperties::spco_NewReporting(CT_KxfTags::si_GetMemberCount(eo_TheFormat)))
{
}

CT_KetragenVerifier::~CT_KetragenVerifier()
{
    pco_Paths->Release();
    pco_Reporting->Release();
}

HRESULT CT_KetragenVerifier::hr_Invoke(DISPID i_Member, WORD n_Flags, DISPPARAMS& co_Params,
                                       VARIANT& co_Result, UINT& n_ArgError)
{
    if (std::find(std::begin(si_Members), std::end(si_Members), i_Member) == std::end(si_Members) ||
        !(n_Flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    if (co_Params.cArgs != (i_Member == KetragenLoadTranslatedFile ? 1u : 0u))
        return DISP_E_BADPARAMCOUNT;

    const st_TagFinding* pcco_Finding = pcco_Current();
    switch (i_Member)
    {
    case KetragenPaths:
        return hr_SetObject(pco_Paths, co_Result);
    case KetragenReporting:
        return hr_SetObject(pco_Reporting, co_Result);
    case KetragenLoadTranslatedFile:
    {
        VARIANT co_Path;
        const HRESULT hr_Result = shr_GetArgument(co_Params, 0, VT_BSTR, co_Path, n_ArgError);
        if (FAILED(hr_Result))
            return hr_Result;
        const bool b_Loaded = b_LoadTranslatedFile(CT_HostBstr::sco_Text(co_Path.bstrVal));
        VariantClear(&co_Path);
        return hr_SetBool(b_Loaded, co_Result);
    }
    case KetragenRunCheck:
        v_RunCheck();
        return S_OK;
    case KetragenNextFinding:
        n_Next = std::min(n_Next + 1, co_Findings.size() + 1);
        return hr_SetBool(pcco_Current() != nullptr, co_Result);
    case KetragenFindingAltPosition:
        return hr_SetShort(sn2_Position(pcco_Finding ? pcco_Finding->i_AltPosition : -1),
                           co_Result);
    case KetragenFindingPosition:
        return hr_SetShort(sn2_Position(pcco_Finding ? pcco_Finding->i_Position : -1), co_Result);
    case KetragenFindingText:
        co_Result.vt = VT_BSTR;
        return CT_HostBstr::shr_Return(pcco_Finding ? pcco_Finding->co_Text : std::u16string(),
                                       &co_Result.bstrVal);
    case KetragenCountA:
        return hr_SetLong(i_Count(eo_Error), co_Result);
    case KetragenCountB:
        return hr_SetLong(i_Count(eo_Warning), co_Result);
    default: // KetragenCountC
        return hr_SetLong(i_Count(eo_Alert), co_Result);
    }
}

bool CT_KetragenVerifier::b_LoadTranslatedFile(const std::u16string& co_Path)
{
    co_TranslatedPath = co_Path;
    co_TranslatedText.clear();
    b_TranslatedLoaded = CT_TextFile::sb_Read(co_Path, co_TranslatedText);
    return b_TranslatedLoaded;
}

void CT_KetragenVerifier::v_RunCheck()
{
    co_Findings.clear();
    n_Next = 0;
    const std::u16string co_OriginalPath =
        CT_TextFile::sco_Combine(pco_Paths->co_GetText(KetragenOriginalFolder),
                                 CT_TextFile::sco_FileName(co_TranslatedPath));
    std::u16string co_OriginalText;
    const bool b_OriginalRead = CT_TextFile::sb_Read(co_OriginalPath, co_OriginalText);
    if (!b_OriginalRead)
        co_Findings.push_back(CT_TagComparison::sco_Finding(
            eo_OriginalUnreadable, u"cannot read the original file " + co_OriginalPath, -1, 0));
    if (!b_TranslatedLoaded)
        co_Findings.push_back(CT_TagComparison::sco_Finding(
            eo_TranslationUnreadable, u"cannot read the translated file " + co_TranslatedPath, -1,
            0));
    if (b_OriginalRead && b_TranslatedLoaded)
        co_Findings = CT_TagComparison::sco_Compare(co_Reported(co_OriginalText),
                                                    static_cast<long>(co_OriginalText.size()),
                                                    co_Reported(co_TranslatedText));
}

std::vector<st_KxfTag> CT_KetragenVerifier::co_Reported(const std::u16string& co_Text) const
{
    std::vector<st_KxfTag> co_Tags = CT_KxfTags::sco_Scan(co_Text);
    std::erase_if(co_Tags,
                  [this](const st_KxfTag& co_Tag)
                  {
                      const long i_Member = CT_KxfTags::si_GetMember(eo_Format, co_Tag.co_Name);
                      return i_Member != 0 && pco_Reporting->b_GetFlag(i_Member);
                  });
    return co_Tags;
}

const st_TagFinding* CT_KetragenVerifier::pcco_Current() const
{
    return n_Next >= 1 && n_Next <= co_Findings.size() ? &co_Findings[n_Next - 1] : nullptr;
}

long CT_KetragenVerifier::i_Count(et_Severity eo_Severity) const
{
    return static_cast<long>(std::count_if(co_Findings.begin(), co_Findings.end(),
                                           [eo_Severity](const st_TagFinding& co_Finding)
                                           { return co_Finding.eo_Severity == eo_Severity; }));
}
