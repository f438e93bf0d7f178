#include "System/String/StringConvert.h"

#include "Basis/Platform/Codepage.h"
#include "Basis/Runtime/ErrorManager.h"
#include "System/Charset/Codepage.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;
const char sqccz_Source[] = "Foundation\\System\\String\\StringConvert";

CT_ErrorManager& ro_Errors()
{
    return *CT_ErrorManager::spco_Get();
}

// The trail of the calling thread's error as line numbers, each checked for the conversion's
// source name; the error is cleared, so that no test leaves one behind.
std::vector<unsigned> an_TakeTrail()
{
    std::vector<unsigned> an_Lines;
    for (unsigned i = 1; i <= ro_Errors().n_GetLocationCount(); ++i)
    {
        EXPECT_STREQ(ro_Errors().qccz_GetLocationFileAt(i), sqccz_Source);
        an_Lines.push_back(ro_Errors().n_GetLocationLineAt(i));
    }
    ro_Errors().v_ClearError();
    return an_Lines;
}

std::string s_Narrow(const CT_CString& co)
{
    return {co.qccz_Get(), co.vn_GetLength()};
}

std::u16string s_Wide(const CT_UString& co)
{
    return {co.qcuz_Get(), co.vn_GetLength()};
}

// Output areas start filled with a marker, so that what a conversion writes, and what it leaves
// alone, both show.
struct st_Out
{
    char ac[64];
    char16_t au[64];
    st_Out()
    {
        std::fill(std::begin(ac), std::end(ac), '#');
        std::fill(std::begin(au), std::end(au), u'#');
    }
};

TEST(StringConvert, CountZeroWritesOnlyAnEmptyText)
{
    st_Out so;
    EXPECT_EQ(CT_StringConvert::si_MultiToWide(so.au, "abc", 0, 1252), 0);
    EXPECT_EQ(so.au[0], 0);
    using pfn_ToWide = int (*)(char16_t*, const char*, int);
    const pfn_ToWide apfn_ToWide[] = {&CT_StringConvert::si_UTF7ToWide,
                                      &CT_StringConvert::si_UTF8ToWide,
                                      &CT_StringConvert::si_MultiToWideANSI};
    for (pfn_ToWide fn : apfn_ToWide)
    {
        so.au[0] = u'#';
        EXPECT_EQ(fn(so.au, "abc", 0), 0);
        EXPECT_EQ(so.au[0], 0);
        EXPECT_EQ(so.au[1], u'#');
    }
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"abc", 0, 65001), 0);
    EXPECT_EQ(so.ac[0], 0);
    using pfn_ToMulti = int (*)(char*, const char16_t*, int);
    const pfn_ToMulti apfn_ToMulti[] = {&CT_StringConvert::si_WideToUTF7,
                                        &CT_StringConvert::si_WideToUTF8,
                                        &CT_StringConvert::si_WideToMultiANSI};
    for (pfn_ToMulti fn : apfn_ToMulti)
    {
        so.ac[0] = '#';
        EXPECT_EQ(fn(so.ac, u"abc", 0), 0);
        EXPECT_EQ(so.ac[0], 0);
        EXPECT_EQ(so.ac[1], '#');
    }
    EXPECT_FALSE(ro_Errors().b_IsSetError());
}

