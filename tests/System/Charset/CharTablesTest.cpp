// The character tables over every code point: the library's answers (read through the derived
// indexes) against the range and pair tables of record that the generator wrote beside them,
// and those answers against the sources, the recorded platform character types and the Unicode
// record, within the repertoire of the era (Unicode 2.1) and apart from the era's own rows.
#include "System/Charset/CharMappings.h"
#include "System/Charset/CharProperties.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using CP = CT_CharProperties;
using CM = CT_CharMappings;

struct st_Range
{
    char16_t u_First, u_Last;
    std::uint16_t n_Value;
};

struct st_Pair
{
    char16_t u_From, u_To;
};

#include "CharRangeTables.inc"

constexpr unsigned sn_Units = 0x10000;

// Counts the code points whose two answers differ, naming the first few.
void v_ExpectSame(const char* qccz_What, const std::function<long(char16_t)>& fn_Library,
                  const std::function<long(char16_t)>& fn_Expected)
{
    unsigned n_Differences = 0;
    for (unsigned n = 0; n < sn_Units; ++n)
    {
        const auto u = static_cast<char16_t>(n);
        const long l_Got = fn_Library(u), l_Expected = fn_Expected(u);
        if (l_Got != l_Expected && ++n_Differences <= 5)
            ADD_FAILURE() << qccz_What << " of U+" << std::hex << n << ": " << l_Got
                          << ", expected " << l_Expected;
    }
    EXPECT_EQ(n_Differences, 0u) << qccz_What;
}

// The search by halving of a range table; n_None where no range holds the code point.
template <std::size_t N>
std::uint16_t n_Search(const st_Range (&aso_Ranges)[N], char16_t u, std::uint16_t n_None)
{
    const st_Range* pso =
        std::lower_bound(std::begin(aso_Ranges), std::end(aso_Ranges), u,
                         [](const st_Range& so, char16_t u_Char) { return so.u_Last < u_Char; });
    return pso != std::end(aso_Ranges) && pso->u_First <= u ? pso->n_Value : n_None;
}

template <std::size_t N>
char16_t u_Pair(const st_Pair (&aso_Pairs)[N], char16_t u)
{
    const st_Pair* pso =
        std::lower_bound(std::begin(aso_Pairs), std::end(aso_Pairs), u,
                         [](const st_Pair& so, char16_t u_Char) { return so.u_From < u_Char; });
    return pso != std::end(aso_Pairs) && pso->u_From == u ? pso->u_To : u;
}

template <std::size_t N>
std::function<long(char16_t)> fn_Class(const std::uint16_t (&an_Direct)[256],
                                       const st_Range (&aso_Ranges)[N])
{
    return [&](char16_t u) { return u < 0x100 ? an_Direct[u] : n_Search(aso_Ranges, u, 0); };
}

template <std::size_t N>
std::function<long(char16_t)> fn_Pairs(const st_Pair (&aso_Pairs)[N])
{
    return [&](char16_t u) { return u_Pair(aso_Pairs, u); };
}

TEST(CharTables, IndexAnswersAsTheRangeAndPairTables)
{
    v_ExpectSame("character type", CP::sn2_GetCharacterInformation,
                 fn_Class(san_CharacterInfo, saso_CharacterInfoRanges));
    v_ExpectSame("layout", CP::sn2_GetLayoutInformation,
                 fn_Class(san_LayoutInfo, saso_LayoutInfoRanges));
    v_ExpectSame("text processing", CP::sn2_GetTextProcessingInformation,
                 fn_Class(san_TextProcessingInfo, saso_TextProcessingInfoRanges));
    v_ExpectSame("category", CP::seo_GetUnicodeProperty,
                 [](char16_t u)
                 { return n_Search(saso_CategoryRanges, u, CP::e_PropertyUnknown); });
    v_ExpectSame("block", CP::seo_GetUnicodeBlock,
                 [](char16_t u) { return n_Search(saso_BlockRanges, u, CP::e_BlockUnknown); });
    v_ExpectSame("to upper", CM::su_ToUpper, fn_Pairs(saso_ToUpper));
    v_ExpectSame("to lower", CM::su_ToLower, fn_Pairs(saso_ToLower));
    v_ExpectSame("fold digit", CM::su_FoldDigit, fn_Pairs(saso_FoldDigit));
    v_ExpectSame("fold zone", CM::su_FoldCZone, fn_Pairs(saso_FoldCZone));
    v_ExpectSame("to katakana", CM::su_HiraganaToKatakana, fn_Pairs(saso_HiraganaToKatakana));
    v_ExpectSame("to hiragana", CM::su_KatakanaToHiragana, fn_Pairs(saso_KatakanaToHiragana));
    v_ExpectSame("base", CM::su_ToBase,
                 [](char16_t u)
                 {
                     CT_UString co;
                     CM::sn_Decompose(u, &co);
                     return co.u_GetAt(0);
                 });
}

