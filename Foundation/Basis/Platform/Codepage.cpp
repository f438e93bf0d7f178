#include "Basis/Platform/Codepage.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    return MultiByteToWideChar(n_CodePage, MB_PRECOMPOSED, pcc_In, n_Bytes,
                               reinterpret_cast<wchar_t*>(pu_Out), n_OutUnits);
}

int CT_PlatformCodepage::si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                                        char* pc_Out, int n_OutBytes, const char* pcc_Default,
                                        int* pb_UsedDefault)
{
    BOOL b_Used = FALSE;
    // UTF-7 and UTF-8 accept neither a default character nor the flag.
    bool b_Utf = n_CodePage == CP_UTF7 || n_CodePage == CP_UTF8;
    int n = WideCharToMultiByte(n_CodePage, 0, reinterpret_cast<const wchar_t*>(pcu_In), n_Units,
                                pc_Out, n_OutBytes, b_Utf ? nullptr : pcc_Default,
                                b_Utf || !pb_UsedDefault ? nullptr : &b_Used);
    if (pb_UsedDefault && !b_Utf)
        *pb_UsedDefault = b_Used;
    return n;
}

unsigned CT_PlatformCodepage::sn_GetLastError()
{
    return GetLastError();
}

int CT_PlatformCodepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    return IsValidCodePage(n_CodePage) ? 1 : 0;
}

int CT_PlatformCodepage::sb_GetCPInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                      unsigned char* pac_DefaultChar, unsigned char* pac_LeadBytes)
{
    CPINFO so_Info;
    if (!GetCPInfo(n_CodePage, &so_Info))
        return 0;
    *pn_MaxCharSize = so_Info.MaxCharSize;
    std::memcpy(pac_DefaultChar, so_Info.DefaultChar, MAX_DEFAULTCHAR);
    std::memcpy(pac_LeadBytes, so_Info.LeadByte, MAX_LEADBYTES);
    return 1;
}

