// CT_PlatformCodepage against the conversions recorded under Wine (tests/data, written by
// tools/codepages/CodepageReference) for every code page the library names: each byte and each
// lead-byte pair decoded, each UTF-16 unit encoded, validity and GetCPInfo; then Windows'
// behaviour at the edges (output too small, counting, terminators, lone lead bytes, default
// characters, invalid arguments, markers, threads). Natively this checks the tables, under Wine
// the Win32 functions, so the record itself is checked against Wine.
#include "Basis/Platform/Codepage.h"

#include "Basis/Platform/AtEachLevel.h"
#include "CodepageReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr unsigned sn_InvalidParameter = 87;
constexpr unsigned sn_InsufficientBuffer = 122;

using namespace ct_reference;

const std::vector<st_Record>& co_Records()
{
    static const std::vector<st_Record> sco =
        co_ReadRecords(CT_TEST_DATA_DIR "/CodepageReference.txt");
    return sco;
}

std::u16string o_Decode(unsigned n_CodePage, const std::string& o_In)
{
    std::u16string o(o_In.size() + 1, u'\0');
    int n =
        CT_PlatformCodepage::si_MultiToWide(n_CodePage, o_In.data(), static_cast<int>(o_In.size()),
                                            o.data(), static_cast<int>(o.size()));
    o.resize(n);
    return o;
}

std::string o_Encode(unsigned n_CodePage, const std::u16string& o_In, const char* pcc_Default,
                     int* pb_Used)
{
    std::string o(4 * o_In.size(), '\0');
    int n = CT_PlatformCodepage::si_WideToMulti(n_CodePage, o_In.data(),
                                                static_cast<int>(o_In.size()), o.data(),
                                                static_cast<int>(o.size()), pcc_Default, pb_Used);
    o.resize(n);
    return o;
}

// The conversions of the recorded tables at each level of instruction sets.
class CodepageRecord : public CT_AtEachLevel
{
};
class CodepageLoops : public CT_AtEachLevel
{
};
CT_AT_EACH_NATIVE_LEVEL(CodepageRecord);
CT_AT_EACH_NATIVE_LEVEL(CodepageLoops);

TEST(CodepageInfo, ValidityAndInformationAsRecorded)
{
    ASSERT_GE(co_Records().size(), 40u) << "no record at " CT_TEST_DATA_DIR;
    for (const st_Record& so : co_Records())
    {
        SCOPED_TRACE(so.n_CodePage);
        EXPECT_EQ(CT_PlatformCodepage::sb_IsValidCodePage(so.n_CodePage), so.b_Valid);
        unsigned n_MaxCharSize = 0;
        unsigned char ac_Default[2], ac_Lead[12];
        ASSERT_EQ(
            CT_PlatformCodepage::sb_GetCPInfo(so.n_CodePage, &n_MaxCharSize, ac_Default, ac_Lead),
            so.b_HasInfo ? 1 : 0);
        if (!so.b_HasInfo)
            continue;
        EXPECT_EQ(n_MaxCharSize, so.n_MaxCharSize);
        EXPECT_EQ(std::string(ac_Default, ac_Default + 2), so.o_DefaultChar);
        EXPECT_EQ(std::string(ac_Lead, ac_Lead + 12), so.o_LeadBytes);
    }
}

// Every byte of every code page, none of a code page without information.
TEST(CodepageInfo, LeadBytesAsRecorded)
{
    for (const st_Record& so : co_Records())
    {
        SCOPED_TRACE(so.n_CodePage);
        const auto* pac = reinterpret_cast<const unsigned char*>(so.o_LeadBytes.data());
        std::vector<int> ab_Lead(256);
        for (std::size_t i = 0; i + 1 < so.o_LeadBytes.size() && (pac[i] || pac[i + 1]); i += 2)
            std::fill(ab_Lead.begin() + pac[i], ab_Lead.begin() + pac[i + 1] + 1, 1);
        for (unsigned n = 0; n < 256; ++n)
            EXPECT_EQ(CT_PlatformCodepage::sb_IsDBCSLeadByte(so.n_CodePage,
                                                             static_cast<unsigned char>(n)),
                      ab_Lead[n])
                << n;
    }
}

