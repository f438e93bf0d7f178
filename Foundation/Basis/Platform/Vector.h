// The vector operations that the codecs' block paths are written in: loads, lane masks, and
// widening and narrowing between bytes, 16-bit units and 32-bit words. Internal to the library.
//
// A codec's conversions are written once over these operations and compiled once per level of
// instruction sets (CT_VectorLevel), each compilation a unit of its own that CMake's
// ct_add_vector_levels builds with the level's flags and CT_VECTOR_LEVEL set to the level's name
// (CT_VECTOR_PLAIN too for the plain level). Every choice of instruction lies here, behind
// operations that take the vector type as it comes, so that any register width or instruction set
// serves the same code. Everything has internal linkage, and a unit compiled for a level uses
// nothing else that is inline with external linkage (no standard function templates): it gets its
// own copies, never the linker's pick of another level's. Loads and stores go through memcpy and
// need no alignment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
// GCC 12 takes the undefined registers that some AVX-512 intrinsics start from for uninitialised
// values when it optimises their callers.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop
#endif

#if !defined(CT_VECTOR_LEVEL)
#error "a unit of block paths is compiled for a level (ct_add_vector_levels)"
#endif

// The name of a unit's own object: CT_VECTOR_NAME(so_Codecs) is so_CodecsAVX2 in the AVX2 unit.
#define CT_VECTOR_JOIN(x_Name, x_Level) x_Name##x_Level
#define CT_VECTOR_NAME_OF(x_Name, x_Level) CT_VECTOR_JOIN(x_Name, x_Level)
#define CT_VECTOR_NAME(x_Name) CT_VECTOR_NAME_OF(x_Name, CT_VECTOR_LEVEL)

// How a target without vector registers passes vector arguments is no interface here: these
// operations are inlined into their callers in the same unit.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace
{
// Whether the block paths run: not at the plain level, element by element throughout.
#if defined(CT_VECTOR_PLAIN)
constexpr bool sb_Blocks = false;
#else
constexpr bool sb_Blocks = true;
#endif

// CT_VECTOR_COMPRESS: the level stores the first lanes of a register exactly, compresses the
// bytes of a register by a mask and permutes bytes across a whole register (AVX-512 with VBMI and
// VBMI2). Paths written with these write nothing ahead of their result.
#if defined(__AVX512VBMI2__) && defined(__AVX512VBMI__) && defined(__AVX512BW__) &&                \
    defined(__BMI2__)
#define CT_VECTOR_COMPRESS 1
#endif

// Sixteen bytes, eight units or four words, on every level (elementwise operations where the
// machine has no vector registers). Comparisons give lanes of all ones or all zeros.
typedef std::uint8_t t_Bytes16 __attribute__((vector_size(16)));
typedef std::uint16_t t_Units8 __attribute__((vector_size(16)));
typedef std::uint32_t t_Words4 __attribute__((vector_size(16)));

// One register of the level: 64 bytes with AVX-512, 32 with AVX2, 16 otherwise.
#if defined(__AVX512BW__)
constexpr int si_RegisterBytes = 64;
#elif defined(__AVX2__)
constexpr int si_RegisterBytes = 32;
#else
constexpr int si_RegisterBytes = 16;
#endif
typedef std::uint8_t t_Bytes __attribute__((vector_size(si_RegisterBytes)));
typedef std::uint16_t t_Units __attribute__((vector_size(si_RegisterBytes)));
typedef std::uint32_t t_Words __attribute__((vector_size(si_RegisterBytes)));
constexpr int si_ByteLanes = si_RegisterBytes;
constexpr int si_UnitLanes = si_RegisterBytes / 2;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the block paths take the first element from the low end of a register");

// For a codec's helpers that take or give vectors and run once per block: inlined whatever the
// compiler estimates, since 32-bit x86 and 64-bit Windows pass vectors through memory, which a
// call in a block loop pays for every block.
#define CT_VECTOR_INLINE inline __attribute__((always_inline))

// ---------------------------------------------------------------------------------------------
// Scalars

inline int i_Min(int i_A, int i_B)
{
    return i_A < i_B ? i_A : i_B;
}

// The lowest set bit's place, 64 when none is set. With 32-bit registers by halves, since the
// compiler calls its runtime for the whole.
inline int i_LowestBit(std::uint64_t n)
{
#if __SIZEOF_POINTER__ >= 8
    return n ? __builtin_ctzll(n) : 64;
#else
    const auto n4_Low = static_cast<std::uint32_t>(n),
               n4_High = static_cast<std::uint32_t>(n >> 32);
    return n4_Low ? __builtin_ctz(n4_Low) : n4_High ? 32 + __builtin_ctz(n4_High) : 64;
#endif
}

// The highest set bit's place; n is not 0.
inline int i_HighestBit(std::uint64_t n)
{
#if __SIZEOF_POINTER__ >= 8
    return 63 - __builtin_clzll(n);
#else
    const auto n4_High = static_cast<std::uint32_t>(n >> 32);
    return n4_High ? 63 - __builtin_clz(n4_High)
                   : 31 - __builtin_clz(static_cast<std::uint32_t>(n));
#endif
}

inline int i_BitCount(std::uint64_t n)
{
    return __builtin_popcountll(n);
}

// The bits below place i, 0 to 64.
inline std::uint64_t n_Below(int i)
{
    return i >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << i) - 1;
}

