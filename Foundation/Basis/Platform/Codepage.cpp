#include "Basis/Platform/Codepage.h"

#include "System/Charset/Codepage.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>

static_assert(CT_Codepage::sn_UTF7 == CP_UTF7 && CT_Codepage::sn_UTF8 == CP_UTF8);
static_assert(CT_PlatformCodepage::sn_ErrorInvalidParameter == ERROR_INVALID_PARAMETER &&
              CT_PlatformCodepage::sn_ErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER &&
              CT_PlatformCodepage::sn_ErrorNoUnicodeTranslation == ERROR_NO_UNICODE_TRANSLATION);

namespace
{
int si_SystemWideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units, char* pc_Out,
                         int n_OutBytes, const char* pcc_Default, int* pb_UsedDefault)
{
    return WideCharToMultiByte(n_CodePage, 0, reinterpret_cast<const wchar_t*>(pcu_In), n_Units,
                               pc_Out, n_OutBytes, pcc_Default, pb_UsedDefault);
}
} // namespace

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    return MultiByteToWideChar(n_CodePage, MB_PRECOMPOSED, pcc_In, n_Bytes,
                               reinterpret_cast<wchar_t*>(pu_Out), n_OutUnits);
}

unsigned CT_PlatformCodepage::sn_GetLastError()
{
    return GetLastError();
}

int CT_PlatformCodepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    return IsValidCodePage(n_CodePage) ? 1 : 0;
}

int CT_PlatformCodepage::sb_GetCPInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                      unsigned char* pac_DefaultChar, unsigned char* pac_LeadBytes)
{
    CPINFO so_Info;
    if (!GetCPInfo(n_CodePage, &so_Info))
        return 0;
    *pn_MaxCharSize = so_Info.MaxCharSize;
    std::memcpy(pac_DefaultChar, so_Info.DefaultChar, MAX_DEFAULTCHAR);
    std::memcpy(pac_LeadBytes, so_Info.LeadByte, MAX_LEADBYTES);
    return 1;
}

int CT_PlatformCodepage::sb_IsDBCSLeadByte(unsigned n_CodePage, unsigned char c_Byte)
{
    return IsDBCSLeadByteEx(n_CodePage, c_Byte) ? 1 : 0;
}

unsigned CT_PlatformCodepage::sn_GetACP()
{
    return GetACP();
}

unsigned CT_PlatformCodepage::sn_GetOEMCP()
{
    return GetOEMCP();
}

#else
#include "Basis/Platform/CodepageTable.h"
#include "Basis/Platform/IcuCodepage.h"

#include <cstring>
#include <iterator>
#include <string>

// Natively each call checks its arguments as Windows does, resolves the markers, and goes to the
// recorded table of the code page, or to ICU when there is none.
namespace
{
thread_local unsigned tn_LastError = 0;

int i_Fail(unsigned n_Error)
{
    tn_LastError = n_Error;
    return 0;
}

// A codec's result: a count, or minus the Windows error code of its failure.
int i_Result(int i_Count)
{
    return i_Count < 0 ? i_Fail(static_cast<unsigned>(-i_Count)) : i_Count;
}

// The code pages that the markers stand for: ANSI, OEM, Macintosh, thread ANSI.
constexpr unsigned san_Markers[] = {1252, 437, 10000, 1252};

unsigned n_Resolve(unsigned n_CodePage)
{
    return n_CodePage < std::size(san_Markers) ? san_Markers[n_CodePage] : n_CodePage;
}

int n_Length(const char* pcc)
{
    return static_cast<int>(std::strlen(pcc)) + 1;
}

int n_Length(const char16_t* pcu)
{
    return static_cast<int>(std::char_traits<char16_t>::length(pcu)) + 1;
}

// Windows' checks of the arguments of both directions.
bool b_Invalid(const void* pv_In, int n_In, const void* pv_Out, int n_Out)
{
    return !pv_In || !n_In || (!pv_Out && n_Out) || n_Out < 0;
}

int si_SystemWideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units, char* pc_Out,
                         int n_OutBytes, const char* pcc_Default, int* pb_UsedDefault)
{
    if (b_Invalid(pcu_In, n_Units, pc_Out, n_OutBytes))
        return i_Fail(CT_PlatformCodepage::sn_ErrorInvalidParameter);
    if (n_Units < 0)
        n_Units = n_Length(pcu_In);
    n_CodePage = n_Resolve(n_CodePage);
    int b_Unasked = 0; // the codecs note a default character in any case
    int* pb_Used = pb_UsedDefault ? pb_UsedDefault : &b_Unasked;
    const CT_CodepageTable* pcco = CT_CodepageTable::spcco_Get(n_CodePage);
    return i_Result(pcco
                        ? pcco->si_Encode(pcu_In, n_Units, pc_Out, n_OutBytes, pcc_Default, pb_Used)
                        : CT_IcuCodepage::si_Encode(n_CodePage, pcu_In, n_Units, pc_Out, n_OutBytes,
                                                    pcc_Default, pb_Used));
}
} // namespace

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    if (b_Invalid(pcc_In, n_Bytes, pu_Out, n_OutUnits))
        return i_Fail(sn_ErrorInvalidParameter);
    if (n_Bytes < 0)
        n_Bytes = n_Length(pcc_In);
    n_CodePage = n_Resolve(n_CodePage);
    const CT_CodepageTable* pcco = CT_CodepageTable::spcco_Get(n_CodePage);
    return i_Result(
        pcco ? pcco->si_Decode(reinterpret_cast<const unsigned char*>(pcc_In), n_Bytes, pu_Out,
                               n_OutUnits)
             : CT_IcuCodepage::si_Decode(n_CodePage, pcc_In, n_Bytes, pu_Out, n_OutUnits));
}

