#include "System/Charset/Codepage.h"

#include "Basis/File/WinFile.h"
#include "Basis/Platform/Codepage.h"
#include "Basis/Platform/Heap.h"
#include "Basis/Runtime/ErrorManager.h"
#include "System/Charset/CharProperties.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <atomic>
#include <cstdint>
#include <iterator>

namespace
{
using enum CT_Codepage::et_Codepage;

struct st_Charset
{
    CT_Codepage::et_Codepage eo_Codepage;
    unsigned n_Codepage;
    const char16_t* qcuz_Name;
};

// The charset table. Rows 0 to 31 hold the values with a number of their own and their canonical
// names, so that row i holds value i below e_Iso8859_8 and value i + 1 from there to e_Utf16;
// the aliases follow. Lookups take the first row that fits.
constexpr st_Charset saso_Charsets[] = {
    {e_UsAscii, 646, u"US-ASCII"},
    {e_Dos720, 720, u"dos-720"},
    {e_Windows850, 850, u"windows-850"},
    {e_Dos862, 862, u"dos-862"},
    {e_Windows874, 874, u"windows-874"},
    {e_ShiftJis, 932, u"Shift_JIS"},
    {e_Gb2312, 936, u"GB2312"},
    {e_Ksc5601, 949, u"ks_c_5601-1987"},
    {e_Big5, 950, u"Big5"},
    {e_Unicode, 1200, u"Unicode"},
    {e_Windows1250, 1250, u"windows-1250"},
    {e_Windows1251, 1251, u"windows-1251"},
    {e_Windows1252, 1252, u"windows-1252"},
    {e_Windows1253, 1253, u"windows-1253"},
    {e_Windows1254, 1254, u"windows-1254"},
    {e_Windows1255, 1255, u"windows-1255"},
    {e_Windows1256, 1256, u"windows-1256"},
    {e_Windows1257, 1257, u"windows-1257"},
    {e_Windows1258, 1258, u"windows-1258"},
    {e_Iso2022Kr, 1361, u"ISO-2022-KR"},
    {e_Koi8R, 20866, u"koi8-r"},
    {e_Iso8859_2, 28592, u"iso-8859-2"},
    {e_Iso8859_4, 28594, u"iso-8859-4"},
    {e_Iso8859_5, 28595, u"iso-8859-5"},
    {e_Iso8859_7, 28597, u"iso-8859-7"},
    {e_Iso8859_9, 28599, u"iso-8859-9"},
    {e_Iso2022Jp, 50220, u"iso-2022-jp"},
    {e_EucJp, 51932, u"x-euc-jp"},
    {e_HzGb2312, 52936, u"HZ-GB-2312"},
    {e_Utf7, 65000, u"UNICODE-1-1-UTF-7"},
    {e_Utf8, 65001, u"UTF-8"},
    {e_Utf16, CT_Codepage::sn_UTF16, u"UTF-16"},
    {e_UsAscii, 646, u"us"},
    {e_UsAscii, 646, u"IBM367"},
    {e_UsAscii, 646, u"cp367"},
    {e_UsAscii, 646, u"csASCII"},
    {e_ShiftJis, 932, u"MS_Kanji"},
    {e_ShiftJis, 932, u"csShiftJIS"},
    {e_Gb2312, 936, u"csGB2312"},
    {e_Ksc5601, 949, u"ks_c_5601"},
    {e_Iso8859_2, 28592, u"ISO_8859-2:1987"},
    {e_Iso8859_2, 28592, u"iso-ir-101"},
    {e_Iso8859_2, 28592, u"latin2"},
    {e_Iso8859_2, 28592, u"l2"},
    {e_Iso8859_2, 28592, u"csISOLatin2"},
    {e_Windows1252, 1252, u"iso-8859-1"},
    {e_Windows1252, 1252, u"ISO_8859-1:1987"},
    {e_Windows1252, 1252, u"iso-ir-100"},
    {e_Windows1252, 1252, u"latin1"},
    {e_Windows1252, 1252, u"l1"},
    {e_Windows1252, 1252, u"IBM819"},
    {e_Windows1252, 1252, u"CP819"},
    {e_Windows1252, 1252, u"csISOLatin1"},
    {e_Iso8859_4, 28594, u"ISO_8859-4:1988"},
    {e_Iso8859_4, 28594, u"iso-ir-110"},
    {e_Iso8859_4, 28594, u"latin4"},
    {e_Iso8859_4, 28594, u"l4"},
    {e_Iso8859_4, 28594, u"csISOLatin4"},
    {e_Koi8R, 20866, u"csKOI8R"},
    {e_Iso8859_5, 28595, u"cyrillic"},
    {e_Iso8859_5, 28595, u"csISOLatinCyrillic"},
    {e_Iso8859_9, 28599, u"latin5"},
    {e_Iso8859_9, 28599, u"latin5"},
    {e_Iso8859_9, 28599, u"l5"},
    {e_Iso8859_9, 28599, u"csISOLatin5"},
    {e_Iso8859_7, 28597, u"ISO_8859-7:1987"},
    {e_Iso8859_7, 28597, u"iso-ir-126"},
    {e_Iso8859_7, 28597, u"ELOT_928"},
    {e_Iso8859_7, 28597, u"ECMA-118"},
    {e_Iso8859_7, 28597, u"greek"},
    {e_Iso8859_7, 28597, u"greek8"},
    {e_Iso8859_7, 28597, u"csISOLatinGreek"},
    {e_Iso8859_8, 1255, u"ISO_8859-8:1988"},
    {e_Iso8859_8, 1255, u"iso-ir-138"},
    {e_Iso8859_8, 1255, u"hebrew"},
    {e_Iso8859_8, 1255, u"csISOLatinHebrew"},
    {e_Iso8859_8, 1255, u"iso-8859-8"},
    {e_Iso2022Jp, 50220, u"csISO2022JP"},
    {e_Iso2022Kr, 1361, u"csISO2022KR"},
    {e_Utf7, 65000, u"UTF-7"},
    {e_Utf16, CT_Codepage::sn_UTF16, u"UCS-2"},
    {e_Utf16, CT_Codepage::sn_UTF16, u"ISO-10646-UCS-2"},
    {e_MacRoman, 10000, u"Macintosh Roman"},
    {e_MacJapanese, 10001, u"Macintosh Japanese"},
    {e_MacTradChinese, 10002, u"Macintosh Traditional Chinese"},
    {e_MacKorean, 10003, u"Macintosh Korean"},
    {e_MacArabic, 10004, u"Macintosh Arabic"},
    {e_MacHebrew, 10005, u"Macintosh Hebrew"},
    {e_MacGreek, 10006, u"Macintosh Greek 1"},
    {e_MacCyrillic, 10007, u"Macintosh Cyrillic"},
    {e_MacSimpChinese, 10008, u"Macintosh Simplified Chinese"},
    {e_MacRomanian, 10010, u"Macintosh Romanian"},
    {e_MacUkraine, 10017, u"Macintosh Ukraine"},
    {e_MacLatin2, 10029, u"Macintosh Latin 2"},
    {e_MacIcelandic, 10079, u"Macintosh Icelandic"},
    {e_MacTurkish, 10081, u"Macintosh Turkish"},
    {e_MacCroatia, 10082, u"Macintosh Croatia"},
};
static_assert(std::size(saso_Charsets) == 97);

// The row of the value when the rows' order puts it there, else null.
const st_Charset* pcso_DirectRow(CT_Codepage::et_Codepage eo_Value)
{
    return eo_Value < std::size(saso_Charsets) && saso_Charsets[eo_Value].eo_Codepage == eo_Value
               ? &saso_Charsets[eo_Value]
               : nullptr;
}

template <class T_Fits>
const st_Charset* pcso_FirstRow(T_Fits&& b_Fits)
{
    for (const st_Charset& so : saso_Charsets)
        if (b_Fits(so))
            return &so;
    return nullptr;
}

const st_Charset* pcso_RowOfNumber(unsigned n_Number)
{
    return pcso_FirstRow([n_Number](const st_Charset& so) { return so.n_Codepage == n_Number; });
}

const st_Charset* pcso_RowOfValue(CT_Codepage::et_Codepage eo_Value)
{
    const st_Charset* pcso = pcso_DirectRow(eo_Value);
    return pcso ? pcso
                : pcso_FirstRow([eo_Value](const st_Charset& so)
                                { return so.eo_Codepage == eo_Value; });
}

// Charset names are ASCII, and compared in any case of their letters.
char16_t u_FoldAscii(char16_t u)
{
    return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u - u'A' + u'a') : u;
}

