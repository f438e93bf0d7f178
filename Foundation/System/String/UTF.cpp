#include "System/String/UTF.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <iterator>

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

// Built by CT_UTF::sv_Init, read-only afterwards.
unsigned char sac_MustEncode[128];  // 1: encoded in a run; 0: written directly
std::uint16_t san2_FromBase64[128]; // digit value 0-63; sn2_NoDigit for any other character
unsigned char sac_Trailing[256];    // trailing bytes that a lead byte announces, 0 to 5

// Elements that the block paths take at a time.
constexpr int si_Block = 8;

// n8_Lane repeated in every lane of a 64-bit word, for lanes as wide as T.
template <typename T>
constexpr std::uint64_t sn8_Lanes(std::uint64_t n8_Lane)
{
    std::uint64_t n8_Word = 0;
    for (unsigned n_Shift = 0; n_Shift < 64; n_Shift += 8 * sizeof(T))
        n8_Word |= n8_Lane << n_Shift;
    return n8_Word;
}

// The lanes of the si_Block elements at pc_In that are not 0x01-0x7F (ASCII, no terminator) have
// a bit set in the masks it fills in. In a lane, v | (v - 1) has a bit above 0x7F exactly when v
// is 0 or above 0x7F; a lane borrows from the next only when it is 0 itself, so the lowest
// marked lane is exact.
template <typename T>
void v_NonAscii(const T* pc_In, std::uint64_t (&an8_Marks)[sizeof(T)])
{
    constexpr std::uint64_t n8_One = sn8_Lanes<T>(1);
    constexpr std::uint64_t n8_High = sn8_Lanes<T>(static_cast<T>(~0x7Fu));
    static_assert(sizeof an8_Marks == si_Block * sizeof(T));
    std::memcpy(an8_Marks, pc_In, sizeof an8_Marks);
    for (std::uint64_t& n8_Word : an8_Marks)
        n8_Word = (n8_Word | (n8_Word - n8_One)) & n8_High;
}

template <typename T>
bool b_IsAsciiBlock(const T* pc_In)
{
    std::uint64_t an8_Marks[sizeof(T)];
    v_NonAscii(pc_In, an8_Marks);
    std::uint64_t n8_Any = 0;
    for (std::uint64_t n8_Marks : an8_Marks)
        n8_Any |= n8_Marks;
    return n8_Any == 0;
}

// How many of the si_Block elements at pc_In, from the first on, are ASCII.
template <typename T>
int si_AsciiPrefix(const T* pc_In)
{
    std::uint64_t an8_Marks[sizeof(T)];
    v_NonAscii(pc_In, an8_Marks);
    for (int i = 0; i < static_cast<int>(sizeof(T)); ++i)
        if (an8_Marks[i])
            return i * 8 / static_cast<int>(sizeof(T)) +
                   std::countr_zero(an8_Marks[i]) / (8 * static_cast<int>(sizeof(T)));
    return si_Block;
}

static_assert(std::endian::native == std::endian::little,
              "the block paths take the first element from the low end of a word");

// Writes si_Block units 0x00-0xFF as bytes; each step halves the lanes.
void v_CopyBlock(void* pv_Out, const char16_t* pcu_In)
{
    std::uint64_t an8_Words[2];
    std::memcpy(an8_Words, pcu_In, sizeof an8_Words);
    std::uint32_t an4_Bytes[2];
    for (int i = 0; i < 2; ++i)
    {
        const std::uint64_t n8_Pairs = (an8_Words[i] | an8_Words[i] >> 8) & 0x0000FFFF0000FFFFu;
        an4_Bytes[i] = static_cast<std::uint32_t>(n8_Pairs | n8_Pairs >> 16);
    }
    std::memcpy(pv_Out, an4_Bytes, sizeof an4_Bytes);
}

// Writes si_Block bytes as units; each step doubles the lanes.
void v_CopyBlock(char16_t* pu_Out, const unsigned char* pcc_In)
{
    std::uint32_t an4_Bytes[2];
    std::memcpy(an4_Bytes, pcc_In, sizeof an4_Bytes);
    std::uint64_t an8_Words[2];
    for (int i = 0; i < 2; ++i)
    {
        const std::uint64_t n8_Pairs =
            (an4_Bytes[i] | std::uint64_t{an4_Bytes[i]} << 16) & 0x0000FFFF0000FFFFu;
        an8_Words[i] = (n8_Pairs | n8_Pairs << 8) & 0x00FF00FF00FF00FFu;
    }
    std::memcpy(pu_Out, an8_Words, sizeof an8_Words);
}

