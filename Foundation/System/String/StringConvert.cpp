#include "System/String/StringConvert.h"

#include "Basis/Platform/Codepage.h"
#include "Basis/Runtime/Failure.h"
#include "System/Charset/Codepage.h"
#include "System/String/CString.h"
#include "System/String/UString.h"
#include "System/String/UTF.h"

#include <cstring>
#include <string>

namespace
{
const char sqccz_File[] = "Foundation\\System\\String\\StringConvert";
constexpr unsigned sn_WideToMultiLine = 198;
constexpr unsigned sn_WideToUTF7Line = 424;
constexpr unsigned sn_WideToUTF8Line = 569;

constexpr unsigned sn_UTF7 = 65000;
constexpr unsigned sn_UTF8 = 65001;

int b_IsUTF(unsigned n_CodePage)
{
    return n_CodePage == sn_UTF7 || n_CodePage == sn_UTF8;
}

// What the platform is given: a code page it does not know becomes 0, the ANSI code page.
unsigned n_PlatformCodePage(unsigned n_CodePage)
{
    return CT_Codepage::sb_IsValidCodePage(n_CodePage) ? n_CodePage : 0;
}

int i_Measured(const char* pcc_In, int i_Count)
{
    return i_Count < 0 ? static_cast<int>(std::strlen(pcc_In)) : i_Count;
}

int i_Measured(const char16_t* pcu_In, int i_Count)
{
    return i_Count < 0 ? static_cast<int>(std::char_traits<char16_t>::length(pcu_In)) : i_Count;
}

int i_Reported(int i_Result, unsigned n_Line)
{
    if (i_Result == 0)
        CT_Failure::sv_ReportSystemError(sqccz_File, n_Line);
    return i_Result;
}

// The output string's block made private with room for n_Room units and the terminator; its
// old text is not kept. The conversion writes into it directly.
char* pt_Open(CT_CString* pco_Out, unsigned n_Room)
{
    pco_Out->vv_SetMinSize(n_Room, 0);
    pco_Out->vv_SetLength(n_Room);
    return const_cast<char*>(pco_Out->qccz_Get());
}

char16_t* pt_Open(CT_UString* pco_Out, unsigned n_Room)
{
    pco_Out->vv_SetMinSize(n_Room, 0);
    pco_Out->vv_SetLength(n_Room);
    return const_cast<char16_t*>(pco_Out->qcuz_Get());
}

// Converts into the output string by a raw form, sized once for the worst case, and ends the
// string behind the result.
template <typename T_String, typename Fn>
int i_IntoString(T_String* pco_Out, unsigned n_Room, Fn fn_Convert)
{
    int i_Result = fn_Convert(pt_Open(pco_Out, n_Room));
    pco_Out->vv_SetLength(static_cast<unsigned>(i_Result));
    return i_Result;
}

// Bytes of room, the terminator aside, that n units may take in the code page.
unsigned n_MultiRoom(int i_Units, unsigned n_CodePage)
{
    return CT_CString::sn_ConvertedSize(static_cast<unsigned>(i_Units), n_CodePage) - 1;
}

int i_Length(const CT_String* pcco_In)
{
    return static_cast<int>(pcco_In->vn_GetLength());
}
} // namespace

// 8-bit to 16-bit.

int CT_StringConvert::si_MultiToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes,
                                     unsigned n_CodePage)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    if (i_Bytes < 0)
        i_Bytes = i_Measured(pcc_In, i_Bytes) + 1;
    if (n_CodePage == sn_UTF7)
        return si_UTF7ToWide(pu_Out, pcc_In, i_Bytes);
    if (n_CodePage == sn_UTF8)
        return si_UTF8ToWide(pu_Out, pcc_In, i_Bytes);
    int i_Units = CT_PlatformCodepage::si_MultiToWide(n_PlatformCodePage(n_CodePage), pcc_In,
                                                      i_Bytes, pu_Out, i_Bytes);
    if (i_Units == 1 && pu_Out[0] == 0)
        pu_Out[0] = u'?';
    return i_Units;
}

int CT_StringConvert::si_MultiToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes,
                                     unsigned n_CodePage)
{
    i_Bytes = i_Measured(pcc_In, i_Bytes);
    return i_IntoString(pco_Out, i_Bytes,
                        [&](char16_t* pu)
                        { return si_MultiToWide(pu, pcc_In, i_Bytes, n_CodePage); });
}

int CT_StringConvert::si_MultiToWide(char16_t* pu_Out, const CT_CString* pcco_In,
                                     unsigned n_CodePage)
{
    return si_MultiToWide(pu_Out, pcco_In->qccz_Get(), i_Length(pcco_In) + 1, n_CodePage);
}

