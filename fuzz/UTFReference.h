// The UTF-7 and UTF-8 codecs written the plain way, one unit or byte at a time with a 32-bit bit
// buffer, to hold CT_UTF's block paths against: the unit tests and the differential fuzz target
// feed both the same pieces and compare every call (so_Compare). Each reference object is one
// codec with its state between calls; a new object is a codec just reset.
#pragma once

#include "System/String/UTF.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ct_reference
{
constexpr std::string_view sco_Base64 =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view sco_Direct =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:? \t\r\n";

// A unit that is not 0 and not in the direct set goes into a base64 run.
inline bool b_NeedsShift(char16_t u_Unit)
{
    return u_Unit != 0 &&
           (u_Unit > 0x7F || sco_Direct.find(static_cast<char>(u_Unit)) == std::string_view::npos);
}

// The digit value of a byte, or -1.
inline int i_Digit(unsigned char c_Byte)
{
    const std::size_t n = c_Byte && c_Byte < 0x80 ? sco_Base64.find(static_cast<char>(c_Byte))
                                                  : std::string_view::npos;
    return n == std::string_view::npos ? -1 : static_cast<int>(n);
}

class CT_UTF7Encoder
{
public:
    // Until i_Count units are read or a zero unit is written; returns the bytes before that zero.
    int si_Convert(char* pc_Out, const char16_t* pcu_In, int i_Count)
    {
        int i_Out = 0;
        for (int i = 0; i < i_Count; ++i)
        {
            const char16_t u_Unit = pcu_In[i];
            const bool b_Shift = b_NeedsShift(u_Unit);
            if (b_Shift && !b_InShift)
            {
                pc_Out[i_Out++] = '+';
                if (u_Unit == u'+')
                {
                    pc_Out[i_Out++] = '-';
                    continue;
                }
                b_InShift = true;
            }
            if (b_InShift)
            {
                if (b_Shift)
                {
                    n4_Bits |= std::uint32_t{u_Unit} << (16 - i_Bits);
                    i_Bits += 16;
                }
                else
                    i_Bits = (i_Bits + 5) / 6 * 6;
                for (; i_Bits >= 6; i_Bits -= 6, n4_Bits <<= 6)
                    pc_Out[i_Out++] = sco_Base64[n4_Bits >> 26];
                if (!b_Shift)
                {
                    pc_Out[i_Out++] = '-';
                    b_InShift = false;
                }
            }
            if (!b_Shift)
            {
                pc_Out[i_Out++] = static_cast<char>(u_Unit);
                if (u_Unit == 0)
                    return i_Out - 1;
            }
        }
        return i_Out;
    }

    int si_Exit(char* pc_Out)
    {
        const char16_t u_Zero = 0;
        return si_Convert(pc_Out, &u_Zero, 1);
    }

private:
    bool b_InShift = false;
    std::uint32_t n4_Bits = 0; // left-aligned
    int i_Bits = 0;
};

class CT_UTF7Decoder
{
public:
    // Until i_Count bytes are read or the next is 0; writes no terminator.
    int si_Convert(char16_t* pu_Out, const char* pcc_In, int i_Count)
    {
        int i_Out = 0;
        for (int i = 0; i < i_Count && pcc_In[i]; ++i)
        {
            const auto c_Byte = static_cast<unsigned char>(pcc_In[i]);
            if (b_InShift)
            {
                if (const int i_Value = i_Digit(c_Byte); i_Value >= 0)
                {
                    n4_Bits |= static_cast<std::uint32_t>(i_Value) << (26 - i_Bits);
                    i_Bits += 6;
                    b_First = false;
                    if (i_Bits >= 16)
                    {
                        pu_Out[i_Out++] = static_cast<char16_t>(n4_Bits >> 16);
                        n4_Bits <<= 16;
                        i_Bits -= 16;
                    }
                    continue;
                }
                const bool b_Empty = b_First;
                b_InShift = b_First = false;
                n4_Bits = 0;
                i_Bits = 0;
                if (c_Byte == '-')
                {
                    if (b_Empty)
                        pu_Out[i_Out++] = u'+';
                    continue;
                }
            }
            if (c_Byte == '+')
                b_InShift = b_First = true;
            else
                pu_Out[i_Out++] = c_Byte;
        }
        return i_Out;
    }

private:
    bool b_InShift = false, b_First = false;
    std::uint32_t n4_Bits = 0; // left-aligned
    int i_Bits = 0;
};

// Stops after i_Count units or at a zero unit; always writes the terminator behind the bytes.
inline int si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    int i_Out = 0;
    for (int i = 0; i < i_Count && pcu_In[i]; ++i)
    {
        const unsigned n = pcu_In[i];
        if (n < 0x80)
            pc_Out[i_Out++] = static_cast<char>(n);
        else if (n < 0x800)
        {
            pc_Out[i_Out++] = static_cast<char>(0xC0 | n >> 6);
            pc_Out[i_Out++] = static_cast<char>(0x80 | (n & 0x3F));
        }
        else
        {
            pc_Out[i_Out++] = static_cast<char>(0xE0 | n >> 12);
            pc_Out[i_Out++] = static_cast<char>(0x80 | (n >> 6 & 0x3F));
            pc_Out[i_Out++] = static_cast<char>(0x80 | (n & 0x3F));
        }
    }
    pc_Out[i_Out] = 0;
    return i_Out;
}

