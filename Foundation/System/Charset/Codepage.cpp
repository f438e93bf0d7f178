#include "System/Charset/Codepage.h"

#include "Basis/Platform/Codepage.h"

#include <atomic>
#include <cstdint>

namespace
{
// The validity cache: two bits a number, "asked" and "valid", set together by one atomic OR, so
// that any thread may query at any time, also during static initialisation and exit (the table
// is zero-initialised data, never built or destroyed). Two threads asking the same new number
// both ask the platform and store the same answer. Windows' code page numbers are 16-bit; larger
// numbers are never valid and go to the platform uncached.
constexpr unsigned sn_Cached = 0x10000;
constexpr unsigned sn_PerWord = 16;
constexpr std::uint32_t sn_Asked = 1;
constexpr std::uint32_t sn_Valid = 2;

std::atomic<std::uint32_t> san_Cache[sn_Cached / sn_PerWord];
} // namespace

int CT_Codepage::sb_IsValidCodePage(unsigned n_CodePage)
{
    if (n_CodePage >= sn_Cached)
        return CT_PlatformCodepage::sb_IsValidCodePage(n_CodePage);
    std::atomic<std::uint32_t>& rn_Word = san_Cache[n_CodePage / sn_PerWord];
    const unsigned n_Shift = 2 * (n_CodePage % sn_PerWord);
    std::uint32_t n_Bits = rn_Word.load(std::memory_order_relaxed) >> n_Shift;
    if (!(n_Bits & sn_Asked))
    {
        n_Bits = sn_Asked | (CT_PlatformCodepage::sb_IsValidCodePage(n_CodePage) ? sn_Valid : 0);
        rn_Word.fetch_or(n_Bits << n_Shift, std::memory_order_relaxed);
    }
    return (n_Bits & sn_Valid) ? 1 : 0;
}
