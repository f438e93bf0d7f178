// CT_StringUnits: the unit-level work that CT_CString (T = char) and CT_UString (T = char16_t)
// share, on a buffer that holds units of T followed by one zero unit as CT_String describes.
// Positions, lengths and counts are in units. Writing operations make the block private first.
// Internal to the two string classes; arguments are their callers' duty.
#pragma once

#include "System/String/Buffer.h"

template <typename T>
class CT_StringUnits
{
public:
    static const T* sqct_Get(const CT_Buffer& co_Buffer);
    static unsigned sn_Length(const CT_Buffer& co_Buffer);
    static unsigned sn_MaximumLength(const CT_Buffer& co_Buffer);
    // First occurrence at or after n_Start; a zero unit is found at the terminator, an empty
    // text at n_Start.
    static unsigned sn_Find(const CT_Buffer& co_Buffer, T t_Char, unsigned n_Start);
    static unsigned sn_Find(const CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Length,
                            unsigned n_Start);
    // Unsigned units from n_Offset: with a count of CT_String::sn_All both texts to their
    // terminators (-1, 0 or 1), else at most n_Count units, stopping at a terminator (negative,
    // 0 or positive).
    static int si_Compare(const CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                          unsigned n_Offset);
    static int sb_Match(const CT_Buffer& co_Buffer, const T* pct_Pattern, unsigned n_Length);

    // Room for n_Length units and the terminator in a private block; the units stay.
    static T* spt_Reserve(CT_Buffer& co_Buffer, unsigned n_Length);
    static void sv_Terminate(CT_Buffer& co_Buffer, unsigned n_Length);
    static void sv_SetSize(CT_Buffer& co_Buffer, unsigned n_Length, int b_Keep);
    static void sv_SetLength(CT_Buffer& co_Buffer, unsigned n_Length);
    // A new block for n_Units units (at least the terminator's), holding the empty string.
    static void sv_NewBlock(CT_Buffer& co_Buffer, unsigned n_Units);
    static void sv_Fill(CT_Buffer& co_Buffer, T t_Char, unsigned n_Count, unsigned n_Position);
    static void sv_SetAt(CT_Buffer& co_Buffer, T t_Char, unsigned n_Position);
    static void sv_Remove(CT_Buffer& co_Buffer, unsigned n_Count, unsigned n_Position);
    static void sv_Update(CT_Buffer& co_Buffer);
    static void sv_Strip(CT_Buffer& co_Buffer, const T* pct_Set, unsigned n_Set);
    static void sv_StripLeft(CT_Buffer& co_Buffer);
    static void sv_StripRight(CT_Buffer& co_Buffer);
    static void sv_ToLower(CT_Buffer& co_Buffer);
    static void sv_ToUpper(CT_Buffer& co_Buffer);
    static void sv_Translate(CT_Buffer& co_Buffer, const T* pct_From, unsigned n_From,
                             const T* pct_To, unsigned n_To);
    // The first n_Position units followed by the text; a text inside the block itself is read
    // as it was before the call.
    static void sv_Replace(CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                           unsigned n_Position);
    static void sv_Insert(CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                          unsigned n_Position);
};