#else
#include <unicode/ucnv.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace
{
// Windows' error codes, so that callers read the same numbers on both builds.
constexpr unsigned sn_ErrorInvalidParameter = 87;
constexpr unsigned sn_ErrorInsufficientBuffer = 122;
constexpr unsigned sn_ErrorNoUnicodeTranslation = 1113;

thread_local unsigned tn_LastError = 0;

int i_Fail(unsigned n_Error)
{
    tn_LastError = n_Error;
    return 0;
}

bool b_IsUtf(unsigned n_CodePage)
{
    return n_CodePage == 65000 || n_CodePage == 65001;
}

// The code pages that the markers stand for: ANSI, OEM, Macintosh, thread ANSI.
unsigned n_Resolve(unsigned n_CodePage)
{
    constexpr unsigned san_Markers[] = {1252, 437, 10000, 1252};
    return n_CodePage < std::size(san_Markers) ? san_Markers[n_CodePage] : n_CodePage;
}

// One code page as generated into CodepageTables.inc, which describes the streams.
struct st_CodepageData
{
    unsigned n_CodePage;
    unsigned n_MaxCharSize;
    unsigned n_DefaultChar; // one byte, or lead byte * 256 + trail byte
    unsigned char ac_LeadBytes[12];
    const std::uint16_t* pn_Decode;
    const std::uint16_t* pn_Encode;
    std::size_t n_EncodeWords;
};

#include "Basis/Platform/CodepageTables.inc"

// Bit i set for each of the sixteen bytes at pc_In from 0x80 on. Without the instruction for
// it, one multiplication per half gathers the top bits of its bytes into its top byte.
unsigned n_HighBits16(const unsigned char* pc_In)
{
#if defined(__SSE2__)
    typedef char t_Chars __attribute__((vector_size(16)));
    t_Chars x_Bytes;
    std::memcpy(&x_Bytes, pc_In, sizeof x_Bytes);
    return static_cast<unsigned>(__builtin_ia32_pmovmskb128(x_Bytes));
#else
    std::uint64_t an_Halves[2];
    std::memcpy(an_Halves, pc_In, sizeof an_Halves);
    constexpr std::uint64_t n_Gather = 0x0002040810204081u;
    constexpr std::uint64_t n_Tops = 0x8080808080808080u;
    return static_cast<unsigned>(((an_Halves[0] & n_Tops) * n_Gather >> 56) |
                                 ((an_Halves[1] & n_Tops) * n_Gather >> 48 & 0xFF00));
#endif
}

// The bits of a unit from U+0080 on, in each unit of a word.
constexpr std::uint64_t sn_NonAscii = 0xFF80FF80FF80FF80u;

// Sixteen units below U+0100 as bytes.
void v_Narrow16(const char16_t* pu_In, char* pc_Out)
{
    typedef char16_t t_Units __attribute__((vector_size(32)));
    typedef char t_Bytes __attribute__((vector_size(16)));
    t_Units x_Units;
    std::memcpy(&x_Units, pu_In, sizeof x_Units);
    const auto x_Bytes = __builtin_convertvector(x_Units, t_Bytes);
    std::memcpy(pc_Out, &x_Bytes, sizeof x_Bytes);
}

// Sixteen bytes as units.
void v_Widen16(const unsigned char* pc_In, char16_t* pu_Out)
{
    typedef unsigned char t_Bytes __attribute__((vector_size(16)));
    typedef char16_t t_Units __attribute__((vector_size(32)));
    t_Bytes x_Bytes;
    std::memcpy(&x_Bytes, pc_In, sizeof x_Bytes);
    const auto x_Units = __builtin_convertvector(x_Bytes, t_Units);
    std::memcpy(pu_Out, &x_Units, sizeof x_Units);
}

// Segment header word of the generated streams:
//   bits 8-15  kind: literal values, one value counting up, one value repeated
//   bits 0-7   length less one
constexpr unsigned sn_SegmentKindShift = 8;
constexpr unsigned sn_SegmentLengthMask = 0xFF;
enum et_Segment
{
    e_Literal,
    e_CountUp,
    e_Repeat
};

// Passes the values of the segment at pn to v_Put in order; returns what follows the segment.
template <class T_Put>
const std::uint16_t* pn_ReadSegment(const std::uint16_t* pn, T_Put&& v_Put)
{
    unsigned n_Kind = pn[0] >> sn_SegmentKindShift;
    unsigned n_Length = (pn[0] & sn_SegmentLengthMask) + 1;
    for (unsigned i = 0; i < n_Length; ++i)
        v_Put(static_cast<std::uint16_t>(n_Kind == e_Literal   ? pn[1 + i]
                                         : n_Kind == e_CountUp ? pn[1] + i
                                                               : pn[1]));
    return pn + 1 + (n_Kind == e_Literal ? n_Length : 1);
}

// The lookup tables of one code page, built from its generated streams on first use and only
// read afterwards, by any thread.
class CT_CodepageTable
{
public:
    explicit CT_CodepageTable(const st_CodepageData& so_Data);
    CT_CodepageTable(const CT_CodepageTable&) = delete;
    CT_CodepageTable& operator=(const CT_CodepageTable&) = delete;

    const st_CodepageData& so_GetData() const { return so_Data; }
    // MultiByteToWideChar's loop: n_Out of 0 counts.
    int si_Decode(const unsigned char* pc_In, int n_In, char16_t* pu_Out, int n_Out) const;
    // WideCharToMultiByte's loop with the default character given as a value like the table's.
    int si_Encode(const char16_t* pu_In, int n_In, char* pc_Out, int n_Out, unsigned n_Default,
                  int* pb_Used) const;
    // The value that pcc_Default stands for, as Windows reads it.
    unsigned n_DefaultValue(const char* pcc_Default) const;

private:
    static constexpr std::uint16_t sn_Unmapped = 0xFFFF;

    void v_DecodeStream();
    void v_DeriveEncoding();
    void v_EncodeExceptions();
    int si_DecodeSingle(const unsigned char* pc_In, int n_In, char16_t* pu_Out, int n_Out) const;
    int si_WidenAscii(const unsigned char* pc_In, int n_In, char16_t* pu_Out) const;
    struct st_Encoder;
    int si_EncodeSingle(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                        int* pb_Used) const;
    static int si_NarrowAscii(st_Encoder& so, const char16_t* pu_In, int n_In, char* pc_Out);
    int si_EncodeDouble(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                        int* pb_Used) const;
    int si_EncodeBlock(st_Encoder& so, const char16_t* pu_In, char* pc_Out) const;

    const st_CodepageData& so_Data;
    // Decoding row of each lead byte's pairs; 0 (the single-byte row) for other bytes.
    unsigned char an_LeadRow[256] = {};
    bool b_HasLeadBytes = false;
    // Whether the bytes below 0x80 and the units below U+0080 convert to themselves, as in most
    // code pages.
    bool b_AsciiSame = false;
    // 256 units a row: row 0 decodes single bytes, the others the trail bytes of a lead byte.
    std::vector<char16_t> co_DecodeRows;
    // For each unit one byte, lead byte * 256 + trail byte, or sn_Unmapped: 128 KB, the
    // fastest lookup, and only for the code pages a process uses.
    std::vector<std::uint16_t> co_Encode;
};

CT_CodepageTable::CT_CodepageTable(const st_CodepageData& so_Data)
    : so_Data(so_Data), co_Encode(0x10000, sn_Unmapped)
{
    v_DecodeStream();
    v_DeriveEncoding();
    v_EncodeExceptions();
    b_AsciiSame = true;
    for (char16_t u = 0; u < 0x80; ++u)
        b_AsciiSame = b_AsciiSame && co_DecodeRows[u] == u && co_Encode[u] == u;
}

void CT_CodepageTable::v_DecodeStream()
{
    const unsigned char* pac = so_Data.ac_LeadBytes;
    for (unsigned i = 0; i + 1 < sizeof so_Data.ac_LeadBytes && (pac[i] || pac[i + 1]); i += 2)
        std::fill(an_LeadRow + pac[i], an_LeadRow + pac[i + 1] + 1, 1);
    // Rows follow in lead-byte order, as the generator writes them.
    unsigned n_Rows = 1;
    for (unsigned char& n_Row : an_LeadRow)
        n_Row = n_Row ? n_Rows++ : 0;
    b_HasLeadBytes = n_Rows > 1;
    co_DecodeRows.resize(n_Rows * 256u);
    std::size_t n_Filled = 0;
    auto v_Put = [&](std::uint16_t n) { co_DecodeRows[n_Filled++] = n; };
    for (const std::uint16_t* pn = so_Data.pn_Decode; n_Filled < co_DecodeRows.size();)
        pn = pn_ReadSegment(pn, v_Put);
}

// Each unit goes to the first input that decodes to it, single bytes before pairs; the
// generator lists every unit for which Windows does otherwise.
void CT_CodepageTable::v_DeriveEncoding()
{
    auto v_Derive = [this](unsigned n_Input, char16_t u_Unit)
    {
        if (co_Encode[u_Unit] == sn_Unmapped)
            co_Encode[u_Unit] = static_cast<std::uint16_t>(n_Input);
    };
    for (unsigned n_Byte = 0; n_Byte < 256; ++n_Byte)
        v_Derive(n_Byte, co_DecodeRows[n_Byte]);
    for (unsigned n_Lead = 0; n_Lead < 256; ++n_Lead)
        for (unsigned n_Trail = 0; an_LeadRow[n_Lead] && n_Trail < 256; ++n_Trail)
            v_Derive(n_Lead * 256 + n_Trail, co_DecodeRows[an_LeadRow[n_Lead] * 256u + n_Trail]);
}

void CT_CodepageTable::v_EncodeExceptions()
{
    const std::uint16_t* pn_End = so_Data.pn_Encode + so_Data.n_EncodeWords;
    for (const std::uint16_t* pn = so_Data.pn_Encode; pn < pn_End;)
    {
        char16_t u_Unit = *pn++;
        pn = pn_ReadSegment(pn, [&](std::uint16_t n) { co_Encode[u_Unit++] = n; });
    }
}

int CT_CodepageTable::si_DecodeSingle(const unsigned char* pc_In, int n_In, char16_t* pu_Out,
                                      int n_Out) const
{
    if (!n_Out)
        return n_In;
    // Windows fills what fits before it reports the shortage.
    int n = std::min(n_In, n_Out);
    for (int i = b_AsciiSame ? si_WidenAscii(pc_In, n, pu_Out) : 0; i < n; ++i)
        pu_Out[i] = co_DecodeRows[pc_In[i]];
    return n_In > n_Out ? i_Fail(sn_ErrorInsufficientBuffer) : n;
}

// Sixteen bytes at a time, widened together as if all were ASCII; then those from 0x80 on, a few
// in most text, are looked up. The first three go without a branch (a block with fewer repeats its
// first byte, which decodes the same again), the rest one by one. Returns the bytes done.
int CT_CodepageTable::si_WidenAscii(const unsigned char* pc_In, int n_In, char16_t* pu_Out) const
{
    const char16_t* pu_Single = co_DecodeRows.data();
    int i = 0;
    for (; i + 16 <= n_In; i += 16)
    {
        v_Widen16(pc_In + i, pu_Out + i);
        unsigned n_High = n_HighBits16(pc_In + i);
        const auto v_LookUp = [&]
        {
            const int i_At = i + (n_High ? std::countr_zero(n_High) : 0);
            pu_Out[i_At] = pu_Single[pc_In[i_At]];
            n_High &= n_High - 1;
        };
        v_LookUp();
        v_LookUp();
        v_LookUp();
        while (n_High)
            v_LookUp();
    }
    return i;
}

int CT_CodepageTable::si_Decode(const unsigned char* pc_In, int n_In, char16_t* pu_Out,
                                int n_Out) const
{
    if (!b_HasLeadBytes)
        return si_DecodeSingle(pc_In, n_In, pu_Out, n_Out);
    const char16_t* pu_Rows = co_DecodeRows.data();
    int i = 0, n_Units = 0;
    while (i < n_In && (!n_Out || n_Units < n_Out))
    {
        if (b_AsciiSame && n_In - i >= 16 && (!n_Out || n_Out - n_Units >= 16) &&
            !n_HighBits16(pc_In + i))
        {
            if (n_Out)
                v_Widen16(pc_In + i, pu_Out + n_Units);
            i += 16;
            n_Units += 16;
            continue;
        }
        // Characters one by one for the next sixteen bytes.
        for (const int i_Stop = std::min(n_In, i + 16); i < i_Stop && (!n_Out || n_Units < n_Out);
             ++n_Units)
        {
            // A lead byte at the end or before a zero byte decodes alone.
            unsigned n_Index = pc_In[i++];
            if (an_LeadRow[n_Index] && i < n_In && pc_In[i])
                n_Index = an_LeadRow[n_Index] * 256u + pc_In[i++];
            if (n_Out)
                pu_Out[n_Units] = pu_Rows[n_Index];
        }
    }
    return i < n_In ? i_Fail(sn_ErrorInsufficientBuffer) : n_Units;
}

// The encoding tables in locals, since every byte written might otherwise change the members,
// and the used-default flag.
struct CT_CodepageTable::st_Encoder
{
    const std::uint16_t* pn_Encode;
    unsigned n_Default;
    int b_Used;

    unsigned n_Get(char16_t u_Unit)
    {
        unsigned n = pn_Encode[u_Unit];
        if (n != sn_Unmapped)
            return n;
        b_Used = 1;
        return n_Default;
    }
};

int CT_CodepageTable::si_Encode(const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                                unsigned n_Default, int* pb_Used) const
{
    st_Encoder so{co_Encode.data(), n_Default, 0};
    return b_HasLeadBytes ? si_EncodeDouble(so, pu_In, n_In, pc_Out, n_Out, pb_Used)
                          : si_EncodeSingle(so, pu_In, n_In, pc_Out, n_Out, pb_Used);
}

// Windows fills what fits before it reports the shortage; counting still sets the flag.
int CT_CodepageTable::si_EncodeSingle(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out,
                                      int n_Out, int* pb_Used) const
{
    int n = n_Out ? std::min(n_In, n_Out) : n_In;
    for (int i = b_AsciiSame && n_Out ? si_NarrowAscii(so, pu_In, n, pc_Out) : 0; i < n; ++i)
    {
        char c = static_cast<char>(so.n_Get(pu_In[i]));
        if (n_Out)
            pc_Out[i] = c;
    }
    *pb_Used = so.b_Used;
    return n_Out && n_In > n_Out ? i_Fail(sn_ErrorInsufficientBuffer) : n_In;
}

// Eight units at a time: when none reaches 0x80, as in most text, they are narrowed together;
// returns the units done.
int CT_CodepageTable::si_NarrowAscii(st_Encoder& so, const char16_t* pu_In, int n_In, char* pc_Out)
{
    typedef char16_t t_Units __attribute__((vector_size(16)));
    typedef char t_Bytes __attribute__((vector_size(8)));
    int i = 0;
    for (; i + 8 <= n_In; i += 8)
    {
        t_Units n_Units;
        std::uint64_t an_Words[2];
        std::memcpy(&n_Units, pu_In + i, 16);
        std::memcpy(an_Words, pu_In + i, 16);
        if ((an_Words[0] | an_Words[1]) & 0xFF80FF80FF80FF80u)
        {
            for (int k = i; k < i + 8; ++k)
                pc_Out[k] = static_cast<char>(so.n_Get(pu_In[k]));
            continue;
        }
        t_Bytes n_Bytes = __builtin_convertvector(n_Units, t_Bytes);
        std::memcpy(pc_Out + i, &n_Bytes, sizeof n_Bytes);
    }
    return i;
}

// First while any character fits, then counting or at the last byte of room, where Windows
// writes no half of a double-byte character.
int CT_CodepageTable::si_EncodeDouble(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out,
                                      int n_Out, int* pb_Used) const
{
    int i = 0, n_Bytes = 0;
    // Sixteen units at a time while a unit follows them and room for them and its first byte
    // remains (see si_EncodeBlock): that unit's first byte overwrites the one written behind.
    while (n_In - i > 16 && n_Out - n_Bytes >= 34)
    {
        n_Bytes += si_EncodeBlock(so, pu_In + i, pc_Out + n_Bytes);
        i += 16;
    }
    for (; i < n_In && n_Out - n_Bytes >= 2; ++i)
    {
        unsigned n = so.n_Get(pu_In[i]);
        if (n <= 0xFF)
        {
            pc_Out[n_Bytes++] = static_cast<char>(n);
            continue;
        }
        unsigned char ac[2] = {static_cast<unsigned char>(n >> 8), static_cast<unsigned char>(n)};
        std::memcpy(pc_Out + n_Bytes, ac, 2);
        n_Bytes += 2;
    }
    for (; i < n_In; ++i)
    {
        unsigned n = so.n_Get(pu_In[i]);
        int n_Size = n > 0xFF ? 2 : 1;
        if (n_Out && n_Size > n_Out - n_Bytes)
            break;
        if (n_Out)
            pc_Out[n_Bytes] = static_cast<char>(n); // only one byte can be left
        n_Bytes += n_Size;
    }
    *pb_Used = so.b_Used;
    return i < n_In ? i_Fail(sn_ErrorInsufficientBuffer) : n_Bytes;
}

// Sixteen units of a double-byte code page, with room for 34 bytes: ASCII together where it
// converts to itself, else each unit's byte or pair without a branch, stored as two bytes, so
// that one byte behind the result may be written too. Returns the bytes.
int CT_CodepageTable::si_EncodeBlock(st_Encoder& so, const char16_t* pu_In, char* pc_Out) const
{
    std::uint64_t an_Words[4];
    std::memcpy(an_Words, pu_In, sizeof an_Words);
    if (b_AsciiSame && !((an_Words[0] | an_Words[1] | an_Words[2] | an_Words[3]) & sn_NonAscii))
    {
        v_Narrow16(pu_In, pc_Out);
        return 16;
    }
    const auto i_Put = [pu_In, pc_Out](auto fn_Value)
    {
        int n_Bytes = 0;
        for (int i = 0; i < 16; ++i)
        {
            const unsigned n = fn_Value(pu_In[i]);
            // The first byte at the lower address: a pair's bytes swap.
            const int b_Pair = n > 0xFF;
            const std::uint16_t n_Bytes2 = std::rotl(static_cast<std::uint16_t>(n), 8 * b_Pair);
            std::memcpy(pc_Out + n_Bytes, &n_Bytes2, sizeof n_Bytes2);
            n_Bytes += 1 + b_Pair;
        }
        return n_Bytes;
    };
    // First as if every unit had a mapping (a missing one is written as a pair, the table's mark),
    // noting whether one had not; then, in that rare case, again over what was there before.
    char ac_Before[34];
    std::memcpy(ac_Before, pc_Out, sizeof ac_Before);
    const std::uint16_t* const pn_Encode = so.pn_Encode; // not to be read again after each byte
    unsigned n_Unmapped = 0;
    const int n_Bytes = i_Put(
        [pn_Encode, &n_Unmapped](char16_t u)
        {
            const unsigned n = pn_Encode[u];
            n_Unmapped |= n + 1; // bit 16 only from sn_Unmapped
            return n;
        });
    if (!(n_Unmapped >> 16))
        return n_Bytes;
    std::memcpy(pc_Out, ac_Before, sizeof ac_Before);
    return i_Put([&so](char16_t u) { return so.n_Get(u); });
}

// A single-byte code page takes the first byte; a double-byte one a second byte too unless it
// is 0. Windows reads the second byte even after a zero first byte; that is left unread here.
unsigned CT_CodepageTable::n_DefaultValue(const char* pcc_Default) const
{
    if (!pcc_Default)
        return so_Data.n_DefaultChar;
    auto n_First = static_cast<unsigned char>(pcc_Default[0]);
    unsigned n_Second = b_HasLeadBytes && n_First ? static_cast<unsigned char>(pcc_Default[1]) : 0;
    return n_Second ? n_First * 256 + n_Second : n_First;
}

const st_CodepageData* pso_FindData(unsigned n_CodePage)
{
    const st_CodepageData* pso_End = std::end(saso_CodepageData);
    const st_CodepageData* pso =
        std::lower_bound(std::begin(saso_CodepageData), pso_End, n_CodePage,
                         [](const st_CodepageData& so, unsigned n) { return so.n_CodePage < n; });
    return pso != pso_End && pso->n_CodePage == n_CodePage ? pso : nullptr;
}

// The table of a code page, or null when it has none. Tables are built once and never freed,
// so that conversions during static destruction still find them.
const CT_CodepageTable* pco_Table(unsigned n_CodePage)
{
    static std::atomic<const CT_CodepageTable*> sapco_Tables[std::size(saso_CodepageData)];
    static std::mutex sco_Building;
    const st_CodepageData* pso = pso_FindData(n_CodePage);
    if (!pso)
        return nullptr;
    std::atomic<const CT_CodepageTable*>& rpco = sapco_Tables[pso - saso_CodepageData];
    const CT_CodepageTable* pco = rpco.load(std::memory_order_acquire);
    if (pco)
        return pco;
    std::lock_guard<std::mutex> co_Guard(sco_Building);
    pco = rpco.load(std::memory_order_relaxed);
    if (!pco)
        rpco.store(pco = new CT_CodepageTable(*pso), std::memory_order_release);
    return pco;
}

// ICU converters for the code pages without a table, opened once per thread since a converter
// keeps state. A null entry remembers that ICU has no usable converter.
class CT_IcuConverters
{
public:
    CT_IcuConverters() = default;
    CT_IcuConverters(const CT_IcuConverters&) = delete;
    CT_IcuConverters& operator=(const CT_IcuConverters&) = delete;
    ~CT_IcuConverters()
    {
        for (auto& [n_CodePage, pso] : co_Open)
            if (pso)
                ucnv_close(pso);
    }

    UConverter* pso_Get(unsigned n_CodePage)
    {
        auto it = co_Open.find(n_CodePage);
        return it != co_Open.end() ? it->second : co_Open[n_CodePage] = pso_Open(n_CodePage);
    }

private:
    // Windows offers no UTF-16 or UTF-32 code page to these conversions, so converters whose
    // characters take at least two bytes do not count.
    static UConverter* pso_Open(unsigned n_CodePage)
    {
        UErrorCode e = U_ZERO_ERROR;
        std::string o_Name = "windows-" + std::to_string(n_CodePage);
        UConverter* pso = ucnv_open(o_Name.c_str(), &e);
        if (U_SUCCESS(e) && ucnv_getMinCharSize(pso) == 1)
            return pso;
        if (pso)
            ucnv_close(pso);
        return nullptr;
    }

    std::map<unsigned, UConverter*> co_Open;
};

UConverter* pso_Icu(unsigned n_CodePage)
{
    thread_local CT_IcuConverters tco_Converters;
    return n_CodePage < 4 ? nullptr : tco_Converters.pso_Get(n_CodePage);
}

int i_IcuResult(UErrorCode e, std::ptrdiff_t n_Written)
{
    if (U_SUCCESS(e))
        return static_cast<int>(n_Written);
    return i_Fail(e == U_BUFFER_OVERFLOW_ERROR ? sn_ErrorInsufficientBuffer
                                               : sn_ErrorNoUnicodeTranslation);
}

int si_IcuToWide(UConverter* pso, const char* pcc_In, int n_In, char16_t* pu_Out, int n_Out)
{
    UErrorCode e = U_ZERO_ERROR;
    ucnv_resetToUnicode(pso);
    if (!n_Out)
    {
        int n = ucnv_toUChars(pso, nullptr, 0, pcc_In, n_In, &e);
        return i_IcuResult(e == U_BUFFER_OVERFLOW_ERROR ? U_ZERO_ERROR : e, n);
    }
    char16_t* pu = pu_Out;
    ucnv_toUnicode(pso, &pu, pu_Out + n_Out, &pcc_In, pcc_In + n_In, nullptr, true, &e);
    return i_IcuResult(e, pu - pu_Out);
}

// ICU's substitution, noting that it happened.
void v_SubstituteNoting(const void* pv_Used, UConverterFromUnicodeArgs* pso_Args,
                        const UChar* pu_Units, int32_t n_Units, UChar32 u_Char,
                        UConverterCallbackReason e_Reason, UErrorCode* pe)
{
    if (e_Reason <= UCNV_IRREGULAR)
        *static_cast<int*>(const_cast<void*>(pv_Used)) = 1;
    UCNV_FROM_U_CALLBACK_SUBSTITUTE(nullptr, pso_Args, pu_Units, n_Units, u_Char, e_Reason, pe);
}

// UTF-7 and UTF-8 keep ICU's substitution (U+FFFD, as Windows); the other code pages take the
// default character, '?' unless given.
int si_IcuToMulti(UConverter* pso, unsigned n_CodePage, const char16_t* pu_In, int n_In,
                  char* pc_Out, int n_Out, const char* pcc_Default, int* pb_Used)
{
    UErrorCode e = U_ZERO_ERROR;
    ucnv_resetFromUnicode(pso);
    if (!b_IsUtf(n_CodePage))
    {
        ucnv_setSubstChars(pso, pcc_Default ? pcc_Default : "?", 1, &e);
        ucnv_setFromUCallBack(pso, v_SubstituteNoting, pb_Used, nullptr, nullptr, &e);
    }
    if (!n_Out)
    {
        int n = ucnv_fromUChars(pso, nullptr, 0, pu_In, n_In, &e);
        return i_IcuResult(e == U_BUFFER_OVERFLOW_ERROR ? U_ZERO_ERROR : e, n);
    }
    char* pc = pc_Out;
    ucnv_fromUnicode(pso, &pc, pc_Out + n_Out, &pu_In, pu_In + n_In, nullptr, true, &e);
    return i_IcuResult(e, pc - pc_Out);
}

// Lead-byte ranges from ICU's list of lead bytes, as many as the 12 bytes hold with their zero
// pair.
void v_IcuLeadBytes(UConverter* pso, unsigned char* pac_LeadBytes)
{
    UBool ab_Lead[256];
    UErrorCode e = U_ZERO_ERROR;
    ucnv_getStarters(pso, ab_Lead, &e);
    unsigned n_Pairs = 0;
    for (unsigned c = 1; U_SUCCESS(e) && c < 256 && n_Pairs < 5; ++c)
    {
        if (!ab_Lead[c])
            continue;
        pac_LeadBytes[2 * n_Pairs] = static_cast<unsigned char>(c);
        while (c + 1 < 256 && ab_Lead[c + 1])
            ++c;
        pac_LeadBytes[2 * n_Pairs++ + 1] = static_cast<unsigned char>(c);
    }
}

int b_IcuInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize, unsigned char* pac_LeadBytes)
{
    // Windows' answers for UTF-7 and UTF-8; ICU counts per UTF-16 unit.
    if (b_IsUtf(n_CodePage))
    {
        *pn_MaxCharSize = n_CodePage == 65000 ? 5 : 4;
        return 1;
    }
    UConverter* pso = pso_Icu(n_CodePage);
    if (!pso)
        return 0;
    *pn_MaxCharSize = static_cast<unsigned>(ucnv_getMaxCharSize(pso));
    if (*pn_MaxCharSize > 1)
        v_IcuLeadBytes(pso, pac_LeadBytes);
    return 1;
}

