// CT_CharProperties: the rows and examples that its tables must hold, the predicates on each
// table, the punctuation families, sequences, line breaking by language and the 16-bit text test.
// CharTablesTest checks the tables whole against their sources.
#include "System/Charset/CharProperties.h"

#include "Basis/Runtime/OS.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace
{
using CP = CT_CharProperties;

struct st_Class
{
    std::uint16_t (*pfn_Get)(char16_t);
    char16_t u_Char;
    std::uint16_t n_Value;
};

TEST(CharProperties, ClassesOfTheNamedCharacters)
{
    const auto pfn_Type = CP::sn2_GetCharacterInformation;
    const auto pfn_Layout = CP::sn2_GetLayoutInformation;
    const auto pfn_TP = CP::sn2_GetTextProcessingInformation;
    const st_Class aso_Cases[] = {
        {pfn_Type, u'\t', 0x0068},
        {pfn_Type, u' ', 0x0048},
        {pfn_Type, u'0', 0x0084},
        {pfn_Type, u'A', 0x0181},
        {pfn_Type, u'G', 0x0101},
        {pfn_Type, u'a', 0x0182},
        {pfn_Type, u'\u00E9', 0x0102},
        {pfn_Type, u'\u00D7', 0x0010},
        {pfn_Layout, u'\t', 9},
        {pfn_Layout, u'\n', 0},
        {pfn_Layout, u' ', 10},
        {pfn_Layout, u'0', 3},
        {pfn_Layout, u'A', 1},
        {pfn_Layout, u'\u00AD', 11},
        {pfn_TP, u'A', 0x8040},
        {pfn_TP, u'0', 0x0040},
        {pfn_TP, u'\u00E9', 0x8003},
        {pfn_TP, u'\u00AD', 0x0408},
        // Assigned after the era: no properties.
        {pfn_Type, u'\u3400', 0},
        {pfn_Layout, u'\u3400', 0},
        {pfn_TP, u'\u3400', 0},
    };
    for (const st_Class& so : aso_Cases)
        EXPECT_EQ(so.pfn_Get(so.u_Char), so.n_Value) << "U+" << std::hex << unsigned(so.u_Char);
    EXPECT_EQ(CP::seo_GetLayoutInformation(u'A'), CP::e_LayoutLeftToRight);
}

struct st_Unicode
{
    char16_t u_Char;
    CP::et_UnicodeProperty eo_Category;
    CP::et_UnicodeBlock eo_Block;
    CP::et_Script eo_Script;
};

TEST(CharProperties, CategoryBlockAndScript)
{
    const st_Unicode aso_Cases[] = {
        {u'A', CP::e_LetterUppercase, CP::e_BasicLatin, CP::e_ScriptWestern},
        {u'\u0391', CP::e_LetterUppercase, CP::e_Greek, CP::e_ScriptWestern},
        {u'\u0416', CP::e_LetterUppercase, CP::e_Cyrillic, CP::e_ScriptOther},
        {u'\u3042', CP::e_LetterOther, CP::e_Hiragana, CP::e_ScriptEastAsian},
        {u'\u0301', CP::e_MarkNonSpacing, CP::e_CombiningDiacriticalMarks, CP::e_ScriptNone},
        {u'\u00AB', CP::e_PunctuationOpen, CP::e_Latin1Supplement, CP::e_ScriptWestern},
        {u'\u2019', CP::e_PunctuationClose, CP::e_GeneralPunctuation, CP::e_ScriptNone},
        {u'\u0500', CP::e_PropertyUnknown, CP::e_Unassigned, CP::e_ScriptEastAsianSymbols},
        {u'\u3400', CP::e_PropertyUnknown, CP::e_Unassigned, CP::e_ScriptEastAsianSymbols},
        {u'\uAC00', CP::e_LetterOther, CP::e_HangulSyllables, CP::e_ScriptEastAsian},
        {u'\uD7A4', CP::e_PropertyUnknown, CP::e_Unassigned, CP::e_ScriptEastAsianSymbols},
        {char16_t(0xDB80), CP::e_OtherSurrogate, CP::e_HighPrivateUseSurrogates,
         CP::e_ScriptPrivate},
        {u'\uE000', CP::e_OtherPrivateUse, CP::e_PrivateUse, CP::e_ScriptPrivate},
        {u'\uFE1F', CP::e_PropertyUnknown, CP::e_Unassigned, CP::e_ScriptEastAsianSymbols},
        {u'\uFEFE', CP::e_PropertyUnknown, CP::e_ArabicPresentationFormsB, CP::e_ScriptArabic},
        {u'\uFEFF', CP::e_OtherFormat, CP::e_Specials1, CP::e_ScriptEastAsianSymbols},
        {u'\uFFFE', CP::e_PropertyUnknown, CP::e_Specials2, CP::e_ScriptEastAsianSymbols},
    };
    for (const st_Unicode& so : aso_Cases)
    {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << unsigned(so.u_Char));
        EXPECT_EQ(CP::seo_GetUnicodeProperty(so.u_Char), so.eo_Category);
        EXPECT_EQ(CP::seo_GetUnicodeBlock(so.u_Char), so.eo_Block);
        EXPECT_EQ(CP::seo_GetScript(so.eo_Block), so.eo_Script);
    }
    EXPECT_EQ(CP::seo_GetScript(CP::e_BlockUnknown), CP::e_ScriptNone);
    EXPECT_EQ(CP::seo_GetScript(static_cast<CP::et_UnicodeBlock>(71)), CP::e_ScriptNone);
}