bool b_EqualNoCase(const char16_t* qcuz_Name, const char16_t* pcu_Text, unsigned n_Length)
{
    for (unsigned i = 0; i < n_Length; ++i)
        if (!qcuz_Name[i] || u_FoldAscii(qcuz_Name[i]) != u_FoldAscii(pcu_Text[i]))
            return false;
    return !qcuz_Name[n_Length];
}

// The validity cache: two bits a number, "asked" and "valid", set together by one atomic OR, so
// that any thread may query at any time, also during static initialisation and exit (the table
// is zero-initialised data, never built or destroyed). Two threads asking the same new number
// both ask the platform and store the same answer. Windows' code page numbers are 16-bit; larger
// numbers are never valid and go to the platform uncached.
constexpr unsigned sn_Cached = 0x10000;
constexpr unsigned sn_PerWord = 16;
constexpr std::uint32_t sn_Asked = 1;
constexpr std::uint32_t sn_Valid = 2;

std::atomic<std::uint32_t> san_Cache[sn_Cached / sn_PerWord];

// The encoding guess reads this much of a file, through a file object of this buffer size.
constexpr unsigned sn_GuessSample = 100;
constexpr unsigned sn_GuessBufferSize = 16384;

// Clears the thread's error, if any; tells whether there was one.
bool b_ClearError(CT_ErrorManager* pco_Errors)
{
    if (!pco_Errors || !pco_Errors->b_IsSetError())
        return false;
    pco_Errors->v_ClearError();
    return true;
}

