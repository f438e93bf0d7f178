#include "System/String/StringConvert.h"

#include "Basis/Platform/Codepage.h"
#include "Basis/Runtime/Failure.h"
#include "System/String/UTF.h"

#include <cstring>
#include <string>

// The raw forms: below the string classes, whose forms on string objects are in
// StringConvertObjects.cpp.

namespace
{
const char sqccz_File[] = "Foundation\\System\\String\\StringConvert";
constexpr unsigned sn_WideToMultiLine = 198;
constexpr unsigned sn_WideToUTF7Line = 424;
constexpr unsigned sn_WideToUTF8Line = 569;

int i_Reported(int i_Result, unsigned n_Line)
{
    if (i_Result == 0)
        CT_Failure::sv_ReportSystemError(sqccz_File, n_Line);
    return i_Result;
}
} // namespace

int CT_StringConvert::si_Measured(const char* pcc_In, int i_Count)
{
    return i_Count < 0 ? static_cast<int>(std::strlen(pcc_In)) : i_Count;
}

int CT_StringConvert::si_Measured(const char16_t* pcu_In, int i_Count)
{
    return i_Count < 0 ? static_cast<int>(std::char_traits<char16_t>::length(pcu_In)) : i_Count;
}

// 8-bit to 16-bit.

int CT_StringConvert::si_MultiToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes,
                                     unsigned n_CodePage)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    if (i_Bytes < 0)
        i_Bytes = si_Measured(pcc_In, i_Bytes) + 1;
    if (n_CodePage == CT_Codepage::sn_UTF7)
        return si_UTF7ToWide(pu_Out, pcc_In, i_Bytes);
    if (n_CodePage == CT_Codepage::sn_UTF8)
        return si_UTF8ToWide(pu_Out, pcc_In, i_Bytes);
    int i_Units = CT_PlatformCodepage::si_MultiToWide(CT_Codepage::sn_ForPlatform(n_CodePage),
                                                      pcc_In, i_Bytes, pu_Out, i_Bytes);
    if (i_Units == 1 && pu_Out[0] == 0)
        pu_Out[0] = u'?';
    return i_Units;
}

int CT_StringConvert::si_MultiToWideANSI(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    return si_MultiToWide(pu_Out, pcc_In, i_Bytes, CT_Codepage::sn_ANSI);
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
        i_Units = si_Measured(pcu_In, i_Units) + 1;
    int i_Bytes = n_CodePage == CT_Codepage::sn_UTF7 ? si_WideToUTF7(pc_Out, pcu_In, i_Units)
                  : n_CodePage == CT_Codepage::sn_UTF8
                      ? si_WideToUTF8(pc_Out, pcu_In, i_Units)
                      : CT_PlatformCodepage::si_WideToMulti(CT_Codepage::sn_ForPlatform(n_CodePage),
                                                            pcu_In, i_Units, pc_Out, 2 * i_Units,
                                                            pcc_Default, pb_UsedDefault);
    return i_Reported(i_Bytes, sn_WideToMultiLine);
}

int CT_StringConvert::si_WideToMultiANSI(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    return si_WideToMulti(pc_Out, pcu_In, i_Units, CT_Codepage::sn_ANSI);
}

// Single characters. UTF-7 and UTF-8 go through the library's codecs, which answer the same on
// every build (the platform refuses its flags for UTF-7); a character that does not come out as
// exactly one unit or byte becomes '?'.

char16_t CT_StringConvert::sus_MultiToWide(char c_Char, unsigned n_CodePage)
{
    if (c_Char == 0)
        return 0;
    char16_t au[2] = {}; // UTF-7 decoding writes a terminator behind the unit
    int i_Units = CT_Codepage::sb_IsUTF(n_CodePage)
                      ? si_MultiToWide(au, &c_Char, 1, n_CodePage)
                      : CT_PlatformCodepage::si_MultiToWide(CT_Codepage::sn_ForPlatform(n_CodePage),
                                                            &c_Char, 1, au, 1);
    return i_Units == 1 ? au[0] : u'?';
}

char CT_StringConvert::sc_WideToMulti(char16_t u_Char, unsigned n_CodePage)
{
    if (u_Char == 0)
        return 0;
    char ac[sn_CharSize()] = {};
    int i_Bytes = CT_Codepage::sb_IsUTF(n_CodePage)
                      ? si_WideToMulti(ac, &u_Char, 1, n_CodePage)
                      : CT_PlatformCodepage::si_WideToMulti(CT_Codepage::sn_ForPlatform(n_CodePage),
                                                            &u_Char, 1, ac, 1, nullptr, nullptr);
    return i_Bytes == 1 ? ac[0] : '?';
}

// UTF-7.

int CT_StringConvert::si_UTF7ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    i_Bytes = si_Measured(pcc_In, i_Bytes);
    CT_UTF::sv_UTF7ToWideInit();
    int i_Units = CT_UTF::si_UTF7ToWide(pu_Out, pcc_In, i_Bytes);
    pu_Out[i_Units] = 0;
    return i_Units;
}

int CT_StringConvert::si_WideToUTF7(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    pc_Out[0] = 0;
    if (i_Units == 0)
        return 0;
    i_Units = si_Measured(pcu_In, i_Units);
    if (i_Units == 0)
        return 0; // an empty text measured to its terminator: nothing was expected
    CT_UTF::sv_WideToUTF7Init();
    int i_Bytes = CT_UTF::si_WideToUTF7(pc_Out, pcu_In, i_Units);
    i_Bytes += CT_UTF::si_WideToUTF7Exit(pc_Out + i_Bytes);
    return i_Reported(i_Bytes, sn_WideToUTF7Line);
}

// UTF-8.

int CT_StringConvert::si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Bytes)
{
    pu_Out[0] = 0;
    if (i_Bytes == 0)
        return 0;
    i_Bytes = si_Measured(pcc_In, i_Bytes);
    CT_UTF::sv_UTF8ToWideInit();
    return CT_UTF::si_UTF8ToWide(pu_Out, pcc_In, i_Bytes);
}

int CT_StringConvert::si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Units)
{
    pc_Out[0] = 0;
    if (i_Units == 0)
        return 0;
    i_Units = si_Measured(pcu_In, i_Units);
    return i_Reported(CT_UTF::si_WideToUTF8(pc_Out, pcu_In, i_Units), sn_WideToUTF8Line);
}
