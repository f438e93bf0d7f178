// The vector operations that the codecs' block paths are written in: loads, lane masks, and
// widening and narrowing between bytes, 16-bit units and 32-bit words. Internal to the library.
//
// Every choice of instruction lies here, behind operations that take the vector type as it
// comes, so that a codec writes its block path once in these terms and any register width or
// instruction set it is compiled for serves it. Everything has internal linkage: a translation
// unit compiled for another instruction set gets its own copies, never the linker's pick of
// another unit's. Loads and stores go through memcpy and need no alignment.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// How a target without vector registers passes vector arguments is no interface here: these
// operations are inlined into their callers in the same unit.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace
{
// Sixteen bytes, eight units or four words in one vector register where the machine has them
// (elementwise operations otherwise). Comparisons give lanes of all ones or all zeros.
typedef std::uint8_t t_Bytes __attribute__((vector_size(16)));
typedef std::uint16_t t_Units __attribute__((vector_size(16)));
typedef std::uint32_t t_Words __attribute__((vector_size(16)));
constexpr int si_ByteLanes = 16;
constexpr int si_UnitLanes = 8;

// Whether the block paths run. Without vector registers (the 32-bit Windows build, which does not
// assume SSE2) their elementwise stand-ins are slower than going element by element.
#if defined(__SSE2__)
constexpr bool sb_Blocks = true;
#else
constexpr bool sb_Blocks = false;
#endif

static_assert(std::endian::native == std::endian::little,
              "the block paths take the first element from the low end of a register");

template <typename TVector>
inline TVector x_Load(const void* pv_In)
{
    TVector x;
    std::memcpy(&x, pv_In, sizeof x);
    return x;
}

template <typename TVector>
inline bool b_Any(TVector x)
{
    std::uint64_t an8_Halves[2];
    std::memcpy(an8_Halves, &x, sizeof an8_Halves);
    return (an8_Halves[0] | an8_Halves[1]) != 0;
}

// Bit i set for each byte lane i whose top bit is set. Without the instruction for it, one
// multiplication per half gathers the top bits of its lanes into its top byte.
template <typename TVector>
inline unsigned n_BitsOf(TVector x)
{
    const auto x_Bytes = reinterpret_cast<t_Bytes>(x);
#if defined(__SSE2__)
    typedef char t_Chars __attribute__((vector_size(16)));
    return static_cast<unsigned>(__builtin_ia32_pmovmskb128(reinterpret_cast<t_Chars>(x_Bytes)));
#else
    std::uint64_t an8_Halves[2];
    std::memcpy(an8_Halves, &x_Bytes, sizeof an8_Halves);
    constexpr std::uint64_t n8_Gather = 0x0002040810204081u;
    constexpr std::uint64_t n8_Tops = 0x8080808080808080u;
    return static_cast<unsigned>(((an8_Halves[0] & n8_Tops) * n8_Gather >> 56) |
                                 ((an8_Halves[1] & n8_Tops) * n8_Gather >> 48 & 0xFF00));
#endif
}

// Writes the byte lanes of x as units: twice the bytes of x.
template <typename TBytes>
inline void v_PutUnits(char16_t* pu_Out, TBytes x)
{
    // GCC 12 deduces a vector type of a dependent size as its element type: it is named, and
    // not passed to a template.
    typedef char16_t t_Wide __attribute__((vector_size(2 * sizeof(TBytes))));
    const t_Wide x_Wide = __builtin_convertvector(x, t_Wide);
    std::memcpy(pu_Out, &x_Wide, sizeof x_Wide);
}

// Writes the low bytes of the unit lanes of x: half the bytes of x.
template <typename TUnits>
inline void v_PutBytes(char* pc_Out, TUnits x)
{
    typedef unsigned char t_Narrow __attribute__((vector_size(sizeof(TUnits) / 2)));
    const t_Narrow x_Narrow = __builtin_convertvector(x, t_Narrow);
    std::memcpy(pc_Out, &x_Narrow, sizeof x_Narrow);
}

// The sixteen units as bytes, those above 0xFF as bytes that differ from every ASCII byte.
inline t_Bytes x_NarrowUnits(t_Units x_Low, t_Units x_High)
{
#if defined(__SSE2__)
    // Saturating: 0x0100-0x7FFF become 0xFF, 0x8000-0xFFFF (negative) become 0.
    typedef short t_Shorts __attribute__((vector_size(16)));
    return reinterpret_cast<t_Bytes>(__builtin_ia32_packuswb128(
        reinterpret_cast<t_Shorts>(x_Low), reinterpret_cast<t_Shorts>(x_High)));
#else
    const t_Units x_Bounded[2] = {x_Low | static_cast<t_Units>(x_Low > 0xFF),
                                  x_High | static_cast<t_Units>(x_High > 0xFF)};
    return __builtin_shufflevector(reinterpret_cast<t_Bytes>(x_Bounded[0]),
                                   reinterpret_cast<t_Bytes>(x_Bounded[1]), 0, 2, 4, 6, 8, 10, 12,
                                   14, 16, 18, 20, 22, 24, 26, 28, 30);
#endif
}

// The low halves of the lanes of x_Low and x_High, in order.
inline t_Units x_NarrowWords(t_Words x_Low, t_Words x_High)
{
#if defined(__SSE2__)
    // The packing instruction saturates signed values; sign-extended halves pass unchanged.
    typedef int t_Signed __attribute__((vector_size(16)));
    return reinterpret_cast<t_Units>(
        __builtin_ia32_packssdw128(reinterpret_cast<t_Signed>(x_Low << 16) >> 16,
                                   reinterpret_cast<t_Signed>(x_High << 16) >> 16));
#else
    return __builtin_shufflevector(reinterpret_cast<t_Units>(x_Low),
                                   reinterpret_cast<t_Units>(x_High), 0, 2, 4, 6, 8, 10, 12, 14);
#endif
}

// The high halves of the lanes' products: shifts right by 16 less the multiplier's exponent.
inline t_Units x_MulHigh(t_Units x, t_Units x_By)
{
#if defined(__SSE2__)
    typedef short t_Shorts __attribute__((vector_size(16)));
    return reinterpret_cast<t_Units>(
        __builtin_ia32_pmulhuw128(reinterpret_cast<t_Shorts>(x), reinterpret_cast<t_Shorts>(x_By)));
#else
    // Whole vectors, not a loop over the lanes, which GCC 12 vectorizes wrongly for i686 without
    // SSE.
    typedef std::uint32_t t_Wide __attribute__((vector_size(32)));
    return __builtin_convertvector(
        __builtin_convertvector(x, t_Wide) * __builtin_convertvector(x_By, t_Wide) >> 16, t_Units);
#endif
}
} // namespace