int CT_StringConvert::si_MultiToWide(CT_UString* pco_Out, const CT_CString* pcco_In,
                                     unsigned n_CodePage)
{
    return si_MultiToWide(pco_Out, pcco_In->qccz_Get(), i_Length(pcco_In), n_CodePage);
}

int CT_StringConvert::si_MultiToWideANSI(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    return si_MultiToWide(pu_Out, pcc_In, i_Bytes, 0);
}

int CT_StringConvert::si_MultiToWideANSI(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    return si_MultiToWide(pco_Out, pcc_In, i_Bytes, 0);
}

int CT_StringConvert::si_MultiToWideANSI(char16_t* pu_Out, const CT_CString* pcco_In)
{
    return si_MultiToWide(pu_Out, pcco_In, 0);
}

int CT_StringConvert::si_MultiToWideANSI(CT_UString* pco_Out, const CT_CString* pcco_In)
{
    return si_MultiToWide(pco_Out, pcco_In, 0);
}

// 16-bit to 8-bit.

int CT_StringConvert::si_WideToMulti(char* pc_Out, const char16_t* pcu_In, int i_Units,
                                     unsigned n_CodePage, const char* pcc_Default,
                                     int* pb_UsedDefault)
{
    pc_Out[0] = 0;
    if (i_Units == 0)
        return 0;
    if (i_Units < 0)
        i_Units = i_Measured(pcu_In, i_Units) + 1;
    int i_Bytes =
        n_CodePage == sn_UTF7 ? si_WideToUTF7(pc_Out, pcu_In, i_Units)
        : n_CodePage == sn_UTF8
            ? si_WideToUTF8(pc_Out, pcu_In, i_Units)
            : CT_PlatformCodepage::si_WideToMulti(n_PlatformCodePage(n_CodePage), pcu_In, i_Units,
                                                  pc_Out, 2 * i_Units, pcc_Default, pb_UsedDefault);
    return i_Reported(i_Bytes, sn_WideToMultiLine);
}

int CT_StringConvert::si_WideToMulti(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units,
                                     unsigned n_CodePage, const char* pcc_Default,
                                     int* pb_UsedDefault)
{
    i_Units = i_Measured(pcu_In, i_Units);
    return i_IntoString(
        pco_Out, n_MultiRoom(i_Units, n_CodePage),
        [&](char* pc)
        { return si_WideToMulti(pc, pcu_In, i_Units, n_CodePage, pcc_Default, pb_UsedDefault); });
}

int CT_StringConvert::si_WideToMulti(char* pc_Out, const CT_UString* pcco_In, unsigned n_CodePage,
                                     const char* pcc_Default, int* pb_UsedDefault)
{
    return si_WideToMulti(pc_Out, pcco_In->qcuz_Get(), i_Length(pcco_In) + 1, n_CodePage,
                          pcc_Default, pb_UsedDefault);
}

int CT_StringConvert::si_WideToMulti(CT_CString* pco_Out, const CT_UString* pcco_In,
                                     unsigned n_CodePage, const char* pcc_Default,
                                     int* pb_UsedDefault)
{
    return si_WideToMulti(pco_Out, pcco_In->qcuz_Get(), i_Length(pcco_In), n_CodePage, pcc_Default,
                          pb_UsedDefault);
}

int CT_StringConvert::si_WideToMultiANSI(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    return si_WideToMulti(pc_Out, pcu_In, i_Units, 0);
}

int CT_StringConvert::si_WideToMultiANSI(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    return si_WideToMulti(pco_Out, pcu_In, i_Units, 0);
}

int CT_StringConvert::si_WideToMultiANSI(char* pc_Out, const CT_UString* pcco_In)
{
    return si_WideToMulti(pc_Out, pcco_In, 0);
}

int CT_StringConvert::si_WideToMultiANSI(CT_CString* pco_Out, const CT_UString* pcco_In)
{
    return si_WideToMulti(pco_Out, pcco_In, 0);
}

// Single characters. UTF-7 and UTF-8 go through the library's codecs, which answer the same on
// every build (the platform refuses its flags for UTF-7); a character that does not come out as
// exactly one unit or byte becomes '?'.

char16_t CT_StringConvert::sus_MultiToWide(char c_Char, unsigned n_CodePage)
{
    if (c_Char == 0)
        return 0;
    char16_t au[2] = {}; // UTF-7 decoding writes a terminator behind the unit
    int i_Units = b_IsUTF(n_CodePage) ? si_MultiToWide(au, &c_Char, 1, n_CodePage)
                                      : CT_PlatformCodepage::si_MultiToWide(
                                            n_PlatformCodePage(n_CodePage), &c_Char, 1, au, 1);
    return i_Units == 1 ? au[0] : u'?';
}