// ---------------------------------------------------------------------------------------------
// Registers of any width

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
#if defined(__AVX512BW__)
    if constexpr (sizeof x == 64)
        return _mm512_test_epi64_mask(reinterpret_cast<__m512i>(x), reinterpret_cast<__m512i>(x)) !=
               0;
#endif
#if defined(__AVX2__)
    if constexpr (sizeof x == 32)
        return !_mm256_testz_si256(reinterpret_cast<__m256i>(x), reinterpret_cast<__m256i>(x));
#endif
    std::uint64_t an8_Parts[sizeof x / 8];
    std::memcpy(an8_Parts, &x, sizeof an8_Parts);
    std::uint64_t n8_Any = 0;
    for (const std::uint64_t n8 : an8_Parts)
        n8_Any |= n8;
    return n8_Any != 0;
}

#if defined(__AVX512BW__)
// The bits of a mask register. With 32-bit registers moved directly, half by half: the compiler
// would pass them through memory, from where a processor may not pass a mask register's store on
// to a load without waiting.
inline std::uint64_t n_BitsOf(__mmask64 k)
{
#if __SIZEOF_POINTER__ >= 8
    return k;
#else
    std::uint32_t n4_Low, n4_High;
    __asm__("kmovd %1, %0" : "=r"(n4_Low) : "k"(k));
    __asm__("kshiftrq $32, %1, %1\n\tkmovd %1, %0" : "=r"(n4_High), "+k"(k));
    return std::uint64_t{n4_High} << 32 | n4_Low;
#endif
}

inline std::uint64_t n_BitsOf(__mmask32 k)
{
#if __SIZEOF_POINTER__ >= 8
    return k;
#else
    std::uint32_t n4;
    __asm__("kmovd %1, %0" : "=r"(n4) : "k"(k));
    return n4;
#endif
}
#endif

// Bit i set for each byte lane i whose top bit is set. Without the instruction for it, one
// multiplication per eight lanes gathers their top bits into its top byte.
template <typename TVector>
inline std::uint64_t n_BitsOf(TVector x)
{
#if defined(__AVX512BW__)
    if constexpr (sizeof x == 64)
        return n_BitsOf(_mm512_movepi8_mask(reinterpret_cast<__m512i>(x)));
#endif
#if defined(__AVX2__)
    if constexpr (sizeof x == 32)
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(reinterpret_cast<__m256i>(x)));
#endif
#if defined(__SSE2__)
    if constexpr (sizeof x == 16)
        return static_cast<std::uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(x)));
#endif
    std::uint64_t an8_Parts[sizeof x / 8];
    std::memcpy(an8_Parts, &x, sizeof an8_Parts);
    constexpr std::uint64_t n8_Gather = 0x0002040810204081u;
    constexpr std::uint64_t n8_Tops = 0x8080808080808080u;
    std::uint64_t n8_Bits = 0;
    for (unsigned i = 0; i < sizeof x / 8; ++i)
        n8_Bits |= ((an8_Parts[i] & n8_Tops) * n8_Gather >> 56) << 8 * i;
    return n8_Bits;
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

