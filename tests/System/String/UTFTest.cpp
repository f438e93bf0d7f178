// CT_UTF: known texts, malformed input, texts fed in pieces, round trips of every unit, the
// edges of the ASCII blocks, codec state kept per thread, and random texts against the plain
// reference codecs that the differential fuzz target uses too; every case at each level of
// instruction sets.
#include "System/String/UTF.h"

#include "Basis/Platform/AtEachLevel.h"
#include "UTFReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

namespace
{
using namespace std::literals;

// A codec as the tests drive it. Its output for a whole text of n elements is at most
// n x n_PerInput + n_Extra elements, b_Terminated of them the terminator.
template <typename TOut, typename TIn>
struct st_Codec
{
    void (*pfn_Init)();
    int (*pfn_Convert)(TOut*, const TIn*, int);
    int (*pfn_Exit)(TOut*);
    std::size_t n_PerInput, n_Extra;
    int b_Terminated;
};
const st_Codec<char, char16_t> so_ToUTF7{
    CT_UTF::sv_WideToUTF7Init, CT_UTF::si_WideToUTF7, CT_UTF::si_WideToUTF7Exit, 3, 3, 1};
const st_Codec<char16_t, char> so_FromUTF7{
    CT_UTF::sv_UTF7ToWideInit, CT_UTF::si_UTF7ToWide, nullptr, 1, 0, 0};
const st_Codec<char, char16_t> so_ToUTF8{nullptr, CT_UTF::si_WideToUTF8, nullptr, 3, 1, 1};
const st_Codec<char16_t, char> so_FromUTF8{
    CT_UTF::sv_UTF8ToWideInit, CT_UTF::si_UTF8ToWide, nullptr, 1, 0, 0};

constexpr char sc_Guard = '\xA5';
constexpr std::size_t sn_Whole = SIZE_MAX;

// Runs a codec over co_In fed n_Piece elements at a time, from an input of exact size (so that
// ASan sees any read past the count) into an output of the documented maximum followed by a
// guard. Checks the maximum, the terminator, and that nothing behind them was written.
template <typename TOut, typename TIn>
std::basic_string<TOut> co_Run(const st_Codec<TOut, TIn>& so_Codec,
                               std::type_identity_t<std::basic_string_view<TIn>> co_In,
                               std::size_t n_Piece = sn_Whole)
{
    const std::vector<TIn> a_In(co_In.begin(), co_In.end());
    const std::size_t n_Max = so_Codec.n_PerInput * a_In.size() + so_Codec.n_Extra;
    std::vector<TOut> a_Out(n_Max + 16, static_cast<TOut>(sc_Guard));
    if (so_Codec.pfn_Init)
        so_Codec.pfn_Init();
    std::size_t n_Total = 0, n_At = 0;
    do
    {
        const std::size_t n_Count = std::min(n_Piece, a_In.size() - n_At);
        n_Total += so_Codec.pfn_Convert(a_Out.data() + n_Total, a_In.data() + n_At,
                                        static_cast<int>(n_Count));
        n_At += n_Count;
    } while (n_At < a_In.size());
    if (so_Codec.pfn_Exit)
        n_Total += so_Codec.pfn_Exit(a_Out.data() + n_Total);
    const std::size_t n_Written = n_Total + so_Codec.b_Terminated;
    EXPECT_LE(n_Written, n_Max);
    if (n_Written > n_Max)
        return {};
    if (so_Codec.b_Terminated)
    {
        EXPECT_EQ(a_Out[n_Total], TOut{0});
    }
    EXPECT_TRUE(std::all_of(a_Out.begin() + n_Written, a_Out.end(),
                            [](TOut c) { return c == static_cast<TOut>(sc_Guard); }));
    return std::basic_string<TOut>(a_Out.data(), n_Total);
}

// The whole-text result, after checking that pieces of one, two, three, seven and twenty-nine
// elements give the same (twenty-nine: blocks follow bits left pending by the piece before). For
// texts without a zero element, where a whole text stops.
template <typename TOut, typename TIn>
std::basic_string<TOut> co_RunInPieces(const st_Codec<TOut, TIn>& so_Codec,
                                       std::type_identity_t<std::basic_string_view<TIn>> co_In)
{
    const std::basic_string<TOut> co_Whole = co_Run(so_Codec, co_In);
    for (std::size_t n_Piece : {1, 2, 3, 7, 29})
        EXPECT_EQ(co_Run(so_Codec, co_In, n_Piece), co_Whole) << "pieces of " << n_Piece;
    return co_Whole;
}

std::string co_ToUTF7(std::u16string_view co_Text)
{
    return co_RunInPieces(so_ToUTF7, co_Text);
}
std::u16string co_FromUTF7(std::string_view co_Bytes)
{
    return co_RunInPieces(so_FromUTF7, co_Bytes);
}
std::string co_ToUTF8(std::u16string_view co_Text)
{
    return co_RunInPieces(so_ToUTF8, co_Text);
}
std::u16string co_FromUTF8(std::string_view co_Bytes)
{
    return co_RunInPieces(so_FromUTF8, co_Bytes);
}

std::u16string co_EveryUnit()
{
    std::u16string co_Text;
    for (char32_t n_Unit = 1; n_Unit <= 0xFFFF; ++n_Unit)
        co_Text += static_cast<char16_t>(n_Unit);
    return co_Text;
}

struct st_Case
{
    std::u16string co_Text;
    std::string co_Bytes;
};

void v_CheckEncodes(const st_Case* paso_Cases, std::size_t n_Cases,
                    std::string (*pfn_Encode)(std::u16string_view))
{
    for (std::size_t n = 0; n < n_Cases; ++n)
        EXPECT_EQ(pfn_Encode(paso_Cases[n].co_Text), paso_Cases[n].co_Bytes) << "case " << n;
}

void v_CheckDecodes(const st_Case* paso_Cases, std::size_t n_Cases,
                    std::u16string (*pfn_Decode)(std::string_view))
{
    for (std::size_t n = 0; n < n_Cases; ++n)
        EXPECT_EQ(pfn_Decode(paso_Cases[n].co_Bytes), paso_Cases[n].co_Text) << "case " << n;
}
} // namespace

