// UTF-7 fuzz target: encoding or decoding chosen by the first byte (see FuzzCodec.h).
#include "FuzzCodec.h"

#include "System/String/UTF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    static const st_FuzzCodecs so_UTF7{
        {CT_UTF::sv_WideToUTF7Init, CT_UTF::si_WideToUTF7, CT_UTF::si_WideToUTF7Exit, 3, 3, 1},
        {CT_UTF::sv_UTF7ToWideInit, CT_UTF::si_UTF7ToWide, nullptr, 1, 0, 0}};
    return si_FuzzCodecs(so_UTF7, pc_Data, n_Size);
}