// Bytes one by one; pairs a lead byte at a time, as one text in which every pair decodes on its
// own.
TEST_P(CodepageRecord, BytesAndPairsDecodeAsRecorded)
{
    for (const st_Record& so : co_Records())
    {
        SCOPED_TRACE(so.n_CodePage);
        v_ForEach(so, 'b',
                  [&](unsigned n_Byte, const st_Outcome& so_Out, unsigned n_Count)
                  {
                      for (unsigned n = n_Byte; n < n_Byte + n_Count; ++n)
                          EXPECT_EQ(o_Decode(so.n_CodePage, std::string(1, static_cast<char>(n))),
                                    o_Units(so_Out))
                              << n;
                  });
        std::string o_Pairs;
        std::u16string o_Expected;
        auto v_CheckPairs = [&]
        {
            if (!o_Pairs.empty())
            {
                EXPECT_EQ(o_Decode(so.n_CodePage, o_Pairs), o_Expected) << int(o_Pairs[0] & 0xFF);
            }
            o_Pairs.clear(), o_Expected.clear();
        };
        v_ForEach(so, 'p',
                  [&](unsigned n_Pair, const st_Outcome& so_Out, unsigned n_Count)
                  {
                      for (unsigned n = n_Pair; n < n_Pair + n_Count; ++n)
                      {
                          if ((n & 0xFF) == 0)
                              v_CheckPairs();
                          o_Pairs += static_cast<char>(n >> 8);
                          o_Pairs += static_cast<char>(n);
                          o_Expected += o_Units(so_Out);
                      }
                  });
        v_CheckPairs();
    }
}

// All 65,536 units at once, with the code page's default character and with '*': the second
// shows exactly which units used the default.
TEST_P(CodepageRecord, UnitsEncodeAsRecorded)
{
    std::u16string o_All(0x10000, u'\0');
    for (unsigned n = 0; n < 0x10000; ++n)
        o_All[n] = static_cast<char16_t>(n);
    for (const st_Record& so : co_Records())
    {
        std::string o_Expected, o_Starred;
        unsigned n_Next = 0;
        int b_AnyUsed = 0;
        v_ForEach(so, 'w',
                  [&](unsigned n_Unit, const st_Outcome& so_Out, unsigned n_Count)
                  {
                      EXPECT_EQ(n_Unit, n_Next);
                      n_Next = n_Unit + n_Count;
                      std::string o_Bytes;
                      v_AppendBytes(o_Bytes, so_Out);
                      if (o_Bytes.size() == 1)
                          o_Expected.append(n_Count, o_Bytes[0]);
                      for (unsigned i = 0; o_Bytes.size() != 1 && i < n_Count; ++i)
                          o_Expected += o_Bytes;
                      o_Starred +=
                          so_Out.b_Used
                              ? std::string(n_Count, '*')
                              : o_Expected.substr(o_Expected.size() - n_Count * o_Bytes.size());
                      b_AnyUsed |= so_Out.b_Used;
                  });
        if (!n_Next)
            continue;
        SCOPED_TRACE(so.n_CodePage);
        ASSERT_EQ(n_Next, 0x10000u);
        int b_Used = -1;
        EXPECT_EQ(o_Encode(so.n_CodePage, o_All, nullptr, &b_Used), o_Expected);
        EXPECT_EQ(b_Used, b_AnyUsed);
        EXPECT_EQ(o_Encode(so.n_CodePage, o_All, "*", &b_Used), o_Starred);
        EXPECT_EQ(CT_PlatformCodepage::si_WideToMulti(so.n_CodePage, o_All.data(), 0x10000, nullptr,
                                                      0, nullptr, nullptr),
                  static_cast<int>(o_Expected.size()));
    }
}