// Count -1 measures to the terminator: the platform forms convert and count it, the codecs
// do not.
TEST(StringConvert, MeasuredCountsAndTheTerminator)
{
    st_Out so;
    EXPECT_EQ(CT_StringConvert::si_MultiToWide(so.au, "a\x80", -1, 1252), 3);
    EXPECT_EQ(std::u16string_view(so.au, 3), std::u16string_view(u"a\u20AC\0", 3));
    // The empty text converts its terminator only, which reads as '?'.
    EXPECT_EQ(CT_StringConvert::si_MultiToWide(so.au, "", -1, 1252), 1);
    EXPECT_EQ(so.au[0], u'?');
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"a\u20AC", -1, 1252), 3);
    EXPECT_EQ(std::string_view(so.ac, 3), std::string_view("a\x80\0", 3));
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"", -1, 1252), 1);
    // An unknown code page is the ANSI code page.
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"\u20AC", 1, 12345), 1);
    EXPECT_EQ(so.ac[0], '\x80');

    // UTF-8 decoding writes no terminator; the other codecs do, behind what they count.
    st_Out so_Utf;
    EXPECT_EQ(CT_StringConvert::si_MultiToWide(so_Utf.au, "a\xC3\xA9", -1, 65001), 2);
    EXPECT_EQ(std::u16string_view(so_Utf.au, 3), u"a\u00E9#");
    EXPECT_EQ(CT_StringConvert::si_MultiToWide(so_Utf.au, "a+AOk-", -1, 65000), 2);
    EXPECT_EQ(std::u16string_view(so_Utf.au, 3), std::u16string_view(u"a\u00E9\0", 3));
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so_Utf.ac, u"a\u00E9", -1, 65001), 3);
    EXPECT_STREQ(so_Utf.ac, "a\xC3\xA9");
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so_Utf.ac, u"a\u00E9", -1, 65000), 6);
    EXPECT_STREQ(so_Utf.ac, "a+AOk-");
    EXPECT_FALSE(ro_Errors().b_IsSetError());
}

TEST(StringConvert, DefaultCharacterAndFlagReachOnlyThePlatform)
{
    st_Out so;
    int b_Used = 7;
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"a\u4E2D", 2, 1252, "#", &b_Used), 2);
    EXPECT_EQ(std::string_view(so.ac, 2), "a#");
    EXPECT_EQ(b_Used, 1);
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"ab", 2, 1252, nullptr, &b_Used), 2);
    EXPECT_EQ(b_Used, 0);
    b_Used = 7;
    for (unsigned n_CodePage : {65000u, 65001u})
    {
        EXPECT_GT(CT_StringConvert::si_WideToMulti(so.ac, u"a\u4E2D", 2, n_CodePage, "#", &b_Used),
                  2);
        EXPECT_EQ(b_Used, 7);
    }
}

TEST(StringConvert, SingleCharacters)
{
    const struct
    {
        char c;
        char16_t u;
        unsigned n_CodePage;
    } aso_Pairs[] = {
        {'a', u'a', 1252},
        {'\x80', u'\u20AC', 1252},
        {'\xC6', u'\u0416', 1251},
        {'\xE0', u'\u05D0', 1255},
        {'\x96', u'\u00FB', 437},
        {'\xC1', u'\u0430', 20866},
        {'a', u'a', 65001},
        {'a', u'a', 65000},
        {'\0', u'\0', 932},
        // Code pages the platform does not know convert with the ANSI code page.
        {'\x80', u'\u20AC', 0},
        {'\x80', u'\u20AC', 12345},
        {'\x80', u'\u20AC', 0xFFFFFFFF},
    };
    for (const auto& so : aso_Pairs)
    {
        SCOPED_TRACE(so.n_CodePage);
        EXPECT_EQ(CT_StringConvert::sus_MultiToWide(so.c, so.n_CodePage), so.u);
        EXPECT_EQ(CT_StringConvert::sc_WideToMulti(so.u, so.n_CodePage), so.c);
    }
    // What does not come out as one unit or one byte reads as '?'.
    EXPECT_EQ(CT_StringConvert::sc_WideToMulti(u'\u3042', 932), '?'); // two bytes in Shift_JIS
    EXPECT_EQ(CT_StringConvert::sc_WideToMulti(u'\u00E9', 65001), '?');
    EXPECT_EQ(CT_StringConvert::sc_WideToMulti(u'+', 65000), '?');     // "+-"
    EXPECT_EQ(CT_StringConvert::sus_MultiToWide('\xC3', 65001), u'?'); // a sequence's start
    EXPECT_EQ(CT_StringConvert::sus_MultiToWide('+', 65000), u'?');    // a run's start
    EXPECT_EQ(CT_StringConvert::sc_WideToMulti(u'\u4E2D', 1252), '?'); // the default character
    EXPECT_NE(CT_StringConvert::sus_MultiToWide('\x82', 932), 0);      // a lone lead byte
}