// Every case at each level of instruction sets.
class UTF7 : public CT_AtEachLevel
{
};
class UTF8 : public CT_AtEachLevel
{
};
class UTFReference : public CT_AtEachLevel
{
};
CT_AT_EACH_LEVEL(UTF7);
CT_AT_EACH_LEVEL(UTF8);
CT_AT_EACH_LEVEL(UTFReference);

// ---------------------------------------------------------------------------------------------
// UTF-7

TEST_P(UTF7, EncodesKnownTexts)
{
    const st_Case sao_Cases[] = {
        {u"", ""},                                         // nothing, only the terminator
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--+ACE-"},      // '!' encoded, each run ends with '-'
        {u"a+", "a+-"},                                    // '+' outside a run
        {u"++", "+-+-"},                                   // '+' twice, no run opened
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe-"},             // 48 bits: a run without fill bits
        {u"A\u2262\u0391.", "A+ImIDkQ-."},                 // 32 bits: 4 fill bits
        {u"Item 3 is \u00A31.", "Item 3 is +AKM-1."},      // 16 bits: 2 fill bits
        {u"\u00E9+", "+AOkAKw-"},                          // '+' inside a run is a unit like any
        {u"\u00E9-", "+AOk--"},                            // the closing '-', then a direct '-'
        {u"\x01\x7F", "+AAEAfw-"},                         // control character and DEL
        {u"!\"#;@[]{}", "+ACEAIgAjADsAQABbAF0AewB9-"},     // optional direct characters
        {u"'(),-./:? \t\r\nzZ09", "'(),-./:? \t\r\nzZ09"}, // direct characters
        {u"\U0001F600\uFFFF", "+2D3eAP//-"},               // a surrogate pair unit by unit
    };
    v_CheckEncodes(sao_Cases, std::size(sao_Cases), co_ToUTF7);
}

TEST_P(UTF7, DecodesKnownAndMalformedTexts)
{
    const st_Case sao_Cases[] = {
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--+ACE-"}, // two runs, each ended by '-'
        {u"a", "+AGE-"},                              // the '-' ending a run is taken
        {u"a.", "+AGE."},                             // any other byte ends a run and stays
        {u"+", "+-"},                                 // an empty run is '+', also at the end
        {u"a+b", "a+-b"},                             // '+-' in the middle
        {u"A\u2262\u0391.", "A+ImIDkQ."},             // run ended without '-'
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe-"},        // three units, no bits left
        {u"a", "+AGE"},                               // run open at the end: its units come out
        {u"", "+AG-"},                                // 12 bits: short of a unit, dropped
        {u"aa", "+AGF-+AGE-"},                        // dropped bits do not reach the next run
        {u"a", "+AGEA-"},                             // 8 bits left over, dropped
        {u".", "+."},                                 // empty run ended by another byte
        {u"a-", "+AGE--"},                            // the second '-' is text
        {u"\u00E9\u00C1", "+AOk\xC1"},                // a byte 0x80-0xFF ends a run ...
        {u"\u00FF\u0080", "\xFF\x80"},                // ... and passes through as a unit
        {u"\u00FB\u00EF", "+APsA7w"},                 // open at the end, 4 bits pending
        {u"a-b", "a-b"},                              // '-' outside a run is text
    };
    v_CheckDecodes(sao_Cases, std::size(sao_Cases), co_FromUTF7);
}