class CT_UTF8Decoder
{
public:
    // Until i_Count bytes are read or the next is 0; writes no terminator.
    int si_Convert(char16_t* pu_Out, const char* pcc_In, int i_Count)
    {
        static constexpr std::uint32_t san4_Offsets[6] = {0x00000000, 0x00003080, 0x000E2080,
                                                          0x03C82080, 0xFA082080, 0x82082080};
        int i_Out = 0;
        for (int i = 0; i < i_Count && pcc_In[i];)
        {
            if (i_ToRead == 0)
            {
                i_Trailing = i_TrailingOf(static_cast<unsigned char>(pcc_In[i]));
                i_ToRead = i_Trailing + 1;
                n4_Value = 0;
            }
            for (; i_ToRead && i < i_Count && pcc_In[i]; ++i)
            {
                n4_Value += static_cast<unsigned char>(pcc_In[i]);
                if (--i_ToRead)
                    n4_Value <<= 6;
            }
            if (!i_ToRead)
                pu_Out[i_Out++] = static_cast<char16_t>(n4_Value - san4_Offsets[i_Trailing]);
        }
        return i_Out;
    }

private:
    static int i_TrailingOf(unsigned char c_Lead)
    {
        return c_Lead >= 0xFC   ? 5
               : c_Lead >= 0xF8 ? 4
               : c_Lead >= 0xF0 ? 3
               : c_Lead >= 0xE0 ? 2
               : c_Lead >= 0xC0 ? 1
                                : 0;
    }

    int i_ToRead = 0;
    std::uint32_t n4_Value = 0;
    int i_Trailing = 0;
};

enum et_Codec
{
    e_UTF7Encode,
    e_UTF7Decode,
    e_UTF8Encode,
    e_UTF8Decode
};

// One side of a comparison: a codec's conversion of one piece and its end of a text (none for
// the codecs without one).
template <typename TOut, typename TIn>
struct st_Side
{
    std::function<int(TOut*, const TIn*, int)> fn_Convert;
    std::function<int(TOut*)> fn_Exit;
};