struct st_UtfCase
{
    std::u16string_view s_Wide;
    std::string_view s_Bytes;
};

TEST(StringConvert, Utf7Cases)
{
    const st_UtfCase aso_Cases[] = {
        {u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--+ACE-"}, // '!' is encoded, every run ends in '-'
        {u"a+", "a+-"},
        {u"\u65E5\u672C\u8A9E", "+ZeVnLIqe-"},
        {u"\u00E9.", "+AOk-."},
        {u"~\\", "+AH4AXA-"},
    };
    st_Out so;
    for (const st_UtfCase& so_Case : aso_Cases)
    {
        SCOPED_TRACE(so_Case.s_Bytes);
        const int i_Units = static_cast<int>(so_Case.s_Wide.size());
        ASSERT_EQ(CT_StringConvert::si_WideToUTF7(so.ac, so_Case.s_Wide.data(), i_Units),
                  static_cast<int>(so_Case.s_Bytes.size()));
        EXPECT_EQ(so.ac, so_Case.s_Bytes); // terminated
        ASSERT_EQ(CT_StringConvert::si_UTF7ToWide(so.au, so.ac, -1), i_Units);
        EXPECT_EQ(std::u16string_view(so.au), so_Case.s_Wide);
    }
    const st_UtfCase aso_Decoded[] = {
        {u"+", "+-"}, {u"a+b", "a+-b"}, {u"a", "+AGE-"}, {u"a.", "+AGE."},
        {u"x", "x+"}, {u"a", "+AGEx-"}, // the pending bits of an unfinished unit are dropped
    };
    for (const st_UtfCase& so_Case : aso_Decoded)
    {
        SCOPED_TRACE(so_Case.s_Bytes);
        EXPECT_EQ(CT_StringConvert::si_UTF7ToWide(so.au, so_Case.s_Bytes.data(), -1),
                  static_cast<int>(so_Case.s_Wide.size()));
        EXPECT_EQ(std::u16string_view(so.au), so_Case.s_Wide);
    }
    // Each conversion starts afresh: a run left open by one text does not reach into the next.
    EXPECT_EQ(CT_StringConvert::si_UTF7ToWide(so.au, "+AG", -1), 0);
    EXPECT_EQ(CT_StringConvert::si_UTF7ToWide(so.au, "E", -1), 1);
    EXPECT_EQ(so.au[0], u'E');
}

TEST(StringConvert, Utf8Cases)
{
    st_Out so;
    // The two units of a pair are coded one by one.
    EXPECT_EQ(CT_StringConvert::si_WideToUTF8(so.ac, u"\u00E9\U0001F600", -1), 8);
    EXPECT_STREQ(so.ac, "\xC3\xA9\xED\xA0\xBD\xED\xB8\x80");
    EXPECT_EQ(CT_StringConvert::si_UTF8ToWide(so.au, so.ac, -1), 3);
    EXPECT_EQ(std::u16string_view(so.au, 3), u"\u00E9\U0001F600");
    // A sequence cut off at the end of one text never runs into the next.
    EXPECT_EQ(CT_StringConvert::si_UTF8ToWide(so.au, "\xE2\x82", -1), 0);
    EXPECT_EQ(CT_StringConvert::si_UTF8ToWide(so.au, "a", -1), 1);
    EXPECT_EQ(so.au[0], u'a');
}

TEST(StringConvert, StringOutputIsSizedOnceAndReplacesTheText)
{
    // The worst cases: three bytes for every unit in UTF-8; in UTF-7 a run of its own for every
    // other unit, 3 x units + 2 bytes.
    const std::u16string s_Utf8Worst(600, u'\uFFFF');
    std::u16string s_Utf7Worst = u"\u00E9";
    for (int i = 0; i < 300; ++i)
        s_Utf7Worst += u"a\u00E9";
    const int i_Units8 = static_cast<int>(s_Utf8Worst.size());
    const int i_Units7 = static_cast<int>(s_Utf7Worst.size());

    CT_CString co_Out("old text", sn_All, 1252);
    const CT_CString co_Shared(&co_Out);
    ASSERT_EQ(CT_StringConvert::si_WideToUTF8(&co_Out, s_Utf8Worst.c_str(), -1), 3 * i_Units8);
    EXPECT_EQ(co_Out.pcco_GetBuffer()->n_GetUsedSize(), co_Out.vn_GetLength() + 1);
    EXPECT_EQ(s_Narrow(co_Shared), "old text");
    EXPECT_EQ(co_Out.n_GetCodePage(), 1252u); // the code page is the caller's business
    CT_UString co_Back(u"old", sn_All);
    EXPECT_EQ(CT_StringConvert::si_UTF8ToWide(&co_Back, &co_Out), i_Units8);
    EXPECT_EQ(s_Wide(co_Back), s_Utf8Worst);
    EXPECT_EQ(co_Back.pcco_GetBuffer()->n_GetUsedSize(), 2u * (i_Units8 + 1));

    co_Back.v_Set(s_Utf7Worst.c_str(), sn_All);
    ASSERT_EQ(CT_StringConvert::si_WideToUTF7(&co_Out, &co_Back), 3 * i_Units7 + 2);
    CT_UString co_Utf7Back;
    EXPECT_EQ(CT_StringConvert::si_UTF7ToWide(&co_Utf7Back, &co_Out), i_Units7);
    EXPECT_EQ(s_Wide(co_Utf7Back), s_Utf7Worst);

    // si_WideToMulti into a string takes the codec's room for 65000 and 65001.
    for (const auto& [n_CodePage, s_Text] :
         {std::pair{65000u, s_Utf7Worst}, std::pair{65001u, s_Utf8Worst}})
    {
        CT_CString co_Multi;
        const int i_Bytes =
            CT_StringConvert::si_WideToMulti(&co_Multi, s_Text.c_str(), -1, n_CodePage);
        EXPECT_EQ(i_Bytes, static_cast<int>(co_Multi.vn_GetLength()));
        CT_UString co_Again;
        EXPECT_EQ(CT_StringConvert::si_MultiToWide(&co_Again, &co_Multi, n_CodePage),
                  static_cast<int>(s_Text.size()));
        EXPECT_EQ(s_Wide(co_Again), s_Text);
    }

    // Platform code pages: the string forms count without the terminator, the raw-output
    // forms reading a string convert it too.
    CT_UString co_Wide(u"x\u0416", sn_All);
    CT_CString co_Cyrillic;
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(&co_Cyrillic, &co_Wide, 1251), 2);
    EXPECT_EQ(s_Narrow(co_Cyrillic), "x\xC6");
    EXPECT_EQ(CT_StringConvert::si_WideToMultiANSI(&co_Cyrillic, u"\u20AC!", -1), 2);
    EXPECT_EQ(s_Narrow(co_Cyrillic), "\x80!");
    st_Out so;
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, &co_Wide, 1251), 3);
    EXPECT_EQ(std::string_view(so.ac, 3), std::string_view("x\xC6\0", 3));
    EXPECT_EQ(CT_StringConvert::si_MultiToWideANSI(so.au, &co_Cyrillic), 3);
    EXPECT_EQ(std::u16string_view(so.au, 3), std::u16string_view(u"\u20AC!\0", 3));
    EXPECT_EQ(CT_StringConvert::si_MultiToWideANSI(&co_Wide, "ab\x80", 2), 2);
    EXPECT_EQ(s_Wide(co_Wide), u"ab");

    // Empty strings in, empty strings out, and no failure.
    const CT_UString co_EmptyWide;
    const CT_CString co_EmptyNarrow;
    for (unsigned n_CodePage : {1252u, 65000u, 65001u})
    {
        EXPECT_EQ(CT_StringConvert::si_WideToMulti(&co_Cyrillic, &co_EmptyWide, n_CodePage), 0);
        EXPECT_EQ(s_Narrow(co_Cyrillic), "");
        EXPECT_EQ(CT_StringConvert::si_MultiToWide(&co_Wide, &co_EmptyNarrow, n_CodePage), 0);
        EXPECT_EQ(s_Wide(co_Wide), u"");
    }
    EXPECT_FALSE(ro_Errors().b_IsSetError());
}