// The units of x_Low, then those of x_High, as bytes: units up to 0xFF as themselves, the others
// as 0 or a byte above 0x7F.
template <typename TUnits>
inline auto x_NarrowUnits(TUnits x_Low, TUnits x_High)
{
    typedef std::uint8_t t_Narrow __attribute__((vector_size(sizeof(TUnits))));
#if defined(__AVX512BW__)
    if constexpr (sizeof(TUnits) == 64)
        return reinterpret_cast<t_Narrow>(_mm512_inserti64x4(
            _mm512_castsi256_si512(_mm512_cvtusepi16_epi8(reinterpret_cast<__m512i>(x_Low))),
            _mm512_cvtusepi16_epi8(reinterpret_cast<__m512i>(x_High)), 1));
    else
#endif
#if defined(__AVX2__)
        // Saturating as below, lane by lane of 128 bits; the quarters then come back in order.
        if constexpr (sizeof(TUnits) == 32)
            return reinterpret_cast<t_Narrow>(
                _mm256_permute4x64_epi64(_mm256_packus_epi16(reinterpret_cast<__m256i>(x_Low),
                                                             reinterpret_cast<__m256i>(x_High)),
                                         0xD8));
        else
#endif
        {
            static_assert(sizeof(TUnits) == 16, "a register of the level or sixteen bytes");
#if defined(__SSE2__)
            // Saturating: 0x0100-0x7FFF become 0xFF, 0x8000-0xFFFF (negative) become 0.
            return reinterpret_cast<t_Narrow>(_mm_packus_epi16(reinterpret_cast<__m128i>(x_Low),
                                                               reinterpret_cast<__m128i>(x_High)));
#else
        typedef std::uint16_t t_Both __attribute__((vector_size(32)));
        const t_Both x_Both = __builtin_shufflevector(x_Low, x_High, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                      10, 11, 12, 13, 14, 15);
        return reinterpret_cast<t_Narrow>(
            __builtin_convertvector(x_Both | static_cast<t_Both>(x_Both > 0xFF), t_Bytes16));
#endif
        }
}

// ---------------------------------------------------------------------------------------------
// Sixteen bytes

// The low halves of the lanes of x_Low and x_High, in order.
inline t_Units8 x_NarrowWords(t_Words4 x_Low, t_Words4 x_High)
{
#if defined(__SSE2__)
    // The packing instruction saturates signed values; sign-extended halves pass unchanged.
    typedef int t_Signed __attribute__((vector_size(16)));
    return reinterpret_cast<t_Units8>(
        _mm_packs_epi32(reinterpret_cast<__m128i>(reinterpret_cast<t_Signed>(x_Low << 16) >> 16),
                        reinterpret_cast<__m128i>(reinterpret_cast<t_Signed>(x_High << 16) >> 16)));
#else
    return __builtin_shufflevector(reinterpret_cast<t_Units8>(x_Low),
                                   reinterpret_cast<t_Units8>(x_High), 0, 2, 4, 6, 8, 10, 12, 14);
#endif
}

// The high halves of the lanes' products: shifts right by 16 less the multiplier's exponent.
inline t_Units8 x_MulHigh(t_Units8 x, t_Units8 x_By)
{
#if defined(__SSE2__)
    return reinterpret_cast<t_Units8>(
        _mm_mulhi_epu16(reinterpret_cast<__m128i>(x), reinterpret_cast<__m128i>(x_By)));
#else
    // Whole vectors, not a loop over the lanes, which GCC 12 vectorizes wrongly for i686 without
    // SSE.
    typedef std::uint32_t t_Wide __attribute__((vector_size(32)));
    return __builtin_convertvector(
        __builtin_convertvector(x, t_Wide) * __builtin_convertvector(x_By, t_Wide) >> 16, t_Units8);
#endif
}

// ---------------------------------------------------------------------------------------------
// Whole registers of AVX-512 (CT_VECTOR_COMPRESS)

#if defined(CT_VECTOR_COMPRESS)
// The mask of 64 lanes with the bits of n. With 32-bit registers it is joined from its halves in
// mask registers, since the compiler would join them in memory, from where a processor passes no
// two stores on to one load without waiting.
inline __mmask64 k_Lanes(std::uint64_t n)
{
#if __SIZEOF_POINTER__ >= 8
    return n;
#else
    return _mm512_kunpackd(_cvtu32_mask32(static_cast<std::uint32_t>(n >> 32)),
                           _cvtu32_mask32(static_cast<std::uint32_t>(n)));
#endif
}

