// Text conversion against ICU and glibc's iconv, with memcpy of the same input bytes as the
// limit: UTF-8 and UTF-7 in both directions on ASCII, mixed European and Japanese text, code
// page 1252 on the first two and code page 932 on ASCII and Japanese. The corpora are 1 MB of
// UTF-16 each (ConvertBenchCorpus.h); the 8-bit inputs are those texts as the library encodes
// them. Rates are bytes of input per second.
// Names read encoding/direction/corpus/library; bench/convert-table turns the JSON output of a
// run into the table of rates with the ratios against ICU.
//
// Before the runs start every conversion is checked once against the library's output (UTF-7
// encoding only for a non-empty result, since ICU and iconv choose other optional forms), so
// that no rate measures a failed or partial conversion.
//
// The library runs at the highest level of instruction sets that the processor has (the first
// line of the output names it); --level=Plain, SSE2, AVX2 or AVX512 chooses a lower one.
#include "Basis/Platform/VectorLevel.h"
#include "ConvertBenchCorpus.h"
#include "System/String/StringConvert.h"

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace
{
using ct_bench::aso_Corpora;
using ct_bench::st_Corpus;

// ---------------------------------------------------------------------------------------------
// Conversions

// One conversion of a whole text: input bytes in, returns the output bytes written.
using t_Convert = std::function<std::size_t(const char*, std::size_t, char*)>;

// The library's conversion of one encoding, both ways, with the output room it documents.
struct st_Encoding
{
    const char* qccz_Name;
    unsigned n_CodePage;
    const char* qccz_Icu;
    const char* qccz_Iconv;
    std::vector<const char*> co_Corpora;
    // 8-bit bytes at most per unit.
    std::size_t n_PerUnit;
};

const std::vector<st_Encoding>& aso_Encodings()
{
    static const std::vector<st_Encoding> saso{
        {"UTF-8", 65001, "UTF-8", "UTF-8", {"ASCII", "European", "CJK"}, 3},
        {"UTF-7", 65000, "UTF-7", "UTF-7", {"ASCII", "European", "CJK"}, 3},
        {"CP1252", 1252, "windows-1252", "CP1252", {"ASCII", "European"}, 2},
        {"CP932", 932, "windows-932", "CP932", {"ASCII", "CJK"}, 2}};
    return saso;
}

int i_Units(std::size_t n_Bytes)
{
    return static_cast<int>(n_Bytes / sizeof(char16_t));
}

const char16_t* pcu_Units(const char* pcc_Bytes)
{
    return reinterpret_cast<const char16_t*>(pcc_Bytes);
}

char16_t* pu_Units(char* pc_Bytes)
{
    return reinterpret_cast<char16_t*>(pc_Bytes);
}

t_Convert fn_Ours(const st_Encoding& so_Encoding, bool b_Encode)
{
    const unsigned n_CodePage = so_Encoding.n_CodePage;
    if (b_Encode)
        return [n_CodePage](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
        {
            return static_cast<std::size_t>(CT_StringConvert::si_WideToMulti(
                pc_Out, pcu_Units(pcc_In), i_Units(n_In), n_CodePage));
        };
    return [n_CodePage](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
    {
        return sizeof(char16_t) *
               static_cast<std::size_t>(CT_StringConvert::si_MultiToWide(
                   pu_Units(pc_Out), pcc_In, static_cast<int>(n_In), n_CodePage));
    };
}

// UTF-8 through ICU's dedicated string functions, the rest through a converter.
t_Convert fn_Icu(const st_Encoding& so_Encoding, bool b_Encode)
{
    if (so_Encoding.n_CodePage == 65001)
    {
        if (b_Encode)
            return [](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
            {
                UErrorCode e = U_ZERO_ERROR;
                int32_t n_Out = 0;
                u_strToUTF8(pc_Out, static_cast<int32_t>(3 * n_In), &n_Out, pcu_Units(pcc_In),
                            i_Units(n_In), &e);
                return U_SUCCESS(e) ? static_cast<std::size_t>(n_Out) : 0;
            };
        return [](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
        {
            UErrorCode e = U_ZERO_ERROR;
            int32_t n_Out = 0;
            u_strFromUTF8(pu_Units(pc_Out), static_cast<int32_t>(n_In), &n_Out, pcc_In,
                          static_cast<int32_t>(n_In), &e);
            return U_SUCCESS(e) ? sizeof(char16_t) * static_cast<std::size_t>(n_Out) : 0;
        };
    }
    UErrorCode e = U_ZERO_ERROR;
    std::shared_ptr<UConverter> po_Converter(ucnv_open(so_Encoding.qccz_Icu, &e), ucnv_close);
    if (U_FAILURE(e))
        return {};
    if (b_Encode)
        return [po_Converter](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
        {
            UErrorCode e = U_ZERO_ERROR;
            const int32_t n_Out =
                ucnv_fromUChars(po_Converter.get(), pc_Out, static_cast<int32_t>(3 * n_In + 8),
                                pcu_Units(pcc_In), i_Units(n_In), &e);
            return U_SUCCESS(e) ? static_cast<std::size_t>(n_Out) : 0;
        };
    return [po_Converter](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
    {
        UErrorCode e = U_ZERO_ERROR;
        const int32_t n_Out =
            ucnv_toUChars(po_Converter.get(), pu_Units(pc_Out), static_cast<int32_t>(n_In + 1),
                          pcc_In, static_cast<int32_t>(n_In), &e);
        return U_SUCCESS(e) ? sizeof(char16_t) * static_cast<std::size_t>(n_Out) : 0;
    };
}

t_Convert fn_Iconv(const st_Encoding& so_Encoding, bool b_Encode)
{
    iconv_t po = b_Encode ? iconv_open(so_Encoding.qccz_Iconv, "UTF-16LE")
                          : iconv_open("UTF-16LE", so_Encoding.qccz_Iconv);
    if (po == reinterpret_cast<iconv_t>(-1))
        return {};
    std::shared_ptr<void> po_Converter(po, iconv_close);
    return [po_Converter](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
    {
        iconv(po_Converter.get(), nullptr, nullptr, nullptr, nullptr);
        char* pc_In = const_cast<char*>(pcc_In);
        char* pc_Next = pc_Out;
        std::size_t n_Left = n_In, n_Room = 3 * n_In + 8;
        if (iconv(po_Converter.get(), &pc_In, &n_Left, &pc_Next, &n_Room) == std::size_t(-1) ||
            iconv(po_Converter.get(), nullptr, nullptr, &pc_Next, &n_Room) == std::size_t(-1))
            return 0;
        return static_cast<std::size_t>(pc_Next - pc_Out);
    };
}

t_Convert fn_Memcpy(const st_Encoding&, bool)
{
    return [](const char* pcc_In, std::size_t n_In, char* pc_Out) -> std::size_t
    {
        std::memcpy(pc_Out, pcc_In, n_In);
        return n_In;
    };
}

// ---------------------------------------------------------------------------------------------
// Registration

struct st_Library
{
    const char* qccz_Name;
    t_Convert (*pfn_Make)(const st_Encoding&, bool);
};

constexpr st_Library sao_Libraries[] = {
    {"ours", fn_Ours}, {"ICU", fn_Icu}, {"iconv", fn_Iconv}, {"memcpy", fn_Memcpy}};

std::string co_Bytes(const std::u16string& co_Text)
{
    return std::string(reinterpret_cast<const char*>(co_Text.data()),
                       co_Text.size() * sizeof(char16_t));
}

// One (encoding, direction, corpus): the input, the library's output that the others must match,
// and the output room that every library gets.
struct st_Case
{
    std::string co_In, co_Expected;
    std::size_t n_Room;
    bool b_Comparable;
};

st_Case so_Case(const st_Encoding& so_Encoding, const std::u16string& co_Text, bool b_Encode)
{
    const std::string co_Units = co_Bytes(co_Text);
    std::string co_Encoded(so_Encoding.n_PerUnit * co_Text.size() + 8, '\0');
    co_Encoded.resize(
        fn_Ours(so_Encoding, true)(co_Units.data(), co_Units.size(), co_Encoded.data()));
    const bool b_Utf7 = so_Encoding.n_CodePage == 65000;
    if (b_Encode)
        return {co_Units, co_Encoded, 3 * co_Units.size() + 8, !b_Utf7};
    return {co_Encoded, co_Units, 2 * co_Encoded.size() + 8, true};
}

void v_Register(const st_Encoding& so_Encoding, const st_Corpus& so_Corpus, bool b_Encode)
{
    auto pso_Case =
        std::make_shared<const st_Case>(so_Case(so_Encoding, so_Corpus.co_Text, b_Encode));
    for (const st_Library& so_Library : sao_Libraries)
    {
        const std::string co_Name = std::string(so_Encoding.qccz_Name) +
                                    (b_Encode ? "/Encode/" : "/Decode/") + so_Corpus.qccz_Name +
                                    "/" + so_Library.qccz_Name;
        t_Convert fn = so_Library.pfn_Make(so_Encoding, b_Encode);
        const bool b_Check = pso_Case->b_Comparable && so_Library.pfn_Make != fn_Memcpy;
        benchmark::RegisterBenchmark(
            co_Name.c_str(),
            [pso_Case, fn, b_Check](benchmark::State& so_State)
            {
                std::vector<char> a_Out(pso_Case->n_Room);
                const auto v_Convert = [&]
                { return fn(pso_Case->co_In.data(), pso_Case->co_In.size(), a_Out.data()); };
                if (!fn)
                    so_State.SkipWithError("conversion not available");
                else if (const std::size_t n = v_Convert();
                         n == 0 ||
                         (b_Check && std::string_view(a_Out.data(), n) != pso_Case->co_Expected))
                    so_State.SkipWithError("output differs from the library's");
                for (auto _ : so_State)
                    benchmark::DoNotOptimize(v_Convert());
                so_State.SetBytesProcessed(
                    static_cast<std::int64_t>(so_State.iterations() * pso_Case->co_In.size()));
            })
            ->Unit(benchmark::kMicrosecond);
    }
}

constexpr const char* saqccz_Levels[] = {"Plain", "SSE2", "AVX2", "AVX512"};

// Takes --level=NAME out of the arguments and chooses that level; false for an unknown name.
bool b_ChooseLevel(int& i_Argc, char** ppc_Argv)
{
    constexpr std::string_view sco_Option = "--level=";
    for (int i = 1; i < i_Argc; ++i)
    {
        const std::string_view co_Arg = ppc_Argv[i];
        if (co_Arg.substr(0, sco_Option.size()) != sco_Option)
            continue;
        int i_Level = 0;
        while (i_Level < CT_VectorLevel::e_Levels &&
               co_Arg.substr(sco_Option.size()) != saqccz_Levels[i_Level])
            ++i_Level;
        if (i_Level == CT_VectorLevel::e_Levels)
            return false;
        CT_VectorLevel::seo_Choose(static_cast<CT_VectorLevel::et_Level>(i_Level));
        std::copy(ppc_Argv + i + 1, ppc_Argv + i_Argc--, ppc_Argv + i);
        break;
    }
    return true;
}
} // namespace

int main(int i_Argc, char** ppc_Argv)
{
    if (!b_ChooseLevel(i_Argc, ppc_Argv))
    {
        std::fprintf(stderr, "--level takes Plain, SSE2, AVX2 or AVX512\n");
        return 1;
    }
    std::printf("level of instruction sets: %s (the processor's highest: %s)\n",
                saqccz_Levels[CT_VectorLevel::seo_Current()],
                saqccz_Levels[CT_VectorLevel::seo_Supported()]);
    for (const st_Encoding& so_Encoding : aso_Encodings())
        for (const bool b_Encode : {true, false})
            for (const st_Corpus& so_Corpus : aso_Corpora())
                for (const char* qccz_Corpus : so_Encoding.co_Corpora)
                    if (std::string_view(qccz_Corpus) == so_Corpus.qccz_Name)
                        v_Register(so_Encoding, so_Corpus, b_Encode);
    benchmark::Initialize(&i_Argc, ppc_Argv);
    if (benchmark::ReportUnrecognizedArguments(i_Argc, ppc_Argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