// A conversion that yields nothing where a text was expected records the failure with the trail
// of the conversions it passed.
TEST(StringConvert, EmptyResultsAreReportedWithTheirTrail)
{
    st_Out so;
    ASSERT_FALSE(ro_Errors().b_IsSetError());
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"", -1, 65001), 0);
    EXPECT_TRUE(ro_Errors().b_IsSetError());
    EXPECT_EQ(an_TakeTrail(), (std::vector<unsigned>{569, 198}));

    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"", -1, 65000), 0);
    EXPECT_EQ(an_TakeTrail(), (std::vector<unsigned>{424, 198}));

    EXPECT_EQ(CT_StringConvert::si_WideToUTF8(so.ac, u"", -1), 0);
    EXPECT_EQ(an_TakeTrail(), (std::vector<unsigned>{569}));

    // Measured to nothing, UTF-7 encoding expected nothing; the platform path converted the
    // terminator. Neither failed.
    EXPECT_EQ(CT_StringConvert::si_WideToUTF7(so.ac, u"", -1), 0);
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"", -1, 1252), 1);
    // An unknown code page is the ANSI code page.
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"\u20AC", 1, 12345), 1);
    EXPECT_EQ(so.ac[0], '\x80');
    EXPECT_FALSE(ro_Errors().b_IsSetError());

    // The first error of the thread stays; the conversion only adds its locations.
    ro_Errors().v_SetMessageError(u"first");
    EXPECT_EQ(CT_StringConvert::si_WideToMulti(so.ac, u"", -1, 65001), 0);
    EXPECT_EQ(std::u16string(ro_Errors().qcuz_GetErrorMessage()), u"first");
    EXPECT_EQ(an_TakeTrail(), (std::vector<unsigned>{569, 198}));
}

