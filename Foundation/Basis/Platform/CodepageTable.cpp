#include "Basis/Platform/CodepageTable.h"

#include "Basis/Platform/Codepage.h"
#include "Basis/Platform/Vector.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <mutex>

struct CT_CodepageTable::st_Data
{
    unsigned n_CodePage;
    unsigned n_MaxCharSize;
    unsigned n_DefaultChar; // one byte, or lead byte * 256 + trail byte
    unsigned char ac_LeadBytes[12];
    const std::uint16_t* pn_Decode;
    const std::uint16_t* pn_Encode;
    std::size_t n_EncodeWords;
};

namespace
{
using st_CodepageData = CT_CodepageTable::st_Data;

#include "Basis/Platform/CodepageTables.inc"

constexpr int si_TooSmall = -static_cast<int>(CT_PlatformCodepage::sn_ErrorInsufficientBuffer);

// The bits of a unit from U+0080 on.
constexpr std::uint16_t su_NonAscii = 0xFF80;

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

const st_CodepageData* pso_FindData(unsigned n_CodePage)
{
    const st_CodepageData* pso_End = std::end(saso_CodepageData);
    const st_CodepageData* pso =
        std::lower_bound(std::begin(saso_CodepageData), pso_End, n_CodePage,
                         [](const st_CodepageData& so, unsigned n) { return so.n_CodePage < n; });
    return pso != pso_End && pso->n_CodePage == n_CodePage ? pso : nullptr;
}
} // namespace

const CT_CodepageTable* CT_CodepageTable::spcco_Get(unsigned n_CodePage)
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

int CT_CodepageTable::sb_GetInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                 unsigned* pn_DefaultChar, unsigned char* pac_LeadBytes)
{
    const st_CodepageData* pso = pso_FindData(n_CodePage);
    if (!pso)
        return 0;
    *pn_MaxCharSize = pso->n_MaxCharSize;
    *pn_DefaultChar = pso->n_DefaultChar;
    std::memcpy(pac_LeadBytes, pso->ac_LeadBytes, sizeof pso->ac_LeadBytes);
    return 1;
}

CT_CodepageTable::CT_CodepageTable(const st_Data& so_Data)
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
    return n_In > n_Out ? si_TooSmall : n;
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
        const auto x_Bytes = x_Load<t_Bytes>(pc_In + i);
        v_PutUnits(pu_Out + i, x_Bytes);
        unsigned n_High = n_BitsOf(x_Bytes);
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
            !n_BitsOf(x_Load<t_Bytes>(pc_In + i)))
        {
            if (n_Out)
                v_PutUnits(pu_Out + n_Units, x_Load<t_Bytes>(pc_In + i));
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
    return i < n_In ? si_TooSmall : n_Units;
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
                                const char* pcc_Default, int* pb_Used) const
{
    st_Encoder so{co_Encode.data(), n_DefaultValue(pcc_Default), 0};
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
    return n_Out && n_In > n_Out ? si_TooSmall : n_In;
}

// Eight units at a time: when none reaches 0x80, as in most text, they are narrowed together;
// returns the units done.
int CT_CodepageTable::si_NarrowAscii(st_Encoder& so, const char16_t* pu_In, int n_In, char* pc_Out)
{
    int i = 0;
    for (; i + si_UnitLanes <= n_In; i += si_UnitLanes)
    {
        const auto x_Units = x_Load<t_Units>(pu_In + i);
        if (b_Any(x_Units & su_NonAscii))
        {
            for (int k = i; k < i + si_UnitLanes; ++k)
                pc_Out[k] = static_cast<char>(so.n_Get(pu_In[k]));
            continue;
        }
        v_PutBytes(pc_Out + i, x_Units);
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
    return i < n_In ? si_TooSmall : n_Bytes;
}

// Sixteen units of a double-byte code page, with room for 34 bytes: ASCII together where it
// converts to itself, else each unit's byte or pair without a branch, stored as two bytes, so
// that one byte behind the result may be written too. Returns the bytes.
int CT_CodepageTable::si_EncodeBlock(st_Encoder& so, const char16_t* pu_In, char* pc_Out) const
{
    const t_Units ax_Units[2] = {x_Load<t_Units>(pu_In), x_Load<t_Units>(pu_In + si_UnitLanes)};
    if (b_AsciiSame && !b_Any((ax_Units[0] | ax_Units[1]) & su_NonAscii))
    {
        v_PutBytes(pc_Out, ax_Units[0]);
        v_PutBytes(pc_Out + si_UnitLanes, ax_Units[1]);
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
