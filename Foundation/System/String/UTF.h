// CT_UTF: the UTF-7 and UTF-8 codecs between 16-bit units and bytes.
//
// Units are coded one by one: surrogates are never paired, so every unit round-trips on its own.
// Malformed input never fails: UTF-7 decoding drops the bits of a run that ends inside a unit
// and passes bytes 0x80-0xFF outside a run as U+0080-U+00FF; UTF-8 decoding takes any lead byte
// at its table length, does not test continuation bytes, decodes overlong forms to their value
// and keeps the low 16 bits of four- to six-byte forms.
//
// The class owns the codec state between calls, and its tables, which the compiler builds. That
// state is per thread: an Init operation resets the calling thread's codec, and a text may be fed
// in consecutive pieces on one thread while another thread converts its own text. The codecs are
// compiled once per level of instruction sets (UTFCodecs.h); sv_Init registers the one dispatch
// point that chooses among them, so every level gives the same results. Counts are exact (never -1)
// and are the caller's duty; no codec reads past its count or leaves anything written behind its
// result (and terminator): the block paths write ahead only where later output of the same call
// lands. Output sizes, for a whole text fed in any pieces:
//   si_WideToUTF7 + si_WideToUTF7Exit   at most 3 x units + 3 bytes, terminator included;
//   si_WideToUTF8                       at most 3 x units + 1 bytes, terminator included;
//   si_UTF7ToWide, si_UTF8ToWide        at most one unit per byte read, no terminator.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdint>

class CT_EXPORT CT_UTF
{
public:
    // Registers the codecs' dispatch point (CT_VectorLevel); the module's static initialiser list
    // calls it once.
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
    // Stores the working values below, as a UTF-7 call leaves them.
    static void sv_SaveBits(std::uint32_t n4_BitBuffer, std::uint32_t n4_BufferTemp,
                            int i_BufferBits);

    // The working values of the UTF-7 bit buffer (its pending bits, left-aligned; the value last
    // taken out; the count of pending bits), as the last UTF-7 call on this thread left them. A
    // call works on its codec's saved copy in locals, so that no unit costs a thread-local access,
    // and stores the result here and into the saved copy on return.
    static thread_local int si_BufferBits;
    static thread_local std::uint32_t sn4_BitBuffer;
    static thread_local std::uint32_t sn4_BufferTemp;
};
