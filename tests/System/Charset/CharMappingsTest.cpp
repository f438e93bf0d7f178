// CT_CharMappings: the rows that its tables must hold, among them every row where they differ
// from Unicode's data, and the in-place string forms with their surrogate pairs.
// CharTablesTest checks the tables whole against their sources.
#include "System/Charset/CharMappings.h"

#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using CM = CT_CharMappings;

// Surrogates, which a literal cannot hold.
constexpr char16_t su_High = 0xD800, su_HighLast = 0xDBFF, su_HighPrivate = 0xDB80, su_Low = 0xDC00;

std::u16string o_Text(const CT_UString& co)
{
    return std::u16string(co.qcuz_Get(), co.n_GetLength());
}

struct st_Mapping
{
    char16_t (*pfn_Map)(char16_t);
    char16_t u_From, u_To;
};

TEST(CharMappings, SingleCharacters)
{
    const st_Mapping aso_Cases[] = {
        {CM::su_ToUpper, u'\u00FF', u'\u0178'},
        {CM::su_ToUpper, u'\u00DF', u'\u00DF'},
        {CM::su_ToUpper, u'\u00B5', u'\u00B5'},
        {CM::su_ToUpper, u'\u0131', u'\u0131'},
        {CM::su_ToUpper, u'\u017F', u'\u017F'},
        {CM::su_ToUpper, u'\u01C5', u'\u01C5'},
        {CM::su_ToUpper, u'\u01C6', u'\u01C4'},
        {CM::su_ToUpper, u'\u03C2', u'\u03C2'},
        {CM::su_ToUpper, u'\u10D0', u'\u10A0'},
        {CM::su_ToUpper, u'\u10F5', u'\u10C5'},
        {CM::su_ToLower, u'\u0178', u'\u00FF'},
        {CM::su_ToLower, u'\u0130', u'\u0130'},
        {CM::su_ToLower, u'\u01C4', u'\u01C6'},
        {CM::su_ToLower, u'\u10A0', u'\u10D0'},
        {CM::su_ToBase, u'\u00C5', u'A'},
        {CM::su_ToBase, u'\u00D8', u'O'},
        {CM::su_ToBase, u'\u0142', u'l'},
        {CM::su_ToBase, u'\u30AC', u'\u30AB'},
        {CM::su_ToBase, u'x', u'x'},
        {CM::su_FoldDigit, u'\u0663', u'3'},
        {CM::su_FoldDigit, u'\uFF13', u'\uFF13'},
        {CM::su_FoldDigit, u'\u0F23', u'\u0F23'},
        {CM::su_FoldCZone, u'\uFF13', u'3'},
        {CM::su_FoldCZone, u'\uFE50', u','},
        {CM::su_FoldCZone, u'\uFE51', u'\u3001'},
        {CM::su_FoldCZone, u'\uFE5F', u'#'},
        {CM::su_FoldCZone, u'\uFF3C', u'\uFF3C'},
        {CM::su_FoldCZone, u'\uFF9E', u'\u309B'},
        {CM::su_FoldCZone, u'\uFF9F', u'\u309C'},
        {CM::su_FoldCZone, u'\uFFE6', u'\u20A9'},
        {CM::su_FoldCZone, u'\uFFE8', u'\u2502'},
        {CM::su_FoldCZone, u'\uFFEE', u'\u25CB'},
        {CM::su_HiraganaToKatakana, u'A', u'\uFF21'},
        {CM::su_HiraganaToKatakana, u'\u3042', u'\u30A2'},
        {CM::su_HiraganaToKatakana, u'\u309E', u'\u30FE'},
        {CM::su_HiraganaToKatakana, u' ', u'\u3000'},
        {CM::su_HiraganaToKatakana, u'\\', u'\\'},
        {CM::su_HiraganaToKatakana, u'\u00A5', u'\uFFE5'},
        {CM::su_HiraganaToKatakana, u'\uFF71', u'\u30A2'},
        {CM::su_KatakanaToHiragana, u'\uFF71', u'\u3042'},
        {CM::su_KatakanaToHiragana, u'\u30F5', u'\u30F5'},
        {CM::su_KatakanaToHiragana, u'\uFF70', u'\u30FC'},
        {CM::su_KatakanaToHiragana, u'\uFF9E', u'\u309B'},
        {CM::su_KatakanaToHiragana, u'\uFF61', u'\u3002'},
    };
    for (const st_Mapping& so : aso_Cases)
        EXPECT_EQ(so.pfn_Map(so.u_From), so.u_To) << "U+" << std::hex << unsigned(so.u_From);
}

