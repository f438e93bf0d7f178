// The bodies of CT_UTF's codecs, compiled once per level of instruction sets (UTFCodecs.cpp; see
// Basis/Platform/Vector.h), and the codec state that CT_UTF keeps for them between calls, per
// thread. Internal to CT_UTF, which points its one dispatch point at a level's st_UTFCodecs.
#pragma once

#include <cstdint>

// The UTF-7 bit buffer. Pending bits are left-aligned in n4_BitBuffer, most significant first;
// every bit below the i_BufferBits valid ones is 0. Between calls the encoder keeps 0 to 5 bits
// (a unit's bits that do not fill a base64 digit yet), the decoder 0 to 15 (the digits of a unit
// not complete yet). n4_BufferTemp is the last value taken out: a 6-bit digit value in the
// encoder, a unit in the decoder (0 after a run that the decoder's window path ended); no result
// depends on it. The block paths keep no bits pending when they stop inside a run.
struct st_UTFBits
{
    std::uint32_t n4_BitBuffer;
    std::uint32_t n4_BufferTemp;
    int i_BufferBits;
};

// UTF-7 encoder state between calls. b_InShift: a run is open ('+' written, no '-' yet). Reset by
// sv_WideToUTF7Init and by a zero unit (which closes the run).
struct st_UTF7EncoderState
{
    int b_InShift;
    st_UTFBits so_Bits;
};

// UTF-7 decoder state between calls. b_InShift: a '+' opened a run that no byte outside the
// base64 alphabet has closed yet. b_First: that run has no digit yet, so a '-' now means '+'.
// c_Last: the last byte read. Reset by sv_UTF7ToWideInit; the end of a run resets the flags and
// the bits.
struct st_UTF7DecoderState
{
    int b_InShift;
    int b_First;
    unsigned char c_Last;
    st_UTFBits so_Bits;
};

// UTF-8 decoder state between calls: a sequence cut off by the end of the input. i_ToRead: its
// bytes still to come (0: none pending). n4_Value: the bytes read so far, each added in and the
// sum shifted left by 6 before the next one (unsigned wrap-around is harmless, only the low 16
// bits of the result are kept). i_Trailing: the sequence's trailing-byte count, which selects the
// offset. Reset by sv_UTF8ToWideInit.
struct st_UTF8DecoderState
{
    int i_ToRead;
    std::uint32_t n4_Value;
    int i_Trailing;
};

// One level's codecs: CT_UTF's operations of the same names, on the state given (the UTF-8
// encoder has none). Counts are exact.
struct st_UTFCodecs
{
    int (*pfn_WideToUTF7)(st_UTF7EncoderState& so_State, char* pc_Out, const char16_t* pcu_In,
                          int i_Count);
    int (*pfn_UTF7ToWide)(st_UTF7DecoderState& so_State, char16_t* pu_Out, const char* pcc_In,
                          int i_Count);
    int (*pfn_WideToUTF8)(char* pc_Out, const char16_t* pcu_In, int i_Count);
    int (*pfn_UTF8ToWide)(st_UTF8DecoderState& so_State, char16_t* pu_Out, const char* pcc_In,
                          int i_Count);
};

// The levels that the build compiles: e_Plain and e_SSE2 on every processor, the others on x86.
extern const st_UTFCodecs so_UTFCodecsPlain, so_UTFCodecsSSE2;
#if defined(__i386__) || defined(__x86_64__)
extern const st_UTFCodecs so_UTFCodecsAVX2, so_UTFCodecsAVX512;
#endif
