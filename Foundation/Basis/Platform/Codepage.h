// Code-page conversion through the operating system: MultiByteToWideChar and
// WideCharToMultiByte on Windows, ICU converters chosen by code-page number natively.
// Code page 0 is the system's ANSI code page (1252 natively).
#pragma once

class CT_PlatformCodepage
{
public:
    // Returns the units written, or 0 when nothing could be converted. n_Bytes of -1 converts up
    // to and including the terminator.
    static int si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                              char16_t* pu_Out, int n_OutUnits);
    // Returns the bytes written, or 0 when nothing could be converted. Units without a mapping
    // become pcc_Default's character ('?' when null); *pb_UsedDefault tells whether that happened.
    static int si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                              char* pc_Out, int n_OutBytes, const char* pcc_Default,
                              int* pb_UsedDefault);
};
