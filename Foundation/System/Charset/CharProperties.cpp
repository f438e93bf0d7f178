#include "System/Charset/CharProperties.h"

#include "Basis/Platform/TextStatistics.h"
#include "Basis/Runtime/OS.h"
#include "System/Charset/Language.h"
#include "System/String/UString.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>

namespace
{
struct st_Numeric
{
    char16_t u_Char;
    std::int16_t si2_Numerator;
    std::int16_t si2_Denominator;
};

struct st_BlockScript
{
    CT_CharProperties::et_UnicodeBlock eo_Block;
    CT_CharProperties::et_Script eo_Script;
};
} // namespace

#include "System/Charset/CharPropertiesTables.inc"

namespace
{
// The lists of characters that cannot start and cannot end a line, per language.
struct st_LineLists
{
    std::span<const char16_t> co_NoStart;
    std::span<const char16_t> co_NoEnd;
};

const st_LineLists so_Traditional{sau_NoStartTraditional, sau_NoEndTraditional};
const st_LineLists so_Simplified{sau_NoStartSimplified, sau_NoEndSimplified};
const st_LineLists so_Japanese{sau_NoStartJapanese, sau_NoEndJapanese};
const st_LineLists so_Korean{sau_NoStartKorean, sau_NoEndKorean};

// The lists of the locale's language, or null when its lines may break anywhere.
const st_LineLists* pcso_LineLists(unsigned n_Locale)
{
    switch (CT_Language::seo_GetPrimary(n_Locale))
    {
    case CT_Language::e_Chinese:
        switch (CT_Language::seo_GetSub(n_Locale))
        {
        case CT_Language::e_SubNeutral:
        case CT_Language::e_SubDefault:
        case CT_Language::e_SubTaiwan:
        case CT_Language::e_SubHongkong:
            return &so_Traditional;
        default:
            return &so_Simplified;
        }
    case CT_Language::e_Japanese:
        return &so_Japanese;
    case CT_Language::e_Korean:
        return &so_Korean;
    default:
        return nullptr;
    }
}

int b_In(std::span<const char16_t> co_Sorted, char16_t u_Char)
{
    return std::binary_search(co_Sorted.begin(), co_Sorted.end(), u_Char);
}

int b_CategoryIn(char16_t u_Char, CT_CharProperties::et_UnicodeProperty eo_First,
                 CT_CharProperties::et_UnicodeProperty eo_Last)
{
    const CT_CharProperties::et_UnicodeProperty eo =
        CT_CharProperties::seo_GetUnicodeProperty(u_Char);
    return eo >= eo_First && eo <= eo_Last;
}

int b_HasTypeFlag(char16_t u_Char, std::uint16_t n2_Flag)
{
    return (CT_CharProperties::sn2_GetCharacterInformation(u_Char) & n2_Flag) != 0;
}

int b_HasTPFlag(char16_t u_Char, std::uint16_t n2_Flag)
{
    return (CT_CharProperties::sn2_GetTextProcessingInformation(u_Char) & n2_Flag) != 0;
}

int b_LayoutIn(char16_t u_Char, CT_CharProperties::et_LayoutProperty eo_First,
               CT_CharProperties::et_LayoutProperty eo_Last)
{
    const CT_CharProperties::et_LayoutProperty eo =
        CT_CharProperties::seo_GetLayoutInformation(u_Char);
    return eo >= eo_First && eo <= eo_Last;
}

int b_IsLayout(char16_t u_Char, CT_CharProperties::et_LayoutProperty eo_Layout)
{
    return b_LayoutIn(u_Char, eo_Layout, eo_Layout);
}

// The test of its own: an even size of at least 2 with a zero byte or a byte-order mark first.
int b_LooksUnicode(const unsigned char* pcc_Bytes, unsigned n_Size)
{
    if (n_Size < 2 || n_Size % 2)
        return 0;
    if (std::memchr(pcc_Bytes, 0, n_Size))
        return 1;
    const unsigned n_First = pcc_Bytes[0] | pcc_Bytes[1] << 8;
    return n_First == 0xFEFF || n_First == 0xFFFE;
}
} // namespace

CT_CharProperties::et_Script CT_CharProperties::seo_GetScript(et_UnicodeBlock eo_Block)
{
    const st_BlockScript* pso = saso_BlockScripts;
    while (pso->eo_Script != e_ScriptNone && pso->eo_Block != eo_Block)
        ++pso;
    return pso->eo_Script;
}

