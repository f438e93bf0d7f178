// CT_CharProperties: questions about single 16-bit characters (no surrogate pairing), answered
// from tables compiled into the library so that they are the same on every platform: the three
// character-type classes of the platform (type flags, layout direction, text-processing flags),
// the Unicode general category, block and coarse script, numeric values, punctuation families,
// and the East Asian line-breaking rules. The tables hold the data of the platform's era
// (Unicode 2.1): a code point that it did not assign has no properties. Also tells whether bytes
// look like 16-bit text. All members are static, the tables constant, nothing allocates: any
// thread may call any member at any time.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/Charset/CharIndex.h"

#include <cstdint>

class CT_UString;

class CT_EXPORT CT_CharProperties
{
public:
    // The enumerations have a fixed type, so that any value of it may be passed.
    enum et_PropertyClass : int
    {
        e_CharacterInfo,
        e_LayoutInfo,
        e_TextProcessingInfo
    };
    // The platform's direction classes (its character-type class 2).
    enum et_LayoutProperty : int
    {
        e_LayoutNone,
        e_LayoutLeftToRight,
        e_LayoutRightToLeft,
        e_LayoutEuropeNumber,
        e_LayoutEuropeSeparator,
        e_LayoutEuropeTerminator,
        e_LayoutArabicNumber,
        e_LayoutCommonSeparator,
        e_LayoutBlockSeparator,
        e_LayoutSegmentSeparator,
        e_LayoutWhitespace,
        e_LayoutOtherNeutral
    };
    // The general category.
    enum et_UnicodeProperty : int
    {
        e_MarkNonSpacing,
        e_MarkSpacingCombining,
        e_MarkEnclosing,
        e_NumberDecimalDigit,
        e_NumberLetter,
        e_NumberOther,
        e_SeparatorSpace,
        e_SeparatorLine,
        e_SeparatorParagraph,
        e_OtherControl,
        e_OtherFormat,
        e_OtherSurrogate,
        e_OtherPrivateUse,
        e_OtherNotAssigned,
        e_LetterUppercase,
        e_LetterLowercase,
        e_LetterTitlecase,
        e_LetterModifier,
        e_LetterOther,
        e_PunctuationConnector,
        e_PunctuationDash,
        e_PunctuationOpen,
        e_PunctuationClose,
        e_PunctuationOther,
        e_SymbolMath,
        e_SymbolCurrency,
        e_SymbolModifier,
        e_SymbolOther,
        e_PropertyUnknown
    };
    // The blocks of the block table; e_Unassigned holds the ranges that no block of the era
    // covers, e_BlockUnknown no range.
    enum et_UnicodeBlock : int
    {
        e_BlockUnknown,
        e_BasicLatin,
        e_Latin1Supplement,
        e_LatinExtendedA,
        e_LatinExtendedB,
        e_IPAExtensions,
        e_SpacingModifierLetters,
        e_CombiningDiacriticalMarks,
        e_Greek,
        e_Cyrillic,
        e_Armenian,
        e_Hebrew,
        e_Arabic,
        e_Devanagari,
        e_Bengali,
        e_Gurmukhi,
        e_Gujarati,
        e_Oriya,
        e_Tamil,
        e_Telugu,
        e_Kannada,
        e_Malayalam,
        e_Thai,
        e_Lao,
        e_Tibetan,
        e_Georgian,
        e_HangulJamo,
        e_LatinExtendedAdditional,
        e_GreekExtended,
        e_GeneralPunctuation,
        e_SuperscriptsAndSubscripts,
        e_CurrencySymbols,
        e_CombiningMarksForSymbols,
        e_LetterlikeSymbols,
        e_NumberForms,
        e_Arrows,
        e_MathematicalOperators,
        e_MiscellaneousTechnical,
        e_ControlPictures,
        e_OpticalCharacterRecognition,
        e_EnclosedAlphanumerics,
        e_BoxDrawing,
        e_BlockElements,
        e_GeometricShapes,
        e_MiscellaneousSymbols,
        e_Dingbats,
        e_CJKSymbolsAndPunctuation,
        e_Hiragana,
        e_Katakana,
        e_Bopomofo,
        e_HangulCompatibilityJamo,
        e_Kanbun,
        e_EnclosedCJKLettersAndMonths,
        e_CJKCompatibility,
        e_CJKUnifiedIdeographs,
        e_HangulSyllables,
        e_HighSurrogates,
        e_HighPrivateUseSurrogates,
        e_LowSurrogates,
        e_PrivateUse,
        e_CJKCompatibilityIdeographs,
        e_AlphabeticPresentationForms,
        e_ArabicPresentationFormsA,
        e_CombiningHalfMarks,
        e_CJKCompatibilityForms,
        e_SmallFormVariants,
        e_ArabicPresentationFormsB,
        e_HalfwidthAndFullwidthForms,
        e_Specials1,
        e_Specials2,
        e_Unassigned
    };
    enum et_Script : int
    {
        e_ScriptWestern,
        e_ScriptPhonetic,
        e_ScriptEastAsian,
        e_ScriptArabic,
        e_ScriptPrivate,
        e_ScriptOther,
        e_ScriptEastAsianSymbols,
        e_ScriptNone
    };