// Copies the ASCII elements from pc_In on: blocks while they last, then those before the first
// other element of the last block read. pc_In holds one, and a block may be read. Returns the
// element behind the last copied.
template <typename TOut, typename TIn>
const TIn* pc_CopyAscii(TOut*& p_Out, const TIn* pc_In, const TIn* pc_End)
{
    if (pc_In[1] > 0x7F) // a lone one, as between words of other scripts
    {
        *p_Out++ = static_cast<TOut>(*pc_In);
        return pc_In + 1;
    }
    int i_Ascii;
    while ((i_Ascii = si_AsciiPrefix(pc_In)) == si_Block)
    {
        v_CopyBlock(p_Out, pc_In);
        p_Out += si_Block;
        pc_In += si_Block;
        if (pc_End - pc_In < si_Block)
            return pc_In;
    }
    for (int i = 0; i < i_Ascii; ++i)
        p_Out[i] = static_cast<TOut>(pc_In[i]);
    p_Out += i_Ascii;
    return pc_In + i_Ascii;
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
    return u_Unit - 1u < 0x7Fu && !sac_MustEncode[u_Unit];
}

int b_NeedsShift(char16_t u_Unit)
{
    return u_Unit != 0 && !b_IsDirect(u_Unit);
}

bool b_IsDirectBlock(const char16_t* pcu_In)
{
    if (!b_IsAsciiBlock(pcu_In))
        return false;
    unsigned n_Encoded = 0;
    for (int i = 0; i < si_Block; ++i)
        n_Encoded |= sac_MustEncode[pcu_In[i]];
    return n_Encoded == 0;
}