int n_Length(const char* pcc)
{
    return static_cast<int>(std::strlen(pcc)) + 1;
}

int n_Length(const char16_t* pcu)
{
    return static_cast<int>(std::char_traits<char16_t>::length(pcu)) + 1;
}

// Windows' checks of the arguments of both directions.
bool b_Invalid(const void* pv_In, int n_In, const void* pv_Out, int n_Out)
{
    return !pv_In || !n_In || (!pv_Out && n_Out) || n_Out < 0;
}

int si_Encode(unsigned n_CodePage, const char16_t* pcu_In, int n_Units, char* pc_Out,
              int n_OutBytes, const char* pcc_Default, int* pb_Used)
{
    if (b_Invalid(pcu_In, n_Units, pc_Out, n_OutBytes))
        return i_Fail(sn_ErrorInvalidParameter);
    if (n_Units < 0)
        n_Units = n_Length(pcu_In);
    n_CodePage = n_Resolve(n_CodePage);
    if (const CT_CodepageTable* pco = pco_Table(n_CodePage))
        return pco->si_Encode(pcu_In, n_Units, pc_Out, n_OutBytes, pco->n_DefaultValue(pcc_Default),
                              pb_Used);
    if (UConverter* pso = pso_Icu(n_CodePage))
        return si_IcuToMulti(pso, n_CodePage, pcu_In, n_Units, pc_Out, n_OutBytes, pcc_Default,
                             pb_Used);
    return i_Fail(sn_ErrorInvalidParameter);
}
} // namespace