// The Unicode record of one code point; an empty category where it was not assigned.
struct st_Unicode
{
    std::string o_Category, o_Decomposition, o_Digit, o_Numeric;
    char16_t u_Upper = 0, u_Lower = 0;
};

struct st_Sources
{
    std::vector<st_Unicode> co_Unicode = std::vector<st_Unicode>(sn_Units);
    std::vector<bool> co_Known = std::vector<bool>(sn_Units); // assigned by 2.1 and in the record
    std::vector<std::array<std::uint16_t, 3>> co_Types =
        std::vector<std::array<std::uint16_t, 3>>(sn_Units);
};

// FIRST..LAST or CODE.
std::pair<unsigned, unsigned> so_Codes(const std::string& o)
{
    const std::size_t n_Dots = o.find("..");
    const unsigned n_First = std::stoul(o.substr(0, n_Dots), nullptr, 16);
    return {n_First,
            n_Dots == std::string::npos ? n_First : std::stoul(o.substr(n_Dots + 2), nullptr, 16)};
}

std::vector<std::string> co_Fields(const std::string& o_Line, char c_Separator)
{
    std::vector<std::string> co;
    std::istringstream co_Stream(o_Line);
    for (std::string o; std::getline(co_Stream, o, c_Separator);)
        co.push_back(o);
    co.resize(std::max<std::size_t>(co.size(), 7));
    return co;
}

// Calls fn_Line with each line of the file that is not a comment.
void v_ReadLines(const char* qccz_Path, const std::function<void(const std::string&)>& fn_Line)
{
    std::ifstream co_File(std::string(CT_SOURCE_DIR) + qccz_Path);
    ASSERT_TRUE(co_File) << qccz_Path;
    for (std::string o_Line; std::getline(co_File, o_Line);)
        if (!o_Line.empty() && o_Line[0] != '#')
            fn_Line(o_Line);
}

const st_Sources& so_Sources()
{
    static const st_Sources sso = []
    {
        st_Sources so;
        auto u_Unit = [](const std::string& o)
        { return char16_t(o.empty() ? 0 : std::stoul(o, nullptr, 16)); };
        v_ReadLines("/tests/data/UnicodeReference.txt",
                    [&](const std::string& o_Line)
                    {
                        const std::vector<std::string> co = co_Fields(o_Line, ';');
                        const auto [n_First, n_Last] = so_Codes(co[0]);
                        for (unsigned n = n_First; n <= n_Last; ++n)
                            so.co_Unicode[n] = {co[1], co[2],         co[3],
                                                co[4], u_Unit(co[5]), u_Unit(co[6])};
                    });
        v_ReadLines("/tools/unicode/Repertoire21.txt",
                    [&](const std::string& o_Line)
                    {
                        const auto [n_First, n_Last] = so_Codes(o_Line);
                        for (unsigned n = n_First; n <= n_Last; ++n)
                            so.co_Known[n] = !so.co_Unicode[n].o_Category.empty();
                    });
        v_ReadLines("/tests/data/CharTypeReference.txt",
                    [&](const std::string& o_Line)
                    {
                        std::istringstream co_Line(o_Line);
                        std::string o_Codes;
                        std::array<std::uint16_t, 3> an{};
                        co_Line >> o_Codes >> std::hex >> an[0] >> an[1] >> an[2];
                        const auto [n_First, n_Last] = so_Codes(o_Codes);
                        for (unsigned n = n_First; n <= n_Last; ++n)
                            so.co_Types[n] = an;
                    });
        return so;
    }();
    return sso;
}

