// CT_Codepage: numbers and names of the values, lookups by number and by charset name, the
// classification, the double-byte tests, whether texts survive a code page, and the encoding
// guess from a file's first bytes. Under Wine against the Win32 calls, natively against the
// recorded tables.
#include "System/Charset/Codepage.h"

#include "../../Basis/File/FileTestSupport.h"

#include "Basis/Platform/Codepage.h"
#include "System/String/CString.h"

#include <memory>
#include <set>
#include <string>

namespace
{
using enum CT_Codepage::et_Codepage;
using et = CT_Codepage::et_Codepage;

std::u16string co_Name(const CT_Codepage& co)
{
    return co.qcuz_Get() ? co.qcuz_Get() : u"<null>";
}

// Each stretch of the value order: rows in value order, the value without a row of its own, rows
// one behind their value, values whose rows are among the aliases; and the values without a
// number of their own.
TEST(Codepage, NumberAndCanonicalName)
{
    const unsigned n_Ansi = CT_PlatformCodepage::sn_GetACP();
    const struct
    {
        CT_Codepage co;
        unsigned n;
        std::u16string co_Name;
        int b_Valid = 1;
    } aso_Cases[] = {{e_Ksc5601, 949, u"ks_c_5601-1987"},
                     {e_Iso8859_8, 1255, u"windows-1255"},
                     {e_Windows1256, 1256, u"windows-1256"},
                     {e_Utf16, 0xFFFFFFFF, u"UTF-16"},
                     {e_MacGreek, 10006, u"Macintosh Greek 1"},
                     {e_Acp, 0, u"<null>"},
                     {e_ThreadAcp, 3, u"<null>"},
                     {e_SystemAnsi, n_Ansi, co_Name(CT_Codepage(n_Ansi))},
                     {CT_Codepage(0u), 0, u"<null>", 0},
                     {CT_Codepage(), 0, u"<null>", 0}};
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(so.co.b_IsValid(), so.b_Valid) << so.co.eo_Get();
        EXPECT_EQ(so.co.n_Get(), so.n) << so.co.eo_Get();
        EXPECT_EQ(co_Name(so.co), so.co_Name) << so.co.eo_Get();
    }
    EXPECT_EQ(CT_Codepage(e_SystemOem).n_Get(), CT_PlatformCodepage::sn_GetOEMCP());
}

TEST(Codepage, NumberAndNameLeadBackToTheValue)
{
    for (unsigned n = e_UsAscii; n <= e_MacCroatia; ++n)
    {
        const CT_Codepage co(static_cast<et>(n));
        const CT_UString co_Canonical(co.qcuz_Get(), CT_String::sn_All);
        const unsigned n_Expected = n == e_Iso8859_8 ? e_Windows1255 : n; // shares both
        EXPECT_EQ(CT_Codepage(co.n_Get()).eo_Get(), n_Expected) << n;
        EXPECT_EQ(CT_Codepage(&co_Canonical).eo_Get(), n_Expected) << n;
    }
}

TEST(Codepage, LookupsByNumberAndName)
{
    const std::pair<unsigned, et> aso_Numbers[] = {
        {1255, e_Windows1255}, {0xFFFFFFFF, e_Utf16}, {0, e_Unknown}, {20127, e_Unknown}};
    for (const auto& [n, eo] : aso_Numbers)
        EXPECT_EQ(CT_Codepage(n).eo_Get(), eo) << n;

    const std::pair<const char*, et> aso_Names[] = {{"ISO-8859-1", e_Windows1252},
                                                    {"LATIN1", e_Windows1252},
                                                    {"hebrew", e_Iso8859_8},
                                                    {"utf-8", e_Utf8},
                                                    {"UCS-2", e_Utf16},
                                                    {"csGB2312", e_Gb2312},
                                                    {"latin", e_Unknown},
                                                    {"latin1 ", e_Unknown},
                                                    {"", e_Unknown}};
    for (const auto& [qccz, eo] : aso_Names)
    {
        const CT_CString co_Narrow(qccz, CT_String::sn_All);
        const CT_UString co_Wide(qccz, CT_String::sn_All);
        EXPECT_EQ(CT_Codepage(&co_Narrow).eo_Get(), eo) << qccz;
        EXPECT_EQ(CT_Codepage(&co_Wide).eo_Get(), eo) << qccz;
    }
    EXPECT_EQ(CT_Codepage(static_cast<const CT_String*>(nullptr)).eo_Get(), e_Unknown);
    const std::unique_ptr<CT_Codepage> pco(new CT_Codepage(950u));
    EXPECT_EQ(pco->eo_Get(), e_Big5);
}