int CT_PlatformCodepage::si_MultiToWide(unsigned n_CodePage, const char* pcc_In, int n_Bytes,
                                        char16_t* pu_Out, int n_OutUnits)
{
    if (b_Invalid(pcc_In, n_Bytes, pu_Out, n_OutUnits))
        return i_Fail(sn_ErrorInvalidParameter);
    if (n_Bytes < 0)
        n_Bytes = n_Length(pcc_In);
    n_CodePage = n_Resolve(n_CodePage);
    if (const CT_CodepageTable* pco = pco_Table(n_CodePage))
        return pco->si_Decode(reinterpret_cast<const unsigned char*>(pcc_In), n_Bytes, pu_Out,
                              n_OutUnits);
    if (UConverter* pso = pso_Icu(n_CodePage))
        return si_IcuToWide(pso, pcc_In, n_Bytes, pu_Out, n_OutUnits);
    return i_Fail(sn_ErrorInvalidParameter);
}

int CT_PlatformCodepage::si_WideToMulti(unsigned n_CodePage, const char16_t* pcu_In, int n_Units,
                                        char* pc_Out, int n_OutBytes, const char* pcc_Default,
                                        int* pb_UsedDefault)
{
    // As on Windows, UTF-7 and UTF-8 take neither a default character nor the flag.
    bool b_Utf = b_IsUtf(n_CodePage);
    int b_Used = 0;
    int n = si_Encode(n_CodePage, pcu_In, n_Units, pc_Out, n_OutBytes,
                      b_Utf ? nullptr : pcc_Default, &b_Used);
    if (pb_UsedDefault && !b_Utf)
        *pb_UsedDefault = b_Used;
    return n;
}