bool b_Known(char16_t u)
{
    return so_Sources().co_Known[u];
}

const st_Unicode& so_Unicode(char16_t u)
{
    return so_Sources().co_Unicode[u];
}

bool b_In(char16_t u, unsigned n_First, unsigned n_Last)
{
    return u >= n_First && u <= n_Last;
}

TEST(CharTables, ClassesAreThePlatformsOfTheEra)
{
    // The era's flags only: no "defined" flag, no surrogate flags.
    const std::uint16_t an_Masks[] = {0x01FF, 0xFFFF, 0x87FF};
    const std::function<long(char16_t)> afn_Classes[] = {CP::sn2_GetCharacterInformation,
                                                         CP::sn2_GetLayoutInformation,
                                                         CP::sn2_GetTextProcessingInformation};
    const std::map<char16_t, std::uint16_t> co_EraLayouts = {{u'\n', 0}, {u'\u00AD', 11}};
    const char* aqccz_Names[] = {"character type", "layout", "text processing"};
    for (int i = 0; i < 3; ++i)
        v_ExpectSame(aqccz_Names[i], afn_Classes[i],
                     [&](char16_t u) -> long
                     {
                         if (i == 1 && co_EraLayouts.count(u))
                             return co_EraLayouts.at(u);
                         return b_Known(u) ? so_Sources().co_Types[u][i] & an_Masks[i] : 0;
                     });
}

TEST(CharTables, CategoriesAreUnicodes)
{
    const std::string o_Codes = "MnMcMeNdNlNoZsZlZpCcCfCsCoCnLuLlLtLmLoPcPdPsPePoSmScSkSo";
    v_ExpectSame("category", CP::seo_GetUnicodeProperty,
                 [&](char16_t u) -> long
                 {
                     const std::string& o = so_Unicode(u).o_Category;
                     if (!b_Known(u))
                         return CP::e_PropertyUnknown;
                     // Initial and final quotes count as opening and closing punctuation.
                     if (o == "Pi" || o == "Pf")
                         return o == "Pi" ? CP::e_PunctuationOpen : CP::e_PunctuationClose;
                     return static_cast<long>(o_Codes.find(o) / 2);
                 });
}

TEST(CharTables, NumericValuesAreUnicodes)
{
    auto l_Pack = [](long l_Numerator, long l_Denominator)
    { return l_Numerator * 100000 + l_Denominator; };
    v_ExpectSame(
        "numeric value",
        [&](char16_t u)
        {
            std::int16_t si2_Numerator, si2_Denominator;
            CP::sv_NumericValue(u, si2_Numerator, si2_Denominator);
            return l_Pack(si2_Numerator, si2_Denominator);
        },
        [&](char16_t u)
        {
            const std::string& o = so_Unicode(u).o_Numeric;
            if (u == u'\u09F8')
                return l_Pack(-1, 1);
            if (!b_Known(u) || o.empty() || b_In(u, 0x0F2A, 0x0F33) || b_In(u, 0x3192, 0x3195) ||
                b_In(u, 0x3220, 0x3229))
                return l_Pack(0, 0);
            const std::size_t n_Slash = o.find('/');
            return l_Pack(std::stol(o),
                          n_Slash == std::string::npos ? 1 : std::stol(o.substr(n_Slash + 1)));
        });
}

