// Character lookups against ICU and the C library: every code point U+0000 to U+FFFF classified
// once per iteration, by general category (u_charType), by a character-type flag (uppercase:
// u_isupper, iswupper), mapped to upper case (u_toupper, towupper) and folded to its digit
// (u_charDigitValue). The C library runs in the "C" locale. Names read lookup/library; rates
// are code points per second.
#include "System/Charset/CharMappings.h"
#include "System/Charset/CharProperties.h"

#include <benchmark/benchmark.h>
#include <unicode/uchar.h>

#include <cwctype>

namespace
{
constexpr unsigned sn_Units = 0x10000;

template <typename F>
void v_EveryCodePoint(benchmark::State& co_State, F fn_Lookup)
{
    for (auto _ : co_State)
    {
        unsigned n_Sum = 0;
        for (unsigned n = 0; n < sn_Units; ++n)
            n_Sum += static_cast<unsigned>(fn_Lookup(static_cast<char16_t>(n)));
        benchmark::DoNotOptimize(n_Sum);
    }
    co_State.SetItemsProcessed(static_cast<std::int64_t>(co_State.iterations()) * sn_Units);
}

template <typename F>
void v_Register(const char* qccz_Name, F fn_Lookup)
{
    benchmark::RegisterBenchmark(qccz_Name, [fn_Lookup](benchmark::State& co_State)
                                 { v_EveryCodePoint(co_State, fn_Lookup); });
}
} // namespace

int main(int i_Args, char** ppc_Args)
{
    using CP = CT_CharProperties;
    using CM = CT_CharMappings;
    v_Register("category/ours", [](char16_t u) { return CP::seo_GetUnicodeProperty(u); });
    v_Register("category/ICU", [](char16_t u) { return u_charType(u); });
    v_Register("type/ours",
               [](char16_t u) { return CP::sn2_GetCharacterInformation(u) & CP::sn2_Upper; });
    v_Register("type/ICU", [](char16_t u) { return u_isupper(u); });
    v_Register("type/std", [](char16_t u) { return std::iswupper(u); });
    v_Register("upper/ours", [](char16_t u) { return CM::su_ToUpper(u); });
    v_Register("upper/ICU", [](char16_t u) { return u_toupper(u); });
    v_Register("upper/std", [](char16_t u) { return std::towupper(u); });
    v_Register("digit/ours", [](char16_t u) { return CM::su_FoldDigit(u); });
    v_Register("digit/ICU", [](char16_t u) { return u_charDigitValue(u); });
    benchmark::Initialize(&i_Args, ppc_Args);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