// The code pages the library names, each byte that the code page maps to one character: whole
// texts through both string classes give what the single-character conversions give, and come
// back unchanged.
TEST(StringConvert, NamedCodePagesRoundTripThroughTheStrings)
{
    const unsigned an_CodePages[] = {437,   720,   850,   862,   874,   932,   936,   949,
                                     950,   1250,  1251,  1252,  1253,  1254,  1255,  1256,
                                     1257,  1258,  1361,  10000, 10001, 10002, 10003, 10004,
                                     10005, 10006, 10007, 10008, 10010, 10017, 10029, 10079,
                                     10081, 10082, 20127, 20866, 28592, 28594, 28595, 28597};
    for (unsigned n_CodePage : an_CodePages)
    {
        SCOPED_TRACE(n_CodePage);
        ASSERT_TRUE(CT_Codepage::sb_IsValidCodePage(n_CodePage));
        unsigned n_MaxCharSize = 0;
        unsigned char ac_Default[2], ac_Lead[12];
        ASSERT_TRUE(
            CT_PlatformCodepage::sb_GetCPInfo(n_CodePage, &n_MaxCharSize, ac_Default, ac_Lead));
        auto b_Lead = [&](unsigned char c)
        {
            for (unsigned i = 0; i < 12 && ac_Lead[i]; i += 2)
                if (c >= ac_Lead[i] && c <= ac_Lead[i + 1])
                    return true;
            return false;
        };
        std::string s_Bytes;
        std::u16string s_Units;
        for (unsigned n = 1; n < 0x100; ++n)
        {
            const char c = static_cast<char>(n);
            const char16_t u = CT_StringConvert::sus_MultiToWide(c, n_CodePage);
            if (!b_Lead(static_cast<unsigned char>(c)) &&
                CT_StringConvert::sc_WideToMulti(u, n_CodePage) == c)
                s_Bytes += c, s_Units += u;
        }
        EXPECT_GE(s_Bytes.size(), 0x60u);
        const CT_UString co_Wide(s_Bytes.c_str(), sn_All, n_CodePage);
        EXPECT_EQ(s_Wide(co_Wide), s_Units);
        const CT_CString co_Narrow(&co_Wide, n_CodePage);
        EXPECT_EQ(s_Narrow(co_Narrow), s_Bytes);
    }
    // A character of two bytes in each double-byte code page.
    const struct
    {
        unsigned n_CodePage;
        const char* qccz_Bytes;
        const char16_t* qcuz_Units;
    } aso_Double[] = {
        {932, "a\x82\xA0", u"a\u3042"},  {936, "a\xC4\xE3", u"a\u4F60"},
        {949, "a\xB0\xA1", u"a\uAC00"},  {950, "a\xA4\x40", u"a\u4E00"},
        {1361, "a\x88\x61", u"a\uAC00"},
    };
    for (const auto& so : aso_Double)
    {
        SCOPED_TRACE(so.n_CodePage);
        const CT_UString co_Wide(so.qccz_Bytes, sn_All, so.n_CodePage);
        EXPECT_EQ(s_Wide(co_Wide), so.qcuz_Units);
        CT_CString co_Narrow(&co_Wide, so.n_CodePage);
        EXPECT_EQ(s_Narrow(co_Narrow), so.qccz_Bytes);
        co_Narrow.v_Append(u'\u3000');
        EXPECT_EQ(co_Narrow.vn_GetLength(), 5u); // the ideographic space takes two bytes too
    }
}