// Every output size for texts long enough for the eight-at-a-time and room-for-any-character
// loops: what fits is written and nothing after it, and a short output fails.
TEST_P(CodepageLoops, EveryOutputSizeDecodes)
{
    const std::pair<unsigned, std::string> aso_Cases[] = {
        {1252, "Caf\xE9 au lait pour deux, \x80"
               "5 le bol"},
        {932, "ab\x82\xA0"
              "cdefghij\x82\xA2\x82\xA4z\x82"},
    };
    for (const auto& [n_CodePage, o_In] : aso_Cases)
    {
        std::u16string o_Full = o_Decode(n_CodePage, o_In);
        for (std::size_t n_Size = 1; n_Size <= o_Full.size() + 1; ++n_Size)
        {
            SCOPED_TRACE(testing::Message() << n_CodePage << " size " << n_Size);
            std::u16string o_Out(n_Size + 4, u'#');
            int n = CT_PlatformCodepage::si_MultiToWide(n_CodePage, o_In.data(),
                                                        static_cast<int>(o_In.size()), o_Out.data(),
                                                        static_cast<int>(n_Size));
            bool b_Fits = n_Size >= o_Full.size();
            EXPECT_EQ(n, b_Fits ? static_cast<int>(o_Full.size()) : 0);
            if (!b_Fits)
            {
                EXPECT_EQ(CT_PlatformCodepage::sn_GetLastError(), sn_InsufficientBuffer);
            }
            std::size_t n_Written = std::min(n_Size, o_Full.size());
            EXPECT_EQ(o_Out,
                      o_Full.substr(0, n_Written) + std::u16string(o_Out.size() - n_Written, u'#'));
        }
    }
}

// Windows writes the whole characters that fit in a double-byte code page, the bytes that fit
// in a single-byte one.
TEST_P(CodepageLoops, EveryOutputSizeEncodes)
{
    const std::pair<unsigned, std::u16string> aso_Cases[] = {
        {1252, u"Caf\u00E9 \u0416 pour deux, \u20AC5 le bol"},
        {932, u"ab\u3042cdef\u3044\u3046g\u0E01h\u4E00"},
    };
    for (const auto& [n_CodePage, o_In] : aso_Cases)
    {
        std::vector<std::string> co_Chars;
        std::string o_Full;
        for (char16_t u : o_In)
            co_Chars.push_back(o_Encode(n_CodePage, std::u16string(1, u), nullptr, nullptr));
        for (const std::string& o : co_Chars)
            o_Full += o;
        ASSERT_EQ(o_Encode(n_CodePage, o_In, nullptr, nullptr), o_Full);
        for (std::size_t n_Size = 1; n_Size <= o_Full.size() + 1; ++n_Size)
        {
            SCOPED_TRACE(testing::Message() << n_CodePage << " size " << n_Size);
            std::string o_Out(n_Size + 4, '#');
            int b_Used = -1;
            int n = CT_PlatformCodepage::si_WideToMulti(n_CodePage, o_In.data(),
                                                        static_cast<int>(o_In.size()), o_Out.data(),
                                                        static_cast<int>(n_Size), nullptr, &b_Used);
            bool b_Fits = n_Size >= o_Full.size();
            EXPECT_EQ(n, b_Fits ? static_cast<int>(o_Full.size()) : 0);
            std::string o_Fitting;
            for (std::size_t i = 0; i < co_Chars.size() && o_Fitting.size() < n_Size; ++i)
                o_Fitting += co_Chars[i];
            if (o_Fitting.size() > n_Size)
                o_Fitting.resize(n_CodePage == 932 ? o_Fitting.size() - 2 : n_Size);
            EXPECT_EQ(o_Out, o_Fitting + std::string(o_Out.size() - o_Fitting.size(), '#'));
        }
    }
}

