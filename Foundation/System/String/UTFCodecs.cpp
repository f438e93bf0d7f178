// The codecs of CT_UTF at one level of instruction sets (see UTFCodecs.h): this file is compiled
// once per level.
#include "System/String/UTFCodecs.h"

#include "Basis/Platform/Vector.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace
{
constexpr char sqccz_Base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Written as themselves by the encoder; the optional direct characters ('!', ';', ...) are not
// among them and are always encoded.
constexpr char sqccz_Direct[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n";
constexpr std::uint16_t sn2_NoDigit = 0xFFFF;

// What the lead byte's mark and each continuation byte's 0x80 add to the value of a sequence
// with 0 to 5 trailing bytes, at their places.
constexpr std::uint32_t san4_Offsets[6] = {0x00000000, 0x00003080, 0x000E2080,
                                           0x03C82080, 0xFA082080, 0x82082080};
// Lead-byte marks by sequence length 0 to 6.
constexpr unsigned char sac_FirstByteMark[7] = {0x00, 0x00, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};

// The codecs' tables, computed by the compiler.
struct st_Tables
{
    unsigned char ac_MustEncode[128];  // 1: encoded in a run; 0: written directly
    std::uint16_t an2_FromBase64[128]; // digit value 0-63; sn2_NoDigit for any other character
    unsigned char ac_Trailing[256];    // trailing bytes that a lead byte announces, 0 to 5
};

constexpr st_Tables so_Tables = []
{
    st_Tables so{};
    for (unsigned char& c_Must : so.ac_MustEncode)
        c_Must = 1;
    for (const char* pcc_Char = sqccz_Direct; *pcc_Char; ++pcc_Char)
        so.ac_MustEncode[static_cast<unsigned char>(*pcc_Char)] = 0;
    for (std::uint16_t& n2_Value : so.an2_FromBase64)
        n2_Value = sn2_NoDigit;
    for (std::uint16_t n2_Digit = 0; n2_Digit < 64; ++n2_Digit)
        so.an2_FromBase64[static_cast<unsigned char>(sqccz_Base64[n2_Digit])] = n2_Digit;
    // A lead byte at or above the mark of length L announces L - 1 trailing bytes.
    for (unsigned n_Byte = 0; n_Byte < 256; ++n_Byte)
        for (unsigned char n_Length = 2; n_Length <= 6; ++n_Length)
            if (n_Byte >= sac_FirstByteMark[n_Length])
                so.ac_Trailing[n_Byte] = n_Length - 1;
    return so;
}();

// ---------------------------------------------------------------------------------------------
// Blocks

// Writes the first and the last bytes at pcc_In that TNarrow holds, of i_Count, as units.
template <typename TNarrow>
void v_PutWidenedEnds(char16_t* pu_Out, const unsigned char* pcc_In, int i_Count)
{
    const int i_Last = i_Count - static_cast<int>(sizeof(TNarrow));
    v_PutUnits(pu_Out, x_Load<TNarrow>(pcc_In));
    v_PutUnits(pu_Out + i_Last, x_Load<TNarrow>(pcc_In + i_Last));
}

// Writes the i_Count bytes at pcc_In (at most 16) as units, with two overlapping stores, so that
// nothing behind them is written.
void v_PutWidened(char16_t* pu_Out, const unsigned char* pcc_In, int i_Count)
{
    typedef unsigned char t_Bytes8 __attribute__((vector_size(8)));
    typedef unsigned char t_Bytes4 __attribute__((vector_size(4)));
    typedef unsigned char t_Bytes2 __attribute__((vector_size(2)));
    if (i_Count >= 8)
        v_PutWidenedEnds<t_Bytes8>(pu_Out, pcc_In, i_Count);
    else if (i_Count >= 4)
        v_PutWidenedEnds<t_Bytes4>(pu_Out, pcc_In, i_Count);
    else if (i_Count >= 2)
        v_PutWidenedEnds<t_Bytes2>(pu_Out, pcc_In, i_Count);
    else if (i_Count)
        *pu_Out = *pcc_In;
}

// The first zero element from pc_In on, or pc_End: four registers at a time, with no call of the
// runtime's memchr, which some are slow to answer.
template <typename T>
const T* pc_FindZero(const T* pc_In, const T* pc_End)
{
    using t_Lanes = std::conditional_t<sizeof(T) == 1, t_Bytes, t_Units>;
    constexpr int i_Lanes = si_RegisterBytes / sizeof(T), i_Step = 4 * i_Lanes;
    const auto b_HasZero = [](const T* pc)
    {
        t_Lanes x_Zero = x_Load<t_Lanes>(pc) == 0;
        for (int i = i_Lanes; i < i_Step; i += i_Lanes)
            x_Zero |= x_Load<t_Lanes>(pc + i) == 0;
        return b_Any(x_Zero);
    };
    for (; pc_End - pc_In >= i_Step && !b_HasZero(pc_In); pc_In += i_Step)
    {
    }
    while (pc_In != pc_End && *pc_In)
        ++pc_In;
    return pc_In;
}

// The fast paths read a few elements ahead without checking for the end or a zero, and they may
// write a few elements behind their result, which later elements of the same call overwrite. So
// they run only up to a reach before the first zero element (or the end of the input): this
// returns where that lies, or pc_In when it is closer.
template <typename T>
const T* pc_ReachLimit(const T* pc_In, const T* pc_End, std::ptrdiff_t i_Reach)
{
    if (pc_End - pc_In <= i_Reach)
        return pc_In;
    const T* const pc_Stop = pc_FindZero(pc_In, pc_End);
    return pc_Stop - pc_In > i_Reach ? pc_Stop - i_Reach : pc_In;
}

// ---------------------------------------------------------------------------------------------
// UTF-7 working values

// The bit buffer while a call runs: pending bits left-aligned in 64 bits, so that a batch of
// 48 bits (three units, eight digits) fits below the at most 15 that are pending. Between calls
// the 32-bit saved buffer holds the same bits.
struct st_Run
{
    std::uint64_t n8_Buffer;
    std::uint32_t n4_Temp; // the value last taken out
    int i_Bits;
};

template <typename TBits>
st_Run so_RunOf(const TBits& so_Bits)
{
    return {std::uint64_t{so_Bits.n4_BitBuffer} << 32, so_Bits.n4_BufferTemp, so_Bits.i_BufferBits};
}

template <typename TBits>
void v_Keep(const st_Run& so_Run, TBits& so_Bits)
{
    so_Bits = {static_cast<std::uint32_t>(so_Run.n8_Buffer >> 32), so_Run.n4_Temp, so_Run.i_Bits};
}

// Units 0x01-0x7F of the direct set are written as themselves.
int b_IsDirect(char16_t u_Unit)
{
    return u_Unit - 1u < 0x7Fu && !so_Tables.ac_MustEncode[u_Unit];
}

int b_NeedsShift(char16_t u_Unit)
{
    return u_Unit != 0 && !b_IsDirect(u_Unit);
}

// The direct set by ranges, lane by lane: letters, "'()", ",-./", digits, ':', and the single
// ones.
template <typename TVector>
TVector x_IsDirect(TVector x)
{
    return (static_cast<TVector>((x | 0x20) - 'a') < 26) | (static_cast<TVector>(x - ',') < 15) |
           (static_cast<TVector>(x - '\'') < 3) | (x == '?') | (x == ' ') | (x == '\t') |
           (x == '\n') | (x == '\r');
}

// Copies direct units, a register at a time while they are; returns the first unit that is not
// direct.
const char16_t* pcu_PutDirect(char*& pc_Out, const char16_t* pcu_In, const char16_t* pcu_End)
{
    for (t_Units x; sb_Blocks && pcu_End - pcu_In >= si_UnitLanes &&
                    !b_Any(~x_IsDirect(x = x_Load<t_Units>(pcu_In)));
         pcu_In += si_UnitLanes)
    {
        v_PutBytes(pc_Out, x);
        pc_Out += si_UnitLanes;
    }
    while (pcu_In != pcu_End && b_IsDirect(*pcu_In))
        *pc_Out++ = static_cast<char>(*pcu_In++);
    return pcu_In;
}

void v_PutDigits(char*& pc_Out, st_Run& so_Run)
{
    for (; so_Run.i_Bits >= 6; so_Run.i_Bits -= 6)
    {
        so_Run.n4_Temp = static_cast<std::uint32_t>(so_Run.n8_Buffer >> 58);
        *pc_Out++ = sqccz_Base64[so_Run.n4_Temp];
        so_Run.n8_Buffer <<= 6;
    }
}

void v_PutUnit(char*& pc_Out, st_Run& so_Run, char16_t u_Unit)
{
    so_Run.n8_Buffer |= std::uint64_t{u_Unit} << (48 - so_Run.i_Bits);
    so_Run.i_Bits += 16;
    v_PutDigits(pc_Out, so_Run);
}

// Encodes units while they need a shift, three at a time where it can; returns the first unit
// that does not. The encoder keeps at most 5 bits pending after a unit.
const char16_t* pcu_PutRun(char*& pc_Out, st_Run& so_Run, const char16_t* pcu_In,
                           const char16_t* pcu_End)
{
    while (pcu_End - pcu_In >= 3 && b_NeedsShift(pcu_In[0]) && b_NeedsShift(pcu_In[1]) &&
           b_NeedsShift(pcu_In[2]))
    {
        so_Run.n8_Buffer |=
            (std::uint64_t{pcu_In[0]} << 32 | std::uint64_t{pcu_In[1]} << 16 | pcu_In[2])
            << (16 - so_Run.i_Bits);
        std::uint64_t n8_Chars = 0;
        for (int i = 0; i < 8; ++i)
            n8_Chars |= std::uint64_t{static_cast<unsigned char>(
                            sqccz_Base64[so_Run.n8_Buffer >> (58 - 6 * i) & 63])}
                        << 8 * i;
        std::memcpy(pc_Out, &n8_Chars, sizeof n8_Chars);
        so_Run.n4_Temp = static_cast<std::uint32_t>(so_Run.n8_Buffer >> 16 & 63);
        so_Run.n8_Buffer <<= 48;
        pc_Out += 8;
        pcu_In += 3;
    }
    while (pcu_In != pcu_End && b_NeedsShift(*pcu_In))
        v_PutUnit(pc_Out, so_Run, *pcu_In++);
    return pcu_In;
}

// The zero bits below the at most 5 pending ones complete the last digit; every run ends with
// '-', so a decoder never takes the next character for a digit.
void v_CloseRun(char*& pc_Out, st_Run& so_Run)
{
    so_Run.i_Bits = (so_Run.i_Bits + 5) / 6 * 6;
    v_PutDigits(pc_Out, so_Run);
    *pc_Out++ = '-';
}

#if defined(CT_VECTOR_COMPRESS)
// The lanes of a constant register, lane i as fn_Lane gives it; loaded where it is used, as no
// compiler takes a vector for a constant.
struct st_Lanes
{
    std::uint8_t an_Lanes[64];

    t_Bytes x_Get() const { return x_Load<t_Bytes>(an_Lanes); }
};

template <typename TLane>
constexpr st_Lanes so_Register(TLane&& fn_Lane)
{
    st_Lanes so{};
    for (int i = 0; i < 64; ++i)
        so.an_Lanes[i] = static_cast<std::uint8_t>(fn_Lane(i));
    return so;
}

constexpr st_Lanes so_Alphabet = so_Register([](int i) { return sqccz_Base64[i]; });
// The units' bytes, first the high one of each unit, in groups of three (a, b, c) that become
// the lanes b a c b of a word, from which each 64-bit lane's bits at these places are the digits.
constexpr st_Lanes so_Groups = so_Register(
    [](int i)
    {
        constexpr int ai_Byte[4] = {1, 0, 2, 1};
        return (3 * (i / 4) + ai_Byte[i % 4]) ^ 1;
    });
constexpr st_Lanes so_DigitBits = so_Register(
    [](int i)
    {
        constexpr int ai_Bit[8] = {10, 4, 22, 16, 42, 36, 54, 48};
        return ai_Bit[i % 8];
    });

// Writes the digits of i_Units units of a run (no bits pending before them), with zero bits up to
// the last digit, and nothing behind them: 64 digits (24 units) at a time. Returns the digits.
int si_PutRunDigits(char* pc_Out, st_Run& so_Run, const char16_t* pcu_In, int i_Units)
{
    for (int i = 0; i < i_Units; i += 24)
    {
        const int i_Part = i_Min(24, i_Units - i);
        const auto x_Units = reinterpret_cast<t_Bytes>(x_LoadUnits(pcu_In + i, i_Part));
        v_PutFirst(pc_Out + i / 24 * 64,
                   x_Permute(so_Alphabet.x_Get(),
                             x_BitsAt(so_DigitBits.x_Get(), x_Permute(x_Units, so_Groups.x_Get()))),
                   (16 * i_Part + 5) / 6);
    }
#else
// The eight digit values of the three units in lanes 0-2, a lane each: every digit is the low
// six bits of one unit shifted, or of two shifted and joined, and shifts by constants lane by
// lane are multiplications.
t_Units8 x_DigitValues(t_Units8 x)
{
    // Lanes u0 u0 u1 u1 u2 u2 u3 u3, and that moved up by one and by two lanes.
    const t_Units8 x_Pairs = __builtin_shufflevector(x, x, 0, 8, 1, 9, 2, 10, 3, 11);
    const t_Units8 x_Up1 =
        __builtin_shufflevector(t_Units8{}, x_Pairs, 7, 8, 9, 10, 11, 12, 13, 14);
    const t_Units8 x_Up2 = __builtin_shufflevector(t_Units8{}, x_Pairs, 6, 7, 8, 9, 10, 11, 12, 13);
    return (x_MulHigh(x_Pairs, t_Units8{1 << 6, 1 << 12, 4, 1 << 8, 0, 16, 0, 0}) |
            x_MulHigh(x_Up1, t_Units8{0, 0, 0, 0, 1 << 14, 0, 1 << 10, 0}) |
            x_Up1 * t_Units8{0, 0, 4, 0, 0, 0, 0, 0} | x_Up2 * t_Units8{0, 0, 0, 0, 0, 16, 0, 1}) &
           63;
}

// The sixteen digits of two groups of three units, each in lanes 0-2.
t_Bytes16 x_Base64(t_Units8 x_First, t_Units8 x_Second)
{
    const t_Bytes16 x_Digits = x_NarrowUnits(x_DigitValues(x_First), x_DigitValues(x_Second));
    // From 'A' on: 'a' after 25, '0' after 51, '+' after 61, '/' after 62.
    typedef signed char t_Signed __attribute__((vector_size(16)));
    const auto x_Signed = reinterpret_cast<t_Signed>(x_Digits);
    return x_Digits + 'A' + (reinterpret_cast<t_Bytes16>(x_Signed > 25) & 6) -
           (reinterpret_cast<t_Bytes16>(x_Signed > 51) & 75) -
           (reinterpret_cast<t_Bytes16>(x_Signed > 61) & 15) +
           (reinterpret_cast<t_Bytes16>(x_Signed > 62) & 3);
}

// The units at pcu_In, those from i_Units on (up to 8) read as zero.
t_Units8 x_RunUnits(const char16_t* pcu_In, int i_Units)
{
    constexpr t_Units8 x_Lanes = {0, 1, 2, 3, 4, 5, 6, 7};
    const auto n2_Units = static_cast<std::uint16_t>(i_Units > 0 ? i_Units : 0);
    return x_Load<t_Units8>(pcu_In) & static_cast<t_Units8>(x_Lanes < n2_Units);
}

// Writes the digits of i_Units units of a run (no bits pending before them), with zero bits up to
// the last digit, sixteen digits (six units) at a time, so that up to fifteen bytes behind them
// are written too. Returns the digits.
int si_PutRunDigits(char* pc_Out, st_Run& so_Run, const char16_t* pcu_In, int i_Units)
{
    for (int i = 0; i < i_Units; i += 6)
    {
        const t_Bytes16 x_Digits = x_Base64(x_RunUnits(pcu_In + i, i_Units - i),
                                            x_RunUnits(pcu_In + i + 3, i_Units - i - 3));
        std::memcpy(pc_Out + i / 6 * sizeof x_Digits, &x_Digits, sizeof x_Digits);
    }
#endif
    const int i_Digits = (16 * i_Units + 5) / 6;
    if (i_Units)
        so_Run.n4_Temp = static_cast<std::uint32_t>(
            std::uint32_t{pcu_In[i_Units - 1]} << (6 * i_Digits - 16 * i_Units) & 63);
    return i_Digits;
}

// The units that the encoder's fast path classifies at a time: 32, or a register's bytes.
constexpr int si_UnitWindow = si_ByteLanes > 32 ? si_ByteLanes : 32;

// Units that the encoder's fast path keeps away from the first zero unit (or the end of the
// input): it reads up to a window and 18 units ahead, and the at least a window's units left
// after a window write more than the window's bytes it may write behind its result.
constexpr std::ptrdiff_t si_UTF7EncodeReach = 2 * si_UnitWindow + 16;

// Encodes one window of si_UnitWindow units at pcu_In (b_InShift: inside a run, with no bits
// pending) into pc_Out, writing up to a window's bytes behind its result. Direct units and runs go
// by the masks, so that each step waits for little more than the one before it. Stops before a
// run that may go on behind the window after whole groups of three units. Returns the units
// taken; *pi_Bytes gets the bytes.
int si_PutWindow(char* pc_Out, int* pi_Bytes, const char16_t* pcu_In, int& b_InShift,
                 st_Run& so_Run)
{
    // Locals, which the bytes written cannot change.
    int b_Shift = b_InShift;
    st_Run so_Bits = so_Run;
    // The units as bytes (those that are not direct need not be themselves), with room to copy
    // a window's worth from any place; bit i of a mask for unit i.
    unsigned char ac_Bytes[2 * si_UnitWindow];
    std::uint64_t n8_Direct = 0, n8_Plus = 0;
    for (int i = 0; i < si_UnitWindow; i += si_ByteLanes)
    {
        const t_Bytes x =
            x_NarrowUnits(x_Load<t_Units>(pcu_In + i), x_Load<t_Units>(pcu_In + i + si_UnitLanes));
        std::memcpy(ac_Bytes + i, &x, sizeof x);
        n8_Direct |= n_BitsOf(x_IsDirect(x)) << i;
        n8_Plus |= n_BitsOf(x == '+') << i;
    }
    int i_At = 0, i_Bytes = 0;
    while (i_At < si_UnitWindow)
    {
        if (!b_Shift)
        {
            const int i_Direct = i_Min(i_LowestBit(~n8_Direct >> i_At), si_UnitWindow - i_At);
            std::memcpy(pc_Out + i_Bytes, ac_Bytes + i_At, si_UnitWindow);
            i_Bytes += i_Direct;
            i_At += i_Direct;
            if (i_At == si_UnitWindow)
                break;
            // A '+' outside a run is '+-'; any other unit opens one.
            const int b_Plus = static_cast<int>(n8_Plus >> i_At & 1);
            std::memcpy(pc_Out + i_Bytes, "+-", 2);
            i_Bytes += 1 + b_Plus;
            i_At += b_Plus;
            b_Shift = !b_Plus;
            continue;
        }
        const int i_Run = i_LowestBit(n8_Direct >> i_At);
        if (i_At + i_Run >= si_UnitWindow)
        {
            // The run may go on: whole groups only, so that no bits are pending.
            const int i_Whole = (si_UnitWindow - i_At) / 3 * 3;
            i_Bytes += si_PutRunDigits(pc_Out + i_Bytes, so_Bits, pcu_In + i_At, i_Whole);
            i_At += i_Whole;
            break;
        }
        i_Bytes += si_PutRunDigits(pc_Out + i_Bytes, so_Bits, pcu_In + i_At, i_Run);
        pc_Out[i_Bytes++] = '-';
        i_At += i_Run;
        b_Shift = 0;
    }
    b_InShift = b_Shift;
    so_Run = so_Bits;
    *pi_Bytes = i_Bytes;
    return i_At;
}

// The value 0-63 of a base64 digit; above 63 for any other byte.
unsigned n_DigitOf(unsigned char c_Byte)
{
    return so_Tables.an2_FromBase64[c_Byte & 0x7F] | (0u - (c_Byte >> 7));
}

// Copies bytes outside a run as units (0x80-0xFF become U+0080-U+00FF); returns the first '+'
// or zero byte, or pcc_End.
const unsigned char* pcc_GetText(char16_t*& pu_Out, const unsigned char* pcc_In,
                                 const unsigned char* pcc_End)
{
    while (sb_Blocks && pcc_End - pcc_In >= 16)
    {
        const auto x_Bytes = x_Load<t_Bytes16>(pcc_In);
        const std::uint64_t n_Other = n_BitsOf((x_Bytes == '+') | (x_Bytes == 0));
        const int i_Text = i_LowestBit(n_Other | 1u << 16);
        v_PutWidened(pu_Out, pcc_In, i_Text);
        pu_Out += i_Text;
        pcc_In += i_Text;
        if (n_Other)
            return pcc_In;
    }
    while (pcc_In != pcc_End && *pcc_In && *pcc_In != '+')
        *pu_Out++ = *pcc_In++;
    return pcc_In;
}

// Decodes digits one by one; returns the first byte that is no digit, or pcc_End. The decoder
// keeps at most 15 bits pending after a digit.
const unsigned char* pcc_GetDigits(char16_t*& pu_Out, st_Run& so_Run, const unsigned char* pcc_In,
                                   const unsigned char* pcc_End)
{
    for (unsigned n_Digit; pcc_In != pcc_End && (n_Digit = n_DigitOf(*pcc_In)) <= 63; ++pcc_In)
    {
        so_Run.n8_Buffer |= std::uint64_t{n_Digit} << (58 - so_Run.i_Bits);
        so_Run.i_Bits += 6;
        if (so_Run.i_Bits >= 16)
        {
            so_Run.n4_Temp = static_cast<std::uint32_t>(so_Run.n8_Buffer >> 48);
            *pu_Out++ = static_cast<char16_t>(so_Run.n4_Temp);
            so_Run.n8_Buffer <<= 16;
            so_Run.i_Bits -= 16;
        }
    }
    return pcc_In;
}

// Eight digits (48 bits, three units) below the pending bits, or false if one of the eight
// bytes at pcc_In is no digit.
bool b_GetDigitBlock(char16_t*& pu_Out, st_Run& so_Run, const unsigned char* pcc_In)
{
    std::uint64_t n8_Digits = 0;
    unsigned n_Any = 0;
    for (int i = 0; i < 8; ++i)
    {
        const unsigned n_Digit = n_DigitOf(pcc_In[i]);
        n_Any |= n_Digit;
        n8_Digits = n8_Digits << 6 | (n_Digit & 63);
    }
    if (n_Any > 63)
        return false;
    so_Run.n8_Buffer |= n8_Digits << (16 - so_Run.i_Bits);
    for (int i = 0; i < 3; ++i)
        pu_Out[i] = static_cast<char16_t>(so_Run.n8_Buffer >> (48 - 16 * i));
    so_Run.n4_Temp = pu_Out[2];
    so_Run.n8_Buffer <<= 48;
    pu_Out += 3;
    return true;
}

// Decodes a run's digits; returns the first byte that is no digit, or pcc_End. The first eight
// go one by one, so that a short run ends without a block tried in vain.
const unsigned char* pcc_GetRun(char16_t*& pu_Out, st_Run& so_Run, const unsigned char* pcc_In,
                                const unsigned char* pcc_End)
{
    const unsigned char* const pcc_Single = pcc_End - pcc_In < 8 ? pcc_End : pcc_In + 8;
    pcc_In = pcc_GetDigits(pu_Out, so_Run, pcc_In, pcc_Single);
    if (pcc_In != pcc_Single)
        return pcc_In;
    while (pcc_End - pcc_In >= 8 && b_GetDigitBlock(pu_Out, so_Run, pcc_In))
        pcc_In += 8;
    return pcc_GetDigits(pu_Out, so_Run, pcc_In, pcc_End);
}

// The bytes that the decoder's fast path classifies at a time.
constexpr int si_Window = 64;

// Bytes that the decoder's fast path keeps away from the first zero byte (or the end of the
// input): it reads up to a window and a register ahead.
constexpr std::ptrdiff_t si_UTF7DecodeReach = si_Window + si_ByteLanes + 16;

// The base64 digits among the bytes.
t_Bytes x_IsDigit(t_Bytes x)
{
    return (static_cast<t_Bytes>((x | 0x20) - 'a') < 26) | (static_cast<t_Bytes>(x - '0') < 10) |
           (x == '+') | (x == '/');
}

// The digit values of the bytes that are digits: 'A' 0, 'a' 26, '0' 52, '+' 62, '/' 63.
t_Bytes x_DigitValue(t_Bytes x)
{
    const t_Bytes x_Upper = static_cast<t_Bytes>(x - 'A') < 26;
    const t_Bytes x_Lower = static_cast<t_Bytes>(x - 'a') < 26;
    const t_Bytes x_Figure = static_cast<t_Bytes>(x - '0') < 10;
    return (x_Upper & (x - 'A')) | (x_Lower & (x - ('a' - 26))) | (x_Figure & (x + (52 - '0'))) |
           (static_cast<t_Bytes>(x == '+') & 62) | (static_cast<t_Bytes>(x == '/') & 63);
}

// A window of si_Window bytes read at once: where the '+' bytes, the digits and the '-' bytes
// are (bit i for byte i), and the digits' values.
struct st_Window
{
    std::uint64_t n8_Plus, n8_Digits, n8_Dashes;
    unsigned char ac_Values[si_Window + 8];
};

void v_Read(st_Window& so, const unsigned char* pcc_In)
{
    so.n8_Plus = so.n8_Digits = so.n8_Dashes = 0;
    for (int i = 0; i < si_Window; i += si_ByteLanes)
    {
        const auto x = x_Load<t_Bytes>(pcc_In + i);
        so.n8_Plus |= n_BitsOf(x == '+') << i;
        so.n8_Digits |= n_BitsOf(x_IsDigit(x)) << i;
        so.n8_Dashes |= n_BitsOf(x == '-') << i;
        const t_Bytes x_Values = x_DigitValue(x);
        std::memcpy(so.ac_Values + i, &x_Values, sizeof x_Values);
    }
}

// The 48 bits of the (up to) eight digit values at pcn_Values, those from i_Digits on read as
// zero, the first digit's at the top.
std::uint64_t n8_DigitBits(const unsigned char* pcn_Values, int i_Digits)
{
    std::uint64_t n8;
    std::memcpy(&n8, pcn_Values, sizeof n8);
    n8 &= i_Digits >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << 8 * i_Digits) - 1;
    // Byte lanes of six bits, joined in pairs, then in fours, then all.
    n8 = (n8 & 0x3F003F003F003F00u) >> 8 | (n8 & 0x003F003F003F003Fu) << 6;
    n8 = (n8 & 0x0FFF00000FFF0000u) >> 16 | (n8 & 0x00000FFF00000FFFu) << 12;
    return n8 >> 32 | (n8 & 0xFFFFFF) << 24;
}

// Writes the units of i_Digits digits of a run (no bits pending before them), eight digits (three
// units) at a time and three units each time, so that up to two units behind them are written.
// Returns the units; the bits short of a unit are not kept.
int si_PutDigitUnits(char16_t* pu_Out, const unsigned char* pcn_Values, int i_Digits)
{
    for (int i = 0; i < i_Digits; i += 8)
    {
        const std::uint64_t n8 = n8_DigitBits(pcn_Values + i, i_Digits - i);
        for (int k = 0; k < 3; ++k)
            pu_Out[i / 8 * 3 + k] = static_cast<char16_t>(n8 >> (32 - 16 * k));
    }
    return 6 * i_Digits / 16;
}

// Decodes one window at pcc_In, with no bits pending (b_InShift: inside a run, b_First: that
// has no digit yet), into pu_Out, with room for si_Window + si_ByteLanes units. Text and runs go by
// the masks, without reading the input again, so that each step waits for little more than the one
// before it. Stops before a run that may go on behind the window after whole blocks of eight
// digits, and before a '+' near the window's end. Returns the bytes taken; *pi_Units gets the
// units.
int si_GetWindow(char16_t* pu_Out, int* pi_Units, const unsigned char* pcc_In, int& b_InShift,
                 int& b_First)
{
    st_Window so;
    v_Read(so, pcc_In);
    int i_At = 0, i_Units = 0;
    while (i_At < si_Window)
    {
        if (!b_InShift)
        {
            const int i_Text = i_Min(i_LowestBit(so.n8_Plus >> i_At), si_Window - i_At);
            for (int i = 0; i < i_Text; i += si_ByteLanes)
            {
                v_PutUnits(pu_Out + i_Units + i, x_Load<t_Bytes>(pcc_In + i_At + i));
            }
            i_Units += i_Text;
            i_At += i_Text;
            if (i_At + 1 + 8 > si_Window)
                break;
            ++i_At;
            b_InShift = b_First = 1;
        }
        const int i_Digits = i_Min(i_LowestBit(~(so.n8_Digits >> i_At)), si_Window - i_At);
        if (i_At + i_Digits == si_Window)
        {
            // The run may go on: whole blocks only, so that no bits are pending. There are
            // some: a run starts at least eight bytes before the window's end.
            const int i_Whole = i_Digits / 8 * 8;
            i_Units += si_PutDigitUnits(pu_Out + i_Units, so.ac_Values + i_At, i_Whole);
            i_At += i_Whole;
            b_First = 0;
            break;
        }
        i_Units += si_PutDigitUnits(pu_Out + i_Units, so.ac_Values + i_At, i_Digits);
        i_At += i_Digits;
        // The run ends with its pending bits; a '-' is taken with it, and '+-' is '+'.
        const int b_Dash = static_cast<int>(so.n8_Dashes >> i_At & 1);
        pu_Out[i_Units] = u'+';
        i_Units += b_Dash & b_First & (i_Digits == 0);
        i_At += b_Dash;
        b_InShift = b_First = 0;
    }
    *pi_Units = i_Units;
    return i_At;
}

// ---------------------------------------------------------------------------------------------
// UTF-8

void v_PutUnit(unsigned char*& pc_Out, unsigned n_Unit)
{
    if (n_Unit < 0x80)
        *pc_Out++ = static_cast<unsigned char>(n_Unit);
    else if (n_Unit < 0x800)
    {
        *pc_Out++ = static_cast<unsigned char>(sac_FirstByteMark[2] | n_Unit >> 6);
        *pc_Out++ = static_cast<unsigned char>(0x80 | (n_Unit & 0x3F));
    }
    else
    {
        *pc_Out++ = static_cast<unsigned char>(sac_FirstByteMark[3] | n_Unit >> 12);
        *pc_Out++ = static_cast<unsigned char>(0x80 | (n_Unit >> 6 & 0x3F));
        *pc_Out++ = static_cast<unsigned char>(0x80 | (n_Unit & 0x3F));
    }
}

#if defined(CT_VECTOR_COMPRESS)
// ---------------------------------------------------------------------------------------------
// UTF-8 in whole registers with exact stores: the inputs are loaded up to their end and no
// further, the lanes behind it read as zero, and a zero stops, so these paths need no reach and
// serve short texts too.

// Writes the bytes of the first i_Count (0 to 16) of the sixteen units in x, none 0, and nothing
// behind them: each unit's one to three bytes in its word lane, then the lanes' bytes compressed
// together. Returns the byte behind them.
unsigned char* pc_PutGroup(unsigned char* pc_Out, t_Words x, int i_Count)
{
    const t_Words x_Two = x >= 0x80, x_Three = x >= 0x800;
    const t_Words x_Last = 0x80 | (x & 0x3F);
    const t_Words x_Lead2 = sac_FirstByteMark[2] | x >> 6 | x_Last << 8;
    const t_Words x_Lead3 =
        sac_FirstByteMark[3] | x >> 12 | (0x80 | (x >> 6 & 0x3F)) << 8 | x_Last << 16;
    const t_Words x_Bytes = (x & ~x_Two) | (x_Lead2 & x_Two & ~x_Three) | (x_Lead3 & x_Three);
    const std::uint64_t n_Keep =
        n_NonZero(0xFF | (x_Two & 0xFF00) | (x_Three & 0xFF0000)) & n_Below(4 * i_Count);
    const int i_Bytes = i_BitCount(n_Keep);
    v_PutFirst(pc_Out, x_Compress(reinterpret_cast<t_Bytes>(x_Bytes), n_Keep), i_Bytes);
    return pc_Out + i_Bytes;
}

// Encodes from pcu_In up to pcu_End or the first zero unit, 64 units at a time: ASCII narrowed
// together, other units in groups of sixteen. Returns where it stopped.
const char16_t* pcu_PutBlocks(unsigned char*& pc_Out, const char16_t* pcu_In,
                              const char16_t* pcu_End)
{
    unsigned char* pc_Next = pc_Out; // a local, which the bytes written cannot change
    for (std::ptrdiff_t i_Left; (i_Left = pcu_End - pcu_In) > 0;)
    {
        // Units 0x01-0x7F are ASCII, and anything else 0x7F or above less one.
        if (i_Left >= 64)
        {
            const t_Units ax_Whole[2] = {x_Load<t_Units>(pcu_In), x_Load<t_Units>(pcu_In + 32)};
            if (!b_Any((static_cast<t_Units>(ax_Whole[0] - 1) >= 0x7F) |
                       (static_cast<t_Units>(ax_Whole[1] - 1) >= 0x7F)))
            {
                v_PutBytes(reinterpret_cast<char*>(pc_Next), ax_Whole[0]);
                v_PutBytes(reinterpret_cast<char*>(pc_Next) + 32, ax_Whole[1]);
                pc_Next += 64;
                pcu_In += 64;
                continue;
            }
        }
        const t_Units ax[2] = {
            x_LoadUnits(pcu_In, i_Left < 32 ? i_Left : 32),
            i_Left > 32 ? x_LoadUnits(pcu_In + 32, i_Left < 64 ? i_Left - 32 : 32) : t_Units{}};
        const int i_Units = i_LowestBit(n_ZeroUnits(ax[0]) | n_ZeroUnits(ax[1]) << 32);
        if (!((n_UnitsAbove(ax[0], 0x7F) | n_UnitsAbove(ax[1], 0x7F) << 32) & n_Below(i_Units)))
        {
            v_PutFirst(pc_Next, x_NarrowUnits(ax[0], ax[1]), i_Units);
            pc_Next += i_Units;
        }
        else
            for (int i = 0; i < i_Units; i += 16)
                pc_Next = pc_PutGroup(pc_Next, x_WidenUnits(ax[i / 32], i / 16 % 2),
                                      i_Min(16, i_Units - i));
        pcu_In += i_Units;
        if (i_Units < 64)
            break;
    }
    pc_Out = pc_Next;
    return pcu_In;
}

// The kinds of the bytes of a block, bit i for byte i: continuation bytes 0x80-0xBF, lead bytes
// of two or three bytes 0xC0-0xEF and of three 0xE0-0xEF, and the bytes that only the
// byte-by-byte decoder takes: 0 and the lead bytes of four bytes or more.
struct st_Kinds
{
    std::uint64_t n_Trailer, n_Lead, n_Lead3, n_Other;
};

CT_VECTOR_INLINE st_Kinds so_KindsOf(t_Bytes x)
{
    return {n_BitsOf(static_cast<t_Bytes>(x - 0x80) < 0x40),
            n_BitsOf(static_cast<t_Bytes>(x - 0xC0) < 0x30),
            n_BitsOf(static_cast<t_Bytes>(x - 0xE0) < 0x10), n_BitsOf((x == 0) | (x >= 0xF0))};
}

// Writes the units of i_Units sequences, each one's lead, second and third byte in its lane of
// ax_Bytes (the second and third whatever they are where the sequence is shorter), and nothing
// behind them.
void v_PutSequences(char16_t*& pu_Out, const t_Bytes (&ax_Bytes)[3], int i_Units)
{
    for (int i_Half = 0; 32 * i_Half < i_Units; ++i_Half)
    {
        const t_Units x_Lead = x_WidenBytes(ax_Bytes[0], i_Half);
        const t_Units x_Second = x_WidenBytes(ax_Bytes[1], i_Half);
        const t_Units x_Two = x_Lead >= 0xC0, x_Three = x_Lead >= 0xE0;
        // The byte-by-byte decoder's sums less its offsets; the low 16 bits count.
        const t_Units x_Value2 =
            (x_Lead << 6) + x_Second - static_cast<std::uint16_t>(san4_Offsets[1]);
        const t_Units x_Value3 = (x_Lead << 12) + (x_Second << 6) +
                                 x_WidenBytes(ax_Bytes[2], i_Half) -
                                 static_cast<std::uint16_t>(san4_Offsets[2]);
        v_PutFirst(pu_Out + 32 * i_Half,
                   (x_Lead & ~x_Two) | (x_Value2 & x_Two & ~x_Three) | (x_Value3 & x_Three),
                   i_Min(32, i_Units - 32 * i_Half));
    }
    pu_Out += i_Units;
}

// Decodes the sequences that start in the block x when all are of one to three bytes and well
// formed, the trailing bytes of the last one in the block behind it, x_Next: then each
// sequence's value is what the byte-by-byte decoder makes of it. n_Carry: the trailing bytes at
// the block's start, which the sequence before it took. Returns true, with n_Carry the trailing
// bytes that the next block starts with; false for any other block, writing nothing. The test
// of the next block waits for nothing that this one decodes.
bool b_GetWholeBlock(char16_t*& pu_Out, t_Bytes x, t_Bytes x_Next, std::uint64_t& n_Carry)
{
    const st_Kinds so = so_KindsOf(x);
    const std::uint64_t n_CarryOut = so.n_Lead >> 63 | so.n_Lead3 >> 62;
    if ((so.n_Trailer ^ (so.n_Lead << 1 | so.n_Lead3 << 2 | n_Carry)) | so.n_Other |
        (n_CarryOut & ~n_BitsOf(static_cast<t_Bytes>(x_Next - 0x80) < 0x40)))
        return false;
    const t_Bytes x_At = x_Compress(x_LaneNumbers(), ~so.n_Trailer);
    const t_Bytes ax[3] = {x_Permute(x, x_At), x_Permute(x, x_Next, x_At + 1),
                           x_Permute(x, x_Next, x_At + 2)};
    v_PutSequences(pu_Out, ax, i_BitCount(~so.n_Trailer));
    n_Carry = n_CarryOut;
    return true;
}

// Decodes the sequences of one to three bytes from the sequence start in lane 0 of the block x
// on, up to the first byte that the byte-by-byte decoder must see: a zero, a lead byte of four
// bytes or more, or a byte that breaks the form of a sequence (a continuation byte where none
// belongs, or another byte where one does); a sequence cut off there, or by the block's end, is
// left too. Well-formed up to there, each sequence's value is what the byte-by-byte decoder makes
// of it. Writes exactly the units; returns the bytes taken, 0 when the first sequence is left.
int si_GetBlock(char16_t*& pu_Out, t_Bytes x)
{
    const st_Kinds so = so_KindsOf(x);
    const int i_Bound =
        i_LowestBit((so.n_Trailer ^ (so.n_Lead << 1 | so.n_Lead3 << 2)) | so.n_Other);
    const std::uint64_t n_Starts = ~so.n_Trailer & n_Below(i_Bound);
    if (!n_Starts)
        return 0;
    const int i_Last = i_HighestBit(n_Starts);
    const int i_End = i_Last + 1 + static_cast<int>(so.n_Lead >> i_Last & 1) +
                      static_cast<int>(so.n_Lead3 >> i_Last & 1);
    const int i_Taken = i_End <= i_Bound ? i_Bound : i_Last;
    const std::uint64_t n_Taken = n_Starts & n_Below(i_Taken);
    const t_Bytes x_At = x_Compress(x_LaneNumbers(), n_Taken);
    const t_Bytes ax[3] = {x_Permute(x, x_At), x_Permute(x, x_At + 1), x_Permute(x, x_At + 2)};
    v_PutSequences(pu_Out, ax, i_BitCount(n_Taken));
    return i_Taken;
}

// Where the decoder's block paths may start: they need no limit.
const unsigned char* pcc_BlockLimit(const unsigned char*, const unsigned char* pcc_End)
{
    return pcc_End;
}

// The first i_Left bytes at pcc_In, up to 64.
t_Bytes x_Block(const unsigned char* pcc_In, std::ptrdiff_t i_Left)
{
    return i_Left < 64 ? x_LoadBytes(pcc_In, i_Left) : x_Load<t_Bytes>(pcc_In);
}

// Decodes from a sequence start up to pcc_End, 64 bytes at a time: ASCII widened together, whole
// blocks of well-formed sequences by b_GetWholeBlock, any other block as far as si_GetBlock
// decides. Returns where it stopped, at a sequence start.
const unsigned char* pcc_GetBlocks(char16_t*& pu_Out, const unsigned char* pcc_In,
                                   const unsigned char*, const unsigned char* pcc_End)
{
    char16_t* pu_Next = pu_Out; // a local, which the units written cannot change
    std::uint64_t n_Carry = 0;
    // A first block short enough that the units of the next ones are stored in whole lines.
    if (const auto i_Align =
            static_cast<std::ptrdiff_t>(-reinterpret_cast<std::uintptr_t>(pu_Next) % 128 / 2);
        i_Align && pcc_End - pcc_In > i_Align + 64)
        pcc_In += si_GetBlock(pu_Next, x_LoadBytes(pcc_In, i_Align));
    for (std::ptrdiff_t i_Left; (i_Left = pcc_End - pcc_In) > 0;)
    {
        const t_Bytes x = x_Block(pcc_In, i_Left);
        if (i_Left >= 64)
        {
            // Only bytes 0x01-0x7F leave the top bit clear in both.
            if (!n_BitsOf((x - 1) | x))
            {
                v_PutUnits(pu_Next, x);
                pu_Next += 64;
                pcc_In += 64;
                continue;
            }
            if (b_GetWholeBlock(pu_Next, x, x_Block(pcc_In + 64, i_Left - 64), n_Carry))
            {
                pcc_In += 64;
                continue;
            }
        }
        // From the block's first sequence start on.
        pcc_In += i_BitCount(n_Carry);
        const int i_Taken = si_GetBlock(pu_Next, n_Carry ? x_Block(pcc_In, pcc_End - pcc_In) : x);
        n_Carry = 0;
        if (!i_Taken)
            break;
        pcc_In += i_Taken;
    }
    pu_Out = pu_Next;
    return pcc_In;
}
#else
// Encodes the eight units at pcu_In, none 0: each unit's one to three bytes are stored as one
// 32-bit word and the next unit's bytes follow its last, so that up to three bytes behind the
// block's last one are written too: the caller has units behind the block whose bytes and
// terminator overwrite them. Returns the byte behind the block's bytes.
unsigned char* pc_PutBlock(unsigned char* pc_Out, const char16_t* pcu_In)
{
    const auto x_Units = x_Load<t_Units8>(pcu_In);
    const t_Units8 x_Two = x_Units >= 0x80, x_Three = x_Units >= 0x800;
    const t_Units8 x_Last = 0x80 | (x_Units & 0x3F);
    const t_Units8 x_Lead2 = sac_FirstByteMark[2] | x_Units >> 6 | x_Last << 8;
    const t_Units8 x_Lead3 =
        sac_FirstByteMark[3] | x_Units >> 12 | (0x80 | (x_Units >> 6 & 0x3F)) << 8;
    const t_Units8 x_First =
        (x_Units & ~x_Two) | (x_Lead2 & x_Two & ~x_Three) | (x_Lead3 & x_Three);
    const t_Units8 x_Third = x_Last & x_Three;
    const t_Units8 x_Lengths = 1 - x_Two - x_Three;
    std::uint32_t an4_Words[8];
    const t_Units8 ax_Pairs[2] = {
        __builtin_shufflevector(x_First, x_Third, 0, 8, 1, 9, 2, 10, 3, 11),
        __builtin_shufflevector(x_First, x_Third, 4, 12, 5, 13, 6, 14, 7, 15)};
    std::memcpy(an4_Words, ax_Pairs, sizeof an4_Words);
    std::uint16_t an2_Lengths[8];
    std::memcpy(an2_Lengths, &x_Lengths, sizeof an2_Lengths);
    for (int i = 0; i < 8; ++i)
    {
        std::memcpy(pc_Out, &an4_Words[i], sizeof an4_Words[i]);
        pc_Out += an2_Lengths[i];
    }
    return pc_Out;
}

// Bytes that the fast decoding path keeps away from the first zero byte (or the end of the
// input). Up to there it reads a few bytes ahead unchecked, and it may write up to a register's
// bytes of units behind those it has decoded: the bytes left, in sequences of at most 6 bytes,
// still decode to more units than that before the decoder stops, and those units overwrite them.
constexpr std::ptrdiff_t si_UTF8DecodeReach = 6 * si_ByteLanes + 32;

// Decodes sequences of three bytes (lead bytes E0-EF) eight at a time, as long as all eight are;
// then those of the last eight before the first other sequence. Stops before pcc_Limit.
const unsigned char* pcc_GetThreeByteRun(char16_t*& pu_Out, const unsigned char* pcc_In,
                                         const unsigned char* pcc_Limit)
{
    // Four sequences from the i-th on, each in the low three bytes of a lane.
    const auto x_Sequences = [&pcc_In](int i)
    {
        std::uint32_t an4[4];
        for (int k = 0; k < 4; ++k)
            std::memcpy(&an4[k], pcc_In + 3 * (i + k), sizeof an4[k]);
        return t_Words4{an4[0], an4[1], an4[2], an4[3]};
    };
    do
    {
        const t_Words4 ax_Words[2] = {x_Sequences(0), x_Sequences(4)};
        t_Words4 ax_Values[2];
        unsigned n_Three = 0;
        for (int i = 0; i < 2; ++i)
        {
            const t_Words4 x = ax_Words[i];
            // The byte-by-byte decoder's sums less its offset; the low 16 bits count.
            ax_Values[i] =
                ((x & 0xFF) << 12) + ((x >> 8 & 0xFF) << 6) + (x >> 16 & 0xFF) - san4_Offsets[2];
            // The top byte of each lane tells.
            n_Three |= n_BitsOf(reinterpret_cast<t_Bytes16>((x & 0xF0) == 0xE0)) << 16 * i;
        }
        const t_Units8 x_Units = x_NarrowWords(ax_Values[0], ax_Values[1]);
        std::memcpy(pu_Out, &x_Units, sizeof x_Units);
        // The next block's reading does not wait for this test.
        if (n_Three != 0xFFFFFFFFu)
        {
            const int i_Three = i_LowestBit(~n_Three & 0x88888888u) / 4;
            pu_Out += i_Three;
            return pcc_In + 3 * i_Three;
        }
        pu_Out += 8;
        pcc_In += 24;
    } while (pcc_In < pcc_Limit);
    return pcc_In;
}

// One sequence of up to six bytes, however malformed: the lead byte tells its length, the bytes
// after it are taken whatever they are.
const unsigned char* pcc_GetSequence(char16_t*& pu_Out, const unsigned char* pcc_In)
{
    // Each length returns its own constant, so that the next sequence's reading waits for the
    // predicted branch rather than for the table.
    const std::uint32_t n4_Lead = *pcc_In;
    std::uint32_t n4_Value = n4_Lead;
    const int i_Trailing = so_Tables.ac_Trailing[n4_Lead];
    switch (i_Trailing)
    {
    case 0:
        *pu_Out++ = static_cast<char16_t>(n4_Lead);
        return pcc_In + 1;
    case 1:
        *pu_Out++ = static_cast<char16_t>((n4_Lead << 6) + pcc_In[1] - san4_Offsets[1]);
        return pcc_In + 2;
    case 2:
        *pu_Out++ = static_cast<char16_t>((n4_Lead << 12) + (std::uint32_t{pcc_In[1]} << 6) +
                                          pcc_In[2] - san4_Offsets[2]);
        return pcc_In + 3;
    default:
        for (int i = 1; i <= i_Trailing; ++i)
            n4_Value = (n4_Value << 6) + pcc_In[i];
        *pu_Out++ = static_cast<char16_t>(n4_Value - san4_Offsets[i_Trailing]);
        return pcc_In + i_Trailing + 1;
    }
}

// Decodes sequences one by one from a sequence start while it lies before pcc_Limit (see
// si_UTF8DecodeReach), where no byte needs a test: the way without block paths.
const unsigned char* pcc_GetSequences(char16_t*& pu_Out, const unsigned char* pcc_In,
                                      const unsigned char* pcc_Limit)
{
    char16_t* pu_Next = pu_Out; // a local, which the units written cannot change
    while (pcc_In < pcc_Limit)
        pcc_In = pcc_GetSequence(pu_Next, pcc_In);
    pu_Out = pu_Next;
    return pcc_In;
}

// Decodes from a sequence start while it lies before pcc_Limit (see si_UTF8DecodeReach): ASCII up
// to a register at a time, then the sequence behind them, three-byte sequences (Chinese,
// Japanese) four at a time, any other sequence on its own. Returns where it stopped, at a
// sequence start.
const unsigned char* pcc_GetFast(char16_t*& pu_Out, const unsigned char* pcc_In,
                                 const unsigned char* pcc_Limit)
{
    while (pcc_In < pcc_Limit)
    {
        const auto x_Bytes = x_Load<t_Bytes>(pcc_In);
        v_PutUnits(pu_Out, x_Bytes);
        // The top bits are the bytes outside ASCII.
        const std::uint64_t n_Other = n_BitsOf(x_Bytes);
        if (!n_Other)
        {
            pu_Out += si_ByteLanes;
            pcc_In += si_ByteLanes;
            continue;
        }
        const int i_Ascii = i_LowestBit(n_Other);
        pu_Out += i_Ascii;
        pcc_In += i_Ascii;
        const unsigned n_Lead = *pcc_In;
        if (n_Lead - 0xC0 < 0x20)
        {
            *pu_Out++ = static_cast<char16_t>((n_Lead << 6) + pcc_In[1] - san4_Offsets[1]);
            pcc_In += 2;
        }
        else if (n_Lead - 0xE0 < 0x10)
            pcc_In = pcc_GetThreeByteRun(pu_Out, pcc_In, pcc_Limit);
        else
            pcc_In = pcc_GetSequence(pu_Out, pcc_In);
    }
    return pcc_In;
}

// Encodes from pcu_In a window of units at a time while two units without a zero follow it (see
// pc_PutBlock): ASCII together, else in blocks of eight, so that mixed text does not take a
// branch each way by turns. Stops before a window with a zero unit. Returns where it stopped.
const char16_t* pcu_PutBlocks(unsigned char*& pc_Out, const char16_t* pcu_In,
                              const char16_t* pcu_End)
{
    constexpr int i_Window = 2 * si_UnitLanes;
    unsigned char* pc_Next = pc_Out;
    while (pcu_End - pcu_In >= i_Window + 2 && pcu_In[i_Window] && pcu_In[i_Window + 1])
    {
        const t_Units ax_Units[2] = {x_Load<t_Units>(pcu_In),
                                     x_Load<t_Units>(pcu_In + si_UnitLanes)};
        if (b_Any((ax_Units[0] == 0) | (ax_Units[1] == 0)))
            break;
        if (!b_Any((ax_Units[0] | ax_Units[1]) >= 0x80))
        {
            v_PutBytes(reinterpret_cast<char*>(pc_Next), ax_Units[0]);
            v_PutBytes(reinterpret_cast<char*>(pc_Next) + si_UnitLanes, ax_Units[1]);
            pc_Next += i_Window;
        }
        else
            for (int i = 0; i < i_Window; i += 8)
                pc_Next = pc_PutBlock(pc_Next, pcu_In + i);
        pcu_In += i_Window;
    }
    pc_Out = pc_Next;
    return pcu_In;
}

// Where the decoder's block paths may start: up to a reach before the first zero or the end.
const unsigned char* pcc_BlockLimit(const unsigned char* pcc_In, const unsigned char* pcc_End)
{
    return pc_ReachLimit(pcc_In, pcc_End, si_UTF8DecodeReach);
}

// Decodes from a sequence start while it lies before pcc_Limit (see si_UTF8DecodeReach).
const unsigned char* pcc_GetBlocks(char16_t*& pu_Out, const unsigned char* pcc_In,
                                   const unsigned char* pcc_Limit, const unsigned char*)
{
    return sb_Blocks ? pcc_GetFast(pu_Out, pcc_In, pcc_Limit)
                     : pcc_GetSequences(pu_Out, pcc_In, pcc_Limit);
}
#endif

// ---------------------------------------------------------------------------------------------
// The codecs

int si_WideToUTF7(st_UTF7EncoderState& so_Saved, char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    st_UTF7EncoderState so_State = so_Saved;
    st_Run so_Run = so_RunOf(so_State.so_Bits);
    char* pc_Next = pc_Out;
    const char16_t* const pcu_End = pcu_In + i_Count;
    const char16_t* const pcu_Limit =
        sb_Blocks ? pc_ReachLimit(pcu_In, pcu_End, si_UTF7EncodeReach) : pcu_In;
    while (pcu_In != pcu_End)
    {
        // Window by window, while the units left write more bytes than a window writes behind
        // its own; from outside a run, where no bits are pending.
        if (!so_State.b_InShift)
            for (int i_Bytes; pcu_In < pcu_Limit; pc_Next += i_Bytes)
                pcu_In += si_PutWindow(pc_Next, &i_Bytes, pcu_In, so_State.b_InShift, so_Run);
        if (so_State.b_InShift)
        {
            pcu_In = pcu_PutRun(pc_Next, so_Run, pcu_In, pcu_End);
            if (pcu_In == pcu_End)
                break;
            v_CloseRun(pc_Next, so_Run);
            so_State.b_InShift = 0;
        }
        pcu_In = pcu_PutDirect(pc_Next, pcu_In, pcu_End);
        if (pcu_In == pcu_End)
            break;
        // A unit that needs a shift, or the terminator.
        const char16_t u_Unit = *pcu_In++;
        if (u_Unit == 0)
        {
            *pc_Next = '\0';
            break;
        }
        *pc_Next++ = '+';
        if (u_Unit == u'+')
            *pc_Next++ = '-';
        else
        {
            so_State.b_InShift = 1;
            v_PutUnit(pc_Next, so_Run, u_Unit);
        }
    }
    v_Keep(so_Run, so_State.so_Bits);
    so_Saved = so_State;
    return static_cast<int>(pc_Next - pc_Out);
}

int si_UTF7ToWide(st_UTF7DecoderState& so_Saved, char16_t* pu_Out, const char* pcc_In, int i_Count)
{
    st_UTF7DecoderState so_State = so_Saved;
    st_Run so_Run = so_RunOf(so_State.so_Bits);
    char16_t* pu_Next = pu_Out;
    const auto* const pcc_Start = reinterpret_cast<const unsigned char*>(pcc_In);
    const auto* const pcc_End = pcc_Start + i_Count;
    const auto* pcc_Byte = pcc_Start;
    const unsigned char* const pcc_Limit =
        sb_Blocks ? pc_ReachLimit(pcc_Start, pcc_End, si_UTF7DecodeReach) : pcc_Start;
    while (pcc_Byte != pcc_End && *pcc_Byte)
    {
        if (!so_State.b_InShift && pcc_Byte < pcc_Limit)
        {
            // Window by window through a buffer of its own, which may take units behind those
            // decoded.
            char16_t au_Window[si_Window + si_ByteLanes];
            for (int i_Units; pcc_Byte < pcc_Limit; pu_Next += i_Units)
            {
                pcc_Byte += si_GetWindow(au_Window, &i_Units, pcc_Byte, so_State.b_InShift,
                                         so_State.b_First);
                std::memcpy(pu_Next, au_Window, sizeof(char16_t) * static_cast<unsigned>(i_Units));
            }
            continue;
        }
        if (!so_State.b_InShift)
        {
            pcc_Byte = pcc_GetText(pu_Next, pcc_Byte, pcc_End);
            if (pcc_Byte == pcc_End || *pcc_Byte != '+')
                break;
            ++pcc_Byte;
            so_State.b_InShift = so_State.b_First = 1;
            continue;
        }
        const auto* const pcc_Digits = pcc_Byte;
        pcc_Byte = pcc_GetRun(pu_Next, so_Run, pcc_Byte, pcc_End);
        so_State.b_First &= pcc_Byte == pcc_Digits;
        if (pcc_Byte == pcc_End || !*pcc_Byte)
            break;
        // A byte that is no digit ends the run, and bits short of a unit are dropped. A '-' is
        // taken with the run ('+-' is '+'); any other byte is read again as text.
        if (*pcc_Byte == '-')
        {
            ++pcc_Byte;
            if (so_State.b_First)
                *pu_Next++ = u'+';
        }
        so_State.b_InShift = so_State.b_First = 0;
        so_Run = {};
    }
    if (pcc_Byte != pcc_Start)
        so_State.c_Last = pcc_Byte[-1];
    v_Keep(so_Run, so_State.so_Bits);
    so_Saved = so_State;
    return static_cast<int>(pu_Next - pu_Out);
}

int si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    auto* pc_Next = reinterpret_cast<unsigned char*>(pc_Out);
    const char16_t* const pcu_End = pcu_In + i_Count;
    for (;;)
    {
        if (sb_Blocks)
            pcu_In = pcu_PutBlocks(pc_Next, pcu_In, pcu_End);
        if (pcu_In == pcu_End || !*pcu_In)
            break;
        v_PutUnit(pc_Next, *pcu_In++);
    }
    *pc_Next = 0;
    return static_cast<int>(reinterpret_cast<char*>(pc_Next) - pc_Out);
}

// The block paths while no sequence is pending; everything else byte by byte, so that a sequence
// may end in any later call.
int si_UTF8ToWide(st_UTF8DecoderState& so_Saved, char16_t* pu_Out, const char* pcc_In, int i_Count)
{
    st_UTF8DecoderState so_State = so_Saved;
    char16_t* pu_Next = pu_Out;
    const auto* pcc_Byte = reinterpret_cast<const unsigned char*>(pcc_In);
    const auto* const pcc_End = pcc_Byte + i_Count;
    const unsigned char* const pcc_Limit = pcc_BlockLimit(pcc_Byte, pcc_End);
    for (;;)
    {
        if (so_State.i_ToRead == 0)
            pcc_Byte = pcc_GetBlocks(pu_Next, pcc_Byte, pcc_Limit, pcc_End);
        if (pcc_Byte == pcc_End || !*pcc_Byte)
            break;
        if (so_State.i_ToRead == 0)
        {
            so_State.i_Trailing = so_Tables.ac_Trailing[*pcc_Byte];
            so_State.i_ToRead = so_State.i_Trailing + 1;
            so_State.n4_Value = 0;
        }
        so_State.n4_Value += *pcc_Byte++;
        if (--so_State.i_ToRead)
            so_State.n4_Value <<= 6;
        else
            *pu_Next++ =
                static_cast<char16_t>(so_State.n4_Value - san4_Offsets[so_State.i_Trailing]);
    }
    so_Saved = so_State;
    return static_cast<int>(pu_Next - pu_Out);
}
} // namespace

extern const st_UTFCodecs CT_VECTOR_NAME(so_UTFCodecs) = {si_WideToUTF7, si_UTF7ToWide,
                                                          si_WideToUTF8, si_UTF8ToWide};