// The names themselves are tied to the enumerators when the library is compiled.
TEST(CharProperties, NamesOfValuesOutOfRangeAreUnknown)
{
    for (int i : {28, 29, -1})
        EXPECT_EQ(std::u16string(CP::sqcuz_UnicodePropertyName(CP::et_UnicodeProperty(i))),
                  u"Unknown");
    for (int i : {0, 71, -1})
        EXPECT_EQ(std::u16string(CP::sqcuz_UnicodeBlockName(CP::et_UnicodeBlock(i))), u"Unknown");
    EXPECT_EQ(std::u16string(CP::sqcuz_UnicodeBlockName(CP::e_Specials1)), u"Specials1");
    EXPECT_EQ(CP::sqcuz_GetCharacterName(u'A'), nullptr);
}

TEST(CharProperties, NumericValues)
{
    const struct
    {
        char16_t u_Char;
        std::int16_t si2_Numerator, si2_Denominator;
    } aso_Cases[] = {
        {u'\u00BD', 1, 2},  {u'\u216F', 1000, 1},  {u'x', 0, 0},      {u'\u09F8', -1, 1},
        {u'\u09F9', 16, 1}, {u'\u2182', 10000, 1}, {u'\u0F2A', 0, 0}, {u'\u4E00', 0, 0},
    };
    for (const auto& so : aso_Cases)
    {
        std::int16_t si2_Numerator = 99, si2_Denominator = 99;
        CP::sv_NumericValue(so.u_Char, si2_Numerator, si2_Denominator);
        EXPECT_EQ(si2_Numerator, so.si2_Numerator) << std::hex << unsigned(so.u_Char);
        EXPECT_EQ(si2_Denominator, so.si2_Denominator) << std::hex << unsigned(so.u_Char);
    }
}

struct st_Predicate
{
    const char* qccz_Name;
    CP::pfn_Predicate pfn;
    std::u16string o_True, o_False;
};

// Each predicate holds for every character of its first text and for none of its second.
void v_ExpectPredicates(std::initializer_list<st_Predicate> co_Cases)
{
    for (const st_Predicate& so : co_Cases)
    {
        for (char16_t u : so.o_True)
            EXPECT_TRUE(so.pfn(u)) << so.qccz_Name << " U+" << std::hex << unsigned(u);
        for (char16_t u : so.o_False)
            EXPECT_FALSE(so.pfn(u)) << so.qccz_Name << " U+" << std::hex << unsigned(u);
    }
}

