// Differential fuzz target: CT_UTF's codecs at each level of instruction sets against the plain
// reference codecs (UTFReference.h), call by call, in pieces that the input chooses.
//
// Input layout: the first byte chooses, bits 0-1 the codec (UTF-7 encoding, UTF-7 decoding,
// UTF-8 encoding, UTF-8 decoding), bits 2-4 how many piece bytes follow (none: the whole text in
// one call); each piece byte is a count, 0 to 63 (its low six bits), taken in turn. The rest is
// the text: bytes to decode, or 16-bit units to encode (little-endian pairs, an odd last byte is
// ignored).
#include "FuzzLevels.h"
#include "UTFReference.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CT_UTF::sv_Init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size == 0)
        return 0;
    const auto e_Codec = static_cast<ct_reference::et_Codec>(pc_Data[0] & 3);
    const std::size_t n_Pieces = std::min<std::size_t>(pc_Data[0] >> 2 & 7, n_Size - 1);
    std::vector<int> a_Pieces;
    for (std::size_t i = 1; i <= n_Pieces; ++i)
        a_Pieces.push_back(pc_Data[i] & 63);
    const std::uint8_t* const pc_Text = pc_Data + 1 + n_Pieces;
    const std::size_t n_Text = n_Size - 1 - n_Pieces;
    std::vector<char16_t> a_Units(n_Text / 2);
    if (!a_Units.empty()) // memcpy wants a pointer even for nothing
        std::memcpy(a_Units.data(), pc_Text, a_Units.size() * sizeof(char16_t));
    const std::vector<char> a_Bytes(pc_Text, pc_Text + n_Text);
    v_AtEachLevel(
        [&]
        {
            const std::string co_Difference =
                e_Codec == ct_reference::e_UTF7Encode || e_Codec == ct_reference::e_UTF8Encode
                    ? ct_reference::co_Compare(e_Codec, a_Units, a_Pieces)
                    : ct_reference::co_Compare(e_Codec, a_Bytes, a_Pieces);
            if (co_Difference.empty())
                return;
            std::fprintf(stderr, "codec %d at level %d differs from the reference: %s\n", e_Codec,
                         CT_VectorLevel::seo_Current(), co_Difference.c_str());
            std::abort();
        });
    return 0;
}