// The decomposition records where they differ from Unicode's canonical decompositions, and a
// few that follow them.
TEST(CharMappings, DecompositionRows)
{
    const struct
    {
        char16_t u_Char;
        std::u16string o_Units;
    } aso_Cases[] = {
        {u'\u00C5', u"A\u030A"},       {u'\u1EA5', u"a\u0302\u0301"}, {u'x', u"x"},
        {u'\u00D8', u"O\u0338"},       {u'\u00F8', u"o\u0338"},       {u'\u0110', u"D\u0335"},
        {u'\u0111', u"\u0111"},        {u'\u0126', u"H\u0335"},       {u'\u0127', u"h\u0335"},
        {u'\u0141', u"L\u0337"},       {u'\u0142', u"l\u0337"},       {u'\u0166', u"T\u0335"},
        {u'\u0167', u"t\u0335"},       {u'\u0180', u"b\u0335"},       {u'\u0197', u"I\u0335"},
        {u'\u019A', u"l\u0335"},       {u'\u019B', u"\u03BB\u0335"},  {u'\u019F', u"O\u0335"},
        {u'\u01B5', u"Z\u0336"},       {u'\u01B6', u"z\u0335"},       {u'\u01E4', u"G\u0335"},
        {u'\u01E5', u"g\u0335"},       {u'\u0268', u"i\u0335"},       {u'\u0275', u"o\u0335"},
        {u'\u0289', u"u\u0335"},       {u'\u0492', u"\u0413\u0335"},  {u'\u0493', u"\u0433\u0335"},
        {u'\u04B0', u"\u04AE\u0335"},  {u'\u04B1', u"\u04AF\u0335"},  {u'\u01FE', u"O\u0338\u0301"},
        {u'\u01FF', u"o\u0338\u0301"}, {u'\u01AB', u"t\u0321"},       {u'\u01AE', u"T\u0322"},
        {u'\u0498', u"\u0417\u0327"},  {u'\u0499', u"\u0437\u0327"},  {u'\u04AA', u"\u0421\u0327"},
        {u'\u04AB', u"\u0441\u0327"},  {u'\u049A', u"\u041A\u0328"},  {u'\u049B', u"\u043A\u0328"},
        {u'\u04B2', u"\u0425\u0328"},  {u'\u04B3', u"\u0445\u0328"},  {u'\u04BE', u"\u04BC\u0328"},
        {u'\u04BF', u"\u04BD\u0328"},  {u'\u01C4', u"D\u017D"},       {u'\u01C5', u"D\u017E"},
        {u'\u01C6', u"d\u017E"},       {u'\u0386', u"\u0391\u030D"},  {u'\u038F', u"\u03A9\u030D"},
        {u'\u03AC', u"\u03B1\u030D"},  {u'\u03CE', u"\u03C9\u030D"},  {u'\u03D3', u"\u03D2\u030D"},
        {u'\u03AA', u"\u0399\u0308"},  {u'\u0390', u"\u03B9\u0344"},  {u'\u03B0', u"\u03C5\u0344"},
        {u'\u0A5C', u"\u0A21\u0A3C"},  {u'\u0B5F', u"\u0B2F\u0B3C"},  {u'\u1EAC', u"A\u0302\u0323"},
        {u'\u1EAD', u"a\u0302\u0323"}, {u'\u1EB6', u"A\u0306\u0323"}, {u'\u1EB7', u"a\u0306\u0323"},
        {u'\u1EC6', u"E\u0302\u0323"}, {u'\u1EC7', u"e\u0302\u0323"}, {u'\u1ED8', u"O\u0302\u0323"},
        {u'\u1ED9', u"o\u0302\u0323"}, {u'\u304C', u"\u304B\uFF9E"},  {u'\u307D', u"\u307B\uFF9F"},
        {u'\u3094', u"\u3046\uFF9E"},  {u'\u30AC', u"\u30AB\uFF9E"},  {u'\u30DD', u"\u30DB\uFF9F"},
        {u'\u30F4', u"\u30A6\uFF9E"},  {u'\u309E', u"\u309E"},        {u'\u30F7', u"\u30F7"},
        {u'\u1F00', u"\u1F00"}, // Greek Extended is not in the table
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Out(u"old", 3);
        EXPECT_EQ(CM::sn_Decompose(so.u_Char, &co_Out), so.o_Units.size())
            << "U+" << std::hex << unsigned(so.u_Char);
        EXPECT_EQ(o_Text(co_Out), so.o_Units) << "U+" << std::hex << unsigned(so.u_Char);
        EXPECT_EQ(CM::sn_Decompose(so.u_Char, nullptr), so.o_Units.size());
    }
}

