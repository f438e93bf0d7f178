// The 8-bit string and the shared buffer against std::string: building by single characters,
// copying (shared block against deep copy) and searching.
#include "System/String/CString.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
constexpr unsigned sn_Size = 1u << 20;

char c_Letter(unsigned i)
{
    return static_cast<char>('a' + i % 26);
}

void BM_CStringAppendChar(benchmark::State& state)
{
    for (auto _ : state)
    {
        CT_CString co_Text;
        for (unsigned i = 0; i < sn_Size; ++i)
            co_Text.v_Append(c_Letter(i));
        benchmark::DoNotOptimize(co_Text.qccz_Get());
    }
    state.SetBytesProcessed(state.iterations() * sn_Size);
}
BENCHMARK(BM_CStringAppendChar)->Unit(benchmark::kMillisecond);

void BM_StdStringPushBack(benchmark::State& state)
{
    for (auto _ : state)
    {
        std::string o_Text;
        for (unsigned i = 0; i < sn_Size; ++i)
            o_Text.push_back(c_Letter(i));
        benchmark::DoNotOptimize(o_Text.data());
    }
    state.SetBytesProcessed(state.iterations() * sn_Size);
}
BENCHMARK(BM_StdStringPushBack)->Unit(benchmark::kMillisecond);

std::string o_Text(unsigned n_Size)
{
    std::string o;
    for (unsigned i = 0; i < n_Size; ++i)
        o.push_back(c_Letter(i));
    return o;
}

// One iteration is 1,000 copies of a 1 MB string, each destroyed again.
void BM_CStringCopyShared(benchmark::State& state)
{
    std::string o_Source = o_Text(sn_Size);
    CT_CString co_Source(o_Source.data(), sn_Size);
    for (auto _ : state)
    {
        for (int i = 0; i < 1000; ++i)
        {
            CT_CString co_Copy(&co_Source);
            benchmark::DoNotOptimize(co_Copy.qccz_Get());
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_CStringCopyShared)->Unit(benchmark::kMicrosecond);

void BM_StdStringCopy(benchmark::State& state)
{
    std::string o_Source = o_Text(sn_Size);
    for (auto _ : state)
    {
        for (int i = 0; i < 1000; ++i)
        {
            std::string o_Copy(o_Source);
            benchmark::DoNotOptimize(o_Copy.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_StdStringCopy)->Unit(benchmark::kMicrosecond);

// The needle stands only at the end, after many partial matches of its first bytes.
const char sac_Needle[] = "abcdefghijklmnopqrstuvwxyz!";

void BM_BufferFind(benchmark::State& state)
{
    std::string o_Haystack = o_Text(sn_Size) + sac_Needle;
    CT_Buffer co_Buffer(o_Haystack.data(), static_cast<unsigned>(o_Haystack.size()), 32);
    for (auto _ : state)
        benchmark::DoNotOptimize(co_Buffer.n_Find(sac_Needle, sizeof(sac_Needle) - 1, 0));
    state.SetBytesProcessed(state.iterations() * o_Haystack.size());
}
BENCHMARK(BM_BufferFind)->Unit(benchmark::kMicrosecond);

void BM_StdStringFind(benchmark::State& state)
{
    std::string o_Haystack = o_Text(sn_Size) + sac_Needle;
    for (auto _ : state)
        benchmark::DoNotOptimize(o_Haystack.find(sac_Needle));
    state.SetBytesProcessed(state.iterations() * o_Haystack.size());
}
BENCHMARK(BM_StdStringFind)->Unit(benchmark::kMicrosecond);
} // namespace

BENCHMARK_MAIN();
