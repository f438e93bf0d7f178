#include "System/String/UTF.h"

#include "Basis/Platform/VectorLevel.h"
#include "System/String/UTFCodecs.h"

#include <cassert>

namespace
{
// The codecs' state between calls, per thread (see UTFCodecs.h).
thread_local st_UTF7EncoderState sso_UTF7Encoder;
thread_local st_UTF7DecoderState sso_UTF7Decoder;
thread_local st_UTF8DecoderState sso_UTF8Decoder;

// The dispatch point: the codecs compiled for the chosen level.
const st_UTFCodecs* spso_Codecs = &so_UTFCodecsPlain;

void sv_Choose(CT_VectorLevel::et_Level eo_Level)
{
    static const st_UTFCodecs* const sapso_Levels[CT_VectorLevel::e_Levels] =
        CT_VECTOR_LEVELS(so_UTFCodecs);
    spso_Codecs = sapso_Levels[eo_Level];
}
} // namespace

thread_local int CT_UTF::si_BufferBits;
thread_local std::uint32_t CT_UTF::sn4_BitBuffer;
thread_local std::uint32_t CT_UTF::sn4_BufferTemp;

void CT_UTF::sv_Init()
{
    CT_VectorLevel::sv_Register(sv_Choose);
}

void CT_UTF::sv_SaveBits(std::uint32_t n4_BitBuffer, std::uint32_t n4_BufferTemp, int i_BufferBits)
{
    sn4_BitBuffer = n4_BitBuffer;
    sn4_BufferTemp = n4_BufferTemp;
    si_BufferBits = i_BufferBits;
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
    st_UTF7EncoderState& so_State = sso_UTF7Encoder;
    const int i_Bytes = spso_Codecs->pfn_WideToUTF7(so_State, pc_Out, pcu_In, i_Count);
    sv_SaveBits(so_State.so_Bits.n4_BitBuffer, so_State.so_Bits.n4_BufferTemp,
                so_State.so_Bits.i_BufferBits);
    return i_Bytes;
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
    st_UTF7DecoderState& so_State = sso_UTF7Decoder;
    const int i_Units = spso_Codecs->pfn_UTF7ToWide(so_State, pu_Out, pcc_In, i_Count);
    sv_SaveBits(so_State.so_Bits.n4_BitBuffer, so_State.so_Bits.n4_BufferTemp,
                so_State.so_Bits.i_BufferBits);
    return i_Units;
}

// ---------------------------------------------------------------------------------------------
// UTF-8

int CT_UTF::si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    return spso_Codecs->pfn_WideToUTF8(pc_Out, pcu_In, i_Count);
}

void CT_UTF::sv_UTF8ToWideInit()
{
    sso_UTF8Decoder = {};
}

int CT_UTF::si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Count)
{
    assert(i_Count >= 0 && "counts are exact");
    return spso_Codecs->pfn_UTF8ToWide(sso_UTF8Decoder, pu_Out, pcc_In, i_Count);
}