// Units are coded one by one, lone surrogates included, so every unit comes back.
TEST(StringConvert, EveryUnitRoundTripsThroughUtf7AndUtf8)
{
    std::u16string s_All;
    for (unsigned n = 1; n < 0x10000; ++n)
        s_All += static_cast<char16_t>(n);
    const CT_UString co_All(s_All.c_str(), sn_All);
    for (unsigned n_CodePage : {65000u, 65001u})
    {
        SCOPED_TRACE(n_CodePage);
        const CT_CString co_Narrow(&co_All, n_CodePage);
        const CT_UString co_Back(&co_Narrow);
        EXPECT_TRUE(s_Wide(co_Back) == s_All);
    }
}

// Concurrent first queries agree with the platform and with each other.
TEST(StringConvert, ValidityCacheAnswersAsThePlatformFromAnyThread)
{
    std::vector<unsigned> an_Numbers = {0xFFFFFFFF, 70000, 65536};
    for (auto [n_From, n_To] :
         {std::pair{0u, 1500u}, std::pair{10000u, 10100u}, std::pair{20100u, 20900u},
          std::pair{28590u, 28610u}, std::pair{64990u, 65010u}, std::pair{65530u, 65536u}})
        for (unsigned n = n_From; n < n_To; ++n)
            an_Numbers.push_back(n);
    auto v_Check = [&an_Numbers](std::size_t n_First, unsigned* pn_Wrong)
    {
        for (std::size_t i = 0; i < an_Numbers.size(); ++i)
        {
            const unsigned n = an_Numbers[(n_First + i) % an_Numbers.size()];
            if (CT_Codepage::sb_IsValidCodePage(n) != CT_PlatformCodepage::sb_IsValidCodePage(n))
                ++*pn_Wrong;
        }
    };
    unsigned an_Wrong[5] = {};
    std::vector<std::thread> aco_Threads;
    for (unsigned i = 0; i < 4; ++i)
        aco_Threads.emplace_back(v_Check, i * an_Numbers.size() / 4, &an_Wrong[i]);
    for (std::thread& co : aco_Threads)
        co.join();
    v_Check(0, &an_Wrong[4]);
    EXPECT_EQ(an_Wrong[0] + an_Wrong[1] + an_Wrong[2] + an_Wrong[3] + an_Wrong[4], 0u);
    EXPECT_TRUE(CT_Codepage::sb_IsValidCodePage(1252));
    EXPECT_FALSE(CT_Codepage::sb_IsValidCodePage(0)); // a marker, not a code page
    EXPECT_FALSE(CT_Codepage::sb_IsValidCodePage(0xFFFFFFFF));
}
} // namespace