TEST(CharProperties, PredicatesOnCategoryAndTypeFlags)
{
    v_ExpectPredicates({
        {"IsUpper", CP::sb_IsUpper, u"A\u0391\u01C4", u"a\u01C5\u3400"},
        {"IsLower", CP::sb_IsLower, u"a\u00DF", u"A\u02B0"},
        {"IsDigit", CP::sb_IsDigit, u"0\u0660\uFF19", u"\u00B2\u2160"},
        {"IsNumeric", CP::sb_IsNumeric, u"0\u00B2\u2160", u"A"},
        {"IsPunct", CP::sb_IsPunct, u"_-(]!\u00AB", u"+$"},
        {"IsCntrl", CP::sb_IsCntrl, u"\t\u007F\u0085", u" \u200E"},
        {"IsAlpha", CP::sb_IsAlpha, u"Aa\u01C5\u02B0\u05D0", u"0_"},
        {"IsPrint", CP::sb_IsPrint, u" A\u3400", u"\n"},
        {"IsGraph", CP::sb_IsGraph, u"A!\u0301", u" \u2028\u2029\t\u200E\u3400\uFFFE"},
        {"IsAlDig", CP::sb_IsAlDig, u"a9", u"\u00B2 "},
        {"IsAlNum", CP::sb_IsAlNum, u"a9\u00B2", u" "},
        {"IsBlank", CP::sb_IsBlank, u"\t\n \u3000", u"\r\u000B"},
        {"IsSpace", CP::sb_IsSpace, u"\t\n\r \u3000", u"A"},
        {"IsXDigit", CP::sb_IsXDigit, u"09afAF", u"gG"},
    });
}

// Over every code point: each layout predicate holds for its value or values, each
// text-processing predicate for its flag.
TEST(CharProperties, PredicatesOnLayoutAndTextProcessing)
{
    const CP::pfn_Predicate apfn_Layouts[] = {
        CP::sb_LayoutNoDirectionality, CP::sb_LayoutLeftToRight,     CP::sb_LayoutRightToLeft,
        CP::sb_LayoutEuropeNumber,     CP::sb_LayoutEuropeSeparator, CP::sb_LayoutEuropeTerminator,
        CP::sb_LayoutArabicNumber,     CP::sb_LayoutCommonSeparator, CP::sb_LayoutBlockSeparator,
        CP::sb_LayoutSegmentSeparator, CP::sb_LayoutWhitespace,      CP::sb_LayoutOtherNeutral};
    const CP::pfn_Predicate apfn_Flags[16] = {CP::sb_IsTPNonspacing,
                                              CP::sb_IsTPDiacritic,
                                              CP::sb_IsTPVowelMark,
                                              CP::sb_IsTPSymbol,
                                              CP::sb_IsTPKatakana,
                                              CP::sb_IsTPHiragana,
                                              CP::sb_IsTPHalfwidth,
                                              CP::sb_IsTPFullwidth,
                                              CP::sb_IsTPIdeograph,
                                              CP::sb_IsTPKashida,
                                              CP::sb_IsTPLexical,
                                              nullptr,
                                              nullptr,
                                              nullptr,
                                              nullptr,
                                              CP::sb_IsTPAlpha};
    unsigned n_Wrong = 0;
    for (unsigned n = 0; n < 0x10000; ++n)
    {
        const auto u = static_cast<char16_t>(n);
        const unsigned n_Layout = CP::sn2_GetLayoutInformation(u);
        for (unsigned i = 0; i < std::size(apfn_Layouts); ++i)
            n_Wrong += !apfn_Layouts[i](u) != (n_Layout != i);
        n_Wrong += !CP::sb_LayoutStrongDirectionality(u) != (n_Layout < 1 || n_Layout > 2);
        n_Wrong += !CP::sb_LayoutWeakDirectionality(u) != (n_Layout < 3 || n_Layout > 7);
        n_Wrong += !CP::sb_LayoutNeutralDirectionality(u) != (n_Layout < 8);
        for (unsigned i = 0; i < 16; ++i)
            n_Wrong += apfn_Flags[i] &&
                       !apfn_Flags[i](u) != !(CP::sn2_GetTextProcessingInformation(u) & 1u << i);
    }
    EXPECT_EQ(n_Wrong, 0u);
    EXPECT_TRUE(CP::sb_LayoutRightToLeft(u'\u05D0'));
    EXPECT_TRUE(CP::sb_IsTPKatakana(u'\uFF71'));
}

