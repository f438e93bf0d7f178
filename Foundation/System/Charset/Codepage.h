// CT_Codepage: names a character encoding. It holds one et_Codepage value and translates between
// that value, the platform's code page number and the encoding's charset names (the names of mail
// and web headers); it answers questions about the encoding and guesses the encoding of a text
// file from its first bytes. Its statics are the validity test by which the conversions decide
// whether to hand a code page to the platform, and the double-byte tests on numbers.
//
// Values without a number of their own (e_Unknown, the result of a failed lookup, and e_None, that
// of a default-constructed object) answer every query with false, the number 0 and a null name.
// The value class is as thread-safe as an integer; the statics may be called from any thread.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstddef>

class CT_String;
class CT_UString;

class CT_EXPORT CT_Codepage
{
public:
    enum et_Codepage : unsigned
    {
        e_UsAscii,
        e_Dos720,
        e_Windows850,
        e_Dos862,
        e_Windows874,
        e_ShiftJis,
        e_Gb2312,
        e_Ksc5601,
        e_Big5,
        e_Unicode,
        e_Windows1250,
        e_Windows1251,
        e_Windows1252,
        e_Windows1253,
        e_Windows1254,
        e_Windows1255,
        e_Iso8859_8, // named and numbered as windows-1255
        e_Windows1256,
        e_Windows1257,
        e_Windows1258,
        e_Iso2022Kr,
        e_Koi8R,
        e_Iso8859_2,
        e_Iso8859_4,
        e_Iso8859_5,
        e_Iso8859_7,
        e_Iso8859_9,
        e_Iso2022Jp,
        e_EucJp,
        e_HzGb2312,
        e_Utf7,
        e_Utf8,
        e_Utf16,
        e_MacRoman,
        e_MacJapanese,
        e_MacTradChinese,
        e_MacKorean,
        e_MacArabic,
        e_MacHebrew,
        e_MacGreek,
        e_MacCyrillic,
        e_MacSimpChinese,
        e_MacRomanian,
        e_MacUkraine,
        e_MacLatin2,
        e_MacIcelandic,
        e_MacTurkish,
        e_MacCroatia,
        // The platform's markers 0 to 3, without a name.
        e_Acp,
        e_OemCp,
        e_MacCp,
        e_ThreadAcp,
        // The system's code pages, asked of the platform at each use.
        e_SystemAnsi,
        e_SystemOem,
        e_Unknown,
        e_None
    };

    // The platform's marker for the system's ANSI code page.
    static constexpr unsigned sn_ANSI = 0;
    // UTF-7 and UTF-8: the library codes both itself (CT_UTF) rather than through the platform.
    static constexpr unsigned sn_UTF7 = 65000;
    static constexpr unsigned sn_UTF8 = 65001;
    // UTF-16's number: the library's own, no code page of the platform.
    static constexpr unsigned sn_UTF16 = 0xFFFFFFFFu;

    CT_Codepage() { v_Init(e_None); }
    CT_Codepage(et_Codepage eo_Value) { v_Init(eo_Value); }
    // The first value with the number, else e_Unknown.
    explicit CT_Codepage(unsigned n_Number) { v_Init(n_Number); }
    // The first value with the charset name, in any case of ASCII letters, else e_Unknown.
    explicit CT_Codepage(const CT_String* pcco_Name) { v_Init(pcco_Name); }
    // A null pointer gives e_None.
    explicit CT_Codepage(const CT_Codepage* pcco_Other) { v_Init(pcco_Other); }

    void v_Set() { v_Init(e_None); }
    void v_Set(et_Codepage eo_Value) { v_Init(eo_Value); }
    void v_Set(unsigned n_Number) { v_Init(n_Number); }
    void v_Set(const CT_String* pcco_Name) { v_Init(pcco_Name); }
    void v_Set(const CT_Codepage& co_Other) { v_Init(&co_Other); }
    void v_Set(const CT_Codepage* pcco_Other) { v_Init(pcco_Other); }