TEST(Codepage, Classification)
{
    const struct
    {
        const char* qccz;
        int (CT_Codepage::*pf)() const;
        std::set<unsigned> co_True;
    } aso_Queries[] = {{"windows",
                        &CT_Codepage::b_IsWindowsCodepage,
                        {4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 17, 18, 19, 48, 51, 52}},
                       {"mac",
                        &CT_Codepage::b_IsMacCodepage,
                        {33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47}},
                       {"unicode", &CT_Codepage::b_IsUnicode, {9, 30, 31, 32}},
                       {"16-bit", &CT_Codepage::b_Is16BitUnicode, {9, 32}}};
    for (const auto& so : aso_Queries)
        for (unsigned n = 0; n <= e_None; ++n)
            EXPECT_EQ((CT_Codepage(static_cast<et>(n)).*so.pf)(),
                      static_cast<int>(so.co_True.count(n)))
                << so.qccz << " " << n;
}

TEST(Codepage, SameNumberOrSameValue)
{
    const CT_Codepage co_Ansi(CT_PlatformCodepage::sn_GetACP());
    const struct
    {
        CT_Codepage co_A, co_B;
        int b_Same, b_Equal;
    } aso_Cases[] = {{e_Iso8859_8, e_Windows1255, 1, 0},
                     {e_SystemAnsi, co_Ansi, 1, 0},
                     {e_Utf8, e_Utf8, 1, 1},
                     {e_Utf8, e_Utf7, 0, 0},
                     {e_Acp, e_SystemAnsi, 0, 0},
                     {e_None, e_Unknown, 0, 0},
                     {e_None, e_None, 0, 1}};
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(so.co_A.b_IsSame(so.co_B), so.b_Same) << so.co_A.eo_Get() << so.co_B.eo_Get();
        EXPECT_EQ(so.co_A.b_IsEqual(so.co_B), so.b_Equal) << so.co_A.eo_Get() << so.co_B.eo_Get();
    }
}

TEST(Codepage, DoubleByteCodePagesAndTheirLeadBytes)
{
    const struct
    {
        CT_Codepage co;
        int b_DBCS;
        unsigned char c_Lead, c_NotLead;
    } aso_Cases[] = {
        {e_ShiftJis, 1, 0x81, 0xA0},  {e_Gb2312, 1, 0xFE, 0x80},   {e_MacKorean, 1, 0xCA, 0xC9},
        {e_Iso2022Kr, 1, 0xF9, 0xD4}, {e_Windows1252, 0, 0, 0x81}, {e_Utf8, 0, 0, 0xC3},
        {e_Utf16, 0, 0, 0x81},        {e_EucJp, 0, 0, 0xA4},       {e_None, 0, 0, 0x81}};
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(so.co.b_IsDBCS(), so.b_DBCS) << so.co.eo_Get();
        EXPECT_EQ(so.co.b_IsDBCSLeadByte(so.c_Lead), so.b_DBCS) << so.co.eo_Get();
        EXPECT_FALSE(so.co.b_IsDBCSLeadByte(so.c_NotLead)) << so.co.eo_Get();
    }
}