// Bit i set for each byte lane i that is not 0.
template <typename TVector>
inline std::uint64_t n_NonZero(TVector x)
{
    const auto x_Whole = reinterpret_cast<__m512i>(x);
    return n_BitsOf(_mm512_test_epi8_mask(x_Whole, x_Whole));
}

// The byte lanes of x whose bits are set in n_Keep, in order from lane 0 on; the rest 0.
inline t_Bytes x_Compress(t_Bytes x, std::uint64_t n_Keep)
{
    return reinterpret_cast<t_Bytes>(
        _mm512_maskz_compress_epi8(k_Lanes(n_Keep), reinterpret_cast<__m512i>(x)));
}

// Lane i of the result is the lane of x that lane i of x_At names (its low six bits).
inline t_Bytes x_Permute(t_Bytes x, t_Bytes x_At)
{
    return reinterpret_cast<t_Bytes>(
        _mm512_permutexvar_epi8(reinterpret_cast<__m512i>(x_At), reinterpret_cast<__m512i>(x)));
}

// Lane i of the result is the lane of x_Low, or of x_High behind it, that lane i of x_At names
// (its low seven bits).
inline t_Bytes x_Permute(t_Bytes x_Low, t_Bytes x_High, t_Bytes x_At)
{
    return reinterpret_cast<t_Bytes>(_mm512_permutex2var_epi8(reinterpret_cast<__m512i>(x_Low),
                                                              reinterpret_cast<__m512i>(x_At),
                                                              reinterpret_cast<__m512i>(x_High)));
}

