// CT_UTF: the UTF-7 and UTF-8 codecs between 16-bit units and bytes.
//
// Units are coded one by one: surrogates are never paired, so every unit round-trips on its own.
// Malformed input never fails: UTF-7 decoding drops the bits of a run that ends inside a unit
// and passes bytes 0x80-0xFF outside a run as U+0080-U+00FF; UTF-8 decoding takes any lead byte
// at its table length, does not test continuation bytes, decodes overlong forms to their value
// and keeps the low 16 bits of four- to six-byte forms.
//
// The class owns its tables, built once by sv_Init during module load and read-only afterwards,
// and the codec state between calls. That state is per thread: an Init operation resets the
// calling thread's codec, and a text may be fed in consecutive pieces on one thread while
// another thread converts its own text. Counts are exact (never -1) and are the caller's duty;
// no codec reads past its count or leaves anything written behind its result (and terminator):
// the block paths write ahead only where later output of the same call lands. Output sizes,
// for a whole text fed in any pieces:
//   si_WideToUTF7 + si_WideToUTF7Exit   at most 3 x units + 3 bytes, terminator included;
//   si_WideToUTF8                       at most 3 x units + 1 bytes, terminator included;
//   si_UTF7ToWide, si_UTF8ToWide        at most one unit per byte read, no terminator.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdint>

class CT_EXPORT CT_UTF
{
public:
    // Builds the tables; the module's static initialiser list calls it once.
    static void sv_Init();

    // UTF-7. The encoder stops after a zero unit, which it writes as the terminator and does not
    // count; si_WideToUTF7Exit closes an open run and writes the terminator. The decoder stops
    // before a zero byte and writes no terminator.
    static void sv_WideToUTF7Init();
    static int si_WideToUTF7(char* pc_Out, const char16_t* pcu_In, int i_Count);
    static int si_WideToUTF7Exit(char* pc_Out);
    static void sv_UTF7ToWideInit();
    static int si_UTF7ToWide(char16_t* pu_Out, const char* pcc_In, int i_Count);

    // UTF-8. The encoder keeps no state, stops after a zero unit and always writes the
    // terminator behind its output. The decoder stops before a zero byte and writes no
    // terminator; a sequence cut off by the end of the input waits for the next call.
    static int si_WideToUTF8(char* pc_Out, const char16_t* pcu_In, int i_Count);
    static void sv_UTF8ToWideInit();
    static int si_UTF8ToWide(char16_t* pu_Out, const char* pcc_In, int i_Count);

private:
    // The UTF-7 bit buffer. Pending bits are left-aligned in n4_BitBuffer, most significant
    // first; every bit below the i_BufferBits valid ones is 0. Between calls the encoder keeps
    // 0 to 5 bits (a unit's bits that do not fill a base64 digit yet), the decoder 0 to 15 (the
    // digits of a unit not complete yet). n4_BufferTemp is the last value taken out: a 6-bit
    // digit value in the encoder, a unit in the decoder (0 after a run that the decoder's window
    // path ended); no result depends on it. The block paths keep no bits pending when they stop
    // inside a run.
    struct st_Bits
    {
        std::uint32_t n4_BitBuffer;
        std::uint32_t n4_BufferTemp;
        int i_BufferBits;
    };

    // UTF-7 encoder state between calls. b_InShift: a run is open ('+' written, no '-' yet).
    // Reset by sv_WideToUTF7Init and by a zero unit (which closes the run).
    struct st_UTF7Encoder
    {
        int b_InShift;
        st_Bits so_Bits;
    };

    // UTF-7 decoder state between calls. b_InShift: a '+' opened a run that no byte outside
    // the base64 alphabet has closed yet. b_First: that run has no digit yet, so a '-' now
    // means '+'. c_Last: the last byte read. Reset by sv_UTF7ToWideInit; the end of a run
    // resets the flags and the bits.
    struct st_UTF7Decoder
    {
        int b_InShift;
        int b_First;
        unsigned char c_Last;
        st_Bits so_Bits;
    };

    // UTF-8 decoder state between calls: a sequence cut off by the end of the input.
    // i_ToRead: its bytes still to come (0: none pending). n4_Value: the bytes read so far,
    // each added in and the sum shifted left by 6 before the next one (unsigned wrap-around
    // is harmless, only the low 16 bits of the result are kept). i_Trailing: the sequence's
    // trailing-byte count, which selects the offset. Reset by sv_UTF8ToWideInit.
    struct st_UTF8Decoder
    {
        int i_ToRead;
        std::uint32_t n4_Value;
        int i_Trailing;
    };

    static void sv_SaveBits(const st_Bits& so_Bits);

    // The working values of the UTF-7 bit buffer, as the last UTF-7 call on this thread left
    // them. A call works on its codec's saved copy in locals, so that no unit costs a
    // thread-local access, and stores the result here and into the saved copy on return.
    static thread_local int si_BufferBits;
    static thread_local std::uint32_t sn4_BitBuffer;
    static thread_local std::uint32_t sn4_BufferTemp;

    static thread_local st_UTF7Encoder sso_UTF7Encoder;
    static thread_local st_UTF7Decoder sso_UTF7Decoder;
    static thread_local st_UTF8Decoder sso_UTF8Decoder;
};