// Copies direct units; returns the first unit that is not direct.
const char16_t* pcu_PutDirect(char*& pc_Out, const char16_t* pcu_In, const char16_t* pcu_End)
{
    for (; pcu_End - pcu_In >= si_Block && b_IsDirect(pcu_In[1]) && b_IsDirectBlock(pcu_In);
         pcu_In += si_Block)
    {
        v_CopyBlock(pc_Out, pcu_In);
        pc_Out += si_Block;
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

// The value 0-63 of a base64 digit; above 63 for any other byte.
unsigned n_DigitOf(unsigned char c_Byte)
{
    return san2_FromBase64[c_Byte & 0x7F] | (0u - (c_Byte >> 7));
}

// Whether none of the si_Block bytes at pcc_In is 0 or '+'. (v - 1) & ~v has bit 7 set in the
// lowest zero byte of v, and only where some byte is 0.
bool b_IsTextBlock(const unsigned char* pcc_In)
{
    constexpr std::uint64_t n8_One = sn8_Lanes<unsigned char>(1);
    constexpr std::uint64_t n8_High = sn8_Lanes<unsigned char>(0x80);
    constexpr std::uint64_t n8_Plus = sn8_Lanes<unsigned char>('+');
    std::uint64_t n8_Word;
    std::memcpy(&n8_Word, pcc_In, sizeof n8_Word);
    const std::uint64_t n8_Plus0 = n8_Word ^ n8_Plus; // '+' bytes become 0
    return ((((n8_Word - n8_One) & ~n8_Word) | ((n8_Plus0 - n8_One) & ~n8_Plus0)) & n8_High) == 0;
}

// Copies bytes outside a run as units (0x80-0xFF become U+0080-U+00FF); returns the first '+'
// or zero byte.
const unsigned char* pcc_GetText(char16_t*& pu_Out, const unsigned char* pcc_In,
                                 const unsigned char* pcc_End)
{
    for (; pcc_End - pcc_In >= si_Block && b_IsTextBlock(pcc_In); pcc_In += si_Block)
    {
        v_CopyBlock(pu_Out, pcc_In);
        pu_Out += si_Block;
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
    const unsigned char* const pcc_Single = pcc_In + std::min<std::ptrdiff_t>(8, pcc_End - pcc_In);
    pcc_In = pcc_GetDigits(pu_Out, so_Run, pcc_In, pcc_Single);
    if (pcc_In != pcc_Single)
        return pcc_In;
    while (pcc_End - pcc_In >= 8 && b_GetDigitBlock(pu_Out, so_Run, pcc_In))
        pcc_In += 8;
    return pcc_GetDigits(pu_Out, so_Run, pcc_In, pcc_End);
}

// ---------------------------------------------------------------------------------------------
// UTF-8

// The ASCII bytes from pcc_In on (see pc_CopyAscii), or else the sequence at pcc_In if it
// has two or three bytes and no zero byte: writes the units and returns the byte behind them.
// Otherwise null, for the byte-by-byte path. pcc_In is not 0 and a block may be read. One branch
// per length, so that text of one script runs on predicted branches.
const unsigned char* pcc_GetShortSequence(char16_t*& pu_Out, const unsigned char* pcc_In,
                                          const unsigned char* pcc_End)
{
    const std::uint32_t n4_Lead = pcc_In[0], n4_Second = pcc_In[1], n4_Third = pcc_In[2];
    if (n4_Lead < 0x80)
        return pc_CopyAscii(pu_Out, pcc_In, pcc_End);
    switch (sac_Trailing[n4_Lead])
    {
    case 0:
        *pu_Out++ = static_cast<char16_t>(n4_Lead);
        return pcc_In + 1;
    case 1:
        if (!n4_Second)
            return nullptr;
        *pu_Out++ = static_cast<char16_t>((n4_Lead << 6) + n4_Second - san4_Offsets[1]);
        return pcc_In + 2;
    case 2:
        if (!n4_Second || !n4_Third)
            return nullptr;
        *pu_Out++ =
            static_cast<char16_t>((n4_Lead << 12) + (n4_Second << 6) + n4_Third - san4_Offsets[2]);
        return pcc_In + 3;
    default:
        return nullptr;
    }
}
} // namespace

thread_local int CT_UTF::si_BufferBits;
thread_local std::uint32_t CT_UTF::sn4_BitBuffer;
thread_local std::uint32_t CT_UTF::sn4_BufferTemp;
thread_local CT_UTF::st_UTF7Encoder CT_UTF::sso_UTF7Encoder;
thread_local CT_UTF::st_UTF7Decoder CT_UTF::sso_UTF7Decoder;
thread_local CT_UTF::st_UTF8Decoder CT_UTF::sso_UTF8Decoder;

void CT_UTF::sv_Init()
{
    std::fill(std::begin(sac_MustEncode), std::end(sac_MustEncode), 1);
    for (const char* pcc_Char = sqccz_Direct; *pcc_Char; ++pcc_Char)
        sac_MustEncode[static_cast<unsigned char>(*pcc_Char)] = 0;
    std::fill(std::begin(san2_FromBase64), std::end(san2_FromBase64), sn2_NoDigit);
    for (std::uint16_t n2_Digit = 0; n2_Digit < 64; ++n2_Digit)
        san2_FromBase64[static_cast<unsigned char>(sqccz_Base64[n2_Digit])] = n2_Digit;
    // A lead byte at or above the mark of length L announces L - 1 trailing bytes.
    for (unsigned n_Byte = 0; n_Byte < 256; ++n_Byte)
    {
        sac_Trailing[n_Byte] = 0;
        for (unsigned char n_Length = 2; n_Length <= 6; ++n_Length)
            if (n_Byte >= sac_FirstByteMark[n_Length])
                sac_Trailing[n_Byte] = n_Length - 1;
    }
}

void CT_UTF::sv_SaveBits(const st_Bits& so_Bits)
{
    sn4_BitBuffer = so_Bits.n4_BitBuffer;
    sn4_BufferTemp = so_Bits.n4_BufferTemp;
    si_BufferBits = so_Bits.i_BufferBits;
}

// ---------------------------------------------------------------------------------------------
// UTF-7

void CT_UTF::sv_WideToUTF7Init()
{
    sso_UTF7Encoder = {};
}

int CT_UTF::si_WideToUTF7(char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    st_UTF7Encoder so_State = sso_UTF7Encoder;
    st_Run so_Run = so_RunOf(so_State.so_Bits);
    char* pc_Next = pc_Out;
    const char16_t* const pcu_End = pcu_In + i_Count;
    while (pcu_In != pcu_End)
    {
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
    sv_SaveBits(so_State.so_Bits);
    sso_UTF7Encoder = so_State;
    return static_cast<int>(pc_Next - pc_Out);
}

int CT_UTF::si_WideToUTF7Exit(char* pc_Out)
{
    static constexpr char16_t su_Zero = 0;
    return si_WideToUTF7(pc_Out, &su_Zero, 1);
}

void CT_UTF::sv_UTF7ToWideInit()
{
    sso_UTF7Decoder = {};
}

int CT_UTF::si_UTF7ToWide(char16_t* pu_Out, const char* pcc_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    st_UTF7Decoder so_State = sso_UTF7Decoder;
    st_Run so_Run = so_RunOf(so_State.so_Bits);
    char16_t* pu_Next = pu_Out;
    const auto* const pcc_Start = reinterpret_cast<const unsigned char*>(pcc_In);
    const auto* const pcc_End = pcc_Start + i_Count;
    const auto* pcc_Byte = pcc_Start;
    while (pcc_Byte != pcc_End && *pcc_Byte)
    {
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
    sv_SaveBits(so_State.so_Bits);
    sso_UTF7Decoder = so_State;
    return static_cast<int>(pu_Next - pu_Out);
}

// ---------------------------------------------------------------------------------------------
// UTF-8

int CT_UTF::si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    auto* pc_Next = reinterpret_cast<unsigned char*>(pc_Out);
    for (const char16_t* pcu_End = pcu_In + i_Count; pcu_In != pcu_End && *pcu_In;)
    {
        const unsigned n_Unit = *pcu_In;
        if (n_Unit < 0x80)
        {
            if (pcu_End - pcu_In >= si_Block)
                pcu_In = pc_CopyAscii(pc_Next, pcu_In, pcu_End);
            else
            {
                *pc_Next++ = static_cast<unsigned char>(n_Unit);
                ++pcu_In;
            }
            continue;
        }
        ++pcu_In;
        if (n_Unit < 0x800)
        {
            *pc_Next++ = static_cast<unsigned char>(sac_FirstByteMark[2] | n_Unit >> 6);
            *pc_Next++ = static_cast<unsigned char>(0x80 | (n_Unit & 0x3F));
        }
        else
        {
            *pc_Next++ = static_cast<unsigned char>(sac_FirstByteMark[3] | n_Unit >> 12);
            *pc_Next++ = static_cast<unsigned char>(0x80 | (n_Unit >> 6 & 0x3F));
            *pc_Next++ = static_cast<unsigned char>(0x80 | (n_Unit & 0x3F));
        }
    }
    *pc_Next = 0;
    return static_cast<int>(reinterpret_cast<char*>(pc_Next) - pc_Out);
}

void CT_UTF::sv_UTF8ToWideInit()
{
    sso_UTF8Decoder = {};
}

// Whole sequences of up to three bytes go in one step while no sequence is pending and a block
// remains; everything else byte by byte, so that a sequence may end in any later call.
int CT_UTF::si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    st_UTF8Decoder so_State = sso_UTF8Decoder;
    char16_t* pu_Next = pu_Out;
    const auto* pcc_Byte = reinterpret_cast<const unsigned char*>(pcc_In);
    const auto* const pcc_End = pcc_Byte + i_Count;
    for (;;)
    {
        if (so_State.i_ToRead == 0)
            while (pcc_End - pcc_Byte >= si_Block && *pcc_Byte)
            {
                const unsigned char* const pcc_Next =
                    pcc_GetShortSequence(pu_Next, pcc_Byte, pcc_End);
                if (!pcc_Next)
                    break;
                pcc_Byte = pcc_Next;
            }
        if (pcc_Byte == pcc_End || !*pcc_Byte)
            break;
        if (so_State.i_ToRead == 0)
        {
            so_State.i_Trailing = sac_Trailing[*pcc_Byte];
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
    sso_UTF8Decoder = so_State;
    return static_cast<int>(pu_Next - pu_Out);
}