const char16_t* CT_CharProperties::sqcuz_UnicodePropertyName(et_UnicodeProperty eo_Property)
{
    const unsigned n = eo_Property;
    return saqcuz_PropertyNames[std::min<unsigned>(n, e_PropertyUnknown)];
}

const char16_t* CT_CharProperties::sqcuz_UnicodeBlockName(et_UnicodeBlock eo_Block)
{
    const unsigned n = eo_Block;
    return saqcuz_BlockNames[n < std::size(saqcuz_BlockNames) ? n : 0];
}

const char16_t* CT_CharProperties::sqcuz_GetCharacterName(char16_t)
{
    return nullptr;
}

void CT_CharProperties::sv_NumericValue(char16_t u_Char, std::int16_t& rsi2_Numerator,
                                        std::int16_t& rsi2_Denominator)
{
    const st_Numeric* pso =
        std::lower_bound(std::begin(saso_Numerics), std::end(saso_Numerics), u_Char,
                         [](const st_Numeric& so, char16_t u) { return so.u_Char < u; });
    const bool b_Found = pso != std::end(saso_Numerics) && pso->u_Char == u_Char;
    rsi2_Numerator = b_Found ? pso->si2_Numerator : 0;
    rsi2_Denominator = b_Found ? pso->si2_Denominator : 0;
}

int CT_CharProperties::sb_IsUpper(char16_t u)
{
    return seo_GetUnicodeProperty(u) == e_LetterUppercase;
}

int CT_CharProperties::sb_IsLower(char16_t u)
{
    return seo_GetUnicodeProperty(u) == e_LetterLowercase;
}

int CT_CharProperties::sb_IsDigit(char16_t u)
{
    return seo_GetUnicodeProperty(u) == e_NumberDecimalDigit;
}

int CT_CharProperties::sb_IsNumeric(char16_t u)
{
    return b_CategoryIn(u, e_NumberDecimalDigit, e_NumberOther);
}

int CT_CharProperties::sb_IsPunct(char16_t u)
{
    return b_CategoryIn(u, e_PunctuationConnector, e_PunctuationOther);
}

int CT_CharProperties::sb_IsCntrl(char16_t u)
{
    return seo_GetUnicodeProperty(u) == e_OtherControl;
}

int CT_CharProperties::sb_IsAlpha(char16_t u)
{
    return b_CategoryIn(u, e_LetterUppercase, e_LetterOther);
}

int CT_CharProperties::sb_IsPrint(char16_t u)
{
    return !sb_IsCntrl(u);
}

int CT_CharProperties::sb_IsGraph(char16_t u)
{
    const et_UnicodeProperty eo = seo_GetUnicodeProperty(u);
    return (eo < e_SeparatorSpace || eo > e_OtherFormat) && eo != e_OtherNotAssigned &&
           eo != e_PropertyUnknown;
}

int CT_CharProperties::sb_IsAlDig(char16_t u)
{
    return sb_IsDigit(u) || sb_IsAlpha(u);
}

int CT_CharProperties::sb_IsAlNum(char16_t u)
{
    return sb_IsNumeric(u) || sb_IsAlpha(u);
}

int CT_CharProperties::sb_IsBlank(char16_t u)
{
    return u == u'\n' || u == u' ' || b_HasTypeFlag(u, sn2_Blank);
}

int CT_CharProperties::sb_IsSpace(char16_t u)
{
    return b_HasTypeFlag(u, sn2_Space);
}

int CT_CharProperties::sb_IsXDigit(char16_t u)
{
    return b_HasTypeFlag(u, sn2_HexDigit);
}

int CT_CharProperties::sb_LayoutLeftToRight(char16_t u)
{
    return b_IsLayout(u, e_LayoutLeftToRight);
}

int CT_CharProperties::sb_LayoutRightToLeft(char16_t u)
{
    return b_IsLayout(u, e_LayoutRightToLeft);
}

int CT_CharProperties::sb_LayoutEuropeNumber(char16_t u)
{
    return b_IsLayout(u, e_LayoutEuropeNumber);
}

int CT_CharProperties::sb_LayoutEuropeSeparator(char16_t u)
{
    return b_IsLayout(u, e_LayoutEuropeSeparator);
}