char CT_StringConvert::sc_WideToMulti(char16_t u_Char, unsigned n_CodePage)
{
    if (u_Char == 0)
        return 0;
    char ac[CT_CString::sn_ConvertedSize(1, sn_UTF7)] = {};
    int i_Bytes = b_IsUTF(n_CodePage)
                      ? si_WideToMulti(ac, &u_Char, 1, n_CodePage)
                      : CT_PlatformCodepage::si_WideToMulti(n_PlatformCodePage(n_CodePage), &u_Char,
                                                            1, ac, 1, nullptr, nullptr);
    return i_Bytes == 1 ? ac[0] : '?';
}

// UTF-7.

int CT_StringConvert::si_UTF7ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    i_Bytes = i_Measured(pcc_In, i_Bytes);
    CT_UTF::sv_UTF7ToWideInit();
    int i_Units = CT_UTF::si_UTF7ToWide(pu_Out, pcc_In, i_Bytes);
    pu_Out[i_Units] = 0;
    return i_Units;
}

int CT_StringConvert::si_UTF7ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    i_Bytes = i_Measured(pcc_In, i_Bytes);
    return i_IntoString(pco_Out, i_Bytes,
                        [&](char16_t* pu) { return si_UTF7ToWide(pu, pcc_In, i_Bytes); });
}

int CT_StringConvert::si_UTF7ToWide(char16_t* pu_Out, const CT_CString* pcco_In)
{
    return si_UTF7ToWide(pu_Out, pcco_In->qccz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_UTF7ToWide(CT_UString* pco_Out, const CT_CString* pcco_In)
{
    return si_UTF7ToWide(pco_Out, pcco_In->qccz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_WideToUTF7(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    pc_Out[0] = 0;
    if (i_Units == 0)
        return 0;
    i_Units = i_Measured(pcu_In, i_Units);
    if (i_Units == 0)
        return 0; // an empty text measured to its terminator: nothing was expected
    CT_UTF::sv_WideToUTF7Init();
    int i_Bytes = CT_UTF::si_WideToUTF7(pc_Out, pcu_In, i_Units);
    i_Bytes += CT_UTF::si_WideToUTF7Exit(pc_Out + i_Bytes);
    return i_Reported(i_Bytes, sn_WideToUTF7Line);
}

int CT_StringConvert::si_WideToUTF7(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    i_Units = i_Measured(pcu_In, i_Units);
    return i_IntoString(pco_Out, n_MultiRoom(i_Units, sn_UTF7),
                        [&](char* pc) { return si_WideToUTF7(pc, pcu_In, i_Units); });
}

int CT_StringConvert::si_WideToUTF7(char* pc_Out, const CT_UString* pcco_In)
{
    return si_WideToUTF7(pc_Out, pcco_In->qcuz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_WideToUTF7(CT_CString* pco_Out, const CT_UString* pcco_In)
{
    return si_WideToUTF7(pco_Out, pcco_In->qcuz_Get(), i_Length(pcco_In));
}

// UTF-8.

int CT_StringConvert::si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    i_Bytes = i_Measured(pcc_In, i_Bytes);
    CT_UTF::sv_UTF8ToWideInit();
    return CT_UTF::si_UTF8ToWide(pu_Out, pcc_In, i_Bytes);
}

int CT_StringConvert::si_UTF8ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    i_Bytes = i_Measured(pcc_In, i_Bytes);
    return i_IntoString(pco_Out, i_Bytes,
                        [&](char16_t* pu) { return si_UTF8ToWide(pu, pcc_In, i_Bytes); });
}

int CT_StringConvert::si_UTF8ToWide(char16_t* pu_Out, const CT_CString* pcco_In)
{
    return si_UTF8ToWide(pu_Out, pcco_In->qccz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_UTF8ToWide(CT_UString* pco_Out, const CT_CString* pcco_In)
{
    return si_UTF8ToWide(pco_Out, pcco_In->qccz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    pc_Out[0] = 0;
    if (i_Units == 0)
        return 0;
    i_Units = i_Measured(pcu_In, i_Units);
    return i_Reported(CT_UTF::si_WideToUTF8(pc_Out, pcu_In, i_Units), sn_WideToUTF8Line);
}

int CT_StringConvert::si_WideToUTF8(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    i_Units = i_Measured(pcu_In, i_Units);
    return i_IntoString(pco_Out, n_MultiRoom(i_Units, sn_UTF8),
                        [&](char* pc) { return si_WideToUTF8(pc, pcu_In, i_Units); });
}

int CT_StringConvert::si_WideToUTF8(char* pc_Out, const CT_UString* pcco_In)
{
    return si_WideToUTF8(pc_Out, pcco_In->qcuz_Get(), i_Length(pcco_In));
}

int CT_StringConvert::si_WideToUTF8(CT_CString* pco_Out, const CT_UString* pcco_In)
{
    return si_WideToUTF8(pco_Out, pcco_In->qcuz_Get(), i_Length(pcco_In));
}
