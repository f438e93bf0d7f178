// Reading a text file line by line: the plain and the sequential 8-bit line readers against
// std::getline on an std::ifstream and POSIX getline on a FILE*. The file, 100 MB of typical
// lines (words of varied length, 0 to about 120 characters a line, ended by CR LF), is made at
// the start in the temporary folder and removed at the end.
#include "Basis/File/FileSystem.h"
#include "Basis/File/WinFile.h"
#include "System/String/CString.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace
{
constexpr std::size_t sn_FileSize = 100u << 20;

class CT_TextFile
{
public:
    CT_TextFile()
    {
        CT_FileSystem::sv_MakeTemporaryName(&co_Name, u"ctbench", u"txt", 0);
        co_Path.v_Set(&co_Name);
        std::ofstream co_Out(co_Path.qccz_Get(), std::ios::binary);
        unsigned n_Seed = 12345;
        auto n_Random = [&n_Seed](unsigned n_Range)
        {
            n_Seed = n_Seed * 1103515245u + 12345u;
            return (n_Seed >> 16) % n_Range;
        };
        static const char* const saqccz_Words[] = {
            "the", "verifier", "reports", "a",           "tag",      "mismatch",
            "in",  "segment",  "of",      "translation", "original", "file",
            "and", "<b>",      "</b>",    "42",          "line",     "text"};
        std::string co_Line;
        for (std::size_t n_Written = 0; n_Written < sn_FileSize; n_Written += co_Line.size())
        {
            co_Line.clear();
            for (unsigned n = n_Random(20); n > 0; --n)
                (co_Line += saqccz_Words[n_Random(std::size(saqccz_Words))]) += ' ';
            co_Line += "\r\n";
            co_Out << co_Line;
        }
    }
    ~CT_TextFile() { std::remove(co_Path.qccz_Get()); }

    CT_UString co_Name;
    CT_CString co_Path;
};

const CT_TextFile& rco_File()
{
    static const CT_TextFile sco_File;
    return sco_File;
}

// Lines and characters read, so that nothing is optimised away, and the bytes of the file.
void v_Count(benchmark::State& state, std::size_t n_Lines, std::size_t n_Characters)
{
    benchmark::DoNotOptimize(n_Characters);
    state.counters["lines"] = static_cast<double>(n_Lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sn_FileSize));
}

// A 0 result ends both readers; the sequential one may hand the last line over with it.
void BM_Library(benchmark::State& state, bool b_Sequential)
{
    std::size_t n_Lines = 0, n_Characters = 0;
    for (auto _ : state)
    {
        CT_WinFile co_File(&rco_File().co_Name, 0);
        co_File.vv_Open(CT_File::eo_AccessRead, CT_File::eo_OpenExisting, CT_File::eo_ShareRead,
                        CT_File::sn_AttributeNormal, CT_File::sn_FlagSequentialScan);
        CT_CString co_Line;
        for (n_Lines = 0;; ++n_Lines)
        {
            unsigned n = b_Sequential ? co_File.n_ReadLineCSequential(&co_Line, nullptr)
                                      : co_File.n_ReadLineC(&co_Line, nullptr);
            unsigned n_Length = co_Line.n_GetLength();
            n_Characters += n_Length;
            if (n == 0)
            {
                n_Lines += n_Length != 0;
                break;
            }
        }
    }
    v_Count(state, n_Lines, n_Characters);
}
BENCHMARK_CAPTURE(BM_Library, ReadLineC, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Library, ReadLineCSequential, true)->Unit(benchmark::kMillisecond);

void BM_StdGetline(benchmark::State& state)
{
    std::size_t n_Lines = 0, n_Characters = 0;
    for (auto _ : state)
    {
        std::ifstream co_In(rco_File().co_Path.qccz_Get(), std::ios::binary);
        std::string co_Line;
        for (n_Lines = 0; std::getline(co_In, co_Line); ++n_Lines)
            n_Characters += co_Line.size();
    }
    v_Count(state, n_Lines, n_Characters);
}
BENCHMARK(BM_StdGetline)->Name("std::getline")->Unit(benchmark::kMillisecond);

void BM_PosixGetline(benchmark::State& state)
{
    std::size_t n_Lines = 0, n_Characters = 0;
    char* pc_Line = nullptr;
    std::size_t n_Capacity = 0;
    for (auto _ : state)
    {
        std::FILE* pso_In = std::fopen(rco_File().co_Path.qccz_Get(), "rb");
        ssize_t i_Length;
        for (n_Lines = 0; (i_Length = getline(&pc_Line, &n_Capacity, pso_In)) >= 0; ++n_Lines)
            n_Characters += static_cast<std::size_t>(i_Length);
        std::fclose(pso_In);
    }
    std::free(pc_Line);
    v_Count(state, n_Lines, n_Characters);
}
BENCHMARK(BM_PosixGetline)->Name("POSIX getline")->Unit(benchmark::kMillisecond);
} // namespace
BENCHMARK_MAIN();