int CT_CharProperties::sb_LayoutEuropeTerminator(char16_t u)
{
    return b_IsLayout(u, e_LayoutEuropeTerminator);
}

int CT_CharProperties::sb_LayoutArabicNumber(char16_t u)
{
    return b_IsLayout(u, e_LayoutArabicNumber);
}

int CT_CharProperties::sb_LayoutCommonSeparator(char16_t u)
{
    return b_IsLayout(u, e_LayoutCommonSeparator);
}

int CT_CharProperties::sb_LayoutBlockSeparator(char16_t u)
{
    return b_IsLayout(u, e_LayoutBlockSeparator);
}

int CT_CharProperties::sb_LayoutSegmentSeparator(char16_t u)
{
    return b_IsLayout(u, e_LayoutSegmentSeparator);
}

int CT_CharProperties::sb_LayoutWhitespace(char16_t u)
{
    return b_IsLayout(u, e_LayoutWhitespace);
}

int CT_CharProperties::sb_LayoutOtherNeutral(char16_t u)
{
    return b_IsLayout(u, e_LayoutOtherNeutral);
}

int CT_CharProperties::sb_LayoutStrongDirectionality(char16_t u)
{
    return b_LayoutIn(u, e_LayoutLeftToRight, e_LayoutRightToLeft);
}

int CT_CharProperties::sb_LayoutWeakDirectionality(char16_t u)
{
    return b_LayoutIn(u, e_LayoutEuropeNumber, e_LayoutCommonSeparator);
}

int CT_CharProperties::sb_LayoutNeutralDirectionality(char16_t u)
{
    return b_LayoutIn(u, e_LayoutBlockSeparator, e_LayoutOtherNeutral);
}

int CT_CharProperties::sb_LayoutNoDirectionality(char16_t u)
{
    return b_IsLayout(u, e_LayoutNone);
}

int CT_CharProperties::sb_IsTPNonspacing(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPNonspacing);
}

int CT_CharProperties::sb_IsTPDiacritic(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPDiacritic);
}

int CT_CharProperties::sb_IsTPVowelMark(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPVowelMark);
}

int CT_CharProperties::sb_IsTPSymbol(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPSymbol);
}

int CT_CharProperties::sb_IsTPKatakana(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPKatakana);
}

int CT_CharProperties::sb_IsTPHiragana(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPHiragana);
}

int CT_CharProperties::sb_IsTPHalfwidth(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPHalfwidth);
}

int CT_CharProperties::sb_IsTPFullwidth(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPFullwidth);
}

int CT_CharProperties::sb_IsTPIdeograph(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPIdeograph);
}

int CT_CharProperties::sb_IsTPKashida(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPKashida);
}

int CT_CharProperties::sb_IsTPLexical(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPLexical);
}

int CT_CharProperties::sb_IsTPAlpha(char16_t u)
{
    return b_HasTPFlag(u, sn2_TPAlpha);
}

int CT_CharProperties::sb_IsApostrophe(char16_t u)
{
    return b_In(sau_Apostrophe, u);
}

int CT_CharProperties::sb_IsColon(char16_t u)
{
    return b_In(sau_Colon, u);
}

int CT_CharProperties::sb_IsComma(char16_t u)
{
    return b_In(sau_Comma, u);
}

int CT_CharProperties::sb_IsDot(char16_t u)
{
    return b_In(sau_Dot, u);
}

int CT_CharProperties::sb_IsExclamation(char16_t u)
{
    return b_In(sau_Exclamation, u);
}

int CT_CharProperties::sb_IsHyphen(char16_t u)
{
    return b_In(sau_Hyphen, u);
}

int CT_CharProperties::sb_IsQuestion(char16_t u)
{
    return b_In(sau_Question, u);
}

int CT_CharProperties::sb_IsSemicolon(char16_t u)
{
    return b_In(sau_Semicolon, u);
}

int CT_CharProperties::sb_IsBrace(char16_t u)
{
    return b_In(sau_Brace, u);
}

int CT_CharProperties::sb_IsTabulator(char16_t u)
{
    return b_In(sau_Tabulator, u);
}

int CT_CharProperties::sb_IsParagraph(char16_t u)
{
    return b_In(sau_Paragraph, u);
}