// The first bytes of the file, or none when it cannot be opened or read; the errors of the
// attempt are cleared.
unsigned n_ReadStart(const CT_String* pcco_Path, unsigned char* pac_Sample)
{
    CT_ErrorManager* pco_Errors = CT_ErrorManager::spco_Get();
    CT_WinFile co_File(pcco_Path, sn_GuessBufferSize);
    // Others may hold the file open, as an editor does with the file it shows.
    co_File.vv_Open(CT_File::eo_AccessRead, CT_File::eo_OpenExisting, CT_File::eo_ShareReadWrite,
                    CT_File::sn_AttributeNormal, 0);
    if (b_ClearError(pco_Errors) || !co_File.b_IsOpen())
        return 0;
    unsigned n_Read = co_File.vn_Read(pac_Sample, sn_GuessSample);
    if (b_ClearError(pco_Errors))
        n_Read = 0;
    co_File.vv_Close();
    b_ClearError(pco_Errors);
    return n_Read;
}
} // namespace

const char16_t* CT_Codepage::qcuz_Get() const
{
    const st_Charset* pcso = pcso_DirectRow(eo_Codepage);
    if (!pcso)
        pcso = pcso_RowOfNumber(n_Get());
    return pcso ? pcso->qcuz_Name : nullptr;
}

int CT_Codepage::b_IsValidAndInstalled() const
{
    return b_IsValid() && CT_PlatformCodepage::sb_IsValidCodePage(n_Get());
}

int CT_Codepage::b_IsWindowsCodepage() const
{
    switch (eo_Codepage)
    {
    case e_Windows874:
    case e_ShiftJis:
    case e_Gb2312:
    case e_Ksc5601:
    case e_Big5:
    case e_Windows1250:
    case e_Windows1251:
    case e_Windows1252:
    case e_Windows1253:
    case e_Windows1254:
    case e_Windows1255:
    case e_Windows1256:
    case e_Windows1257:
    case e_Windows1258:
    case e_Acp:
    case e_ThreadAcp:
    case e_SystemAnsi:
        return 1;
    default:
        return 0;
    }
}

int CT_Codepage::b_IsUnicode() const
{
    return eo_Codepage == e_Unicode || eo_Codepage == e_Utf7 || eo_Codepage == e_Utf8 ||
           eo_Codepage == e_Utf16;
}

int CT_Codepage::b_IsSame(const CT_Codepage& co_Other) const
{
    return b_IsValid() && co_Other.b_IsValid() && n_Get() == co_Other.n_Get();
}

int CT_Codepage::b_IsCharSupported(char16_t u_Char) const
{
    const CT_UString co_Text(&u_Char, 1);
    return b_IsStringSupported(&co_Text);
}