TEST_P(UTF7, ZeroStopsAConversion)
{
    // The encoder closes the run, writes the zero as terminator, does not count it and stops.
    EXPECT_EQ(co_Run(so_ToUTF7, u"a\0b"sv), "a");
    EXPECT_EQ(co_Run(so_ToUTF7, u"\u00E9\0b"sv), "+AOk-");
    // The decoder stops before the zero; an open run with its bits waits for the next call.
    EXPECT_EQ(co_Run(so_FromUTF7, "a\0b"sv), u"a");
    char16_t au_Out[4];
    CT_UTF::sv_UTF7ToWideInit();
    EXPECT_EQ(CT_UTF::si_UTF7ToWide(au_Out, "+AG\0", 4), 0);
    ASSERT_EQ(CT_UTF::si_UTF7ToWide(au_Out, "E-", 2), 1);
    EXPECT_EQ(au_Out[0], u'a');
}

TEST_P(UTF7, CountZeroReadsAndWritesNothing)
{
    char ac_Out[2] = {sc_Guard, sc_Guard};
    char16_t au_Out[2] = {u'?', u'?'};
    CT_UTF::sv_WideToUTF7Init();
    EXPECT_EQ(CT_UTF::si_WideToUTF7(ac_Out, nullptr, 0), 0);
    EXPECT_EQ(ac_Out[0], sc_Guard);
    CT_UTF::sv_UTF7ToWideInit();
    EXPECT_EQ(CT_UTF::si_UTF7ToWide(au_Out, nullptr, 0), 0);
    EXPECT_EQ(au_Out[0], u'?');
}

TEST_P(UTF7, InitDropsAnOpenRun)
{
    char ac_Out[8];
    CT_UTF::sv_WideToUTF7Init();
    EXPECT_EQ(CT_UTF::si_WideToUTF7(ac_Out, u"\u00E9", 1), 3); // "+AO", 4 bits pending
    CT_UTF::sv_WideToUTF7Init();
    EXPECT_EQ(CT_UTF::si_WideToUTF7(ac_Out, u"a", 1), 1);
    EXPECT_EQ(CT_UTF::si_WideToUTF7Exit(ac_Out + 1), 0);
    EXPECT_STREQ(ac_Out, "a");

    char16_t au_Out[8];
    CT_UTF::sv_UTF7ToWideInit();
    EXPECT_EQ(CT_UTF::si_UTF7ToWide(au_Out, "+AG", 3), 0);
    CT_UTF::sv_UTF7ToWideInit();
    EXPECT_EQ(std::u16string(au_Out, CT_UTF::si_UTF7ToWide(au_Out, "AGE-", 4)), u"AGE-");
}

namespace
{
// Standard base64 of the units as big-endian bytes, without padding: the digits of one run.
std::string co_Digits(std::u16string_view co_Units)
{
    static constexpr char sqccz_Alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string co_Out;
    unsigned n_Bits = 0, n_Count = 0;
    for (const char16_t u_Unit : co_Units)
        for (const unsigned n_Byte : {unsigned{u_Unit} >> 8, u_Unit & 0xFFu})
        {
            n_Bits = (n_Bits << 8 | n_Byte) & 0xFFFF;
            for (n_Count += 8; n_Count >= 6; n_Count -= 6)
                co_Out += sqccz_Alphabet[n_Bits >> (n_Count - 6) & 63];
        }
    if (n_Count)
        co_Out += sqccz_Alphabet[n_Bits << (6 - n_Count) & 63];
    return co_Out;
}
} // namespace

TEST_P(UTF7, RunsOfEveryLengthAtEveryPlace)
{
    // Runs of 1 to 20 units behind 0 to 9 direct characters: every batch of units and block of
    // digits, every number of pending bits at a run's end, every place in a block of text.
    const std::u16string co_Letters = u"abcdefghij";
    for (std::size_t n_Lead = 0; n_Lead < co_Letters.size(); ++n_Lead)
        for (int i_Length = 1; i_Length <= 20; ++i_Length)
        {
            std::u16string co_Run;
            for (int i = 0; i < i_Length; ++i)
                co_Run += static_cast<char16_t>(0x0100 + 0x1357 * i);
            const std::u16string co_Text = co_Letters.substr(0, n_Lead) + co_Run;
            const std::string co_Bytes =
                std::string(co_Text.begin(), co_Text.begin() + n_Lead) + '+' + co_Digits(co_Run);
            for (const std::u16string_view co_After : {u"", u"z", u"-"})
            {
                const std::string co_Closed =
                    co_Bytes + '-' + std::string(co_After.begin(), co_After.end());
                ASSERT_EQ(co_ToUTF7(co_Text + std::u16string(co_After)), co_Closed);
                ASSERT_EQ(co_FromUTF7(co_Closed), co_Text + std::u16string(co_After));
            }
            ASSERT_EQ(co_FromUTF7(co_Bytes + '.'), co_Text + u'.'); // ended without '-'
        }
}