TEST(CharTables, CasePairsAreUnicodesOneToOnePairs)
{
    // The pair of u when both ends are known and map to each other; Georgian by the era's rule.
    auto u_Other = [](char16_t u, bool b_ToUpper) -> char16_t
    {
        if (b_In(u, b_ToUpper ? 0x10D0 : 0x10A0, b_ToUpper ? 0x10F5 : 0x10C5))
            return b_ToUpper ? u - 0x30 : u + 0x30;
        const char16_t u_To = b_ToUpper ? so_Unicode(u).u_Upper : so_Unicode(u).u_Lower;
        const char16_t u_Back = b_ToUpper ? so_Unicode(u_To).u_Lower : so_Unicode(u_To).u_Upper;
        return b_Known(u) && u_To && b_Known(u_To) && u_Back == u ? u_To : u;
    };
    v_ExpectSame("to upper", CM::su_ToUpper, [&](char16_t u) { return u_Other(u, true); });
    v_ExpectSame("to lower", CM::su_ToLower, [&](char16_t u) { return u_Other(u, false); });
}

TEST(CharTables, DigitFoldsAreUnicodesDigits)
{
    v_ExpectSame("fold digit", CM::su_FoldDigit,
                 [](char16_t u) -> long
                 {
                     const std::string& o = so_Unicode(u).o_Digit;
                     // ASCII digits are themselves; Tibetan and fullwidth digits do not fold.
                     if (!b_Known(u) || o.empty() || b_In(u, '0', '9') || b_In(u, 0x0F20, 0x0F29) ||
                         b_In(u, 0xFF10, 0xFF19))
                         return u;
                     return u'0' + std::stoi(o);
                 });
}

// The tag and units of a Unicode decomposition.
std::pair<std::string, std::u16string> so_Decomposition(char16_t u)
{
    std::istringstream co(so_Unicode(u).o_Decomposition);
    std::string o_Tag, o;
    std::u16string o_Units;
    while (co >> o)
    {
        if (o[0] == '<')
            o_Tag = o;
        else
            o_Units += char16_t(std::stoul(o, nullptr, 16));
    }
    return {o_Tag, o_Units};
}

TEST(CharTables, CompatibilityZoneFoldsToWhatItsFormsStandFor)
{
    v_ExpectSame("fold zone", CM::su_FoldCZone,
                 [](char16_t u) -> long
                 {
                     const auto [o_Tag, o_Units] = so_Decomposition(u);
                     // The halfwidth sound marks stand for the spacing ones; the fullwidth
                     // reverse solidus for nothing.
                     if (u == 0xFF9E || u == 0xFF9F)
                         return u - 0xFF9E + 0x309B;
                     if (!b_Known(u) || !b_In(u, 0xFE30, 0xFFEE) || o_Tag.empty() || u == 0xFF3C)
                         return u;
                     // Spacing Arabic marks: a space or tatweel, then the mark.
                     if (o_Units.size() == 2 && (o_Units[0] == 0x20 || o_Units[0] == 0x640))
                         return o_Units[1];
                     return o_Units.size() == 1 ? o_Units[0] : u;
                 });
}

TEST(CharTables, KanaMapsShiftKanaAndWidenOrFillForms)
{
    std::map<char16_t, char16_t> co_Wide;
    for (unsigned n = 0; n < sn_Units; ++n)
    {
        const auto [o_Tag, o_Units] = so_Decomposition(char16_t(n));
        if (b_Known(char16_t(n)) && o_Tag == "<wide>" && n != 0xFF3C)
            co_Wide[o_Units[0]] = char16_t(n);
    }
    // Hiragana and katakana letters and iteration marks, ASCII and symbols widened, halfwidth
    // forms full (to hiragana where they are katakana).
    auto u_Kana = [&](char16_t u, bool b_ToKatakana) -> char16_t
    {
        const unsigned n_First = b_ToKatakana ? 0x3041 : 0x30A1;
        if (b_In(u, n_First, n_First + 0x53) || b_In(u, n_First + 0x5C, n_First + 0x5D))
            return b_ToKatakana ? u + 0x60 : u - 0x60;
        if (co_Wide.count(u))
            return co_Wide.at(u);
        if (!b_In(u, 0xFF61, 0xFFDC) || !b_Known(u))
            return u;
        const char16_t u_Full = CM::su_FoldCZone(u);
        const bool b_Letter = b_In(u_Full, 0x30A1, 0x30F4) || b_In(u_Full, 0x30FD, 0x30FE);
        return b_ToKatakana || !b_Letter ? u_Full : u_Full - 0x60;
    };
    v_ExpectSame("to katakana", CM::su_HiraganaToKatakana,
                 [&](char16_t u) { return u_Kana(u, true); });
    v_ExpectSame("to hiragana", CM::su_KatakanaToHiragana,
                 [&](char16_t u) { return u_Kana(u, false); });
}

