// UTF-8 fuzz target: encoding or decoding chosen by the first byte (see FuzzCodec.h).
#include "FuzzCodec.h"

#include "System/String/UTF.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    static const st_FuzzCodecs so_UTF8{
        {nullptr, CT_UTF::si_WideToUTF8, nullptr, 3, 1, 1},
        {CT_UTF::sv_UTF8ToWideInit, CT_UTF::si_UTF8ToWide, nullptr, 1, 0, 0}};
    return si_FuzzCodecs(so_UTF8, pc_Data, n_Size);
}