TEST_P(UTF7, TextBlocksEndAtEveryPlace)
{
    for (int i_Length = 1; i_Length <= 24; ++i_Length)
    {
        std::u16string co_Text;
        for (int i = 0; i < i_Length; ++i)
            co_Text += static_cast<char16_t>(u'a' + i);
        const std::string co_Ascii(co_Text.begin(), co_Text.end());
        for (int i_At = 0; i_At < i_Length; ++i_At)
        {
            const auto co_With = [&](std::u16string_view co_Unit) {
                return co_Text.substr(0, i_At) + std::u16string(co_Unit) + co_Text.substr(i_At + 1);
            };
            const auto co_WithBytes = [&](std::string_view co_Byte)
            { return co_Ascii.substr(0, i_At) + std::string(co_Byte) + co_Ascii.substr(i_At + 1); };
            // An ASCII character that is encoded, and '+'.
            ASSERT_EQ(co_ToUTF7(co_With(u"!")), co_WithBytes("+ACE-"));
            ASSERT_EQ(co_ToUTF7(co_With(u"+")), co_WithBytes("+-"));
            ASSERT_EQ(co_FromUTF7(co_WithBytes("+-")), co_With(u"+"));
            // A byte 0x80-0xFF outside a run, and a zero that ends the text.
            ASSERT_EQ(co_FromUTF7(co_WithBytes("\x80")), co_With(u"\u0080"));
            ASSERT_EQ(co_Run(so_ToUTF7, co_With(std::u16string(1, 0))), co_Ascii.substr(0, i_At));
            ASSERT_EQ(co_Run(so_FromUTF7, co_WithBytes(std::string(1, '\0'))),
                      co_Text.substr(0, i_At));
        }
    }
}

TEST_P(UTF7, RoundTripsEveryUnit)
{
    // All units in one long run, whole and in pieces; the output is 7-bit text only.
    const std::u16string co_Every = co_EveryUnit();
    const std::string co_Bytes = co_ToUTF7(co_Every);
    EXPECT_EQ(co_FromUTF7(co_Bytes), co_Every);
    const std::string_view co_Allowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                        "0123456789'(),-./:? \t\r\n+/";
    EXPECT_EQ(co_Bytes.find_first_not_of(co_Allowed), std::string::npos);
    // Each unit alone, with its run closed by a direct character and by the end of the text.
    for (const char16_t u_Unit : co_Every)
        for (const std::u16string& co_Text : {u"x"s + u_Unit + u"-", u"x"s + u_Unit})
            ASSERT_EQ(co_Run(so_FromUTF7, co_Run(so_ToUTF7, co_Text)), co_Text)
                << "unit " << static_cast<unsigned>(u_Unit);
}

TEST_P(UTF7, EncoderAndDecoderKeepSeparateState)
{
    // Encoding and decoding alternate unit by unit and byte by byte, both with bits pending.
    const std::u16string co_Text = u"\u65E5\u672C\u8A9E a\u00E9+-\u263A";
    const std::string co_Bytes = co_ToUTF7(co_Text);
    std::string co_Encoded;
    std::u16string co_Decoded;
    char ac_Out[8];
    char16_t au_Out[2];
    CT_UTF::sv_WideToUTF7Init();
    CT_UTF::sv_UTF7ToWideInit();
    for (std::size_t n = 0; n < co_Bytes.size(); ++n)
    {
        if (n < co_Text.size())
            co_Encoded.append(ac_Out, CT_UTF::si_WideToUTF7(ac_Out, &co_Text[n], 1));
        co_Decoded.append(au_Out, CT_UTF::si_UTF7ToWide(au_Out, &co_Bytes[n], 1));
    }
    co_Encoded.append(ac_Out, CT_UTF::si_WideToUTF7Exit(ac_Out));
    EXPECT_EQ(co_Encoded, co_Bytes);
    EXPECT_EQ(co_Decoded, co_Text);
}

namespace
{
// Decodes co_Bytes five bytes at a time, i_Rounds times on the calling thread; returns the
// rounds whose result was not co_Text. Checks nothing itself, so that it may run in any thread.
int si_DecodeFailures(const st_Codec<char16_t, char>& so_Codec, const std::string& co_Bytes,
                      const std::u16string& co_Text, int i_Rounds)
{
    std::vector<char16_t> a_Out(co_Bytes.size());
    int i_Failures = 0;
    for (int i = 0; i < i_Rounds; ++i)
    {
        so_Codec.pfn_Init();
        std::size_t n_Total = 0;
        for (std::size_t n_At = 0; n_At < co_Bytes.size(); n_At += 5)
            n_Total += so_Codec.pfn_Convert(
                a_Out.data() + n_Total, co_Bytes.data() + n_At,
                static_cast<int>(std::min<std::size_t>(5, co_Bytes.size() - n_At)));
        i_Failures += co_Text.compare(0, std::u16string::npos, a_Out.data(), n_Total) != 0;
    }
    return i_Failures;
}

// Two threads decode different long texts in pieces at the same time.
void v_CheckThreads(const st_Codec<char16_t, char>& so_Codec, const std::string& co_BytesA,
                    const std::u16string& co_TextA, const std::string& co_BytesB,
                    const std::u16string& co_TextB)
{
    std::atomic<int> i_Ready{0};
    int ai_Failures[2] = {};
    auto v_Run = [&](int i_Thread, const std::string& co_Bytes, const std::u16string& co_Text)
    {
        for (++i_Ready; i_Ready < 2;)
            std::this_thread::yield();
        ai_Failures[i_Thread] = si_DecodeFailures(so_Codec, co_Bytes, co_Text, 20);
    };
    std::thread co_A(v_Run, 0, std::cref(co_BytesA), std::cref(co_TextA));
    std::thread co_B(v_Run, 1, std::cref(co_BytesB), std::cref(co_TextB));
    co_A.join();
    co_B.join();
    EXPECT_EQ(ai_Failures[0], 0);
    EXPECT_EQ(ai_Failures[1], 0);
}

std::u16string co_Repeat(std::u16string_view co_Part, int i_Times)
{
    std::u16string co_Text;
    for (int i = 0; i < i_Times; ++i)
        co_Text += co_Part;
    return co_Text;
}
} // namespace

