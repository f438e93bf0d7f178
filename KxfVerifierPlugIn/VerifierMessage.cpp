#include "VerifierMessage.h"

#include "MarkpadHost_h.h"
#include "OutsideComponent.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <climits>
#include <cstdlib>

namespace
{
// The words in the order they are tested; each ends in its blank.
const struct
{
    const char16_t* qcuz_Word;
    int i_Severity;
} aso_Words[] = {
    {u"Warning ", CT_VerifierMessage::eo_Warning},
    {u"Alert ", CT_VerifierMessage::eo_Alert},
    {u"Error ", CT_VerifierMessage::eo_Error},
};

// The finding text is read in this code page for the number.
constexpr unsigned n_NumberCodePage = 1252;
// The document indicator: where the position points.
constexpr long i_InTranslation = 2;
constexpr long i_InOriginal = 1;
} // namespace

int CT_VerifierMessage::si_GetSeverity(const CT_UString& co_Text)
{
    for (const auto& co_Word : aso_Words)
    {
        CT_UString co_Search(co_Word.qcuz_Word, CT_String::sn_All);
        if (co_Text.vn_Find(&co_Search, 0) != CT_String::sn_NotFound)
            return co_Word.i_Severity;
    }
    return eo_None;
}

int CT_VerifierMessage::si_GetNumber(const CT_UString& co_Text)
{
    CT_CString co_Narrow(co_Text.qcuz_Get(), co_Text.n_GetLength(), n_NumberCodePage);
    for (const auto& co_Word : aso_Words)
    {
        CT_CString co_Search(co_Word.qcuz_Word, CT_String::sn_All, n_NumberCodePage);
        unsigned n_Found = co_Narrow.vn_Find(&co_Search, 0);
        if (n_Found == CT_String::sn_NotFound)
            continue;
        // strtoll, then held to 32 bits: strtol's own range is 64 bits on some platforms.
        long long i_Number =
            std::strtoll(co_Narrow.qccz_Get() + n_Found + co_Search.n_GetLength(), nullptr, 10);
        if (i_Number > INT_MAX)
            return INT_MAX;
        if (i_Number < INT_MIN)
            return INT_MIN;
        return static_cast<int>(i_Number);
    }
    return 0;
}

// FindingPosition less 1 points into the translation; when that gives 0 the alternative
// position, less 1, points into the original.
HRESULT CT_VerifierMessage::shr_GetPosition(IDispatch* pco_Verifier, long* pi_Position,
                                            long* pi_Indicator)
{
    CT_Variant co_Value;
    HRESULT hr_Result =
        CT_OutsideComponent::shr_Call(pco_Verifier, KetragenFindingPosition, VT_I2, &co_Value);
    if (FAILED(hr_Result))
        return hr_Result;
    *pi_Position = long{V_I2(co_Value.pso_Get())} - 1;
    *pi_Indicator = i_InTranslation;
    if (*pi_Position != 0)
        return S_OK;
    hr_Result =
        CT_OutsideComponent::shr_Call(pco_Verifier, KetragenFindingAltPosition, VT_I2, &co_Value);
    if (FAILED(hr_Result))
        return hr_Result;
    *pi_Position = long{V_I2(co_Value.pso_Get())} - 1;
    *pi_Indicator = i_InOriginal;
    return S_OK;
}

HRESULT CT_VerifierMessage::shr_AddFinding(IDispatch* pco_Verifier, IHostDocument* pco_Document,
                                           IVerifierMessages* pco_Messages)
{
    long i_Position = 0;
    long i_Indicator = 0;
    HRESULT hr_Result = shr_GetPosition(pco_Verifier, &i_Position, &i_Indicator);
    CT_Variant co_Text;
    if (SUCCEEDED(hr_Result))
        hr_Result =
            CT_OutsideComponent::shr_Call(pco_Verifier, KetragenFindingText, VT_BSTR, &co_Text);
    CT_Bstr co_Name;
    if (SUCCEEDED(hr_Result))
        hr_Result = pco_Document->GetName(co_Name.pbstr_Put());
    CT_Bstr co_Empty;
    if (SUCCEEDED(hr_Result))
        hr_Result = co_Empty.hr_Attach(SysAllocString(L""));
    if (FAILED(hr_Result))
        return hr_Result;

    BSTR bstr_Text = V_BSTR(co_Text.pso_Get());
    CT_UString co_Finding(reinterpret_cast<const char16_t*>(bstr_Text), SysStringLen(bstr_Text));
    int i_Number = si_GetNumber(co_Finding);
    int i_Severity = si_GetSeverity(co_Finding);
    CT_ComPtr<IDispatch> co_Message;
    return pco_Messages->Add(bstr_Text, co_Empty.bstr_Get(), i_Severity, i_Number,
                             co_Name.bstr_Get(), i_Position, 1, i_Position, 1, i_Indicator, 0,
                             co_Message.ppco_Put());
}
