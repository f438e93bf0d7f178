// Code-page conversion and information through the operating system: MultiByteToWideChar,
// WideCharToMultiByte, IsValidCodePage, GetCPInfo, IsDBCSLeadByteEx, GetACP and GetOEMCP on
// Windows. Natively the same answers, byte for byte, come from tables recorded under Windows for
// the code pages the library names (CT_CodepageTable), and from ICU for the other code pages
// (CT_IcuCodepage). Code page 0 is the ANSI code page and 1 the OEM code page (1252 and 437
// natively). Any thread may call any member.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_PlatformCodepage
{
public:
    // Returns the units written, or 0 when nothing could be converted. n_Bytes of -1 converts up
    // to and including the terminator; n_OutUnits of 0 only counts the units.
    static int si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                              char16_t* pu_Out, int n_OutUnits);
    // Returns the bytes written, or 0 when nothing could be converted. Units without a mapping
    // become pcc_Default's character (one or, in a double-byte code page, two bytes; the code
    // page's own when null); *pb_UsedDefault tells whether that happened. UTF-7 and UTF-8 take
    // neither. n_OutBytes of 0 only counts the bytes.
    static int si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                              char* pc_Out, int n_OutBytes, const char* pcc_Default,
                              int* pb_UsedDefault);
    // Why the last failed call of this thread failed, as a Windows error code.
    static unsigned sn_GetLastError();
    static constexpr unsigned sn_ErrorInvalidParameter = 87; // an unknown code page too
    static constexpr unsigned sn_ErrorInsufficientBuffer = 122;
    static constexpr unsigned sn_ErrorNoUnicodeTranslation = 1113;
    // The markers 0 to 3 are not code pages here.
    static int sb_IsValidCodePage(unsigned n_CodePage);
    // The longest character in bytes, the default character (2 bytes, the second 0 unless it is
    // a double-byte character) and up to six lead-byte ranges as first and last byte, ended by
    // a zero pair (12 bytes). False for an unknown code page.
    static int sb_GetCPInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                            unsigned char* pac_DefaultChar, unsigned char* pac_LeadBytes);
    // The byte lies in one of the code page's lead-byte ranges; false for an unknown code page.
    static int sb_IsDBCSLeadByte(unsigned n_CodePage, unsigned char c_Byte);
    // The system's ANSI and OEM code pages, for which the markers 0 and 1 stand.
    static unsigned sn_GetACP();
    static unsigned sn_GetOEMCP();
};