// A character outside ASCII at each place of the blocks of every level (16 to 64 bytes or units,
// and the rest behind them): a byte with only the top bit, a unit with only high bits, a unit
// with the 0x80 bit (which 1252 lacks).
TEST_P(CodepageLoops, BlocksMeetACharacterAtEveryPlace)
{
    for (const std::size_t n_Length : {16u, 64u, 130u})
        for (std::size_t k = 0; k < n_Length; ++k)
        {
            SCOPED_TRACE(testing::Message() << n_Length << " at " << k);
            std::string o_Bytes(n_Length, 'a');
            o_Bytes[k] = '\x80';
            ASSERT_EQ(o_Decode(1252, o_Bytes),
                      std::u16string(k, u'a') + u'\u20AC' + std::u16string(n_Length - 1 - k, u'a'));
            for (char16_t u : {u'\u0141', u'\u0080'})
            {
                std::u16string o_Units(n_Length, u'a');
                o_Units[k] = u;
                std::string o_One = o_Encode(1252, std::u16string(1, u), nullptr, nullptr);
                ASSERT_EQ(o_Encode(1252, o_Units, nullptr, nullptr),
                          std::string(k, 'a') + o_One + std::string(n_Length - 1 - k, 'a'));
            }
        }
}

TEST_P(CodepageLoops, ZeroCapacityCounts)
{
    EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(932, "\x82\xA0z\x82", 4, nullptr, 0), 3);
    EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(1252, "abc", 3, nullptr, 0), 3);
    int b_Used = -1;
    EXPECT_EQ(
        CT_PlatformCodepage::si_WideToMulti(932, u"\u3042z\u0E01", 3, nullptr, 0, nullptr, &b_Used),
        4);
    EXPECT_EQ(b_Used, 1);
    // A two-byte default character counts twice.
    EXPECT_EQ(
        CT_PlatformCodepage::si_WideToMulti(932, u"\u0E01", 1, nullptr, 0, "\x81\x45", &b_Used), 2);
}

TEST(Codepage, MinusOneIncludesTerminator)
{
    char16_t au[4];
    EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(1252, "a\x80", -1, au, 4), 3);
    EXPECT_EQ(std::u16string(au, 3), std::u16string(u"a\u20AC\0", 3));
    char ac[4];
    EXPECT_EQ(CT_PlatformCodepage::si_WideToMulti(932, u"\u3042", -1, ac, 4, nullptr, nullptr), 3);
    EXPECT_EQ(std::string(ac, 3), std::string("\x82\xA0\0", 3));
}

TEST_P(CodepageLoops, LeadByteAloneDecodesToDefault)
{
    // At the end, before a zero byte, and after a complete character.
    EXPECT_EQ(o_Decode(932, "\x82"), u"\u30FB");
    EXPECT_EQ(o_Decode(932, std::string("\x82\0", 2)), std::u16string(u"\u30FB\0", 2));
    EXPECT_EQ(o_Decode(932, "\x82\xA0\x82"), u"\u3042\u30FB");
    EXPECT_EQ(o_Decode(936, "a\x81"), u"a?");
}

TEST_P(CodepageLoops, DefaultCharacterAndFlag)
{
    int b_Used = -1;
    EXPECT_EQ(o_Encode(1252, u"\u0416", nullptr, &b_Used), "?");
    EXPECT_EQ(b_Used, 1);
    EXPECT_EQ(o_Encode(1252, u"\u0416", "*", &b_Used), "*");
    EXPECT_EQ(b_Used, 1);
    // A best fit and '?' itself are not the default.
    EXPECT_EQ(o_Encode(1252, u"\u0100?", nullptr, &b_Used), "A?");
    EXPECT_EQ(b_Used, 0);
    EXPECT_EQ(o_Encode(932, u"\u0E01", "\x81\x45", &b_Used), "\x81\x45");
    EXPECT_EQ(b_Used, 1);
    // A single-byte code page takes the first byte of a two-byte default.
    EXPECT_EQ(o_Encode(1252, u"\u0416", "\x81\x45", &b_Used), "\x81");
}

TEST(Codepage, Utf8LeavesTheFlagAlone)
{
    int b_Used = 7;
    EXPECT_EQ(o_Encode(65001, u"\u3042", "*", &b_Used), "\xE3\x81\x82");
    EXPECT_EQ(b_Used, 7);
}