    // Character-type flags (class 0).
    static constexpr std::uint16_t sn2_Upper = 0x0001, sn2_Lower = 0x0002, sn2_Digit = 0x0004,
                                   sn2_Space = 0x0008, sn2_Punctuation = 0x0010,
                                   sn2_Control = 0x0020, sn2_Blank = 0x0040, sn2_HexDigit = 0x0080,
                                   sn2_Alpha = 0x0100;
    // Text-processing flags (class 2).
    static constexpr std::uint16_t sn2_TPNonspacing = 0x0001, sn2_TPDiacritic = 0x0002,
                                   sn2_TPVowelMark = 0x0004, sn2_TPSymbol = 0x0008,
                                   sn2_TPKatakana = 0x0010, sn2_TPHiragana = 0x0020,
                                   sn2_TPHalfwidth = 0x0040, sn2_TPFullwidth = 0x0080,
                                   sn2_TPIdeograph = 0x0100, sn2_TPKashida = 0x0200,
                                   sn2_TPLexical = 0x0400, sn2_TPAlpha = 0x8000;

    using pfn_Predicate = int (*)(char16_t);

    // The three classes; a code point without a value has 0.
    static std::uint16_t sn2_GetCharacterInformation(char16_t u_Char);
    static std::uint16_t sn2_GetLayoutInformation(char16_t u_Char);
    static et_LayoutProperty seo_GetLayoutInformation(char16_t u_Char);
    static std::uint16_t sn2_GetTextProcessingInformation(char16_t u_Char);

    // e_PropertyUnknown, e_BlockUnknown and e_ScriptNone where the tables have nothing.
    static et_UnicodeProperty seo_GetUnicodeProperty(char16_t u_Char);
    static et_UnicodeBlock seo_GetUnicodeBlock(char16_t u_Char);
    static et_Script seo_GetScript(et_UnicodeBlock eo_Block);
    // The enumerator's name without "e_"; "Unknown" for a value out of range.
    static const char16_t* sqcuz_UnicodePropertyName(et_UnicodeProperty eo_Property);
    static const char16_t* sqcuz_UnicodeBlockName(et_UnicodeBlock eo_Block);
    // Always null: the library holds no character names.
    static const char16_t* sqcuz_GetCharacterName(char16_t u_Char);
    // The character's value as numerator and denominator; 0 and 0 when it has none.
    static void sv_NumericValue(char16_t u_Char, std::int16_t& rsi2_Numerator,
                                std::int16_t& rsi2_Denominator);

