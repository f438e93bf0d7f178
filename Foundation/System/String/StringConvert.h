// CT_StringConvert: conversions between 8-bit text in a code page and 16-bit text.
//
// Code pages as CT_Codepage names them: UTF-7 and UTF-8 are coded by CT_UTF, every other
// number goes to the platform as CT_Codepage::sn_ForPlatform hands it. A count of -1 measures
// the input up to its terminator: the raw platform forms then convert and count the terminator
// too, the UTF forms and every form writing into a string object do not. Results are units or
// bytes written. Output sizes the caller provides for raw forms: one unit per byte for 16-bit
// output; for 8-bit output sn_ConvertedSize of the units (with 2 x units bytes for a platform
// code page when the count takes in the terminator). A conversion that yields nothing where
// something was expected is reported through the error manager and returns 0.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/Charset/Codepage.h"

class CT_CString;
class CT_UString;

class CT_EXPORT CT_StringConvert
{
public:
    // Bytes that n_Units units of 16-bit text may take in the code page, with the terminator:
    // two a unit through the platform, three a unit for UTF-8, and UTF-7's shift marks.
    static constexpr unsigned sn_ConvertedSize(unsigned n_Units, unsigned n_CodePage)
    {
        return n_CodePage == CT_Codepage::sn_UTF7   ? 3 * n_Units + 3
               : n_CodePage == CT_Codepage::sn_UTF8 ? 3 * n_Units + 1
                                                    : 2 * n_Units + 2;
    }
    // The most that one unit may take in any code page, with the terminator.
    static constexpr unsigned sn_CharSize() { return sn_ConvertedSize(1, CT_Codepage::sn_UTF7); }

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

private:
    // The count, or for -1 the length of the text up to its terminator.
    static int si_Measured(const char* pcc_In, int i_Count);
    static int si_Measured(const char16_t* pcu_In, int i_Count);
};