TEST(CharProperties, PunctuationFamilies)
{
    v_ExpectPredicates({
        {"Apostrophe", CP::sb_IsApostrophe, u"'\u02BC\u055A\uFF07", u"\u2019"},
        {"Colon", CP::sb_IsColon, u":\u02D0\u061B\uFF1A", u";"},
        {"Comma", CP::sb_IsComma, u",\u060C\u3001\uFF64", u"."},
        {"Dot", CP::sb_IsDot, u".\u00B7\u3002\uFF61", u","},
        {"Exclamation", CP::sb_IsExclamation, u"!\u00A1\u203C\uFF01", u"?"},
        {"Hyphen", CP::sb_IsHyphen, u"-\u00AD\u2010\uFF0D", u"\u2013"},
        {"Question", CP::sb_IsQuestion, u"?\u00BF\u037E\uFF1F", u"!"},
        {"Semicolon", CP::sb_IsSemicolon, u";\u061B\uFE54\uFF1B", u":"},
        {"Brace", CP::sb_IsBrace, u"{}\uFE37\uFF5D", u"()"},
        {"Tabulator", CP::sb_IsTabulator, u"\t", u" \u000B"},
        {"Paragraph", CP::sb_IsParagraph, u"\u10FB\u2029", u"\n\u2028"},
        {"OpeningBracket", CP::sb_IsOpeningBracket, u"[{\u3008\uFF62", u"]("},
        {"ClosingBracket", CP::sb_IsClosingBracket, u"]}\u3009\uFF63", u"[)"},
        {"Bracket", CP::sb_IsBracket, u"[]\u2329\u232A", u"()"},
        {"OpeningParenthesis", CP::sb_IsOpeningParenthesis, u"(\uFE59\uFF08", u")"},
        {"ClosingParenthesis", CP::sb_IsClosingParenthesis, u")\uFE5A\uFF09", u"("},
        {"Parenthesis", CP::sb_IsParenthesis, u"()\uFF08\uFF09", u"[]"},
        {"Quote", CP::sb_IsQuote, u"\"\u00AB\u2018\u201F\u275E\uFF02", u"'"},
        {"SingleQuote", CP::sb_IsSingleQuote, u"'\u2018\u203A\u301F", u"\"\u201C"},
        {"DoubleQuote", CP::sb_IsDoubleQuote, u"\"\u00AB\u201C\u275D", u"'\u2018\u301D"},
        {"OpeningQuote", CP::sb_IsOpeningQuote, u"\u00AB\u2018\u201C\u2039", u"\u00BB"},
        {"ClosingQuote", CP::sb_IsClosingQuote, u"\u00BB\u2019\u201D\u203A", u"\u00AB"},
        {"Percent", CP::sb_IsPercent, u"%\u066A\uFE6A\uFF05", u"\u2030"},
        {"Surrounder", CP::sb_IsSurrounder, u"([\"'<>\uFE64\uFF1D", u"=!"},
        {"Stop", CP::sb_IsStop, u":.!?;\u3002", u",-"},
        {"Vowel", CP::sb_IsVowel, u"aeiouAEIOU\u3041\u304A\u30A1\u30AA", u"yY\u304B"},
    });
    // The zero character belongs to no family.
    for (CP::pfn_Predicate pfn : {CP::sb_IsVowel, CP::sb_IsSurrounder, CP::sb_IsStop})
        EXPECT_FALSE(pfn(0));
}

TEST(CharProperties, SequencesEndAtTheTextsEnd)
{
    const struct
    {
        const char16_t* qcuz_Text;
        unsigned n_Start, n_Count;
        int b_Expected;
    } aso_Cases[] = {
        {u"12a", 0, 2, 1},  {u"12a", 0, 3, 0}, {u"12a", 1, 10, 0}, {u"12a", 3, 1, 0},
        {u"123", 1, 10, 1}, {u"123", 0, 0, 0}, {u"", 0, 1, 0},     {nullptr, 0, 1, 0},
    };
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(CP::sb_IsSequenceOf(so.qcuz_Text, CP::sb_IsDigit, so.n_Start, so.n_Count),
                  so.b_Expected);
        if (!so.qcuz_Text)
            continue;
        const CT_UString co_Text(so.qcuz_Text, CT_String::sn_All);
        EXPECT_EQ(CP::sb_IsSequenceOf(&co_Text, CP::sb_IsDigit, so.n_Start, so.n_Count),
                  so.b_Expected);
    }
    EXPECT_FALSE(
        CP::sb_IsSequenceOf(static_cast<const CT_UString*>(nullptr), CP::sb_IsDigit, 0, 1));
}

