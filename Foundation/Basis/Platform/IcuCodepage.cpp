#include "Basis/Platform/IcuCodepage.h"

#include "Basis/Platform/Codepage.h"
#include "System/Charset/Codepage.h"

#include <unicode/ucnv.h>

#include <cstddef>
#include <map>
#include <string>

namespace
{
// ICU converters for the code pages without a table, opened once per thread since a converter
// keeps state. A null entry remembers that ICU has no usable converter.
class CT_IcuConverters
{
public:
    CT_IcuConverters() = default;
    CT_IcuConverters(const CT_IcuConverters&) = delete;
    CT_IcuConverters& operator=(const CT_IcuConverters&) = delete;
    ~CT_IcuConverters()
    {
        for (auto& [n_CodePage, pso] : co_Open)
            if (pso)
                ucnv_close(pso);
    }

    UConverter* pso_Get(unsigned n_CodePage)
    {
        auto it = co_Open.find(n_CodePage);
        return it != co_Open.end() ? it->second : co_Open[n_CodePage] = pso_Open(n_CodePage);
    }

private:
    // Windows offers no UTF-16 or UTF-32 code page to these conversions, so converters whose
    // characters take at least two bytes do not count.
    static UConverter* pso_Open(unsigned n_CodePage)
    {
        UErrorCode e = U_ZERO_ERROR;
        std::string o_Name = "windows-" + std::to_string(n_CodePage);
        UConverter* pso = ucnv_open(o_Name.c_str(), &e);
        if (U_SUCCESS(e) && ucnv_getMinCharSize(pso) == 1)
            return pso;
        if (pso)
            ucnv_close(pso);
        return nullptr;
    }

    std::map<unsigned, UConverter*> co_Open;
};

UConverter* pso_Icu(unsigned n_CodePage)
{
    thread_local CT_IcuConverters tco_Converters;
    return tco_Converters.pso_Get(n_CodePage);
}

int i_IcuResult(UErrorCode e, std::ptrdiff_t n_Written)
{
    if (U_SUCCESS(e))
        return static_cast<int>(n_Written);
    return -static_cast<int>(e == U_BUFFER_OVERFLOW_ERROR
                                 ? CT_PlatformCodepage::sn_ErrorInsufficientBuffer
                                 : CT_PlatformCodepage::sn_ErrorNoUnicodeTranslation);
}

constexpr int si_Unknown = -static_cast<int>(CT_PlatformCodepage::sn_ErrorInvalidParameter);

// Counts the output (n_Out of 0) or converts into pt_Out, by the conversion that e belongs to.
template <typename T, typename TCount, typename TConvert>
int i_CountOrConvert(T* pt_Out, int n_Out, const UErrorCode& e, TCount fn_Count,
                     TConvert fn_Convert)
{
    if (!n_Out)
    {
        const int n = fn_Count();
        // Counting reports the output too large for no room.
        return i_IcuResult(e == U_BUFFER_OVERFLOW_ERROR ? U_ZERO_ERROR : e, n);
    }
    T* pt = pt_Out;
    fn_Convert(&pt, pt_Out + n_Out);
    return i_IcuResult(e, pt - pt_Out);
}

// ICU's substitution, noting that it happened.
void v_SubstituteNoting(const void* pv_Used, UConverterFromUnicodeArgs* pso_Args,
                        const UChar* pu_Units, int32_t n_Units, UChar32 u_Char,
                        UConverterCallbackReason e_Reason, UErrorCode* pe)
{
    if (e_Reason <= UCNV_IRREGULAR)
        *static_cast<int*>(const_cast<void*>(pv_Used)) = 1;
    UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, pso_Args, pu_Units, n_Units, u_Char, e_Reason, pe);
}

// Lead-byte ranges from ICU's list of lead bytes, as many as the 12 bytes hold with their zero
// pair.
void v_IcuLeadBytes(UConverter* pso, unsigned char* pac_LeadBytes)
{
    UBool ab_Lead[256];
    UErrorCode e = U_ZERO_ERROR;
    ucnv_getStarters(pso, ab_Lead, &e);
    unsigned n_Pairs = 0;
    for (unsigned c = 1; U_SUCCESS(e) && c < 256 && n_Pairs < 5; ++c)
    {
        if (!ab_Lead[c])
            continue;
        pac_LeadBytes[2 * n_Pairs] = static_cast<unsigned char>(c);
        while (c + 1 < 256 && ab_Lead[c + 1])
            ++c;
        pac_LeadBytes[2 * n_Pairs++ + 1] = static_cast<unsigned char>(c);
    }
}

} // namespace

int CT_IcuCodepage::sb_IsKnown(unsigned n_CodePage)
{
    return pso_Icu(n_CodePage) ? 1 : 0;
}

int CT_IcuCodepage::si_Decode(unsigned n_CodePage, const char* pcc_In, int n_In, char16_t* pu_Out,
                              int n_Out)
{
    UConverter* pso = pso_Icu(n_CodePage);
    if (!pso)
        return si_Unknown;
    ucnv_resetToUnicode(pso);
    UErrorCode e = U_ZERO_ERROR;
    return i_CountOrConvert(
        pu_Out, n_Out, e, [&] { return ucnv_toUChars(pso, nullptr, 0, pcc_In, n_In, &e); },
        [&](char16_t** ppu, char16_t* pu_End)
        { ucnv_toUnicode(pso, ppu, pu_End, &pcc_In, pcc_In + n_In, nullptr, true, &e); });
}

int CT_IcuCodepage::si_Encode(unsigned n_CodePage, const char16_t* pu_In, int n_In, char* pc_Out,
                              int n_Out, const char* pcc_Default, int* pb_Used)
{
    UConverter* pso = pso_Icu(n_CodePage);
    if (!pso)
        return si_Unknown;
    ucnv_resetFromUnicode(pso);
    UErrorCode e = U_ZERO_ERROR;
    if (!CT_Codepage::sb_IsUTF(n_CodePage))
    {
        ucnv_setSubstChars(pso, pcc_Default ? pcc_Default : "?", 1, &e);
        ucnv_setFromUCallBack(pso, v_SubstituteNoting, pb_Used, nullptr, nullptr, &e);
    }
    return i_CountOrConvert(
        pc_Out, n_Out, e, [&] { return ucnv_fromUChars(pso, nullptr, 0, pu_In, n_In, &e); },
        [&](char** ppc, char* pc_End)
        { ucnv_fromUnicode(pso, ppc, pc_End, &pu_In, pu_In + n_In, nullptr, true, &e); });
}

int CT_IcuCodepage::sb_GetInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                               unsigned char* pac_LeadBytes)
{
    // Windows' answers for UTF-7 and UTF-8; ICU counts per UTF-16 unit.
    if (CT_Codepage::sb_IsUTF(n_CodePage))
    {
        *pn_MaxCharSize = n_CodePage == CT_Codepage::sn_UTF7 ? 5 : 4;
        return 1;
    }
    UConverter* pso = pso_Icu(n_CodePage);
    if (!pso)
        return 0;
    *pn_MaxCharSize = static_cast<unsigned>(ucnv_getMaxCharSize(pso));
    if (*pn_MaxCharSize > 1)
        v_IcuLeadBytes(pso, pac_LeadBytes);
    return 1;
}