// Code pages without a recorded table (natively ICU's): DOS Cyrillic and UTF-8.
TEST(Codepage, OtherCodePagesConvert)
{
    EXPECT_EQ(CT_PlatformCodepage::sb_IsValidCodePage(866), 1);
    EXPECT_EQ(o_Decode(866, "\x80\xE9z"), u"\u0410\u0449z");
    int b_Used = -1;
    EXPECT_EQ(o_Encode(866, u"\u0449\u3042", nullptr, &b_Used), "\xE9?");
    EXPECT_EQ(b_Used, 1);
    EXPECT_EQ(o_Encode(866, u"\u3042", "*", &b_Used), "*");
    EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(866, "abc", 3, nullptr, 0), 3);
    char16_t au[2];
    EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(866, "abc", 3, au, 2), 0);
    EXPECT_EQ(CT_PlatformCodepage::sn_GetLastError(), sn_InsufficientBuffer);
    EXPECT_EQ(o_Decode(65001, "\xE3\x81\x82!"), u"\u3042!");
    EXPECT_EQ(
        CT_PlatformCodepage::si_WideToMulti(65001, u"\u3042", 1, nullptr, 0, nullptr, nullptr), 3);
    unsigned n_MaxCharSize = 0;
    unsigned char ac_Default[2], ac_Lead[12];
    ASSERT_EQ(CT_PlatformCodepage::sb_GetCPInfo(866, &n_MaxCharSize, ac_Default, ac_Lead), 1);
    EXPECT_EQ(n_MaxCharSize, 1u);
    EXPECT_EQ(ac_Default[0], '?');
    // Wine has no EUC-KR; where it exists, its lead bytes are A1 to FE.
    if (CT_PlatformCodepage::sb_GetCPInfo(51949, &n_MaxCharSize, ac_Default, ac_Lead))
    {
        EXPECT_EQ(n_MaxCharSize, 2u);
        EXPECT_EQ(std::string(ac_Lead, ac_Lead + 4), std::string("\xA1\xFE\0\0", 4));
    }
}

TEST(Codepage, InvalidArgumentsFail)
{
    char16_t au[4];
    char ac[4];
    const std::function<int()> afi_Calls[] = {
        [&] { return CT_PlatformCodepage::si_MultiToWide(1252, nullptr, 1, au, 4); },
        [&] { return CT_PlatformCodepage::si_MultiToWide(1252, "a", 0, au, 4); },
        [&] { return CT_PlatformCodepage::si_MultiToWide(1252, "a", 1, nullptr, 4); },
        [&] { return CT_PlatformCodepage::si_MultiToWide(1252, "a", 1, au, -1); },
        [&] { return CT_PlatformCodepage::si_MultiToWide(646, "a", 1, au, 4); },
        [&] { return CT_PlatformCodepage::si_MultiToWide(50220, "a", 1, au, 4); },
        [&]
        { return CT_PlatformCodepage::si_WideToMulti(1252, nullptr, 1, ac, 4, nullptr, nullptr); },
        [&] { return CT_PlatformCodepage::si_WideToMulti(932, u"a", 0, ac, 4, nullptr, nullptr); },
        [&]
        { return CT_PlatformCodepage::si_WideToMulti(932, u"a", 1, nullptr, 4, nullptr, nullptr); },
        [&] { return CT_PlatformCodepage::si_WideToMulti(1200, u"a", 1, ac, 4, nullptr, nullptr); },
    };
    for (std::size_t i = 0; i < std::size(afi_Calls); ++i)
    {
        EXPECT_EQ(afi_Calls[i](), 0) << i;
        EXPECT_EQ(CT_PlatformCodepage::sn_GetLastError(), sn_InvalidParameter) << i;
    }
}

TEST(Codepage, MarkersStandForAnsiAndOem)
{
    EXPECT_EQ(o_Decode(0, "\x80"), u"\u20AC");
    EXPECT_EQ(o_Decode(1, "\x80"), u"\u00C7");
    EXPECT_EQ(o_Encode(0, u"\u20AC", nullptr, nullptr), "\x80");
    EXPECT_EQ(CT_PlatformCodepage::sb_IsValidCodePage(0), 0);
    unsigned n_MaxCharSize = 0;
    unsigned char ac_Default[2], ac_Lead[12];
    EXPECT_EQ(CT_PlatformCodepage::sb_GetCPInfo(1, &n_MaxCharSize, ac_Default, ac_Lead), 1);
    EXPECT_EQ(n_MaxCharSize, 1u);
}