    et_Codepage eo_Get() const { return eo_Codepage; }
    // The platform's code page number (0 to 3 for its markers, sn_UTF16 for UTF-16).
    unsigned n_Get() const { return sn_Codepage(eo_Codepage); }
    // The canonical charset name, or null.
    const char16_t* qcuz_Get() const;

    int b_IsValid() const { return eo_Codepage < e_Unknown; }
    // Asks the platform itself, not the validity cache.
    int b_IsValidAndInstalled() const;
    int b_IsWindowsCodepage() const;
    int b_IsMacCodepage() const { return eo_Codepage >= e_MacRoman && eo_Codepage <= e_MacCroatia; }
    int b_IsUnicode() const;
    int b_Is16BitUnicode() const { return eo_Codepage == e_Unicode || eo_Codepage == e_Utf16; }
    int b_IsDBCS() const { return b_IsValid() && sb_IsDBCS(n_Get()); }
    int b_IsDBCSLeadByte(unsigned char c_Byte) const
    {
        return b_IsValid() && sb_IsDBCSLeadByte(n_Get(), c_Byte);
    }
    // The same number (e_Windows1252 and e_SystemAnsi on a system whose ANSI code page is 1252).
    int b_IsSame(const CT_Codepage& co_Other) const;
    // The same value.
    int b_IsEqual(const CT_Codepage& co_Other) const { return eo_Codepage == co_Other.eo_Codepage; }
    // Whether the text survives a conversion into a CT_CString of this code page and back; always
    // so for a Unicode encoding.
    int b_IsCharSupported(char16_t u_Char) const;
    int b_IsStringSupported(const CT_UString* pcco_Text) const;

    static constexpr int sb_IsUTF(unsigned n_CodePage)
    {
        return n_CodePage == sn_UTF7 || n_CodePage == sn_UTF8;
    }
    // The platform's answer for the number, asked once per number and remembered for the life
    // of the module.
    static int sb_IsValidCodePage(unsigned n_CodePage);
    // What the platform is handed for a code page: itself when valid, else the ANSI code page.
    static unsigned sn_ForPlatform(unsigned n_CodePage)
    {
        return sb_IsValidCodePage(n_CodePage) ? n_CodePage : sn_ANSI;
    }
    // A code page whose characters may take two bytes, by the platform's information on it; false
    // when it has none.
    static int sb_IsDBCS(unsigned n_CodePage);
    static int sb_IsDBCSLeadByte(unsigned n_CodePage, unsigned char c_Byte);

    // The encoding of the file at the path by its first 100 bytes: e_Utf8 after the UTF-8 byte
    // order mark, e_Utf16 after FF FE or when the bytes look like 16-bit text, else e_SystemAnsi.
    // Never fails: a file that cannot be read is e_SystemAnsi, and its errors are cleared from
    // the error manager. When the thread has an error already, the answer is e_SystemAnsi without
    // a look at the file, so that the thread's error stays as it is.
    static CT_Codepage sco_GuessEncoding(const CT_String* pcco_Path);

    // From the library's general heap.
    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);

private:
    void v_Init(et_Codepage eo_Value) { eo_Codepage = eo_Value; }
    void v_Init(unsigned n_Number) { eo_Codepage = seo_Codepage(n_Number); }
    void v_Init(const CT_String* pcco_Name) { eo_Codepage = seo_Codepage(pcco_Name); }
    void v_Init(const CT_Codepage* pcco_Other)
    {
        eo_Codepage = pcco_Other ? pcco_Other->eo_Codepage : e_None;
    }

    static et_Codepage seo_Codepage(unsigned n_Number);
    static et_Codepage seo_Codepage(const CT_String* pcco_Name);
    static unsigned sn_Codepage(et_Codepage eo_Value);

    et_Codepage eo_Codepage;
};