unsigned CT_PlatformCodepage::sn_GetLastError()
{
    return tn_LastError;
}

int CT_PlatformCodepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    return pso_FindData(n_CodePage) || pso_Icu(n_CodePage) ? 1 : 0;
}

int CT_PlatformCodepage::sb_GetCPInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                      unsigned char* pac_DefaultChar, unsigned char* pac_LeadBytes)
{
    n_CodePage = n_Resolve(n_CodePage);
    unsigned n_MaxCharSize = 0;
    unsigned char ac_LeadBytes[12] = {};
    // ICU's code pages get the default character of its conversions.
    unsigned n_Default = '?';
    if (const st_CodepageData* pso = pso_FindData(n_CodePage))
    {
        n_MaxCharSize = pso->n_MaxCharSize, n_Default = pso->n_DefaultChar;
        std::memcpy(ac_LeadBytes, pso->ac_LeadBytes, sizeof ac_LeadBytes);
    }
    else if (!b_IcuInfo(n_CodePage, &n_MaxCharSize, ac_LeadBytes))
    {
        return 0;
    }
    *pn_MaxCharSize = n_MaxCharSize;
    pac_DefaultChar[0] = static_cast<unsigned char>(n_Default > 0xFF ? n_Default >> 8 : n_Default);
    pac_DefaultChar[1] = static_cast<unsigned char>(n_Default > 0xFF ? n_Default : 0);
    std::memcpy(pac_LeadBytes, ac_LeadBytes, sizeof ac_LeadBytes);
    return 1;
}
#endif
