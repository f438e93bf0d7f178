#include "System/String/StringTools.h"

#include "System/Charset/CharMappings.h"
#include "System/String/Buffer.h"
#include "System/String/UString.h"

#include <cassert>
#include <string_view>

int CT_StringTools::si_CompareStrings(const char16_t* qcuz_A, const char16_t* qcuz_B,
                                      int b_CaseSensitive, unsigned n_Count, unsigned n_OffsetA,
                                      unsigned n_OffsetB)
{
    auto u_Take = [b_CaseSensitive](char16_t u)
    { return b_CaseSensitive ? u : CT_CharMappings::su_ToLower(u); };
    const char16_t* pcu_A = qcuz_A + n_OffsetA;
    const char16_t* pcu_B = qcuz_B + n_OffsetB;
    char16_t u_A = u_Take(*pcu_A);
    char16_t u_B = u_Take(*pcu_B);
    // The count is decremented before it is tested, so 0 wraps round to unlimited.
    while (--n_Count != 0 && u_A != 0 && u_A == u_B)
    {
        u_A = u_Take(*++pcu_A);
        u_B = u_Take(*++pcu_B);
    }
    return static_cast<int>(u_A) - static_cast<int>(u_B);
}

int CT_StringTools::si_CompareStrings(const char* qccz_A, const char* qccz_B, int b_CaseSensitive,
                                      unsigned n_Count, unsigned n_OffsetA, unsigned n_OffsetB)
{
    const CT_UString co_A(qccz_A, sn_Unlimited, 0);
    const CT_UString co_B(qccz_B, sn_Unlimited, 0);
    return si_CompareStrings(co_A.qcuz_Get(), co_B.qcuz_Get(), b_CaseSensitive, n_Count, n_OffsetA,
                             n_OffsetB);
}

int CT_StringTools::si_CompareStrings(const CT_String* pcco_A, const CT_String* pcco_B,
                                      int b_CaseSensitive, unsigned n_Count, unsigned n_OffsetA,
                                      unsigned n_OffsetB)
{
    const CT_UString co_A(pcco_A);
    const CT_UString co_B(pcco_B);
    return si_CompareStrings(co_A.qcuz_Get(), co_B.qcuz_Get(), b_CaseSensitive, n_Count, n_OffsetA,
                             n_OffsetB);
}

void CT_StringTools::sv_CheckOffset(const CT_UString* pcco_String, unsigned n_Start, int i_Step,
                                    unsigned* pn_End)
{
    if (i_Step == -1)
    {
        assert(n_Start < pcco_String->n_GetLength() && "a backward scan starts within the string");
        *pn_End = sn_NotFound;
    }
    else if (i_Step == 1)
    {
        assert(n_Start <= pcco_String->n_GetLength() && "a forward scan starts within the string");
        *pn_End = pcco_String->n_GetLength();
    }
    (void)n_Start;
}

unsigned CT_StringTools::sn_Find(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                                 unsigned n_Start, int i_Step, int b_InSet)
{
    unsigned n_End = n_Start;
    sv_CheckOffset(pcco_String, n_Start, i_Step, &n_End);
    const std::u16string_view s_Set = qcuz_Set ? qcuz_Set : u"";
    const char16_t* qcuz_Text = pcco_String->qcuz_Get();
    for (unsigned n = n_Start; n != n_End; n += static_cast<unsigned>(i_Step))
        if ((s_Set.find(qcuz_Text[n]) != s_Set.npos) == (b_InSet != 0))
            return n;
    return sn_NotFound;
}

unsigned CT_StringTools::sn_FindAny(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                                    unsigned n_Start, int i_Step)
{
    return sn_Find(qcuz_Set, pcco_String, n_Start, i_Step, 1);
}

unsigned CT_StringTools::sn_FindNot(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                                    unsigned n_Start, int i_Step)
{
    return sn_Find(qcuz_Set, pcco_String, n_Start, i_Step, 0);
}