// Feeds a_In to both sides in the pieces that a_Pieces gives in turn (0 is a call with count 0;
// none: one call), each into a guard-filled buffer of n_Max elements, the whole text's maximum.
// Returns what differed first, a call's result or the outputs whole; empty when nothing did.
template <typename TOut, typename TIn>
std::string co_Compare(const std::vector<TIn>& a_In, const std::vector<int>& a_Pieces,
                       std::size_t n_Max, const st_Side<TOut, TIn>& so_Fast,
                       const st_Side<TOut, TIn>& so_Reference)
{
    std::vector<TOut> a_Fast(n_Max, static_cast<TOut>(0xA5)), a_Reference = a_Fast;
    std::size_t n_At = 0, n_Fast = 0, n_Reference = 0;
    for (std::size_t n_Call = 0; n_Call == 0 || n_At < a_In.size(); ++n_Call)
    {
        // The pieces' counts, bounded by what is left; once every piece has had its turn, empty
        // ones no longer delay the end.
        const std::size_t n_Left = a_In.size() - n_At;
        std::size_t n_Count = a_Pieces.empty()
                                  ? n_Left
                                  : static_cast<std::size_t>(a_Pieces[n_Call % a_Pieces.size()]);
        if (n_Count == 0 && n_Call >= a_Pieces.size())
            n_Count = 1;
        n_Count = std::min(n_Count, n_Left);
        const int i_Count = static_cast<int>(n_Count);
        const int i_Fast = so_Fast.fn_Convert(a_Fast.data() + n_Fast, a_In.data() + n_At, i_Count);
        const int i_Reference =
            so_Reference.fn_Convert(a_Reference.data() + n_Reference, a_In.data() + n_At, i_Count);
        if (i_Fast != i_Reference)
            return "call " + std::to_string(n_Call) + " of " + std::to_string(n_Count) + " at " +
                   std::to_string(n_At) + ": result " + std::to_string(i_Fast) + ", expected " +
                   std::to_string(i_Reference);
        n_At += n_Count;
        n_Fast += static_cast<std::size_t>(i_Fast);
        n_Reference += static_cast<std::size_t>(i_Reference);
    }
    if (so_Fast.fn_Exit && so_Fast.fn_Exit(a_Fast.data() + n_Fast) !=
                               so_Reference.fn_Exit(a_Reference.data() + n_Reference))
        return "the ends differ";
    const auto it = std::mismatch(a_Fast.begin(), a_Fast.end(), a_Reference.begin()).first;
    return it == a_Fast.end() ? std::string()
                              : "outputs differ at " + std::to_string(it - a_Fast.begin());
}

// CT_UTF's codec against the reference, both reset first (see co_Compare).
inline std::string co_Compare(et_Codec e_Codec, const std::vector<char16_t>& a_Units,
                              const std::vector<int>& a_Pieces)
{
    if (e_Codec == e_UTF8Encode)
        return co_Compare<char>(a_Units, a_Pieces, 3 * a_Units.size() + 1,
                                {CT_UTF::si_WideToUTF8, {}}, {si_WideToUTF8, {}});
    CT_UTF::sv_WideToUTF7Init();
    CT_UTF7Encoder co_Reference;
    return co_Compare<char>(a_Units, a_Pieces, 3 * a_Units.size() + 3,
                            {CT_UTF::si_WideToUTF7, CT_UTF::si_WideToUTF7Exit},
                            {[&co_Reference](char* pc_Out, const char16_t* pcu_In, int i_Count)
                             { return co_Reference.si_Convert(pc_Out, pcu_In, i_Count); },
                             [&co_Reference](char* pc_Out)
                             { return co_Reference.si_Exit(pc_Out); }});
}

inline std::string co_Compare(et_Codec e_Codec, const std::vector<char>& a_Bytes,
                              const std::vector<int>& a_Pieces)
{
    const auto fn_Decode = [&](auto& co_Reference, auto pfn_Fast)
    {
        return co_Compare<char16_t>(
            a_Bytes, a_Pieces, a_Bytes.size(), {pfn_Fast, {}},
            {[&co_Reference](char16_t* pu_Out, const char* pcc_In, int i_Count)
             { return co_Reference.si_Convert(pu_Out, pcc_In, i_Count); },
             {}});
    };
    if (e_Codec == e_UTF8Decode)
    {
        CT_UTF::sv_UTF8ToWideInit();
        CT_UTF8Decoder co_Reference;
        return fn_Decode(co_Reference, CT_UTF::si_UTF8ToWide);
    }
    CT_UTF::sv_UTF7ToWideInit();
    CT_UTF7Decoder co_Reference;
    return fn_Decode(co_Reference, CT_UTF::si_UTF7ToWide);
}
} // namespace ct_reference