int CT_CharProperties::sb_IsOpeningBracket(char16_t u)
{
    return b_In(sau_OpeningBracket, u);
}

int CT_CharProperties::sb_IsClosingBracket(char16_t u)
{
    return b_In(sau_ClosingBracket, u);
}

int CT_CharProperties::sb_IsBracket(char16_t u)
{
    return sb_IsOpeningBracket(u) || sb_IsClosingBracket(u);
}

int CT_CharProperties::sb_IsOpeningParenthesis(char16_t u)
{
    return b_In(sau_OpeningParenthesis, u);
}

int CT_CharProperties::sb_IsClosingParenthesis(char16_t u)
{
    return b_In(sau_ClosingParenthesis, u);
}

int CT_CharProperties::sb_IsParenthesis(char16_t u)
{
    return sb_IsOpeningParenthesis(u) || sb_IsClosingParenthesis(u);
}

int CT_CharProperties::sb_IsQuote(char16_t u)
{
    return b_In(sau_Quote, u);
}

int CT_CharProperties::sb_IsSingleQuote(char16_t u)
{
    return b_In(sau_SingleQuote, u);
}

int CT_CharProperties::sb_IsDoubleQuote(char16_t u)
{
    return sb_IsQuote(u) && !sb_IsSingleQuote(u);
}

int CT_CharProperties::sb_IsOpeningQuote(char16_t u)
{
    return b_In(sau_OpeningQuote, u);
}

int CT_CharProperties::sb_IsClosingQuote(char16_t u)
{
    return b_In(sau_ClosingQuote, u);
}

int CT_CharProperties::sb_IsPercent(char16_t u)
{
    return b_In(sau_Percent, u);
}

int CT_CharProperties::sb_IsSurrounder(char16_t u)
{
    return sb_IsBracket(u) || sb_IsParenthesis(u) || sb_IsQuote(u) || sb_IsApostrophe(u) ||
           b_In(sau_AngleBracket, u);
}

int CT_CharProperties::sb_IsStop(char16_t u)
{
    return sb_IsColon(u) || sb_IsDot(u) || sb_IsExclamation(u) || sb_IsQuestion(u) ||
           sb_IsSemicolon(u);
}

int CT_CharProperties::sb_IsVowel(char16_t u)
{
    return b_In(sau_Vowel, u);
}

int CT_CharProperties::sb_IsSequenceOf(const char16_t* qcuz_Text, pfn_Predicate pfn_Test,
                                       unsigned n_Start, unsigned n_Count)
{
    if (!qcuz_Text || !pfn_Test || !n_Count ||
        n_Start >= std::char_traits<char16_t>::length(qcuz_Text))
        return 0;
    for (const char16_t* pcu = qcuz_Text + n_Start; n_Count && *pcu; --n_Count, ++pcu)
    {
        if (!pfn_Test(*pcu))
            return 0;
    }
    return 1;
}

int CT_CharProperties::sb_IsSequenceOf(const CT_UString* pcco_Text, pfn_Predicate pfn_Test,
                                       unsigned n_Start, unsigned n_Count)
{
    return sb_IsSequenceOf(pcco_Text ? pcco_Text->qcuz_Get() : u"", pfn_Test, n_Start, n_Count);
}

int CT_CharProperties::sb_CanStartLine(char16_t u_Char, unsigned n_Locale)
{
    const st_LineLists* pcso = pcso_LineLists(n_Locale);
    return !pcso || !b_In(pcso->co_NoStart, u_Char);
}

int CT_CharProperties::sb_CanEndLine(char16_t u_Char, unsigned n_Locale)
{
    const st_LineLists* pcso = pcso_LineLists(n_Locale);
    return !pcso || !b_In(pcso->co_NoEnd, u_Char);
}

int CT_CharProperties::sb_IsTextUnicode(const void* pcv_Bytes, unsigned n_Size, int b_OwnTest)
{
    if (!pcv_Bytes)
        return 0;
    int b_Platform = 0;
    if (!b_OwnTest && CT_OS::seo_GetVersion() >= CT_OS::eo_WindowsNT &&
        CT_PlatformTextStatistics::sb_TestUnicode(pcv_Bytes, n_Size, &b_Platform))
        return b_Platform;
    return b_LooksUnicode(static_cast<const unsigned char*>(pcv_Bytes), n_Size);
}