TEST_P(UTF7, ThreadsKeepTheirOwnState)
{
    const std::u16string co_TextA = co_EveryUnit();
    const std::u16string co_TextB = co_Repeat(u"Hi Mom -\u263A-! +\u65E5\u672C\u8A9E. ", 4000);
    v_CheckThreads(so_FromUTF7, co_ToUTF7(co_TextA), co_TextA, co_ToUTF7(co_TextB), co_TextB);
}

// ---------------------------------------------------------------------------------------------
// UTF-8

TEST_P(UTF8, EncodesAndDecodesKnownUnits)
{
    const st_Case sao_Cases[] = {
        {u"", ""},                                                       // only the terminator
        {u"\x01\x7F", "\x01\x7F"},                                       // one byte, both ends
        {u"\u0080\u00E9\u07FF", "\xC2\x80\xC3\xA9\xDF\xBF"},             // two bytes
        {u"\u0800\u20AC\uFFFF", "\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF"}, // three bytes
        {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"},                     // surrogates one by one
        {u"a"s + char16_t{0xDC00} + u"x", "a\xED\xB0\x80x"},             // a lone surrogate
    };
    v_CheckEncodes(sao_Cases, std::size(sao_Cases), co_ToUTF8);
    v_CheckDecodes(sao_Cases, std::size(sao_Cases), co_FromUTF8);
}

TEST_P(UTF8, DecodesMalformedInput)
{
    const st_Case sao_Cases[] = {
        {u"\u0080\u00BF", "\x80\xBF"},         // lone continuation bytes
        {u"\0"s, "\xC0\x80"},                  // overlong zero, written as a unit
        {u"\x7F\x7F", "\xC1\xBF\xE0\x81\xBF"}, // overlong two and three bytes
        {u"\u0081", "\xC3\x41"},               // continuation not tested: 'A' is taken
        {u"\u0A21", "\xE2\x28\xA1"},           // same in a three-byte sequence
        {u"\uF600", "\xF0\x9F\x98\x80"},       // four bytes: U+1F600, low 16 bits
        {u"\uFFFF", "\xF4\x8F\xBF\xBF"},       // U+10FFFF, low 16 bits
        {u"\0\uFFFF"s, "\xF8\x88\x80\x80\x80\xFB\xBF\xBF\xBF\xBF"},         // five bytes
        {u"\0\uFFFF"s, "\xFC\x84\x80\x80\x80\x80\xFD\xBF\xBF\xBF\xBF\xBF"}, // six bytes
        {u"\u103F", "\xFF\xFF\xFF\xFF\xFF\xFF"}, // the 32-bit value wraps around
        {u"a", "a\xE2\x82"},                     // cut off: pending at the end
    };
    v_CheckDecodes(sao_Cases, std::size(sao_Cases), co_FromUTF8);
}

TEST_P(UTF8, ZeroStopsAConversion)
{
    EXPECT_EQ(co_Run(so_ToUTF8, u"ab\0c"sv), "ab");
    EXPECT_EQ(co_Run(so_FromUTF8, "ab\0c"sv), u"ab");
    // A zero inside a sequence stops the call; the sequence waits for the next one. Each both
    // near the end and with a block of bytes behind it.
    const struct
    {
        std::string_view co_Cut, co_Rest;
        char16_t u_Unit;
    } sao_Cases[] = {{"\xC3", "\xA9", u'\u00E9'},
                     {"\xE2", "\x82\xAC", u'\u20AC'},
                     {"\xE2\x82", "\xAC", u'\u20AC'}};
    for (const auto& so_Case : sao_Cases)
        for (const std::string_view co_Behind : {"", "abcdefghij"})
        {
            const std::string co_Bytes =
                "ab"s + std::string(so_Case.co_Cut) + '\0' + std::string(co_Behind);
            std::vector<char16_t> a_Out(co_Bytes.size());
            CT_UTF::sv_UTF8ToWideInit();
            EXPECT_EQ(CT_UTF::si_UTF8ToWide(a_Out.data(), co_Bytes.data(),
                                            static_cast<int>(co_Bytes.size())),
                      2);
            ASSERT_EQ(CT_UTF::si_UTF8ToWide(a_Out.data(), so_Case.co_Rest.data(),
                                            static_cast<int>(so_Case.co_Rest.size())),
                      1);
            EXPECT_EQ(a_Out[0], so_Case.u_Unit);
        }
}

TEST_P(UTF8, CountZero)
{
    // The encoder writes the terminator only; the decoder reads and writes nothing.
    char ac_Out[2] = {sc_Guard, sc_Guard};
    EXPECT_EQ(CT_UTF::si_WideToUTF8(ac_Out, nullptr, 0), 0);
    EXPECT_EQ(ac_Out[0], 0);
    EXPECT_EQ(ac_Out[1], sc_Guard);
    char16_t au_Out[1] = {u'?'};
    CT_UTF::sv_UTF8ToWideInit();
    EXPECT_EQ(CT_UTF::si_UTF8ToWide(au_Out, nullptr, 0), 0);
    EXPECT_EQ(au_Out[0], u'?');
}

TEST_P(UTF8, InitDropsAPendingSequence)
{
    char16_t au_Out[4];
    CT_UTF::sv_UTF8ToWideInit();
    EXPECT_EQ(CT_UTF::si_UTF8ToWide(au_Out, "\xE2\x82", 2), 0);
    CT_UTF::sv_UTF8ToWideInit();
    ASSERT_EQ(CT_UTF::si_UTF8ToWide(au_Out, "A", 1), 1);
    EXPECT_EQ(au_Out[0], u'A');
}

TEST_P(UTF8, RoundTripsEveryUnit)
{
    const std::u16string co_Every = co_EveryUnit();
    const std::string co_Bytes = co_ToUTF8(co_Every);
    EXPECT_EQ(co_Bytes.size(), 0x7Fu + 2 * (0x800u - 0x80) + 3 * (0x10000u - 0x800));
    EXPECT_EQ(co_FromUTF8(co_Bytes), co_Every);
}

TEST_P(UTF8, AsciiBlocksEndWhereTheTextDoes)
{
    // One unit at every position of texts of 0 to 40 units and about one and two blocks of 64,
    // so that it falls at every place of a block of each level and in the rest behind the last.
    const st_Case sao_Units[] = {
        {u"\x7F", "\x7F"},           // highest ASCII unit: stays in the block
        {u"\u0080", "\xC2\x80"},     // lowest unit above: bit 7 of the low byte
        {u"\u0100", "\xC4\x80"},     // low byte 0, high byte 1
        {u"\uFF41", "\xEF\xBD\x81"}, // low byte ASCII, high byte not
        {u"\u00E9", "\xC3\xA9"},     // a common letter
    };
    std::vector<int> a_Lengths;
    for (const auto& [i_From, i_To] : {std::pair{0, 40}, std::pair{62, 67}, std::pair{126, 131}})
        for (int i = i_From; i <= i_To; ++i)
            a_Lengths.push_back(i);
    for (const int i_Length : a_Lengths)
    {
        std::u16string co_Text;
        for (int i = 0; i < i_Length; ++i)
            co_Text += static_cast<char16_t>(u'!' + i % 90);
        const std::string co_Ascii(co_Text.begin(), co_Text.end());
        EXPECT_EQ(co_ToUTF8(co_Text), co_Ascii);
        EXPECT_EQ(co_FromUTF8(co_Ascii), co_Text);
        for (int i_At = 0; i_At < i_Length; ++i_At)
        {
            for (const st_Case& so_Unit : sao_Units)
            {
                const std::u16string co_Mixed =
                    co_Text.substr(0, i_At) + so_Unit.co_Text + co_Text.substr(i_At + 1);
                const std::string co_Bytes =
                    co_Ascii.substr(0, i_At) + so_Unit.co_Bytes + co_Ascii.substr(i_At + 1);
                ASSERT_EQ(co_ToUTF8(co_Mixed), co_Bytes) << i_Length << " at " << i_At;
                ASSERT_EQ(co_FromUTF8(co_Bytes), co_Mixed) << i_Length << " at " << i_At;
            }
            // A zero ends the text there, a lone continuation byte is one unit.
            std::u16string co_Zero = co_Text;
            co_Zero[i_At] = 0;
            ASSERT_EQ(co_Run(so_ToUTF8, co_Zero), co_Ascii.substr(0, i_At));
            ASSERT_EQ(co_Run(so_FromUTF8, std::string_view(co_Ascii.substr(0, i_At) + '\0' +
                                                           co_Ascii.substr(i_At + 1))),
                      co_Text.substr(0, i_At));
            ASSERT_EQ(co_FromUTF8(co_Ascii.substr(0, i_At) + '\x80' + co_Ascii.substr(i_At + 1)),
                      co_Text.substr(0, i_At) + u'\u0080' + co_Text.substr(i_At + 1));
        }
    }
}

TEST_P(UTF8, ThreadsKeepTheirOwnState)
{
    const std::u16string co_TextA = co_EveryUnit();
    const std::u16string co_TextB =
        co_Repeat(u"caf\u00E9 \u20AC \U0001F600 plain ascii text ", 3000);
    v_CheckThreads(so_FromUTF8, co_ToUTF8(co_TextA), co_TextA, co_ToUTF8(co_TextB), co_TextB);
}

// ---------------------------------------------------------------------------------------------
// Against the plain reference codecs: random texts built from the pieces each codec treats
// apart, long enough for every block path, fed whole and in random pieces (empty ones too).

namespace
{
// A fixed pseudo-random sequence: every run tests the same texts.
class CT_Random
{
public:
    explicit CT_Random(std::uint32_t n4_Seed) : co_Engine(n4_Seed) {}
    unsigned n_Below(unsigned n_Bound) { return static_cast<unsigned>(co_Engine() % n_Bound); }
    bool b_OneIn(unsigned n) { return n_Below(n) == 0; }

    template <typename T>
    const T& x_Pick(std::initializer_list<T> co_Choices)
    {
        return co_Choices.begin()[n_Below(static_cast<unsigned>(co_Choices.size()))];
    }

    // Mostly empty or short pieces, now and then a long one.
    std::vector<int> a_Pieces()
    {
        std::vector<int> a(n_Below(5));
        for (int& i : a)
            i = static_cast<int>(b_OneIn(3) ? n_Below(200) : n_Below(8));
        return a;
    }

private:
    std::mt19937 co_Engine;
};

// Text that the block paths meet: runs of one script with the others and oddities between.
// i_Zero: one in that many parts is a zero (0: none).
std::u16string co_RandomUnits(CT_Random& co_Random, std::size_t n_Size, unsigned n_Zero)
{
    std::u16string co;
    while (co.size() < n_Size)
    {
        const unsigned n_Kind = co_Random.n_Below(8);
        const unsigned n_Run = 1 + co_Random.n_Below(co_Random.b_OneIn(4) ? 40 : 6);
        for (unsigned i = 0; i < n_Run; ++i)
        {
            if (n_Zero && co_Random.b_OneIn(n_Zero * n_Run))
                co += u'\0';
            switch (n_Kind)
            {
            case 0: // direct in UTF-7
                co += co_Random.x_Pick<char16_t>({u'a', u'Z', u'0', u' ', u'-', u'.', u'\r'});
                break;
            case 1: // ASCII that UTF-7 encodes, '+' among them
                co += co_Random.x_Pick<char16_t>({u'+', u'!', u'~', u'\\', u'\x01', u'\x7F'});
                break;
            case 2: // two bytes in UTF-8
                co += static_cast<char16_t>(0x80 + co_Random.n_Below(0x780));
                break;
            case 3: // three bytes in UTF-8, surrogates too
                co += static_cast<char16_t>(0x800 + co_Random.n_Below(0xF800));
                break;
            case 4: // the edges
                co += co_Random.x_Pick<char16_t>({u'\u007F', u'\u0080', u'\u07FF', u'\u0800',
                                                  char16_t{0xD800}, char16_t{0xDFFF}, u'\uFFFF'});
                break;
            default: // words
                co += static_cast<char16_t>(u'a' + co_Random.n_Below(26));
            }
        }
    }
    return co;
}

std::vector<char16_t> a_Of(const std::u16string& co)
{
    return std::vector<char16_t>(co.begin(), co.end());
}

// Well-formed UTF-8 and UTF-7 of random text, with malformed parts spliced in.
std::vector<char> a_RandomBytes(CT_Random& co_Random, bool b_Utf7, std::size_t n_Size,
                                unsigned n_Zero)
{
    const std::u16string co_Text = co_RandomUnits(co_Random, n_Size, 0);
    const std::string co_Bytes = b_Utf7 ? co_Run(so_ToUTF7, co_Text) : co_Run(so_ToUTF8, co_Text);
    std::vector<char> a;
    for (std::size_t n = 0; n < co_Bytes.size(); ++n)
    {
        if (co_Random.b_OneIn(24))
        {
            if (n_Zero && co_Random.b_OneIn(n_Zero))
                a.push_back('\0');
            else if (b_Utf7)
                a.push_back(co_Random.x_Pick<char>({'+', '-', '\x80', '\xFF', 'A', '/', '.'}));
            else
                for (int i = co_Random.n_Below(6); i >= 0; --i) // lead bytes, lone trailers
                    a.push_back(co_Random.x_Pick<char>({'\x80', '\xBF', '\xC3', '\xE2', '\xEF',
                                                        '\xF0', '\xF8', '\xFC', '\xFF', 'A'}));
        }
        a.push_back(co_Bytes[n]);
    }
    return a;
}
} // namespace

TEST_P(UTFReference, RandomTextsEncodeAsThePlainCodecs)
{
    CT_Random co_Random(7);
    for (int i = 0; i < 1500; ++i)
    {
        const auto e_Codec = i % 2 ? ct_reference::e_UTF8Encode : ct_reference::e_UTF7Encode;
        const std::vector<char16_t> a_Units = a_Of(co_RandomUnits(
            co_Random, co_Random.n_Below(co_Random.b_OneIn(4) ? 700 : 60), i % 3 ? 0 : 300));
        const std::vector<int> a_Pieces = i % 4 ? co_Random.a_Pieces() : std::vector<int>();
        ASSERT_EQ(ct_reference::co_Compare(e_Codec, a_Units, a_Pieces), "") << "text " << i;
    }
}

TEST_P(UTFReference, RandomTextsDecodeAsThePlainCodecs)
{
    CT_Random co_Random(11);
    for (int i = 0; i < 1500; ++i)
    {
        const bool b_Utf7 = i % 2;
        const std::vector<char> a_Bytes = a_RandomBytes(
            co_Random, b_Utf7, co_Random.n_Below(co_Random.b_OneIn(4) ? 500 : 50), i % 3 ? 0 : 8);
        const std::vector<int> a_Pieces = i % 4 ? co_Random.a_Pieces() : std::vector<int>();
        ASSERT_EQ(ct_reference::co_Compare(b_Utf7 ? ct_reference::e_UTF7Decode
                                                  : ct_reference::e_UTF8Decode,
                                           a_Bytes, a_Pieces),
                  "")
            << "text " << i;
    }
}

// A zero, and the end of the input, at every distance from long text of each kind: where the
// block paths must stop, and where they may write ahead.
TEST_P(UTFReference, BlocksStopBeforeTheZeroAndTheEnd)
{
    const std::u16string ao_Texts[] = {co_Repeat(u"plain words, ", 30),
                                       co_Repeat(u"caf\u00E9 cr\u00E8me br\u00FBl\u00E9e ", 20),
                                       co_Repeat(u"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3002", 40),
                                       co_Repeat(u"\u65E5\u672C 12 \u8A9E\u306E, ", 30)};
    for (const std::u16string& co_Text : ao_Texts)
    {
        const std::string co_Utf8 = co_Run(so_ToUTF8, co_Text);
        const std::string co_Utf7 = co_Run(so_ToUTF7, co_Text);
        for (std::size_t n_At = 0; n_At < 300; ++n_At)
        {
            std::vector<char16_t> a_Units = a_Of(co_Text.substr(0, n_At + 20));
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF8Encode, a_Units, {}), "");
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF7Encode, a_Units, {}), "");
            a_Units = a_Of(co_Text);
            a_Units[n_At % a_Units.size()] = 0;
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF8Encode, a_Units, {}), "");
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF7Encode, a_Units, {}), "");
            for (const std::string* pco_Bytes : {&co_Utf8, &co_Utf7})
            {
                const auto e_Codec =
                    pco_Bytes == &co_Utf8 ? ct_reference::e_UTF8Decode : ct_reference::e_UTF7Decode;
                std::vector<char> a_Bytes(pco_Bytes->begin(),
                                          pco_Bytes->begin() +
                                              std::min(pco_Bytes->size(), n_At + 20));
                ASSERT_EQ(ct_reference::co_Compare(e_Codec, a_Bytes, {}), "") << n_At;
                a_Bytes.assign(pco_Bytes->begin(), pco_Bytes->end());
                a_Bytes[n_At % a_Bytes.size()] = 0;
                ASSERT_EQ(ct_reference::co_Compare(e_Codec, a_Bytes, {}), "") << n_At;
            }
        }
    }
}

