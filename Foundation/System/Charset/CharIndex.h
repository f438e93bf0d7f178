// CT_CharIndex: the lookup of the two-stage indexes that tools/unicode/generate-tables derives
// from the character tables, one value per code point U+0000 to U+FFFF. The code points fall
// into blocks of 2^sn_Shift; the first stage holds, per block, where the block's values start in
// a value array, which blocks with equal values share. The lookups are inline, so that a loop
// over characters costs no call per character.
#pragma once

#include <cstdint>

class CT_CharIndex
{
public:
    static constexpr unsigned sn_Shift = 6;
    static constexpr unsigned sn_Blocks = 0x10000 >> sn_Shift;

    template <class T>
    static T sn_Lookup(const std::uint16_t* pcn_Blocks, const T* pcn_Values, char16_t u_Char)
    {
        return pcn_Values[pcn_Blocks[u_Char >> sn_Shift] + (u_Char & ((1u << sn_Shift) - 1))];
    }
};
