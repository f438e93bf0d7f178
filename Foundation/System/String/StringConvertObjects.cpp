// The forms of CT_StringConvert that read from or write into string objects, above the string
// classes; each measures, sizes the output once for the worst case and calls a raw form.
#include "System/String/StringConvert.h"

#include "System/String/CString.h"
#include "System/String/UString.h"

namespace
{
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
    return CT_StringConvert::sn_ConvertedSize(static_cast<unsigned>(i_Units), n_CodePage) - 1;
}

int i_Length(const CT_String* pcco_In)
{
    return static_cast<int>(pcco_In->vn_GetLength());
}
} // namespace

// 8-bit to 16-bit.

int CT_StringConvert::si_MultiToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes,
                                     unsigned n_CodePage)
{
    i_Bytes = si_Measured(pcc_In, i_Bytes);
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

int CT_StringConvert::si_MultiToWideANSI(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    return si_MultiToWide(pco_Out, pcc_In, i_Bytes, CT_Codepage::sn_ANSI);
}

int CT_StringConvert::si_MultiToWideANSI(char16_t* pu_Out, const CT_CString* pcco_In)
{
    return si_MultiToWide(pu_Out, pcco_In, CT_Codepage::sn_ANSI);
}

int CT_StringConvert::si_MultiToWideANSI(CT_UString* pco_Out, const CT_CString* pcco_In)
{
    return si_MultiToWide(pco_Out, pcco_In, CT_Codepage::sn_ANSI);
}

// 16-bit to 8-bit.

int CT_StringConvert::si_WideToMulti(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units,
                                     unsigned n_CodePage, const char* pcc_Default,
                                     int* pb_UsedDefault)
{
    i_Units = si_Measured(pcu_In, i_Units);
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

int CT_StringConvert::si_WideToMultiANSI(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    return si_WideToMulti(pco_Out, pcu_In, i_Units, CT_Codepage::sn_ANSI);
}

int CT_StringConvert::si_WideToMultiANSI(char* pc_Out, const CT_UString* pcco_In)
{
    return si_WideToMulti(pc_Out, pcco_In, CT_Codepage::sn_ANSI);
}

int CT_StringConvert::si_WideToMultiANSI(CT_CString* pco_Out, const CT_UString* pcco_In)
{
    return si_WideToMulti(pco_Out, pcco_In, CT_Codepage::sn_ANSI);
}

// UTF-7.

int CT_StringConvert::si_UTF7ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    i_Bytes = si_Measured(pcc_In, i_Bytes);
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

int CT_StringConvert::si_WideToUTF7(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    i_Units = si_Measured(pcu_In, i_Units);
    return i_IntoString(pco_Out, n_MultiRoom(i_Units, CT_Codepage::sn_UTF7),
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

int CT_StringConvert::si_UTF8ToWide(CT_UString* pco_Out, const char* pcc_In, int i_Bytes)
{
    i_Bytes = si_Measured(pcc_In, i_Bytes);
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

int CT_StringConvert::si_WideToUTF8(CT_CString* pco_Out, const char16_t* pcu_In, int i_Units)
{
    i_Units = si_Measured(pcu_In, i_Units);
    return i_IntoString(pco_Out, n_MultiRoom(i_Units, CT_Codepage::sn_UTF8),
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