TEST(CharProperties, LineBreakingFollowsTheLocalesLanguage)
{
    constexpr unsigned n_English = 0x0409, n_Japanese = 0x0411, n_Korean = 0x0412,
                       n_Taiwan = 0x0404, n_Prc = 0x0804, n_Hongkong = 0x0C04, n_Singapore = 0x1004,
                       n_Macau = 0x1404, n_ChineseNeutral = 0x0004;
    const struct
    {
        char16_t u_Char;
        unsigned n_Locale;
        int b_CanStart, b_CanEnd;
    } aso_Cases[] = {
        {u'\u3002', n_Japanese, 0, 1},
        {u'\u3002', n_English, 1, 1},
        {u'\uFF10', n_Prc, 1, 0},
        {u'\uFF10', n_Taiwan, 1, 1},
        {u'\u00B7', n_Hongkong, 0, 1},
        {u'\u00B7', n_Prc, 1, 1},
        {u'\u00B7', n_ChineseNeutral, 0, 1},
        {u'\u00B7', n_Macau, 0, 1}, // no row: default
        {u'\u00A8', n_Singapore, 0, 1},
        {u'\u00A8', n_Taiwan, 1, 1},
        {u'(', n_Korean, 1, 0},
        {u'\uFFE6', n_Korean, 0, 0},
        {u'\u30FC', n_Japanese, 0, 1},
        {u'\u00A5', n_Japanese, 1, 0},
        {u'\u00A5', 0x00010411, 1, 0}, // the sort id does not matter
        {u'(', n_English, 1, 1},
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "U+" << std::hex << unsigned(so.u_Char) << " locale " << so.n_Locale);
        EXPECT_EQ(CP::sb_CanStartLine(so.u_Char, so.n_Locale), so.b_CanStart);
        EXPECT_EQ(CP::sb_CanEndLine(so.u_Char, so.n_Locale), so.b_CanEnd);
    }
}

TEST(CharProperties, OwnTextTestLooksForZeroBytesAndByteOrderMarks)
{
    const struct
    {
        const char* pcc_Bytes;
        unsigned n_Size;
        int b_Expected;
    } aso_Cases[] = {
        {"ab", 2, 0}, {"a\0", 2, 1}, {"\xFF\xFE", 2, 1}, {"\xFE\xFF", 2, 1},   {"a\0b", 3, 0},
        {"a", 1, 0},  {"", 0, 0},    {"abc\0", 4, 1},    {"\xFF\xFEzz", 4, 1}, {"zz\xFF\xFE", 4, 0},
    };
    for (const auto& so : aso_Cases)
        EXPECT_EQ(CP::sb_IsTextUnicode(so.pcc_Bytes, so.n_Size, 1), so.b_Expected)
            << testing::PrintToString(std::string(so.pcc_Bytes, so.n_Size));
    EXPECT_EQ(CP::sb_IsTextUnicode(nullptr, 4, 1), 0);
}

TEST(CharProperties, PlatformTextTestServesTheNTFamily)
{
    // Eight-bit text that ends in a zero byte: the own test counts the zero byte, Windows'
    // statistics do not. Natively there is no platform test.
#if defined(_WIN32)
    const int b_OnNT = 0;
#else
    const int b_OnNT = 1;
#endif
    EXPECT_EQ(CP::sb_IsTextUnicode("abc\0", 4, 0), b_OnNT);
    EXPECT_EQ(CP::sb_IsTextUnicode("abc\0", 4, 1), 1);
    CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
    EXPECT_EQ(CP::sb_IsTextUnicode("abc\0", 4, 0), 1);
    CT_OS::sv_Init();
}
} // namespace