    // On the general category.
    static int sb_IsUpper(char16_t u_Char);
    static int sb_IsLower(char16_t u_Char);
    static int sb_IsDigit(char16_t u_Char);
    static int sb_IsNumeric(char16_t u_Char);
    static int sb_IsPunct(char16_t u_Char);
    static int sb_IsCntrl(char16_t u_Char);
    static int sb_IsAlpha(char16_t u_Char);
    static int sb_IsPrint(char16_t u_Char);
    static int sb_IsGraph(char16_t u_Char);
    static int sb_IsAlDig(char16_t u_Char);
    static int sb_IsAlNum(char16_t u_Char);
    // On the character-type flags; sb_IsBlank also holds for U+000A and U+0020.
    static int sb_IsBlank(char16_t u_Char);
    static int sb_IsSpace(char16_t u_Char);
    static int sb_IsXDigit(char16_t u_Char);

    // On the layout class.
    static int sb_LayoutLeftToRight(char16_t u_Char);
    static int sb_LayoutRightToLeft(char16_t u_Char);
    static int sb_LayoutEuropeNumber(char16_t u_Char);
    static int sb_LayoutEuropeSeparator(char16_t u_Char);
    static int sb_LayoutEuropeTerminator(char16_t u_Char);
    static int sb_LayoutArabicNumber(char16_t u_Char);
    static int sb_LayoutCommonSeparator(char16_t u_Char);
    static int sb_LayoutBlockSeparator(char16_t u_Char);
    static int sb_LayoutSegmentSeparator(char16_t u_Char);
    static int sb_LayoutWhitespace(char16_t u_Char);
    static int sb_LayoutOtherNeutral(char16_t u_Char);
    static int sb_LayoutStrongDirectionality(char16_t u_Char);
    static int sb_LayoutWeakDirectionality(char16_t u_Char);
    static int sb_LayoutNeutralDirectionality(char16_t u_Char);
    static int sb_LayoutNoDirectionality(char16_t u_Char);

    // On the text-processing flags.
    static int sb_IsTPNonspacing(char16_t u_Char);
    static int sb_IsTPDiacritic(char16_t u_Char);
    static int sb_IsTPVowelMark(char16_t u_Char);
    static int sb_IsTPSymbol(char16_t u_Char);
    static int sb_IsTPKatakana(char16_t u_Char);
    static int sb_IsTPHiragana(char16_t u_Char);
    static int sb_IsTPHalfwidth(char16_t u_Char);
    static int sb_IsTPFullwidth(char16_t u_Char);
    static int sb_IsTPIdeograph(char16_t u_Char);
    static int sb_IsTPKashida(char16_t u_Char);
    static int sb_IsTPLexical(char16_t u_Char);
    static int sb_IsTPAlpha(char16_t u_Char);

    // Punctuation families: fixed lists of characters.
    static int sb_IsApostrophe(char16_t u_Char);
    static int sb_IsColon(char16_t u_Char);
    static int sb_IsComma(char16_t u_Char);
    static int sb_IsDot(char16_t u_Char);
    static int sb_IsExclamation(char16_t u_Char);
    static int sb_IsHyphen(char16_t u_Char);
    static int sb_IsQuestion(char16_t u_Char);
    static int sb_IsSemicolon(char16_t u_Char);
    static int sb_IsBrace(char16_t u_Char);
    static int sb_IsTabulator(char16_t u_Char);
    static int sb_IsParagraph(char16_t u_Char);
    static int sb_IsOpeningBracket(char16_t u_Char);
    static int sb_IsClosingBracket(char16_t u_Char);
    static int sb_IsBracket(char16_t u_Char);
    static int sb_IsOpeningParenthesis(char16_t u_Char);
    static int sb_IsClosingParenthesis(char16_t u_Char);
    static int sb_IsParenthesis(char16_t u_Char);
    static int sb_IsQuote(char16_t u_Char);
    static int sb_IsSingleQuote(char16_t u_Char);
    static int sb_IsDoubleQuote(char16_t u_Char);
    static int sb_IsOpeningQuote(char16_t u_Char);
    static int sb_IsClosingQuote(char16_t u_Char);
    static int sb_IsPercent(char16_t u_Char);
    // A bracket, parenthesis, quote, apostrophe or angle bracket.
    static int sb_IsSurrounder(char16_t u_Char);
    // A colon, dot, exclamation, question mark or semicolon.
    static int sb_IsStop(char16_t u_Char);
    static int sb_IsVowel(char16_t u_Char);

