#include "System/String/Formatter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace
{
constexpr unsigned sn_Large = 8192;

// Formats into an area of exactly n_Capacity units (so AddressSanitizer sees any write past it)
// and checks the count against the terminator.
template <typename T_Unit>
std::basic_string<T_Unit> s_Checked(unsigned n_Capacity, const T_Unit* pct_Format, va_list args)
{
    std::vector<T_Unit> at_Area(n_Capacity, T_Unit('#'));
    const unsigned n_Written =
        CT_Formatter::sn_Format(at_Area.data(), n_Capacity, pct_Format, args);
    if (n_Capacity == 0)
    {
        EXPECT_EQ(n_Written, 0u);
        return {};
    }
    EXPECT_LT(n_Written, n_Capacity);
    EXPECT_EQ(at_Area[n_Written], T_Unit(0));
    return std::basic_string<T_Unit>(at_Area.data(), n_Written);
}

std::string s_Format(unsigned n_Capacity, const char* qccz_Format, ...)
{
    va_list args;
    va_start(args, qccz_Format);
    std::string s_Result = s_Checked(n_Capacity, qccz_Format, args);
    va_end(args);
    return s_Result;
}

std::u16string s_Format(unsigned n_Capacity, const char16_t* qcuz_Format, ...)
{
    va_list args;
    va_start(args, qcuz_Format);
    std::u16string s_Result = s_Checked(n_Capacity, qcuz_Format, args);
    va_end(args);
    return s_Result;
}

// The reference is a C99 printf: glibc's natively, mingw-w64's own under Windows (msvcrt's is
// not C99: it drops the sign of a NaN and the digit of "%#.0o" with 0).
#if defined(_WIN32)
#define CT_C99_VSNPRINTF __mingw_vsnprintf
#else
#define CT_C99_VSNPRINTF std::vsnprintf
#endif

std::string s_CReference(const char* qccz_Format, ...)
{
    va_list args;
    va_list args_Again;
    va_start(args, qccz_Format);
    va_copy(args_Again, args);
    std::string s_Result(CT_C99_VSNPRINTF(nullptr, 0, qccz_Format, args), '\0');
    CT_C99_VSNPRINTF(s_Result.data(), s_Result.size() + 1, qccz_Format, args_Again);
    va_end(args_Again);
    va_end(args);
    return s_Result;
}

std::u16string s_Widen(const std::string& s_Ascii)
{
    return {s_Ascii.begin(), s_Ascii.end()};
}

// A copy of the text in an area of exactly its size, so a read past the terminator is caught.
std::vector<char> ac_Exact(const char* qccz_Text)
{
    return std::vector<char>(qccz_Text, qccz_Text + std::strlen(qccz_Text) + 1);
}

const char* const aqccz_IntFormats[] = {
    "%d",   "%i",     "%5d",      "%-5d|",  "%05d", "%+d",  "% d", "%+ d", "%.3d", "%8.3d",
    "%.0d", "%08.3d", "%-+8.3d|", "%+05d",  "%u",   "%+u",  "%o",  "%#o",  "%x",   "%#x",
    "%#X",  "%#08x",  "%#.5x",    "%-#8o|", "%hhd", "%hhu", "%hd", "%hu",  "%hx"};
const int ai_Ints[] = {0, 1, -1, 42, -42, 255, 256, 65535, 70000, INT_MAX, INT_MIN};

const char* const aqccz_LongLongFormats[] = {"%lld",   "%llu",     "%llx",    "%llo",  "%+lld",
                                             "%25lld", "%-25lld|", "%025lld", "%#llx", "%.20lld"};
const long long ai_LongLongs[] = {0, 1, -1, LLONG_MAX, LLONG_MIN, LLONG_MIN + 1};

const char* const aqccz_FloatFormats[] = {
    "%f",   "%.0f", "%+.0f", "%#.0f", "%.1f",  "%10.3f", "%-10.3f|", "%010.3f", "%+010.3f", "% f",
    "%F",   "%e",   "%.0e",  "%#.0e", "%E",    "%12.4e", "%-12.4e|", "%012.4e", "%g",       "%.0g",
    "%.1g", "%#g",  "%#.3g", "%.10g", "%.17g", "%G",     "%+g",      "% g",     "%010g",    "%#.0g",
    "%a",   "%A",   "%.0a",  "%.3a",  "%#a",   "%#.0a",  "%015a",    "%-15a|",  "%+a"};
const double ad_Floats[] = {0.0,       -0.0,      1.0,     -1.0,        0.5,      1.5,
                            2.5,       -2.5,      0.1,     123.456,     1e-5,     1e-4,
                            1.2345e-4, 9.9999999, 99999.5, 123456789.0, 1e15,     1e300,
                            -1e-300,   DBL_MIN,   DBL_MAX, INFINITY,    -INFINITY};

// Where C runtimes disagree, the formatter follows C99: the sign of a NaN is printed, and '#'
// keeps the one octal digit of zero.
TEST(Formatter, NanSignAndAlternateOctalZeroFollowC99)
{
    EXPECT_EQ(s_Format(sn_Large, "%f|%+f|%5.1F", std::copysign(NAN, -1.0), std::copysign(NAN, 1.0),
                       std::copysign(NAN, -1.0)),
              "-nan|+nan| -NAN");
    EXPECT_EQ(s_Format(sn_Large, "%#.0o|%.0o", 0, 0), "0|");
}

TEST(Formatter, IntegersMatchTheCRuntime)
{
    for (const char* qccz_Format : aqccz_IntFormats)
        for (int i_Value : ai_Ints)
            EXPECT_EQ(s_Format(sn_Large, qccz_Format, i_Value), s_CReference(qccz_Format, i_Value))
                << qccz_Format << " " << i_Value;
}

TEST(Formatter, LongLongsMatchTheCRuntime)
{
    for (const char* qccz_Format : aqccz_LongLongFormats)
        for (long long i_Value : ai_LongLongs)
            EXPECT_EQ(s_Format(sn_Large, qccz_Format, i_Value), s_CReference(qccz_Format, i_Value))
                << qccz_Format << " " << i_Value;
}

TEST(Formatter, FloatsMatchTheCRuntime)
{
    for (const char* qccz_Format : aqccz_FloatFormats)
        for (double d_Value : ad_Floats)
            EXPECT_EQ(s_Format(sn_Large, qccz_Format, d_Value), s_CReference(qccz_Format, d_Value))
                << qccz_Format << " " << d_Value;
}

// Digits asked beyond what a double can make nonzero are added as zeros; they must still be
// exactly the C runtime's.
TEST(Formatter, HugeFloatPrecisionsStayExact)
{
    const struct
    {
        const char* qccz_Format;
        double d_Value;
    } aso_Cases[] = {{"%.1100f", 1.0 / 3}, {"%.1100f", -DBL_MAX}, {"%#.1500g", DBL_MAX},
                     {"%.1100f", 5e-324},  {"%.2000e", 1.0 / 3},  {"%.1200g", 0.1},
                     {"%#.1200g", 0.1},    {"%#.1500g", 1e300},   {"%.1200a", 1.0},
                     {"%.1080e", 5e-324},  {"%#.1100g", 5e-324}};
    for (const auto& so_Case : aso_Cases)
        EXPECT_EQ(s_Format(sn_Large, so_Case.qccz_Format, so_Case.d_Value),
                  s_CReference(so_Case.qccz_Format, so_Case.d_Value))
            << so_Case.qccz_Format;
}

// Each conversion is followed by "%d" of 7, which comes out right only when the modifier read
// an argument of the right size.
TEST(Formatter, LengthModifiersReadTheirArgumentWidths)
{
    EXPECT_EQ(s_Format(sn_Large, "%hhd|%d", 0x1FF, 7), "-1|7");
    EXPECT_EQ(s_Format(sn_Large, "%hu|%d", 70000, 7), "4464|7");
    EXPECT_EQ(s_Format(sn_Large, "%ld|%d", LONG_MIN, 7), std::to_string(LONG_MIN) + "|7");
    EXPECT_EQ(s_Format(sn_Large, "%I64d|%d", LLONG_MIN, 7), "-9223372036854775808|7");
    EXPECT_EQ(s_Format(sn_Large, "%I64X|%d", 0xFEDCBA9876543210ull, 7), "FEDCBA9876543210|7");
    EXPECT_EQ(s_Format(sn_Large, "%I32d|%d", INT_MIN, 7), "-2147483648|7");
    EXPECT_EQ(s_Format(sn_Large, "%Id|%d", std::intptr_t(-5), 7), "-5|7");
    EXPECT_EQ(s_Format(sn_Large, "%Iu|%d", UINTPTR_MAX, 7), std::to_string(UINTPTR_MAX) + "|7");
    EXPECT_EQ(s_Format(sn_Large, "%zu|%d", SIZE_MAX, 7), std::to_string(SIZE_MAX) + "|7");
    EXPECT_EQ(s_Format(sn_Large, "%td|%d", std::ptrdiff_t(-3), 7), "-3|7");
    EXPECT_EQ(s_Format(sn_Large, "%jd|%d", INTMAX_MIN, 7), std::to_string(INTMAX_MIN) + "|7");
    EXPECT_EQ(s_Format(sn_Large, "%Lf|%d", 1.5L, 7), "1.500000|7");
    EXPECT_EQ(s_Format(sn_Large, "%Lg|%d", -LDBL_MAX, 7), "-inf|7");
}

TEST(Formatter, SixteenBitFormatsWriteNumbersLikeEightBit)
{
    for (const char* qccz_Format : aqccz_IntFormats)
        EXPECT_EQ(s_Format(sn_Large, s_Widen(qccz_Format).c_str(), INT_MIN),
                  s_Widen(s_Format(sn_Large, qccz_Format, INT_MIN)))
            << qccz_Format;
    for (const char* qccz_Format : aqccz_FloatFormats)
        EXPECT_EQ(s_Format(sn_Large, s_Widen(qccz_Format).c_str(), -123.456),
                  s_Widen(s_Format(sn_Large, qccz_Format, -123.456)))
            << qccz_Format;
}

// U+4E2D read as 8-bit would give '-'; 0xE9 read as 16-bit from an int -23 would give U+FFE9.
TEST(Formatter, TextWidthsFollowWindowsConventionsInEightBitFormats)
{
    EXPECT_EQ(
        s_Format(sn_Large, "%s|%hs|%ls|%ws|%S|%hS|%lS", "a", "b", u"c", u"d", u"e", "f", u"g"),
        "a|b|c|d|e|f|g");
    EXPECT_EQ(
        s_Format(sn_Large, "%c|%hc|%lc|%wc|%C", '\xE9', '\xE9', u'\x4E2D', u'\x4E2D', u'\xE9'),
        "\xE9|\xE9|?|?|\xE9");
}

TEST(Formatter, TextWidthsFollowWindowsConventionsInSixteenBitFormats)
{
    EXPECT_EQ(
        s_Format(sn_Large, u"%s|%hs|%ls|%ws|%S|%hS|%lS", u"a", "b", u"c", u"d", "e", "f", u"g"),
        u"a|b|c|d|e|f|g");
    EXPECT_EQ(
        s_Format(sn_Large, u"%c|%hc|%lc|%wc|%C", u'\x4E2D', '\xE9', u'\x4E2D', u'\x4E2D', '\xE9'),
        u"\x4E2D|\xE9|\x4E2D|\x4E2D|\xE9");
}

// Code page 0 is Windows-1252 on both builds: 0x80 is the euro sign there, not U+0080.
TEST(Formatter, OtherWidthTextIsConvertedWithTheAnsiCodePage)
{
    EXPECT_EQ(s_Format(sn_Large, "%ls|%C", u"a\u00E9\u4E2D\u20AC", u'\u20AC'), "a\xE9?\x80|\x80");
    EXPECT_EQ(s_Format(sn_Large, u"%hs|%C", "a\xE9\x80\xFF", '\x80'),
              u"a\u00E9\u20AC\u00FF|\u20AC");
    // Width and precision: the precision bounds the units read, the width pads what they became.
    EXPECT_EQ(s_Format(sn_Large, "%4ls|%-3.1ls|", u"\u20AC", u"\u20ACx"), "   \x80|\x80  |");
    EXPECT_EQ(s_Format(sn_Large, u"%3hs|%.0hs|", "\x80", "abc"), u"  \u20AC||");
    // A zero character of either width is a zero unit, as in the Windows runtime.
    EXPECT_EQ(s_Format(sn_Large, u"a%hcb", 0), std::u16string_view(u"a\0b", 3));
    EXPECT_EQ(s_Format(sn_Large, "a%lcb", 0), std::string_view("a\0b", 3));
}

TEST(Formatter, TextIsJustifiedAndLimitedByPrecision)
{
    EXPECT_EQ(s_Format(sn_Large, "%.3s|%5s|%-5s|%05s|%3c|%-3c|%.0c", "abcdef", "ab", "ab", "ab",
                       'x', 'y', 'z'),
              "abc|   ab|ab   |000ab|  x|y  |z");
    const char ac_Unterminated[] = {'a', 'b', 'c'};
    EXPECT_EQ(s_Format(sn_Large, "%.3s", ac_Unterminated), "abc");
    EXPECT_EQ(s_Format(sn_Large, u"%.2s|%-4s|", u"\x4E2D\x6587\x5B57", u"ab"),
              u"\x4E2D\x6587|ab  |");
}

TEST(Formatter, NullTextPrintsNull)
{
    EXPECT_EQ(s_Format(sn_Large, "%s|%.3s|%8s|%ls", nullptr, nullptr, nullptr, nullptr),
              "(null)|(nu|  (null)|(null)");
    EXPECT_EQ(s_Format(sn_Large, u"%s|%hs", nullptr, nullptr), u"(null)|(null)");
}

TEST(Formatter, PointerIsAllItsDigitsInUpperCaseHex)
{
    const std::string s_Zeros(2 * sizeof(void*) - 3, '0');
    EXPECT_EQ(s_Format(sn_Large, "%p", reinterpret_cast<void*>(0xABC)), s_Zeros + "ABC");
    EXPECT_EQ(s_Format(sn_Large, "%p", nullptr), std::string(2 * sizeof(void*), '0'));
    EXPECT_EQ(s_Format(sn_Large, "%-20p|", nullptr).size(), 21u);
    EXPECT_EQ(s_Format(sn_Large, u"%p", reinterpret_cast<void*>(0xABC)), s_Widen(s_Zeros + "ABC"));
}

TEST(Formatter, PercentNConsumesItsPointerAndWritesNothing)
{
    int i_Target = 5;
    EXPECT_EQ(s_Format(sn_Large, "a%nb%hhn%d", &i_Target, &i_Target, 7), "ab7");
    EXPECT_EQ(i_Target, 5);
}

TEST(Formatter, UnknownConversionIsCopiedAsItStands)
{
    EXPECT_EQ(s_Format(sn_Large, "%-5k|%y|%lk|%I6|%d|%%|100%%", 7), "%-5k|%y|%lk|%I6|7|%|100%");
    EXPECT_EQ(s_Format(sn_Large, u"%k|%\x4E2D", 7), u"%k|%\x4E2D");
}

TEST(Formatter, FormatEndingInsideAConversionStopsThere)
{
    for (const char* qccz_Format : {"abc%", "abc%-5", "abc%.", "abc%l", "abc%ll", "abc%I"})
        EXPECT_EQ(s_Format(sn_Large, ac_Exact(qccz_Format).data(), 7), "abc") << qccz_Format;
}

TEST(Formatter, StarWidthAndPrecisionComeFromArguments)
{
    EXPECT_EQ(s_Format(sn_Large, "%*d|%*d|%-*d|%.*d|%.*d|%0*d", 5, 42, -5, 42, -5, 42, 3, 7, -1, 7,
                       4, -3),
              "   42|42   |42   |007|7|-003");
    EXPECT_EQ(s_Format(sn_Large, "%.*f|%*.*e", -1, 1.5, 12, 2, 1.5), "1.500000|    1.50e+00");
    EXPECT_EQ(s_Format(16, "%*d|", INT_MIN, 1), "1" + std::string(14, ' '));
}

// Every capacity from 0 to past the whole text gives the text's prefix that fits.
TEST(Formatter, CutAtAnyCapacityIsAnExactPrefix)
{
    const char* qccz_Format = "x%5dy%-4s%#xz%.2e%c%ls";
    const std::string s_Whole = s_Format(sn_Large, qccz_Format, -42, "ab", 255, 3.14159, 'q', u"w");
    const std::u16string u_Whole = s_Widen(s_Whole);
    const std::u16string u_Format = s_Widen(qccz_Format);
    for (unsigned n_Capacity = 0; n_Capacity <= s_Whole.size() + 2; ++n_Capacity)
    {
        const size_t n_Fits = n_Capacity ? n_Capacity - 1 : 0;
        EXPECT_EQ(s_Format(n_Capacity, qccz_Format, -42, "ab", 255, 3.14159, 'q', u"w"),
                  s_Whole.substr(0, n_Fits));
        EXPECT_EQ(s_Format(n_Capacity, u_Format.c_str(), -42, u"ab", 255, 3.14159, u'q', u"w"),
                  u_Whole.substr(0, n_Fits));
    }
}

TEST(Formatter, HugeWidthsAndPrecisionsAreCutSafely)
{
    const std::string s_Spaces(15, ' ');
    const std::string s_Zeros(15, '0');
    EXPECT_EQ(s_Format(16, "%2147483647d", 7), s_Spaces);
    EXPECT_EQ(s_Format(16, "%-2147483647d", 7), "7" + s_Spaces.substr(1));
    EXPECT_EQ(s_Format(16, "%.2147483647d", 7), s_Zeros);
    EXPECT_EQ(s_Format(16, "%99999999999999999999d", 7), s_Spaces);
    EXPECT_EQ(s_Format(16, "%02147483647s", "a"), s_Zeros);
    EXPECT_EQ(s_Format(16, "%.2147483647f", 1.0), "1." + s_Zeros.substr(2));
    EXPECT_EQ(s_Format(16, "%.2147483647g", 1.0), "1");
    EXPECT_EQ(s_Format(16, "%#.2147483647g", 1.0), "1." + s_Zeros.substr(2));
    EXPECT_EQ(s_Format(16, "%.2147483647e", 1.0), "1." + s_Zeros.substr(2));
    EXPECT_EQ(s_Format(16, "%.*a", INT_MAX, 1.0), "0x1." + s_Zeros.substr(4));
    EXPECT_EQ(s_Format(16, u"%2147483647d", 7), s_Widen(s_Spaces));
}
} // namespace
