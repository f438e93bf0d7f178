// The checks that the codec fuzz targets run on every input.
//
// Input layout: the first byte chooses, the rest is the text. Bit 0 of the choice: 0 decodes
// the text as bytes, 1 encodes it as 16-bit units (little-endian pairs, an odd last byte is
// ignored). Bits 1-5: the piece size 1 to 32 for feeding the text in pieces (from 17 on, blocks
// follow state left by the piece before).
#pragma once

#include <cstddef>
#include <cstdint>

// One direction of a codec. Its output for a whole text of n elements is at most
// n x n_PerInput + n_Extra elements, b_Terminated of them the terminator.
template <typename TOut, typename TIn>
struct st_FuzzCodec
{
    void (*pfn_Init)();
    int (*pfn_Convert)(TOut*, const TIn*, int);
    int (*pfn_Exit)(TOut*);
    std::size_t n_PerInput, n_Extra;
    int b_Terminated;
};

struct st_FuzzCodecs
{
    st_FuzzCodec<char, char16_t> so_Encode;
    st_FuzzCodec<char16_t, char> so_Decode;
};

// Runs the checks of one input; any failure aborts with a message.
int si_FuzzCodecs(const st_FuzzCodecs& so_Codecs, const std::uint8_t* pc_Data, std::size_t n_Size);