// Runs of every length from every place of a long text on, ended by '-', by another byte and by
// a zero: every place of a run's end in the blocks and windows of the fast paths.
TEST_P(UTFReference, RunsEndAtEveryPlaceOfLongTexts)
{
    for (int i_Lead = 0; i_Lead < 80; ++i_Lead)
        for (int i_Run = 1; i_Run <= 30; ++i_Run)
        {
            std::u16string co_Text(i_Lead, u'a');
            for (int i = 0; i < i_Run; ++i)
                co_Text += static_cast<char16_t>(0x4E00 + 0x101 * i);
            co_Text += u"-x" + std::u16string(200, u'b');
            const std::string co_Bytes = co_Run(so_ToUTF7, co_Text);
            for (const char c_End : {'-', '.', '\0'})
            {
                std::vector<char> a_Bytes(co_Bytes.begin(), co_Bytes.end());
                a_Bytes[co_Bytes.find('-', static_cast<std::size_t>(i_Lead))] = c_End;
                ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF7Decode, a_Bytes, {}), "")
                    << i_Lead << " " << i_Run << " " << c_End;
            }
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF7Encode, a_Of(co_Text), {}), "");
            ASSERT_EQ(ct_reference::co_Compare(ct_reference::e_UTF8Encode, a_Of(co_Text), {}), "");
        }
}