TEST(CharMappings, StringsDecomposeWholeAndInPlace)
{
    const std::u16string o_In{u'\u00C5', u'x', u'\u1EC7', su_High, u'\u00C5', su_HighLast};
    const CT_UString co_In(o_In.data(), 6);
    CT_UString co_Out(u"old", 3);
    CM::sv_Decompose(&co_In, &co_Out);
    // The unit after a high surrogate is kept as it is; a lone one at the end too.
    EXPECT_EQ(o_Text(co_Out), u"A\u030Ax"
                              u"e\u0302\u0323" +
                                  o_In.substr(3));
    CT_UString co_Text(u"\u00C5x", 2);
    CM::sv_Decompose(&co_Text);
    EXPECT_EQ(o_Text(co_Text), u"A\u030Ax");
    CM::sv_Decompose(&co_Text, &co_Text);
    EXPECT_EQ(o_Text(co_Text), u"A\u030Ax");
    CM::sv_Decompose(nullptr, &co_Text);
    EXPECT_EQ(o_Text(co_Text), u"");
}

TEST(CharMappings, StringsMapInPlaceAroundSurrogatePairs)
{
    const struct
    {
        void (*pfn_Map)(CT_UString*);
        std::u16string o_From, o_To;
    } aso_Cases[] = {
        {CM::sv_ToUpper,
         {u'a', su_High, u'b', u'\u00FF', u'c', su_HighPrivate, u'd'},
         {u'A', su_High, u'b', u'\u0178', u'C', su_HighPrivate, u'd'}},
        {CM::sv_ToLower, {u'A', su_Low, u'B'}, {u'a', su_Low, u'b'}},
        {CM::sv_ToBase, u"\u00C5\u0142", u"Al"},
        {CM::sv_FoldDigit, u"\u0663\u00B2", u"32"},
        {CM::sv_FoldCZone, u"\uFF21\uFF9E", u"A\u309B"},
        {CM::sv_HiraganaToKatakana, u"\u3042a", u"\u30A2\uFF41"},
        {CM::sv_KatakanaToHiragana, u"\u30A2\uFF71", u"\u3042\u3042"},
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Text(so.o_From.data(), static_cast<unsigned>(so.o_From.size()));
        const CT_UString co_Copy(co_Text);
        so.pfn_Map(&co_Text);
        EXPECT_EQ(o_Text(co_Text), so.o_To);
        EXPECT_EQ(o_Text(co_Copy), so.o_From); // a sharing copy keeps its text
    }
    CM::sv_ToUpper(nullptr);
}
} // namespace
