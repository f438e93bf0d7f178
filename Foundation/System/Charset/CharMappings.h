// CT_CharMappings: maps single 16-bit characters, and CT_UString texts in place, through tables
// compiled into the library (the data of the platform's era, Unicode 2.1): upper and lower
// case, the base letter of an accented character, decomposition into base and marks, national
// digits to ASCII digits, the compatibility zone (presentation, small, fullwidth and halfwidth
// forms) to ordinary characters, and hiragana to katakana and back. No platform service is
// asked, so the answers are the same everywhere. All members are static and the tables
// constant: any thread may call any member; a string is the caller's to share.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/Charset/CharIndex.h"

class CT_UString;

class CT_EXPORT CT_CharMappings
{
public:
    // One unit to one unit; a character without a mapping is returned as it is.
    static char16_t su_ToUpper(char16_t u_Char);
    static char16_t su_ToLower(char16_t u_Char);
    static char16_t su_FoldDigit(char16_t u_Char);
    static char16_t su_FoldCZone(char16_t u_Char);
    // Also widen ASCII, symbols and halfwidth forms.
    static char16_t su_HiraganaToKatakana(char16_t u_Char);
    static char16_t su_KatakanaToHiragana(char16_t u_Char);
    // The first unit of the decomposition.
    static char16_t su_ToBase(char16_t u_Char);
    // The number of units of the decomposition (2 or 3), or 1 for a character that decomposes
    // into itself; *pco_Out, when given, becomes the decomposition.
    static unsigned sn_Decompose(char16_t u_Char, CT_UString* pco_Out);

    // In place. A high surrogate and the unit after it stay as they are.
    static void sv_ToUpper(CT_UString* pco_Text);
    static void sv_ToLower(CT_UString* pco_Text);
    static void sv_ToBase(CT_UString* pco_Text);
    static void sv_FoldDigit(CT_UString* pco_Text);
    static void sv_FoldCZone(CT_UString* pco_Text);
    static void sv_HiraganaToKatakana(CT_UString* pco_Text);
    static void sv_KatakanaToHiragana(CT_UString* pco_Text);

    // Every character by its decomposition, surrogate pairs as they are: in place, or from
    // pcco_In into *pco_Out (which may be the same string).
    static void sv_Decompose(CT_UString* pco_Text);
    static void sv_Decompose(const CT_UString* pcco_In, CT_UString* pco_Out);

private:
    using pfn_Mapping = char16_t (*)(char16_t);

    static void sv_MapString(CT_UString* pco_Text, pfn_Mapping pfn_Map);
    // The mapping through a generated index of the difference to the mapped unit (0: none).
    static char16_t su_Map(const std::uint16_t* pcn_Index, char16_t u_Char);

    static const std::uint16_t san_ToUpperIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_ToLowerIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_FoldDigitIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_FoldCZoneIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_HiraganaToKatakanaIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_KatakanaToHiraganaIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_ToBaseIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_Deltas[];
};

inline char16_t CT_CharMappings::su_Map(const std::uint16_t* pcn_Index, char16_t u_Char)
{
    return static_cast<char16_t>(u_Char + CT_CharIndex::sn_Lookup(pcn_Index, san_Deltas, u_Char));
}

inline char16_t CT_CharMappings::su_ToUpper(char16_t u_Char)
{
    return su_Map(san_ToUpperIndex, u_Char);
}

inline char16_t CT_CharMappings::su_ToLower(char16_t u_Char)
{
    return su_Map(san_ToLowerIndex, u_Char);
}

inline char16_t CT_CharMappings::su_FoldDigit(char16_t u_Char)
{
    return su_Map(san_FoldDigitIndex, u_Char);
}

inline char16_t CT_CharMappings::su_FoldCZone(char16_t u_Char)
{
    return su_Map(san_FoldCZoneIndex, u_Char);
}

inline char16_t CT_CharMappings::su_HiraganaToKatakana(char16_t u_Char)
{
    return su_Map(san_HiraganaToKatakanaIndex, u_Char);
}

inline char16_t CT_CharMappings::su_KatakanaToHiragana(char16_t u_Char)
{
    return su_Map(san_KatakanaToHiraganaIndex, u_Char);
}

inline char16_t CT_CharMappings::su_ToBase(char16_t u_Char)
{
    return su_Map(san_ToBaseIndex, u_Char);
}
