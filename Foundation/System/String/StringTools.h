// CT_StringTools: comparison with a case option, searches for characters from or outside a
// set, replacement of a text, and number formatting, over the string classes. All members are
// static and keep no state: any thread may call them, the strings are the caller's to share.
// Offsets and starts must lie within the strings (checked by assert); nothing is reported.
#pragma once

#include "Basis/Platform/Export.h"

class CT_String;
class CT_UString;

class CT_EXPORT CT_StringTools
{
public:
    static constexpr unsigned sn_NotFound = 0xFFFFFFFFu;
    static constexpr unsigned sn_Unlimited = 0xFFFFFFFFu; // as a count or a width

    // a from n_OffsetA against b from n_OffsetB, unit by unit, at most n_Count units (0 counts
    // as unlimited, as it always has), stopping after a zero unit or a difference; the result
    // is the last unit of a minus that of b. Without b_CaseSensitive both units are lower-cased
    // (CT_CharMappings::su_ToLower) first. The 8-bit texts are converted with code page 0, the
    // strings to 16-bit text as CT_UString does; offsets count in 16-bit units.
    static int si_CompareStrings(const char16_t* qcuz_A, const char16_t* qcuz_B,
                                 int b_CaseSensitive, unsigned n_Count, unsigned n_OffsetA,
                                 unsigned n_OffsetB);
    static int si_CompareStrings(const char* qccz_A, const char* qccz_B, int b_CaseSensitive,
                                 unsigned n_Count, unsigned n_OffsetA, unsigned n_OffsetB);
    static int si_CompareStrings(const CT_String* pcco_A, const CT_String* pcco_B,
                                 int b_CaseSensitive, unsigned n_Count, unsigned n_OffsetA,
                                 unsigned n_OffsetB);

    // The first position, from n_Start in the direction of i_Step (+1 forward to the end, -1
    // backward through position 0; any other step examines nothing), whose unit is (FindAny) or
    // is not (FindNot) in the zero-terminated set; sn_NotFound when there is none. A null set
    // is empty.
    static unsigned sn_FindAny(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                               unsigned n_Start, int i_Step);
    static unsigned sn_FindNot(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                               unsigned n_Start, int i_Step);

    // Replaces the first occurrence of the what text (in the string's own kind) by the with
    // text; returns its position or sn_NotFound.
    static unsigned sn_Replace(CT_String* pco_String, const CT_String* pcco_What,
                               const CT_String* pcco_With);
    // Replaces every occurrence, left to right; inserted text is never searched again. An empty
    // what replaces nothing.
    static void sv_ReplaceAll(CT_UString* pco_String, const CT_UString* pcco_What,
                              const char16_t* qcuz_With);

    // The value as a signed 32-bit number (values from 2^31 up are negative) in a field of
    // n_Width characters, right-aligned with leading blanks, its last n_Decimals digits after
    // the decimal separator (a lone 0 before it when no other digit is left: 0.05, -0.05) and
    // the group separator between groups of three digits before it; a zero separator is left
    // out. What does not fit the field is lost on the left. With sn_Unlimited as the width,
    // *pco_Out receives just the characters of the number. Set with the out string's own code
    // page.
    static void sv_FormatNumber(CT_String* pco_Out, unsigned n_Value, unsigned n_Width,
                                char c_Group, char c_Decimal, unsigned n_Decimals);

private:
    // The end of a scan: one past the last position for +1, sn_NotFound for -1, *pn_End (the
    // start) for any other step.
    static void sv_CheckOffset(const CT_UString* pcco_String, unsigned n_Start, int i_Step,
                               unsigned* pn_End);
    static unsigned sn_Find(const char16_t* qcuz_Set, const CT_UString* pcco_String,
                            unsigned n_Start, int i_Step, int b_InSet);
};