unsigned CT_PlatformCodepage::sn_GetLastError()
{
    return tn_LastError;
}

int CT_PlatformCodepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    unsigned n_MaxCharSize, n_Default;
    unsigned char ac_LeadBytes[12];
    return n_CodePage >= std::size(san_Markers) &&
                   (CT_CodepageTable::sb_GetInfo(n_CodePage, &n_MaxCharSize, &n_Default,
                                                 ac_LeadBytes) ||
                    CT_IcuCodepage::sb_IsKnown(n_CodePage))
               ? 1
               : 0;
}

int CT_PlatformCodepage::sb_GetCPInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                      unsigned char* pac_DefaultChar, unsigned char* pac_LeadBytes)
{
    n_CodePage = n_Resolve(n_CodePage);
    unsigned n_MaxCharSize = 0;
    unsigned char ac_LeadBytes[12] = {};
    // ICU's code pages get the default character of its conversions.
    unsigned n_Default = '?';
    if (!CT_CodepageTable::sb_GetInfo(n_CodePage, &n_MaxCharSize, &n_Default, ac_LeadBytes) &&
        !CT_IcuCodepage::sb_GetInfo(n_CodePage, &n_MaxCharSize, ac_LeadBytes))
        return 0;
    *pn_MaxCharSize = n_MaxCharSize;
    pac_DefaultChar[0] = static_cast<unsigned char>(n_Default > 0xFF ? n_Default >> 8 : n_Default);
    pac_DefaultChar[1] = static_cast<unsigned char>(n_Default > 0xFF ? n_Default : 0);
    std::memcpy(pac_LeadBytes, ac_LeadBytes, sizeof ac_LeadBytes);
    return 1;
}

int CT_PlatformCodepage::sb_IsDBCSLeadByte(unsigned n_CodePage, unsigned char c_Byte)
{
    unsigned n_MaxCharSize;
    unsigned char ac_Default[2], ac_LeadBytes[12];
    if (!sb_GetCPInfo(n_CodePage, &n_MaxCharSize, ac_Default, ac_LeadBytes))
        return 0;
    for (unsigned i = 0; i + 1 < sizeof ac_LeadBytes && (ac_LeadBytes[i] || ac_LeadBytes[i + 1]);
         i += 2)
        if (c_Byte >= ac_LeadBytes[i] && c_Byte <= ac_LeadBytes[i + 1])
            return 1;
    return 0;
}

unsigned CT_PlatformCodepage::sn_GetACP()
{
    return san_Markers[0];
}

unsigned CT_PlatformCodepage::sn_GetOEMCP()
{
    return san_Markers[1];
}
#endif

int CT_PlatformCodepage::si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                                        char* pc_Out, int n_OutBytes, const char* pcc_Default,
                                        int* pb_UsedDefault)
{
    // As on Windows, which refuses them, UTF-7 and UTF-8 take neither a default character nor the
    // flag. The flag is passed on only when asked for: Windows refuses it for some code pages.
    const bool b_Utf = CT_Codepage::sb_IsUTF(n_CodePage);
    int b_Used = 0;
    const int n = si_SystemWideToMulti(n_CodePage, pcu_In, n_Units, pc_Out, n_OutBytes,
                                       b_Utf ? nullptr : pcc_Default,
                                       b_Utf || !pb_UsedDefault ? nullptr : &b_Used);
    if (pb_UsedDefault && !b_Utf)
        *pb_UsedDefault = b_Used;
    return n;
}
