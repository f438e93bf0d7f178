#include "Basis/Platform/Codepage.h"

#if defined(_WIN32)
#include <windows.h>

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    return MultiByteToWideChar(n_CodePage, MB_PRECOMPOSED, pcc_In, n_Bytes,
                               reinterpret_cast<wchar_t*>(pu_Out), n_OutUnits);
}

int CT_PlatformCodepage::si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                                        char* pc_Out, int n_OutBytes, const char* pcc_Default,
                                        int* pb_UsedDefault)
{
    BOOL b_Used = FALSE;
    // UTF-7 and UTF-8 accept neither a default character nor the flag.
    bool b_Utf = n_CodePage == CP_UTF7 || n_CodePage == CP_UTF8;
    int n = WideCharToMultiByte(n_CodePage, 0, reinterpret_cast<const wchar_t*>(pcu_In), n_Units,
                                pc_Out, n_OutBytes, b_Utf ? nullptr : pcc_Default,
                                b_Utf || !pb_UsedDefault ? nullptr : &b_Used);
    if (pb_UsedDefault && !b_Utf)
        *pb_UsedDefault = b_Used;
    return n;
}

#else
#include <unicode/ucnv.h>

#include <cstring>
#include <string>

namespace
{
constexpr unsigned sn_AnsiCodePage = 1252;

std::string o_IcuName(unsigned n_CodePage)
{
    switch (n_CodePage)
    {
    case 0:
        return "windows-" + std::to_string(sn_AnsiCodePage);
    case 65000:
        return "UTF-7";
    case 65001:
        return "UTF-8";
    default:
        return "windows-" + std::to_string(n_CodePage);
    }
}

// One converter per call: converters are not thread-safe and this path is not hot yet.
class CT_Converter
{
public:
    explicit CT_Converter(unsigned n_CodePage)
    {
        UErrorCode e = U_ZERO_ERROR;
        pso_Converter = ucnv_open(o_IcuName(n_CodePage).c_str(), &e);
        if (U_FAILURE(e))
            pso_Converter = nullptr;
    }
    ~CT_Converter()
    {
        if (pso_Converter)
            ucnv_close(pso_Converter);
    }
    CT_Converter(const CT_Converter&) = delete;
    CT_Converter& operator=(const CT_Converter&) = delete;
    UConverter* pso_Get() const { return pso_Converter; }

private:
    UConverter* pso_Converter;
};

int n_Measure(const char* pcc, int n)
{
    return n < 0 ? static_cast<int>(std::strlen(pcc)) + 1 : n;
}

int n_Measure(const char16_t* pcu, int n)
{
    if (n >= 0)
        return n;
    int i = 0;
    while (pcu[i])
        ++i;
    return i + 1;
}
} // namespace

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    CT_Converter co(n_CodePage);
    n_Bytes = n_Measure(pcc_In, n_Bytes);
    if (!co.pso_Get() || n_Bytes == 0)
        return 0;
    UErrorCode e = U_ZERO_ERROR;
    int n = ucnv_toUChars(co.pso_Get(), pu_Out, n_OutUnits, pcc_In, n_Bytes, &e);
    return U_FAILURE(e) ? 0 : n;
}

int CT_PlatformCodepage::si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                                        char* pc_Out, int n_OutBytes, const char* pcc_Default,
                                        int* pb_UsedDefault)
{
    CT_Converter co(n_CodePage);
    n_Units = n_Measure(pcu_In, n_Units);
    if (!co.pso_Get() || n_Units == 0)
        return 0;
    UErrorCode e = U_ZERO_ERROR;
    const char* pcc_Subst = pcc_Default ? pcc_Default : "?";
    ucnv_setSubstChars(co.pso_Get(), pcc_Subst, 1, &e);
    int n = ucnv_fromUChars(co.pso_Get(), pc_Out, n_OutBytes, pcu_In, n_Units, &e);
    if (pb_UsedDefault)
        *pb_UsedDefault = 0; // ICU's converter does not tell whether it substituted
    return U_FAILURE(e) ? 0 : n;
}
#endif
