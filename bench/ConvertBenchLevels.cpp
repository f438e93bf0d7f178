// The library's own codecs, UTF-8 and UTF-7 both ways, timed at each level of instruction sets
// that this processor has, on the corpora of ConvertBench (ConvertBenchCorpus.h): the fastest of
// several runs (the one least disturbed by other work on the machine), in MB/s of input. It runs on
// both builds without Google Benchmark, so that the Windows DLL shows under Wine which paths it
// takes; ConvertBench measures the native build.
#include "Basis/Platform/VectorLevel.h"
#include "ConvertBenchCorpus.h"
#include "System/String/StringConvert.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int si_Runs = 25;

// The rate of the fastest of si_Runs conversions of n_Bytes of input, in MB/s.
template <typename TConvert>
double d_Rate(std::size_t n_Bytes, TConvert&& fn_Convert)
{
    std::vector<double> ad_Seconds;
    for (int i = 0; i < si_Runs; ++i)
    {
        const auto co_Start = std::chrono::steady_clock::now();
        fn_Convert();
        ad_Seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - co_Start).count());
    }
    return static_cast<double>(n_Bytes) / *std::min_element(ad_Seconds.begin(), ad_Seconds.end()) /
           1e6;
}
} // namespace

int main()
{
    static const char* const saqccz_Levels[] = {"Plain", "SSE2", "AVX2", "AVX512"};
    std::printf("highest level of this processor: %s\n",
                saqccz_Levels[CT_VectorLevel::seo_Supported()]);
    std::printf("MB/s of input      UTF-8 encode  UTF-8 decode  UTF-7 encode  UTF-7 decode\n");
    std::vector<char> ac_Bytes(3 * ct_bench::sn_CorpusUnits + 3);
    std::vector<char16_t> au_Units(ct_bench::sn_CorpusUnits + 1);
    for (const ct_bench::st_Corpus& so_Corpus : ct_bench::aso_Corpora())
        for (int i = 0; i <= CT_VectorLevel::seo_Supported(); ++i)
        {
            CT_VectorLevel::seo_Choose(static_cast<CT_VectorLevel::et_Level>(i));
            std::printf("%-9s %-6s", so_Corpus.qccz_Name, saqccz_Levels[i]);
            const std::u16string& co_Units = so_Corpus.co_Text;
            for (const unsigned n_CodePage : {65001u, 65000u})
            {
                int i_Bytes = 0;
                const double d_Encode =
                    d_Rate(2 * co_Units.size(),
                           [&]
                           {
                               i_Bytes = CT_StringConvert::si_WideToMulti(
                                   ac_Bytes.data(), co_Units.data(),
                                   static_cast<int>(co_Units.size()), n_CodePage);
                           });
                const double d_Decode =
                    d_Rate(static_cast<std::size_t>(i_Bytes),
                           [&] {
                               CT_StringConvert::si_MultiToWide(au_Units.data(), ac_Bytes.data(),
                                                                i_Bytes, n_CodePage);
                           });
                std::printf("  %12.0f  %12.0f", d_Encode, d_Decode);
            }
            std::printf("\n");
        }
    CT_VectorLevel::seo_Choose(CT_VectorLevel::e_Levels);
    return 0;
}
