// The conversion loops of CT_CodepageTable at one level of instruction sets (see
// CodepageTable.h): this file is compiled once per level.
#include "Basis/Platform/Codepage.h"
#include "Basis/Platform/CodepageTable.h"

#include "Basis/Platform/Vector.h"

#include <cstdint>
#include <cstring>

namespace
{
using st_Tables = CT_CodepageTable::st_Tables;

constexpr int si_TooSmall = -static_cast<int>(CT_PlatformCodepage::sn_ErrorInsufficientBuffer);

// The bits of a unit from U+0080 on.
constexpr std::uint16_t su_NonAscii = 0xFF80;

// ---------------------------------------------------------------------------------------------
// Decoding

#if defined(CT_VECTOR_COMPRESS)
// The single-byte row in eight registers, each byte looked up among all 256 units by permutes:
// 64 bytes at a time. Returns the bytes done.
int si_DecodeBlocks(const st_Tables& so, const unsigned char* pc_In, int n_In, char16_t* pu_Out)
{
    t_Units ax_Row[8];
    std::memcpy(ax_Row, so.pu_DecodeRows, sizeof ax_Row);
    int i = 0;
    for (; i + 64 <= n_In; i += 64)
    {
        const auto x_Bytes = x_Load<t_Bytes>(pc_In + i);
        for (int i_Half = 0; i_Half < 2; ++i_Half)
        {
            const t_Units x_Units = x_LookUp(ax_Row, x_WidenBytes(x_Bytes, i_Half));
            std::memcpy(pu_Out + i + 32 * i_Half, &x_Units, sizeof x_Units);
        }
    }
    return i;
}
#else
// A register of bytes at a time, widened together as if all were ASCII; then those from 0x80 on,
// a few in most text, are looked up. The first three go without a branch (a block with fewer
// repeats its first byte, which decodes the same again), the rest one by one. Returns the bytes
// done.
int si_DecodeBlocks(const st_Tables& so, const unsigned char* pc_In, int n_In, char16_t* pu_Out)
{
    if (!so.b_AsciiSame)
        return 0;
    const char16_t* pu_Single = so.pu_DecodeRows;
    int i = 0;
    for (; i + si_ByteLanes <= n_In; i += si_ByteLanes)
    {
        const auto x_Bytes = x_Load<t_Bytes>(pc_In + i);
        v_PutUnits(pu_Out + i, x_Bytes);
        std::uint64_t n_High = n_BitsOf(x_Bytes);
        const auto v_LookUp = [&]
        {
            const int i_At = i + (n_High ? i_LowestBit(n_High) : 0);
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
#endif

int si_DecodeSingle(const st_Tables& so, const unsigned char* pc_In, int n_In, char16_t* pu_Out,
                    int n_Out)
{
    if (!n_Out)
        return n_In;
    // Windows fills what fits before it reports the shortage.
    const int n = i_Min(n_In, n_Out);
    for (int i = sb_Blocks ? si_DecodeBlocks(so, pc_In, n, pu_Out) : 0; i < n; ++i)
        pu_Out[i] = so.pu_DecodeRows[pc_In[i]];
    return n_In > n_Out ? si_TooSmall : n;
}

#if defined(CT_VECTOR_COMPRESS)

// Decodes the characters of a double-byte code page that start in the 64 bytes at pc_In, itself
// a character start, but for a lead byte in the last place, whose character is left. Which bytes
// trail follows from the runs of lead bytes: a run from a character start alternates lead and
// trail bytes, and the byte behind a run of odd length trails its last one, unless it is 0. Each
// character is then looked up, sixteen at a time. Writes the units unless pu_Out is null, with
// room for 64; adds them to n_Units and returns the bytes taken.
int si_DecodePairBlock(const st_Tables& so, const t_Bytes (&ax_LeadRows)[4],
                       const unsigned char* pc_In, char16_t* pu_Out, int& n_Units)
{
    constexpr std::uint64_t sn_Even = 0x5555555555555555u;
    const auto x = x_Load<t_Bytes>(pc_In);
    if (so.b_AsciiSame && !n_BitsOf(x))
    {
        if (pu_Out)
            v_PutUnits(pu_Out, x);
        n_Units += 64;
        return 64;
    }
    const t_Bytes x_Rows = x_LookUp(ax_LeadRows, x);
    const std::uint64_t n_Lead = n_NonZero(x_Rows);
    const std::uint64_t n_RunStarts = n_Lead & ~(n_Lead << 1);
    // Each run of lead bytes with the byte behind it, by the parity of its start.
    const std::uint64_t n_EvenRuns = (n_Lead + (n_RunStarts & sn_Even)) ^ n_Lead;
    const std::uint64_t n_OddRuns = (n_Lead + (n_RunStarts & ~sn_Even)) ^ n_Lead;
    const std::uint64_t n_Trail = ((n_EvenRuns & ~sn_Even) | (n_OddRuns & sn_Even)) & n_NonZero(x);
    const int i_Taken = (~n_Trail & n_Lead) >> 63 ? 63 : 64;
    const std::uint64_t n_Chars = ~n_Trail & n_Below(i_Taken);
    const int i_Chars = i_BitCount(n_Chars);
    n_Units += i_Chars;
    if (!pu_Out)
        return i_Taken;
    // Each character's bytes and lead byte's row in its lane, and a bit for each pair.
    const t_Bytes x_At = x_Compress(x_LaneNumbers(), n_Chars);
    const t_Bytes ax_Bytes[3] = {x_Permute(x, x_At), x_Permute(x, x_At + 1),
                                 x_Permute(x_Rows, x_At)};
    const std::uint64_t n_Pairs = _pext_u64(n_Trail >> 1, n_Chars);
    const auto* pn_Rows = reinterpret_cast<const std::uint16_t*>(so.pu_DecodeRows);
    for (int i_Half = 0; 32 * i_Half < i_Chars; ++i_Half)
    {
        const t_Units x_Index =
            x_Blend(n_Pairs >> 32 * i_Half, x_WidenBytes(ax_Bytes[0], i_Half),
                    x_WidenBytes(ax_Bytes[2], i_Half) << 8 | x_WidenBytes(ax_Bytes[1], i_Half));
        v_PutFirst(pu_Out + 32 * i_Half,
                   x_NarrowWords(x_Gather(pn_Rows, x_WidenUnits(x_Index, 0)),
                                 x_Gather(pn_Rows, x_WidenUnits(x_Index, 1))),
                   i_Min(32, i_Chars - 32 * i_Half));
    }
    return i_Taken;
}

// Decodes a double-byte code page 64 bytes at a time while 64 remain and room for 64 units (any
// when counting); returns the bytes taken and adds the units to n_Units.
int si_DecodePairs(const st_Tables& so, const unsigned char* pc_In, int n_In, char16_t* pu_Out,
                   int n_Out, int& n_Units)
{
    t_Bytes ax_LeadRows[4];
    std::memcpy(ax_LeadRows, so.pn_LeadRow, sizeof ax_LeadRows);
    int i = 0;
    while (n_In - i >= 64 && (!n_Out || n_Out - n_Units >= 64))
        i += si_DecodePairBlock(so, ax_LeadRows, pc_In + i, n_Out ? pu_Out + n_Units : nullptr,
                                n_Units);
    return i;
}
#else
int si_DecodePairs(const st_Tables&, const unsigned char*, int, char16_t*, int, int&)
{
    return 0;
}
#endif

int si_Decode(const st_Tables& so, const unsigned char* pc_In, int n_In, char16_t* pu_Out,
              int n_Out)
{
    if (!so.b_HasLeadBytes)
        return si_DecodeSingle(so, pc_In, n_In, pu_Out, n_Out);
    const char16_t* pu_Rows = so.pu_DecodeRows;
    int n_Units = 0;
    int i = si_DecodePairs(so, pc_In, n_In, pu_Out, n_Out, n_Units);
    while (i < n_In && (!n_Out || n_Units < n_Out))
    {
        if (sb_Blocks && so.b_AsciiSame && n_In - i >= si_ByteLanes &&
            (!n_Out || n_Out - n_Units >= si_ByteLanes) && !n_BitsOf(x_Load<t_Bytes>(pc_In + i)))
        {
            if (n_Out)
                v_PutUnits(pu_Out + n_Units, x_Load<t_Bytes>(pc_In + i));
            i += si_ByteLanes;
            n_Units += si_ByteLanes;
            continue;
        }
        // Characters one by one for the next register of bytes.
        for (const int i_Stop = i_Min(n_In, i + si_ByteLanes);
             i < i_Stop && (!n_Out || n_Units < n_Out); ++n_Units)
        {
            // A lead byte at the end or before a zero byte decodes alone.
            unsigned n_Index = pc_In[i++];
            if (so.pn_LeadRow[n_Index] && i < n_In && pc_In[i])
                n_Index = so.pn_LeadRow[n_Index] * 256u + pc_In[i++];
            if (n_Out)
                pu_Out[n_Units] = pu_Rows[n_Index];
        }
    }
    return i < n_In ? si_TooSmall : n_Units;
}

// ---------------------------------------------------------------------------------------------
// Encoding

// The encoding table in a local, since every byte written might otherwise change what the
// pointer reaches, the default character and the used-default flag.
struct st_Encoder
{
    const std::uint16_t* pn_Encode;
    unsigned n_Default;
    int b_Used;

    unsigned n_Get(char16_t u_Unit)
    {
        unsigned n = pn_Encode[u_Unit];
        if (n != CT_CodepageTable::sn_Unmapped)
            return n;
        b_Used = 1;
        return n_Default;
    }
};

// Writes the bytes of a register of units of a single-byte code page, some from U+0080 on: looked
// up together, sixteen at a time, where the level gathers; else one by one.
void v_PutSingles(st_Encoder& so, const char16_t* pu_In, char* pc_Out)
{
#if defined(CT_VECTOR_COMPRESS)
    const auto x_Units = x_Load<t_Units>(pu_In);
    for (int i_Half = 0; i_Half < 2; ++i_Half)
    {
        const t_Words x_Values = x_Gather(so.pn_Encode, x_WidenUnits(x_Units, i_Half));
        if (!b_Any(x_Values == CT_CodepageTable::sn_Unmapped))
        {
            v_PutLowBytes(pc_Out + 16 * i_Half, x_Values);
            continue;
        }
        for (int k = 16 * i_Half; k < 16 * i_Half + 16; ++k)
            pc_Out[k] = static_cast<char>(so.n_Get(pu_In[k]));
    }
#else
    for (int k = 0; k < si_UnitLanes; ++k)
        pc_Out[k] = static_cast<char>(so.n_Get(pu_In[k]));
#endif
}

// A register of units at a time: when none reaches 0x80, as in most text, they are narrowed
// together; returns the units done.
int si_NarrowAscii(st_Encoder& so, const char16_t* pu_In, int n_In, char* pc_Out)
{
    int i = 0;
    for (; i + si_UnitLanes <= n_In; i += si_UnitLanes)
    {
        const auto x_Units = x_Load<t_Units>(pu_In + i);
        if (b_Any(x_Units & su_NonAscii))
            v_PutSingles(so, pu_In + i, pc_Out + i);
        else
            v_PutBytes(pc_Out + i, x_Units);
    }
    return i;
}

// Windows fills what fits before it reports the shortage; counting still sets the flag.
int si_EncodeSingle(const st_Tables& so_Tables, st_Encoder so, const char16_t* pu_In, int n_In,
                    char* pc_Out, int n_Out, int* pb_Used)
{
    const int n = n_Out ? i_Min(n_In, n_Out) : n_In;
    for (int i = sb_Blocks && so_Tables.b_AsciiSame && n_Out ? si_NarrowAscii(so, pu_In, n, pc_Out)
                                                             : 0;
         i < n; ++i)
    {
        const char c = static_cast<char>(so.n_Get(pu_In[i]));
        if (n_Out)
            pc_Out[i] = c;
    }
    *pb_Used = so.b_Used;
    return n_Out && n_In > n_Out ? si_TooSmall : n_In;
}

// Writes the byte or the pair of each of the sixteen units at pu_In, as fn_Value gives it, each
// stored as two bytes with the first at the lower address, so that one byte behind the result
// may be written too. Returns the bytes.
template <typename TValue>
int si_PutValues(const char16_t* pu_In, char* pc_Out, TValue&& fn_Value)
{
    int n_Bytes = 0;
    for (int i = 0; i < 16; ++i)
    {
        const unsigned n = fn_Value(pu_In[i]);
        const int b_Pair = n > 0xFF;
        const unsigned n_Turn = 8u * static_cast<unsigned>(b_Pair);
        const auto n2_Bytes =
            static_cast<std::uint16_t>((n & 0xFFFF) << n_Turn | n >> (16 - n_Turn));
        std::memcpy(pc_Out + n_Bytes, &n2_Bytes, sizeof n2_Bytes);
        n_Bytes += 1 + b_Pair;
    }
    return n_Bytes;
}

// The units that si_EncodeBlock takes, a register's.
constexpr int si_BlockUnits = si_UnitLanes > 16 ? si_UnitLanes : 16;
// Room for the block's bytes, the one it may write behind them, and the first of the unit that
// follows, which overwrites that one.
constexpr int si_BlockRoom = 2 * si_BlockUnits + 2;

#if defined(CT_VECTOR_COMPRESS)

// Thirty-two units of a double-byte code page: ASCII together where it converts to itself, else
// each group of sixteen looked up together, each unit's byte or pair in its word lane, and the
// lanes' bytes compressed; a group with a unit without a mapping goes unit by unit
// (si_PutValues). Returns the bytes.
int si_EncodeBlock(const st_Tables& so_Tables, st_Encoder& so, const char16_t* pu_In, char* pc_Out)
{
    const auto x_Units = x_Load<t_Units>(pu_In);
    if (so_Tables.b_AsciiSame && !b_Any(x_Units & su_NonAscii))
    {
        v_PutBytes(pc_Out, x_Units);
        return si_BlockUnits;
    }
    int n_Bytes = 0;
    for (int i_Half = 0; i_Half < 2; ++i_Half)
    {
        const t_Words x_Values = x_Gather(so.pn_Encode, x_WidenUnits(x_Units, i_Half));
        if (b_Any(x_Values == CT_CodepageTable::sn_Unmapped))
        {
            n_Bytes += si_PutValues(pu_In + 16 * i_Half, pc_Out + n_Bytes,
                                    [&so](char16_t u) { return so.n_Get(u); });
            continue;
        }
        const t_Words x_Pair = x_Values > 0xFF;
        const t_Words x_Bytes =
            (x_Values & ~x_Pair) | (x_Pair & (x_Values >> 8 | (x_Values & 0xFF) << 8));
        const std::uint64_t n_Keep = n_NonZero(0xFF | (x_Pair & 0xFF00));
        const int i_Bytes = i_BitCount(n_Keep);
        v_PutFirst(pc_Out + n_Bytes, x_Compress(reinterpret_cast<t_Bytes>(x_Bytes), n_Keep),
                   i_Bytes);
        n_Bytes += i_Bytes;
    }
    return n_Bytes;
}
#else
// Sixteen units of a double-byte code page: ASCII together where it converts to itself, else
// each unit's byte or pair without a branch (si_PutValues). Returns the bytes.
int si_EncodeBlock(const st_Tables& so_Tables, st_Encoder& so, const char16_t* pu_In, char* pc_Out)
{
    const t_Units8 ax_Units[2] = {x_Load<t_Units8>(pu_In), x_Load<t_Units8>(pu_In + 8)};
    if (so_Tables.b_AsciiSame && !b_Any((ax_Units[0] | ax_Units[1]) & su_NonAscii))
    {
        v_PutBytes(pc_Out, ax_Units[0]);
        v_PutBytes(pc_Out + 8, ax_Units[1]);
        return 16;
    }
    // First as if every unit had a mapping (a missing one is written as a pair, the table's mark),
    // noting whether one had not; then, in that rare case, again over what was there before.
    char ac_Before[si_BlockRoom];
    std::memcpy(ac_Before, pc_Out, sizeof ac_Before);
    const std::uint16_t* const pn_Encode = so.pn_Encode; // not to be read again after each byte
    unsigned n_Unmapped = 0;
    const int n_Bytes = si_PutValues(pu_In, pc_Out,
                                     [pn_Encode, &n_Unmapped](char16_t u)
                                     {
                                         const unsigned n = pn_Encode[u];
                                         n_Unmapped |= n + 1; // bit 16 only from sn_Unmapped
                                         return n;
                                     });
    if (!(n_Unmapped >> 16))
        return n_Bytes;
    std::memcpy(pc_Out, ac_Before, sizeof ac_Before);
    return si_PutValues(pu_In, pc_Out, [&so](char16_t u) { return so.n_Get(u); });
}
#endif

// First while any character fits, then counting or at the last byte of room, where Windows
// writes no half of a double-byte character.
int si_EncodeDouble(const st_Tables& so_Tables, st_Encoder so, const char16_t* pu_In, int n_In,
                    char* pc_Out, int n_Out, int* pb_Used)
{
    int i = 0, n_Bytes = 0;
    // A block at a time while a unit follows it and room for it remains: the following unit's
    // first byte overwrites any byte that the block writes behind its own.
    while (sb_Blocks && n_In - i > si_BlockUnits && n_Out - n_Bytes >= si_BlockRoom)
    {
        n_Bytes += si_EncodeBlock(so_Tables, so, pu_In + i, pc_Out + n_Bytes);
        i += si_BlockUnits;
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

int si_Encode(const st_Tables& so_Tables, const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
              unsigned n_Default, int* pb_Used)
{
    const st_Encoder so{so_Tables.pn_Encode, n_Default, 0};
    return so_Tables.b_HasLeadBytes
               ? si_EncodeDouble(so_Tables, so, pu_In, n_In, pc_Out, n_Out, pb_Used)
               : si_EncodeSingle(so_Tables, so, pu_In, n_In, pc_Out, n_Out, pb_Used);
}
} // namespace

extern const CT_CodepageTable::st_Codecs CT_VECTOR_NAME(so_CodepageCodecs) = {si_Decode, si_Encode};