// The lanes' own numbers, 0 to 63.
inline t_Bytes x_LaneNumbers()
{
    return t_Bytes{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                   16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
                   32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47,
                   48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
}

// Byte lane i of the result: the eight bits of its 64-bit lane of x from the place that lane i
// of x_At names (its low six bits) on, wrapping around.
inline t_Bytes x_BitsAt(t_Bytes x_At, t_Bytes x)
{
    return reinterpret_cast<t_Bytes>(_mm512_multishift_epi64_epi8(reinterpret_cast<__m512i>(x_At),
                                                                  reinterpret_cast<__m512i>(x)));
}

// Writes the first i_Count (0 to 64) byte lanes of x, and nothing behind them.
inline void v_PutFirst(void* pv_Out, t_Bytes x, int i_Count)
{
    _mm512_mask_storeu_epi8(pv_Out, k_Lanes(n_Below(static_cast<int>(i_Count))),
                            reinterpret_cast<__m512i>(x));
}

// Writes the first i_Count (0 to 32) unit lanes of x, and nothing behind them.
inline void v_PutFirst(char16_t* pu_Out, t_Units x, int i_Count)
{
    _mm512_mask_storeu_epi16(pu_Out, _bzhi_u32(~0u, static_cast<unsigned>(i_Count)),
                             reinterpret_cast<__m512i>(x));
}

// The first i_Count (0 to 64) bytes at pv_In; the other lanes 0, and nothing behind is read.
inline t_Bytes x_LoadBytes(const void* pv_In, std::ptrdiff_t i_Count)
{
    return reinterpret_cast<t_Bytes>(
        _mm512_maskz_loadu_epi8(k_Lanes(n_Below(static_cast<int>(i_Count))), pv_In));
}

// The first i_Count (0 to 32) units at pu_In; the other lanes 0, and nothing behind is read.
inline t_Units x_LoadUnits(const char16_t* pu_In, std::ptrdiff_t i_Count)
{
    return reinterpret_cast<t_Units>(
        _mm512_maskz_loadu_epi16(_bzhi_u32(~0u, static_cast<unsigned>(i_Count)), pu_In));
}

// Bit i set for each unit lane i of x that is 0, or above n2_Bound.
inline std::uint64_t n_ZeroUnits(t_Units x)
{
    return n_BitsOf(
        _mm512_testn_epi16_mask(reinterpret_cast<__m512i>(x), reinterpret_cast<__m512i>(x)));
}

inline std::uint64_t n_UnitsAbove(t_Units x, std::uint16_t n2_Bound)
{
    return n_BitsOf(_mm512_cmpgt_epu16_mask(reinterpret_cast<__m512i>(x),
                                            _mm512_set1_epi16(static_cast<short>(n2_Bound))));
}

// The 32 bytes of x from lane 32 x i_Half on, as units.
inline t_Units x_WidenBytes(t_Bytes x, int i_Half)
{
    const auto x_Whole = reinterpret_cast<__m512i>(x);
    return reinterpret_cast<t_Units>(_mm512_cvtepu8_epi16(
        i_Half ? _mm512_extracti64x4_epi64(x_Whole, 1) : _mm512_castsi512_si256(x_Whole)));
}

// The 16 units of x from lane 16 x i_Half on, as words.
inline t_Words x_WidenUnits(t_Units x, int i_Half)
{
    const auto x_Whole = reinterpret_cast<__m512i>(x);
    return reinterpret_cast<t_Words>(_mm512_cvtepu16_epi32(
        i_Half ? _mm512_extracti64x4_epi64(x_Whole, 1) : _mm512_castsi512_si256(x_Whole)));
}

// Each unit lane of x_At (0 to 255) looked up among the 256 units of ax_Table.
inline t_Units x_LookUp(const t_Units (&ax_Table)[8], t_Units x_At)
{
    const auto x_Index = reinterpret_cast<__m512i>(x_At);
    __m512i ax_Quarters[4];
    for (int i = 0; i < 4; ++i)
        ax_Quarters[i] =
            _mm512_permutex2var_epi16(reinterpret_cast<__m512i>(ax_Table[2 * i]), x_Index,
                                      reinterpret_cast<__m512i>(ax_Table[2 * i + 1]));
    const __mmask32 n_From64 = _mm512_test_epi16_mask(x_Index, _mm512_set1_epi16(0x40));
    const __mmask32 n_From128 = _mm512_test_epi16_mask(x_Index, _mm512_set1_epi16(0x80));
    return reinterpret_cast<t_Units>(_mm512_mask_blend_epi16(
        n_From128, _mm512_mask_blend_epi16(n_From64, ax_Quarters[0], ax_Quarters[1]),
        _mm512_mask_blend_epi16(n_From64, ax_Quarters[2], ax_Quarters[3])));
}

// The 16-bit entries of pn_Table at the word lanes of x_At, each read as the low half of 32
// bits: the table holds one entry more than any index reaches.
inline t_Words x_Gather(const std::uint16_t* pn_Table, t_Words x_At)
{
    return reinterpret_cast<t_Words>(
               _mm512_i32gather_epi32(reinterpret_cast<__m512i>(x_At), pn_Table, 2)) &
           0xFFFF;
}

// Each byte lane of x looked up among the 256 bytes of ax_Table.
inline t_Bytes x_LookUp(const t_Bytes (&ax_Table)[4], t_Bytes x)
{
    const auto x_Index = reinterpret_cast<__m512i>(x);
    const auto x_Table = [&ax_Table](int i) { return reinterpret_cast<__m512i>(ax_Table[i]); };
    return reinterpret_cast<t_Bytes>(_mm512_mask_blend_epi8(
        _mm512_movepi8_mask(x_Index), _mm512_permutex2var_epi8(x_Table(0), x_Index, x_Table(1)),
        _mm512_permutex2var_epi8(x_Table(2), x_Index, x_Table(3))));
}

// Each unit lane from x_Set where its bit in n_Set is set, else from x_Clear.
inline t_Units x_Blend(std::uint64_t n_Set, t_Units x_Clear, t_Units x_Set)
{
    return reinterpret_cast<t_Units>(_mm512_mask_blend_epi16(static_cast<__mmask32>(n_Set),
                                                             reinterpret_cast<__m512i>(x_Clear),
                                                             reinterpret_cast<__m512i>(x_Set)));
}

// The low halves of the word lanes of x_Low, then those of x_High.
inline t_Units x_NarrowWords(t_Words x_Low, t_Words x_High)
{
    return reinterpret_cast<t_Units>(_mm512_inserti64x4(
        _mm512_castsi256_si512(_mm512_cvtepi32_epi16(reinterpret_cast<__m512i>(x_Low))),
        _mm512_cvtepi32_epi16(reinterpret_cast<__m512i>(x_High)), 1));
}

// The low bytes of the sixteen word lanes of x, written: sixteen bytes.
inline void v_PutLowBytes(void* pv_Out, t_Words x)
{
    _mm_storeu_si128(static_cast<__m128i*>(pv_Out),
                     _mm512_cvtepi32_epi8(reinterpret_cast<__m512i>(x)));
}
#endif
} // namespace
