#include "FuzzCodec.h"

#include "FuzzLevels.h"
#include "FuzzRequire.h"

#include "System/String/UTF.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace
{
void v_Require(bool b_Holds, const char* qccz_What)
{
    v_FuzzRequire(b_Holds, "codec check failed", qccz_What);
}

// Feeds a_In to the codec n_Piece elements at a time into an output of exactly the documented
// maximum (so that ASan sees any write past it), pre-filled with x_Fill. Checks the maximum, the
// terminator, and that nothing behind them changed; returns the written part.
template <typename TOut, typename TIn>
std::vector<TOut> a_Run(const st_FuzzCodec<TOut, TIn>& so_Codec, const std::vector<TIn>& a_In,
                        std::size_t n_Piece, TOut x_Fill)
{
    const std::size_t n_Max = so_Codec.n_PerInput * a_In.size() + so_Codec.n_Extra;
    std::vector<TOut> a_Out(n_Max, x_Fill);
    if (so_Codec.pfn_Init)
        so_Codec.pfn_Init();
    std::size_t n_Total = 0, n_At = 0;
    do
    {
        const std::size_t n_Count = std::min(n_Piece, a_In.size() - n_At);
        const int i_Written = so_Codec.pfn_Convert(a_Out.data() + n_Total, a_In.data() + n_At,
                                                   static_cast<int>(n_Count));
        v_Require(i_Written >= 0, "negative result");
        n_Total += static_cast<std::size_t>(i_Written);
        v_Require(n_Total <= n_Max, "output beyond the maximum");
        n_At += n_Count;
    } while (n_At < a_In.size());
    if (so_Codec.pfn_Exit)
        n_Total += static_cast<std::size_t>(so_Codec.pfn_Exit(a_Out.data() + n_Total));
    const std::size_t n_Written = n_Total + static_cast<std::size_t>(so_Codec.b_Terminated);
    v_Require(n_Written <= n_Max, "output beyond the maximum");
    v_Require(!so_Codec.b_Terminated || a_Out[n_Total] == TOut{0}, "no terminator");
    v_Require(std::all_of(a_Out.begin() + static_cast<std::ptrdiff_t>(n_Written), a_Out.end(),
                          [x_Fill](TOut x) { return x == x_Fill; }),
              "written behind the result");
    a_Out.resize(n_Total);
    return a_Out;
}

// The elements before the first zero: where a whole conversion stops.
template <typename T>
std::vector<T> a_UpToZero(const std::vector<T>& a_In)
{
    return std::vector<T>(a_In.begin(), std::find(a_In.begin(), a_In.end(), T{0}));
}

// Every element of the whole output is written (two fills give the same), and the text up to
// its first zero gives the same fed in pieces.
template <typename TOut, typename TIn>
std::vector<TOut> a_Check(const st_FuzzCodec<TOut, TIn>& so_Codec, const std::vector<TIn>& a_In,
                          std::size_t n_Piece)
{
    const std::vector<TOut> a_Whole = a_Run(so_Codec, a_In, a_In.size(), TOut{0});
    v_Require(a_Run(so_Codec, a_In, a_In.size(), static_cast<TOut>(~0u)) == a_Whole,
              "an element of the result was not written");
    v_Require(a_Run(so_Codec, a_UpToZero(a_In), n_Piece, TOut{0}) == a_Whole,
              "pieces differ from the whole");
    return a_Whole;
}

// Units up to the first zero come back unchanged through the encoding.
void v_CheckRoundTrip(const st_FuzzCodecs& so_Codecs, const std::vector<char16_t>& a_Units)
{
    const std::vector<char16_t> a_Text = a_UpToZero(a_Units);
    const std::vector<char> a_Bytes = a_Run(so_Codecs.so_Encode, a_Text, a_Text.size(), '\0');
    v_Require(a_Run(so_Codecs.so_Decode, a_Bytes, a_Bytes.size(), u'\0') == a_Text,
              "round trip changed the text");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CT_UTF::sv_Init();
    return 0;
}

int si_FuzzCodecs(const st_FuzzCodecs& so_Codecs, const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size == 0)
        return 0;
    const unsigned n_Choice = pc_Data[0];
    const std::size_t n_Piece = 1 + (n_Choice >> 1 & 31);
    v_AtEachLevel(
        [&]
        {
            // Exact-size copies, so that ASan sees any read past the count.
            std::vector<char16_t> a_Units;
            if (n_Choice & 1)
            {
                a_Units.resize((n_Size - 1) / 2);
                if (!a_Units.empty()) // memcpy wants a pointer even for nothing
                    std::memcpy(a_Units.data(), pc_Data + 1, a_Units.size() * sizeof(char16_t));
                a_Check(so_Codecs.so_Encode, a_Units, n_Piece);
            }
            else
                a_Units = a_Check(so_Codecs.so_Decode,
                                  std::vector<char>(pc_Data + 1, pc_Data + n_Size), n_Piece);
            v_CheckRoundTrip(so_Codecs, a_Units);
        });
    return 0;
}
