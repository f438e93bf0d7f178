#include "System/Charset/CharMappings.h"

#include "System/Charset/CharProperties.h"
#include "System/String/UString.h"

#include <algorithm>
#include <string>

#include "System/Charset/CharMappingsTables.inc"

namespace
{
// The units of the character's decomposition, terminated, or null when it has none.
const char16_t* pcu_Decomposition(char16_t u_Char)
{
    const auto* pau = std::lower_bound(
        std::begin(sau_Decompositions), std::end(sau_Decompositions), u_Char,
        [](const char16_t(&au_Record)[8], char16_t u) { return au_Record[0] < u; });
    return pau != std::end(sau_Decompositions) && (*pau)[0] == u_Char ? *pau + 1 : nullptr;
}

// The length of a decomposition, 1 for none (the character itself).
unsigned n_UnitsOf(const char16_t* pcu_Units)
{
    return pcu_Units ? static_cast<unsigned>(std::char_traits<char16_t>::length(pcu_Units)) : 1;
}

// Surrogate pairs are left whole.
bool b_IsHighSurrogate(char16_t u_Char)
{
    const CT_CharProperties::et_UnicodeBlock eo = CT_CharProperties::seo_GetUnicodeBlock(u_Char);
    return eo == CT_CharProperties::e_HighSurrogates ||
           eo == CT_CharProperties::e_HighPrivateUseSurrogates;
}
} // namespace

unsigned CT_CharMappings::sn_Decompose(char16_t u_Char, CT_UString* pco_Out)
{
    const char16_t* pcu_Units = pcu_Decomposition(u_Char);
    const unsigned n_Units = n_UnitsOf(pcu_Units);
    if (pco_Out)
        pco_Out->v_Set(pcu_Units ? pcu_Units : &u_Char, n_Units);
    return n_Units;
}

void CT_CharMappings::sv_ToUpper(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_ToUpper);
}

void CT_CharMappings::sv_ToLower(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_ToLower);
}

void CT_CharMappings::sv_ToBase(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_ToBase);
}

void CT_CharMappings::sv_FoldDigit(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_FoldDigit);
}

void CT_CharMappings::sv_FoldCZone(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_FoldCZone);
}

void CT_CharMappings::sv_HiraganaToKatakana(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_HiraganaToKatakana);
}

void CT_CharMappings::sv_KatakanaToHiragana(CT_UString* pco_Text)
{
    sv_MapString(pco_Text, su_KatakanaToHiragana);
}

void CT_CharMappings::sv_Decompose(CT_UString* pco_Text)
{
    if (!pco_Text)
        return;
    CT_UString co_Decomposed;
    sv_Decompose(pco_Text, &co_Decomposed);
    *pco_Text = co_Decomposed;
}

void CT_CharMappings::sv_Decompose(const CT_UString* pcco_In, CT_UString* pco_Out)
{
    if (pcco_In == pco_Out)
        return sv_Decompose(pco_Out);
    if (!pco_Out)
        return;
    pco_Out->v_Set(u"", 0);
    if (!pcco_In)
        return;
    const char16_t* pcu_Text = pcco_In->qcuz_Get();
    const unsigned n_Length = pcco_In->n_GetLength();
    for (unsigned n = 0; n < n_Length; ++n)
    {
        if (b_IsHighSurrogate(pcu_Text[n]) && n + 1 < n_Length && pcu_Text[n + 1])
        {
            pco_Out->v_Append(pcu_Text + n, 2);
            ++n;
            continue;
        }
        const char16_t* pcu_Units = pcu_Decomposition(pcu_Text[n]);
        pco_Out->v_Append(pcu_Units ? pcu_Units : pcu_Text + n, n_UnitsOf(pcu_Units));
    }
}

void CT_CharMappings::sv_MapString(CT_UString* pco_Text, pfn_Mapping pfn_Map)
{
    if (!pco_Text)
        return;
    const unsigned n_Length = pco_Text->n_GetLength();
    for (unsigned n = 0; n < n_Length; ++n)
    {
        const char16_t u = pco_Text->u_GetAt(n);
        if (b_IsHighSurrogate(u))
        {
            ++n;
            continue;
        }
        const char16_t u_Mapped = pfn_Map(u);
        if (u_Mapped != u)
            pco_Text->v_SetAt(u_Mapped, n);
    }
}