// Two threads fail differently, then each reads its own error. Nothing else may run between
// a failure and the reading: on Windows most calls change the last error.
TEST(Codepage, LastErrorBelongsToItsThread)
{
    std::atomic<int> n_Failed{0};
    unsigned an_Read[2] = {};
    auto v_Fail = [&](int i)
    {
        char16_t u;
        CT_PlatformCodepage::si_MultiToWide(1252, "ab", i ? 2 : 0, &u, 1);
        ++n_Failed;
        while (n_Failed.load() < 2)
        {
        }
        an_Read[i] = CT_PlatformCodepage::sn_GetLastError();
    };
    std::thread co_Other(v_Fail, 1);
    v_Fail(0);
    co_Other.join();
    EXPECT_EQ(an_Read[0], sn_InvalidParameter);
    EXPECT_EQ(an_Read[1], sn_InsufficientBuffer);
}

// Several threads meet a code page for the first time together.
TEST(Codepage, FirstUseFromSeveralThreads)
{
    const std::string o_Text = "\xB0\xA1\xB0\xA2 Korean";
    std::u16string ao_Results[4];
    std::vector<std::thread> co_Threads;
    for (std::u16string& o : ao_Results)
        co_Threads.emplace_back([&o, &o_Text] { o = o_Decode(10003, o_Text); });
    for (std::thread& co : co_Threads)
        co.join();
    for (const std::u16string& o : ao_Results)
        EXPECT_EQ(o, u"\uAC00\uAC01 Korean");
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Long random texts against the same conversions character by character: the block paths of
// the single-byte and the double-byte tables must give what the characters give alone, for every
// kind of output size.

namespace
{
// A fixed pseudo-random sequence: every run tests the same texts.
class CT_Random
{
public:
    unsigned n_Below(unsigned n_Bound) { return static_cast<unsigned>(co_Engine() % n_Bound); }

private:
    std::mt19937 co_Engine{5};
};

// Lead-byte ranges as GetCPInfo reports them.
std::vector<bool> a_LeadBytes(unsigned n_CodePage)
{
    unsigned n_MaxCharSize = 0;
    unsigned char ac_Default[2], ac_Lead[12];
    std::vector<bool> a(256);
    CT_PlatformCodepage::sb_GetCPInfo(n_CodePage, &n_MaxCharSize, ac_Default, ac_Lead);
    for (int i = 0; i + 1 < 12 && (ac_Lead[i] || ac_Lead[i + 1]); i += 2)
        for (unsigned n = ac_Lead[i]; n <= ac_Lead[i + 1]; ++n)
            a[n] = true;
    return a;
}

// Bytes in runs of ASCII, of high bytes, of lead-byte pairs, with zero bytes and lone lead bytes.
std::string o_RandomBytes(CT_Random& co_Random, std::size_t n_Size)
{
    std::string o;
    while (o.size() < n_Size)
    {
        const unsigned n_Kind = co_Random.n_Below(6), n_Run = 1 + co_Random.n_Below(24);
        for (unsigned i = 0; i < n_Run; ++i)
            switch (n_Kind)
            {
            case 0:
                o += static_cast<char>(0x80 + co_Random.n_Below(0x80));
                break;
            case 1: // a pair of code page 932, or a lead byte before the end of the run
                o += static_cast<char>(0x81 + co_Random.n_Below(0x1F));
                o += static_cast<char>(0x40 + co_Random.n_Below(0xBD));
                break;
            case 2:
                o +=
                    co_Random.n_Below(4) ? static_cast<char>(0x81 + co_Random.n_Below(0x1F)) : '\0';
                break;
            default:
                o += static_cast<char>(0x20 + co_Random.n_Below(0x5F));
            }
    }
    o.resize(n_Size);
    return o;
}

// Units in runs of ASCII, Latin, Japanese, without a mapping, and zero units.
std::u16string o_RandomUnits(CT_Random& co_Random, std::size_t n_Size)
{
    static const std::u16string so_Japanese = u"\u65E5\u672C\u8A9E\u3042\u30AB\u3001\uFF01";
    static const std::u16string so_Latin = u"\u00E9\u00FC\u00DF\u20AC\u0152\u201C\u00A0";
    std::u16string o;
    while (o.size() < n_Size)
    {
        const unsigned n_Kind = co_Random.n_Below(6), n_Run = 1 + co_Random.n_Below(24);
        for (unsigned i = 0; i < n_Run; ++i)
            switch (n_Kind)
            {
            case 0:
                o += so_Japanese[co_Random.n_Below(static_cast<unsigned>(so_Japanese.size()))];
                break;
            case 1:
                o += so_Latin[co_Random.n_Below(static_cast<unsigned>(so_Latin.size()))];
                break;
            case 2: // no mapping in either code page, now and then a zero
                o += co_Random.n_Below(6) ? u'\u0E01' : u'\0';
                break;
            default:
                o += static_cast<char16_t>(0x20 + co_Random.n_Below(0x5F));
            }
    }
    o.resize(n_Size);
    return o;
}
} // namespace

TEST_P(CodepageLoops, LongTextsDecodeCharacterByCharacter)
{
    CT_Random co_Random;
    for (const unsigned n_CodePage : {1252u, 932u})
    {
        const std::vector<bool> a_Lead = a_LeadBytes(n_CodePage);
        for (int i_Text = 0; i_Text < 150; ++i_Text)
        {
            const std::string o_In = o_RandomBytes(co_Random, 1 + co_Random.n_Below(120));
            // A lead byte takes the next byte unless that is the last or 0.
            std::u16string o_Expected;
            for (std::size_t n = 0; n < o_In.size(); ++n)
            {
                const bool b_Pair = a_Lead[static_cast<unsigned char>(o_In[n])] &&
                                    n + 1 < o_In.size() && o_In[n + 1];
                o_Expected += o_Decode(n_CodePage, o_In.substr(n, b_Pair ? 2 : 1));
                n += b_Pair;
            }
            SCOPED_TRACE(testing::Message() << n_CodePage << " text " << i_Text);
            ASSERT_EQ(o_Decode(n_CodePage, o_In), o_Expected);
            const int n_In = static_cast<int>(o_In.size());
            EXPECT_EQ(
                CT_PlatformCodepage::si_MultiToWide(n_CodePage, o_In.data(), n_In, nullptr, 0),
                static_cast<int>(o_Expected.size()));
            // Short of room: what fits is written, nothing behind it, and the call fails.
            const std::size_t n_Room = co_Random.n_Below(static_cast<unsigned>(o_Expected.size()));
            std::u16string o_Out(o_Expected.size(), u'#');
            if (n_Room)
            {
                EXPECT_EQ(CT_PlatformCodepage::si_MultiToWide(n_CodePage, o_In.data(), n_In,
                                                              o_Out.data(),
                                                              static_cast<int>(n_Room)),
                          0);
                EXPECT_EQ(CT_PlatformCodepage::sn_GetLastError(), sn_InsufficientBuffer);
            }
            EXPECT_EQ(o_Out, o_Expected.substr(0, n_Room) +
                                 std::u16string(o_Expected.size() - n_Room, u'#'));
        }
    }
}

TEST_P(CodepageLoops, LongTextsEncodeCharacterByCharacter)
{
    CT_Random co_Random;
    for (const unsigned n_CodePage : {1252u, 932u})
        for (int i_Text = 0; i_Text < 150; ++i_Text)
        {
            // The first twenty end at the edges of blocks of sixteen.
            const std::size_t n_Size = i_Text < 20 ? 16 * (1 + i_Text % 4) + i_Text / 4 % 3 - 1
                                                   : 1 + co_Random.n_Below(120);
            const std::u16string o_In = o_RandomUnits(co_Random, n_Size);
            const char* const pcc_Default = i_Text % 3 ? nullptr : i_Text % 2 ? "*" : "\x81\x45";
            std::vector<std::string> co_Chars;
            std::string o_Expected;
            int b_AnyUsed = 0;
            for (char16_t u : o_In)
            {
                int b_Used = 0;
                co_Chars.push_back(
                    o_Encode(n_CodePage, std::u16string(1, u), pcc_Default, &b_Used));
                o_Expected += co_Chars.back();
                b_AnyUsed |= b_Used;
            }
            SCOPED_TRACE(testing::Message() << n_CodePage << " text " << i_Text);
            int b_Used = -1;
            ASSERT_EQ(o_Encode(n_CodePage, o_In, pcc_Default, &b_Used), o_Expected);
            EXPECT_EQ(b_Used, b_AnyUsed);
            const int n_In = static_cast<int>(o_In.size());
            EXPECT_EQ(CT_PlatformCodepage::si_WideToMulti(n_CodePage, o_In.data(), n_In, nullptr, 0,
                                                          pcc_Default, nullptr),
                      static_cast<int>(o_Expected.size()));
            // Every room from one byte to far more than enough (the blocks want room for their
            // worst case) for some texts, one at random for the others: the whole characters
            // that fit (a double-byte code page) or the bytes (a single-byte one), nothing behind
            // them, and a failure when not all fit.
            const std::size_t n_Most = o_Expected.size() + 40;
            const std::size_t n_Random = 1 + co_Random.n_Below(static_cast<unsigned>(n_Most));
            for (std::size_t n_Room = i_Text < 20 ? 1 : n_Random;
                 n_Room <= (i_Text < 20 ? n_Most : n_Random); ++n_Room)
            {
                std::string o_Fitting;
                for (std::size_t i = 0; i < co_Chars.size() && o_Fitting.size() < n_Room; ++i)
                    o_Fitting += co_Chars[i];
                if (o_Fitting.size() > n_Room)
                    o_Fitting.resize(n_CodePage == 932 ? o_Fitting.size() - 2 : n_Room);
                std::string o_Out(n_Most + 4, '#');
                ASSERT_EQ(CT_PlatformCodepage::si_WideToMulti(
                              n_CodePage, o_In.data(), n_In, o_Out.data(), static_cast<int>(n_Room),
                              pcc_Default, nullptr),
                          n_Room >= o_Expected.size() ? static_cast<int>(o_Expected.size()) : 0)
                    << "room " << n_Room;
                ASSERT_EQ(o_Out, o_Fitting + std::string(o_Out.size() - o_Fitting.size(), '#'))
                    << "room " << n_Room;
            }
        }
}

// A block of units (16 or 32, as the level takes them) that ends with a single byte, then a pair:
// with room for the block and one byte more, the pair does not fit, and the byte behind the
// block stays as it was; also when a unit without a mapping (a pair by the default character
// given) sends the end of the block unit by unit.
TEST_P(CodepageLoops, PairThatDoesNotFitBehindABlock)
{
    for (const std::size_t n_Block : {16u, 32u})
        for (const char16_t u_Other : {u'\u3042', u'\u0E01'})
        {
            const std::u16string o_In =
                std::u16string(n_Block - 2, u'\u3042') + u_Other + u"a\u3044";
            std::vector<int> a_Ends; // where each character's bytes end
            for (const char16_t u : o_In)
                a_Ends.push_back((a_Ends.empty() ? 0 : a_Ends.back()) + (u == u'a' ? 1 : 2));
            const int n_Bytes = a_Ends[n_Block - 1];
            for (int n_Room = n_Bytes - 3; n_Room <= n_Bytes + 3; ++n_Room)
            {
                SCOPED_TRACE(testing::Message() << n_Block << " room " << n_Room);
                std::string o_Out(a_Ends.back() + 8, '#');
                EXPECT_EQ(CT_PlatformCodepage::si_WideToMulti(
                              932, o_In.data(), static_cast<int>(o_In.size()), o_Out.data(), n_Room,
                              "\x81\x45", nullptr),
                          n_Room >= a_Ends.back() ? a_Ends.back() : 0);
                int n_Written = 0;
                for (const int n_End : a_Ends)
                    n_Written = n_End <= n_Room ? n_End : n_Written;
                EXPECT_EQ(o_Out.substr(n_Written), std::string(o_Out.size() - n_Written, '#'));
            }
        }
}