    // Whether the n_Count characters from n_Start all satisfy the predicate; the end of the text
    // ends the test with success. False for a null or empty text, a count of 0, or a start at or
    // past the end.
    static int sb_IsSequenceOf(const char16_t* qcuz_Text, pfn_Predicate pfn_Test, unsigned n_Start,
                               unsigned n_Count);
    static int sb_IsSequenceOf(const CT_UString* pcco_Text, pfn_Predicate pfn_Test,
                               unsigned n_Start, unsigned n_Count);

    // East Asian line breaking by the language of the locale: Chinese (traditional or
    // simplified), Japanese and Korean have lists of characters that cannot start or end a line;
    // in every other language any character can.
    static int sb_CanStartLine(char16_t u_Char, unsigned n_Locale);
    static int sb_CanEndLine(char16_t u_Char, unsigned n_Locale);

    // Whether the bytes look like 16-bit text. Unless b_OwnTest is set, the platform's
    // statistical test where it has one (the Windows NT family); otherwise an even size of at
    // least 2 with a zero byte, or starting with a byte-order mark of either order.
    static int sb_IsTextUnicode(const void* pcv_Bytes, unsigned n_Size, int b_OwnTest);

private:
    // The class's value, 0 for a class outside the three.
    static std::uint16_t sn2_GetCharacterInfo(et_PropertyClass eo_Class, char16_t u_Char);

    // The generated indexes of the three classes, the category and the block, and their values.
    static const std::uint16_t san_CharacterInfoIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_TextProcessingInfoIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_Values16[];
    static const std::uint16_t san_LayoutInfoIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_CategoryIndex[CT_CharIndex::sn_Blocks];
    static const std::uint16_t san_BlockIndex[CT_CharIndex::sn_Blocks];
    static const std::uint8_t san_Values8[];
};

inline std::uint16_t CT_CharProperties::sn2_GetCharacterInfo(et_PropertyClass eo_Class,
                                                             char16_t u_Char)
{
    switch (eo_Class)
    {
    case e_CharacterInfo:
        return CT_CharIndex::sn_Lookup(san_CharacterInfoIndex, san_Values16, u_Char);
    case e_LayoutInfo:
        return CT_CharIndex::sn_Lookup(san_LayoutInfoIndex, san_Values8, u_Char);
    case e_TextProcessingInfo:
        return CT_CharIndex::sn_Lookup(san_TextProcessingInfoIndex, san_Values16, u_Char);
    }
    return 0;
}

inline std::uint16_t CT_CharProperties::sn2_GetCharacterInformation(char16_t u_Char)
{
    return sn2_GetCharacterInfo(e_CharacterInfo, u_Char);
}

inline std::uint16_t CT_CharProperties::sn2_GetLayoutInformation(char16_t u_Char)
{
    return sn2_GetCharacterInfo(e_LayoutInfo, u_Char);
}

inline CT_CharProperties::et_LayoutProperty
CT_CharProperties::seo_GetLayoutInformation(char16_t u_Char)
{
    return static_cast<et_LayoutProperty>(sn2_GetLayoutInformation(u_Char));
}

inline std::uint16_t CT_CharProperties::sn2_GetTextProcessingInformation(char16_t u_Char)
{
    return sn2_GetCharacterInfo(e_TextProcessingInfo, u_Char);
}

inline CT_CharProperties::et_UnicodeProperty
CT_CharProperties::seo_GetUnicodeProperty(char16_t u_Char)
{
    return static_cast<et_UnicodeProperty>(
        CT_CharIndex::sn_Lookup(san_CategoryIndex, san_Values8, u_Char));
}

inline CT_CharProperties::et_UnicodeBlock CT_CharProperties::seo_GetUnicodeBlock(char16_t u_Char)
{
    return static_cast<et_UnicodeBlock>(
        CT_CharIndex::sn_Lookup(san_BlockIndex, san_Values8, u_Char));
}