int CT_Codepage::b_IsStringSupported(const CT_UString* pcco_Text) const
{
    if (!b_IsValid())
        return 0;
    if (b_IsUnicode() || !pcco_Text)
        return 1;
    const CT_CString co_Converted(pcco_Text, n_Get());
    const CT_UString co_Back(&co_Converted);
    return co_Back.vi_Compare(pcco_Text, 0, CT_String::sn_All, 0) == 0;
}

int CT_Codepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    if (n_CodePage >= sn_Cached)
        return CT_PlatformCodepage::sb_IsValidCodePage(n_CodePage);
    std::atomic<std::uint32_t>& rn_Word = san_Cache[n_CodePage / sn_PerWord];
    const unsigned n_Shift = 2 * (n_CodePage % sn_PerWord);
    std::uint32_t n_Bits = rn_Word.load(std::memory_order_relaxed) >> n_Shift;
    if (!(n_Bits & sn_Asked))
    {
        n_Bits = sn_Asked | (CT_PlatformCodepage::sb_IsValidCodePage(n_CodePage) ? sn_Valid : 0);
        rn_Word.fetch_or(n_Bits << n_Shift, std::memory_order_relaxed);
    }
    return (n_Bits & sn_Valid) ? 1 : 0;
}

int CT_Codepage::sb_IsDBCS(unsigned n_CodePage)
{
    unsigned n_MaxCharSize;
    unsigned char ac_Default[2], ac_LeadBytes[12];
    return CT_PlatformCodepage::sb_GetCPInfo(n_CodePage, &n_MaxCharSize, ac_Default,
                                             ac_LeadBytes) &&
           n_MaxCharSize != 1 && (ac_LeadBytes[0] || ac_LeadBytes[1]);
}

int CT_Codepage::sb_IsDBCSLeadByte(unsigned n_CodePage, unsigned char c_Byte)
{
    return CT_PlatformCodepage::sb_IsDBCSLeadByte(n_CodePage, c_Byte);
}

CT_Codepage CT_Codepage::sco_GuessEncoding(const CT_String* pcco_Path)
{
    const CT_ErrorManager* pcco_Errors = CT_ErrorManager::spco_Get();
    if (!pcco_Path || (pcco_Errors && pcco_Errors->b_IsSetError()))
        return e_SystemAnsi;
    unsigned char ac[sn_GuessSample];
    const unsigned n = n_ReadStart(pcco_Path, ac);
    if (n < 3)
        return e_SystemAnsi;
    if (ac[0] == 0xEF && ac[1] == 0xBB && ac[2] == 0xBF)
        return e_Utf8;
    if (ac[0] == 0xFF && ac[1] == 0xFE)
        return e_Utf16;
    return CT_CharProperties::sb_IsTextUnicode(ac, n, 1) ? e_Utf16 : e_SystemAnsi;
}

void* CT_Codepage::operator new(std::size_t n_Size)
{
    return CT_Heap::spv_Alloc(n_Size);
}

void CT_Codepage::operator delete(void* pv_Object)
{
    CT_Heap::sv_Free(pv_Object);
}

CT_Codepage::et_Codepage CT_Codepage::seo_Codepage(unsigned n_Number)
{
    const st_Charset* pcso = pcso_RowOfNumber(n_Number);
    return pcso ? pcso->eo_Codepage : e_Unknown;
}

CT_Codepage::et_Codepage CT_Codepage::seo_Codepage(const CT_String* pcco_Name)
{
    const CT_UString co_Name(pcco_Name);
    const st_Charset* pcso = pcso_FirstRow(
        [&co_Name](const st_Charset& so)
        { return b_EqualNoCase(so.qcuz_Name, co_Name.qcuz_Get(), co_Name.n_GetLength()); });
    return pcso ? pcso->eo_Codepage : e_Unknown;
}

unsigned CT_Codepage::sn_Codepage(et_Codepage eo_Value)
{
    switch (eo_Value)
    {
    case e_Acp:
    case e_OemCp:
    case e_MacCp:
    case e_ThreadAcp:
        return eo_Value - e_Acp; // the platform's markers, 0 to 3
    case e_SystemAnsi:
        return CT_PlatformCodepage::sn_GetACP();
    case e_SystemOem:
        return CT_PlatformCodepage::sn_GetOEMCP();
    case e_Unknown:
    case e_None:
        return 0;
    default:
        break;
    }
    const st_Charset* pcso = pcso_RowOfValue(eo_Value);
    return pcso ? pcso->n_Codepage : 0;
}
