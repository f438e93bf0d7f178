// CT_IcuCodepage: the native conversions of the code pages without a recorded table, through
// ICU's converter named "windows-" and the number, in the terms of MultiByteToWideChar,
// WideCharToMultiByte and GetCPInfo. Internal to the native code-page service of
// CT_PlatformCodepage, which checks the arguments and resolves the markers 0 to 3 first.
//
// A converter keeps state, so each thread opens its own, once per code page, and closes them
// when it ends. Code pages whose characters take two bytes or more (UTF-16, UTF-32) do not
// count, since Windows offers none of them to these conversions.
#pragma once

class CT_IcuCodepage
{
public:
    static int sb_IsKnown(unsigned n_CodePage);
    // n_In > 0; n_Out of 0 counts. They return the units or bytes, or minus Windows' error code.
    // UTF-7 and UTF-8 keep ICU's substitution (U+FFFD, as Windows); the other code pages take
    // pcc_Default's first byte, '?' when null, and set *pb_Used when they do.
    static int si_Decode(unsigned n_CodePage, const char* pcc_In, int n_In, char16_t* pu_Out,
                         int n_Out);
    static int si_Encode(unsigned n_CodePage, const char16_t* pu_In, int n_In, char* pc_Out,
                         int n_Out, const char* pcc_Default, int* pb_Used);
    // The longest character and up to five lead-byte ranges with their zero pair (12 bytes,
    // which the caller has zeroed); for UTF-7 and UTF-8 Windows' answers. False when unknown.
    static int sb_GetInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                          unsigned char* pac_LeadBytes);
};
