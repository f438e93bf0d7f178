// CT_StringConvert: conversions between 8-bit text in a code page and 16-bit text.
//
// Code page 0 is the system's ANSI code page, 65000 UTF-7 and 65001 UTF-8 (coded by CT_UTF);
// every other valid number goes to the platform, an invalid one becomes 0. A count of -1
// measures the input up to its terminator: the raw platform forms then convert and count the
// terminator too, the UTF forms and every form writing into a string object do not. Results are
// units or bytes written. Output sizes the caller provides for raw forms: one unit per byte for
// 16-bit output; 2 x units bytes for a platform code page, 3 x units + 3 for UTF-7, 3 x units + 1
// for UTF-8. A conversion that yields nothing where something was expected is reported through
// the error manager and returns 0.
#pragma once

#include "Basis/Platform/Export.h"

class CT_CString;
class CT_UString;

class CT_EXPORT CT_StringConvert
{
public:
    // 8-bit to 16-bit.
    static int si_MultiToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes,
                              unsigned n_CodePage);
    static int si_MultiToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes,
                              unsigned n_CodePage);
    static int si_MultiToWide(char16_t* pu_Out, const CT_CString* pcco_In, unsigned n_CodePage);
    static int si_MultiToWide(CT_UString* pco_Out, const CT_CString* pcco_In, unsigned n_CodePage);
    static int si_MultiToWideANSI(char16_t* pu_Out, const char* pcc_In, int i_Bytes);
    static int si_MultiToWideANSI(CT_UString* pco_Out, const char* pcc_In, int i_Bytes);
    static int si_MultiToWideANSI(char16_t* pu_Out, const CT_CString* pcco_In);
    static int si_MultiToWideANSI(CT_UString* pco_Out, const CT_CString* pcco_In);

    // 16-bit to 8-bit. The default character and the used-default flag reach the platform only.
    static int si_WideToMulti(char* pc_Out, const char16_t* pcu_In, int i_Units,
                              unsigned n_CodePage, const char* pcc_Default = nullptr,
                              int* pb_UsedDefault = nullptr);
    static int si_WideToMulti(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units,
                              unsigned n_CodePage, const char* pcc_Default = nullptr,
                              int* pb_UsedDefault = nullptr);
    static int si_WideToMulti(char* pc_Out, const CT_UString* pcco_In, unsigned n_CodePage,
                              const char* pcc_Default = nullptr, int* pb_UsedDefault = nullptr);
    static int si_WideToMulti(CT_CString* pco_Out, const CT_UString* pcco_In, unsigned n_CodePage,
                              const char* pcc_Default = nullptr, int* pb_UsedDefault = nullptr);
    static int si_WideToMultiANSI(char* pc_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToMultiANSI(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToMultiANSI(char* pc_Out, const CT_UString* pcco_In);
    static int si_WideToMultiANSI(CT_CString* pco_Out, const CT_UString* pcco_In);

    // One byte to one unit and one unit to one byte, through the platform.
    static char16_t sus_MultiToWide(char c_Char, unsigned n_CodePage);
    static char sc_WideToMulti(char16_t u_Char, unsigned n_CodePage);

    // The library's own codecs on whole texts: each resets its codec first and (UTF-7
    // encoding) closes the last run. The UTF-8 decoder writes no terminator; the others do.
    static int si_UTF7ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes);
    static int si_UTF7ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes);
    static int si_UTF7ToWide(char16_t* pu_Out, const CT_CString* pcco_In);
    static int si_UTF7ToWide(CT_UString* pco_Out, const CT_CString* pcco_In);
    static int si_WideToUTF7(char* pc_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToUTF7(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToUTF7(char* pc_Out, const CT_UString* pcco_In);
    static int si_WideToUTF7(CT_CString* pco_Out, const CT_UString* pcco_In);
    static int si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes);
    static int si_UTF8ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes);
    static int si_UTF8ToWide(char16_t* pu_Out, const CT_CString* pcco_In);
    static int si_UTF8ToWide(CT_UString* pco_Out, const CT_CString* pcco_In);
    static int si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToUTF8(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units);
    static int si_WideToUTF8(char* pc_Out, const CT_UString* pcco_In);
    static int si_WideToUTF8(CT_CString* pco_Out, const CT_UString* pcco_In);
};