unsigned CT_StringTools::sn_Replace(CT_String* pco_String, const CT_String* pcco_What,
                                    const CT_String* pcco_With)
{
    // The what text in the string's own kind, as the search finds it: in a multi-byte code
    // page its length in units differs from that of the 16-bit text.
    CT_String* pco_What = pco_String->vpco_Create();
    if (!pco_What)
        return sn_NotFound;
    pco_What->v_Set(pcco_What);
    const unsigned n_Position = pco_String->vn_Find(pco_What, 0);
    if (n_Position != sn_NotFound)
    {
        pco_String->vv_Remove(pco_What->vn_GetLength(), n_Position);
        pco_String->v_Insert(pcco_With, sn_Unlimited, n_Position);
    }
    delete pco_What;
    return n_Position;
}

// Built anew from the pieces between the occurrences, which is the same as replacing in place
// and searching on after the inserted text, without moving the rest at every occurrence.
void CT_StringTools::sv_ReplaceAll(CT_UString* pco_String, const CT_UString* pcco_What,
                                   const char16_t* qcuz_With)
{
    const CT_UString co_Old(pco_String);
    const CT_UString co_What(pcco_What);
    const CT_UString co_With(qcuz_With, sn_Unlimited);
    const unsigned n_What = co_What.n_GetLength();
    if (n_What == 0)
        return;
    unsigned n_Position = co_Old.vn_Find(&co_What, 0);
    if (n_Position == sn_NotFound)
        return;
    CT_UString co_New;
    unsigned n_Kept = 0;
    for (; n_Position != sn_NotFound; n_Position = co_Old.vn_Find(&co_What, n_Kept))
    {
        co_New.v_Append(co_Old.qcuz_Get() + n_Kept, n_Position - n_Kept);
        co_New.v_Append(&co_With, sn_Unlimited);
        n_Kept = n_Position + n_What;
    }
    co_New.v_Append(co_Old.qcuz_Get() + n_Kept, co_Old.n_GetLength() - n_Kept);
    pco_String->v_Set(&co_New);
}

void CT_StringTools::sv_FormatNumber(CT_String* pco_Out, unsigned n_Value, unsigned n_Width,
                                     char c_Group, char c_Decimal, unsigned n_Decimals)
{
    // Any number with its separators takes at most 16 characters besides its decimals, so an
    // unlimited field loses nothing.
    const unsigned n_Field = n_Width == sn_Unlimited ? 16 + n_Decimals : n_Width;
    CT_Buffer co_Field;
    co_Field.v_Insert(static_cast<unsigned char>(' '), n_Field, 0);
    char* pc_Field = static_cast<char*>(co_Field.qv_Get());
    unsigned n_Free = n_Field;
    auto b_Put = [&](char c)
    {
        if (n_Free == 0)
            return 0;
        pc_Field[--n_Free] = c;
        return 1;
    };

    // A value from 2^31 up is negative: its magnitude is written, then the sign before it.
    const int b_Negative = n_Value >= 0x80000000u;
    unsigned n_Rest = b_Negative ? 0u - n_Value : n_Value;
    if (n_Decimals)
    {
        for (unsigned n = 0; n < n_Decimals && b_Put(static_cast<char>('0' + n_Rest % 10)); ++n)
            n_Rest /= 10;
        if (c_Decimal)
            b_Put(c_Decimal);
    }
    unsigned n_Digits = 0;
    do
    {
        if (c_Group && n_Digits && n_Digits % 3 == 0)
            b_Put(c_Group);
        b_Put(static_cast<char>('0' + n_Rest % 10));
        n_Rest /= 10;
        ++n_Digits;
    } while (n_Rest);
    if (b_Negative)
        b_Put('-');

    const unsigned n_First = n_Width == sn_Unlimited ? n_Free : 0;
    pco_Out->v_Set(n_Field ? pc_Field + n_First : "", n_Field - n_First, CT_String::sn_OwnCodePage);
}