TEST(CharTables, DecompositionsAreUnicodesCanonicalOnes)
{
    // The era's own records (the Greek tonos and kana sound marks are swapped below), and the
    // voiced iteration mark, which had none.
    const std::set<unsigned> co_EraRows = {
        0x00D8, 0x00F8, 0x0110, 0x0126, 0x0127, 0x0141, 0x0142, 0x0166, 0x0167, 0x0180, 0x0197,
        0x019A, 0x019B, 0x019F, 0x01AB, 0x01AE, 0x01B5, 0x01B6, 0x01C4, 0x01C5, 0x01C6, 0x01E4,
        0x01E5, 0x01FE, 0x01FF, 0x0268, 0x0275, 0x0289, 0x0390, 0x03B0, 0x0492, 0x0493, 0x0498,
        0x0499, 0x049A, 0x049B, 0x04AA, 0x04AB, 0x04B0, 0x04B1, 0x04B2, 0x04B3, 0x04BE, 0x04BF,
        0x0A5C, 0x0B5F, 0x1EAC, 0x1EAD, 0x1EB6, 0x1EB7, 0x1EC6, 0x1EC7, 0x1ED8, 0x1ED9, 0x309E};
    const std::set<CP::et_UnicodeBlock> co_Blocks = {CP::e_Latin1Supplement,
                                                     CP::e_LatinExtendedA,
                                                     CP::e_LatinExtendedB,
                                                     CP::e_Greek,
                                                     CP::e_Cyrillic,
                                                     CP::e_Devanagari,
                                                     CP::e_Bengali,
                                                     CP::e_Gurmukhi,
                                                     CP::e_Gujarati,
                                                     CP::e_Oriya,
                                                     CP::e_Tamil,
                                                     CP::e_Telugu,
                                                     CP::e_Kannada,
                                                     CP::e_Malayalam,
                                                     CP::e_LatinExtendedAdditional,
                                                     CP::e_Hiragana,
                                                     CP::e_Katakana};
    std::function<std::u16string(char16_t)> fn_Canonical = [&](char16_t u)
    {
        const auto [o_Tag, o_Units] = so_Decomposition(u);
        std::u16string o;
        for (char16_t u_Unit : o_Units)
            o += fn_Canonical(u_Unit);
        return o_Tag.empty() && !o.empty() ? o : std::u16string(1, u);
    };
    auto n_Hash = [](const std::u16string& o) { return long(std::hash<std::u16string>()(o)); };
    auto n_Library = [&](char16_t u)
    {
        CT_UString co;
        CM::sn_Decompose(u, &co);
        return n_Hash(std::u16string(co.qcuz_Get(), co.n_GetLength()));
    };
    v_ExpectSame("decomposition", n_Library,
                 [&](char16_t u)
                 {
                     if (co_EraRows.count(u))
                         return n_Library(u);
                     std::u16string o = fn_Canonical(u);
                     const CP::et_UnicodeBlock eo_Block = CP::seo_GetUnicodeBlock(u);
                     if (!b_Known(u) || !b_In(u, 0x00C0, 0x30F4) || !co_Blocks.count(eo_Block) ||
                         o.size() < 2 || o.size() > 3)
                         return n_Hash(std::u16string(1, u));
                     for (char16_t& ru : o)
                     {
                         if (ru == 0x0301 && eo_Block == CP::e_Greek && u != 0x0385)
                             ru = 0x030D;
                         else if (ru == 0x3099 || ru == 0x309A)
                             ru = ru - 0x3099 + 0xFF9E;
                     }
                     return n_Hash(o);
                 });
}
} // namespace