TEST(Codepage, TextsThatSurviveTheCodePage)
{
    const struct
    {
        et eo;
        std::u16string co_Text;
        int b_Supported;
    } aso_Cases[] = {{e_Windows1252, u"\u20AC", 1},    {e_Windows1252, u"\u0416", 0},
                     {e_Windows1252, u"a\u0416b", 0},  {e_Windows1251, u"\u0416", 1},
                     {e_ShiftJis, u"\u65E5\u672C", 1}, {e_Koi8R, u"\u20AC", 0},
                     {e_Utf8, u"\u0416\xD800", 1},     {e_Utf16, u"\u65E5", 1},
                     {e_Windows1252, u"", 1},          {e_None, u"a", 0}};
    for (const auto& so : aso_Cases)
    {
        const CT_Codepage co(so.eo);
        const CT_UString co_Text(so.co_Text.data(), static_cast<unsigned>(so.co_Text.size()));
        EXPECT_EQ(co.b_IsStringSupported(&co_Text), so.b_Supported) << so.eo;
    }
    EXPECT_TRUE(CT_Codepage(e_Windows1252).b_IsCharSupported(u'\u20AC'));
    EXPECT_FALSE(CT_Codepage(e_Windows1252).b_IsCharSupported(u'\u0416'));
}

class GuessEncoding : public FileTest
{
protected:
    et eo_Guess(const CT_UString& co_Name)
    {
        return CT_Codepage::sco_GuessEncoding(&co_Name).eo_Get();
    }
};

TEST_F(GuessEncoding, ByTheFirstBytes)
{
    const std::string co_Text(120, 'x');
    const struct
    {
        const char* qccz;
        std::string co_Bytes;
        et eo;
    } aso_Cases[] = {{"UTF-8 mark", "\xEF\xBB\xBF!ab", e_Utf8},
                     {"UTF-16 mark", std::string("\xFF\xFE!\0", 4), e_Utf16},
                     {"big-endian mark, 100 bytes read", "\xFE\xFF" + co_Text, e_Utf16},
                     {"big-endian mark, odd count", "\xFE\xFF!ab", e_SystemAnsi},
                     {"zero among the first 100", co_Text.substr(0, 50) + '\0' + co_Text, e_Utf16},
                     {"zero behind them", co_Text + '\0', e_SystemAnsi},
                     {"zero, odd count", std::string("ab\0", 3), e_SystemAnsi},
                     {"two bytes", "\xFF\xFE", e_SystemAnsi},
                     {"plain text", "plain text", e_SystemAnsi}};
    for (const auto& so : aso_Cases)
    {
        const CT_UString co_Name = co_Path(u"guess.txt");
        sv_Write(co_Name, so.co_Bytes);
        EXPECT_EQ(eo_Guess(co_Name), so.eo) << so.qccz;
    }
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(GuessEncoding, UnreadableFileIsAnsiAndLeavesNoError)
{
    EXPECT_EQ(eo_Guess(co_Path(u"missing.txt")), e_SystemAnsi);
    EXPECT_EQ(eo_Guess(co_Folder), e_SystemAnsi);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(GuessEncoding, FileHeldOpenByAnotherIsRead)
{
    const CT_UString co_Name = co_Path(u"held.txt");
    sv_Write(co_Name, "\xEF\xBB\xBF!ab");
    CT_WinFile co_Holder(&co_Name, 0);
    co_Holder.vv_Open(CT_File::eo_AccessReadWrite, CT_File::eo_OpenExisting,
                      CT_File::eo_ShareReadWrite, CT_File::sn_AttributeNormal, 0);
    ASSERT_TRUE(co_Holder.b_IsOpen());
    EXPECT_EQ(eo_Guess(co_Name), e_Utf8);
}

// The file is not looked at, so that no location joins the thread's error.
TEST_F(GuessEncoding, ThreadsErrorStaysAsItWas)
{
    const CT_UString co_Name = co_Path(u"missing.txt");
    pco_Errors()->v_SetMessageError(u"earlier");
    EXPECT_EQ(eo_Guess(co_Name), e_SystemAnsi);
    EXPECT_EQ(co_ErrorText(), u"earlier");
    EXPECT_EQ(pco_Errors()->n_GetLocationCount(), 0u);
    pco_Errors()->v_ClearError();
}
} // namespace
