// The compressed string list against std::unordered_set, std::set and binary search in a sorted
// std::vector of std::string, on 100,000 English-like words (EnglishWords.h): building, looking
// up present and absent words, and the bytes each word costs (counter bytes_per_word: heap bytes
// held after building; for the list its image buffer, block header included).
//
// The list is built twice: in the order the words were made, and sorted. Building ends with
// pcco_GetBuffer, so that it includes packing the image into its stored form.
#include "Basis/Collection/CompList.h"

#include "EnglishWords.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <set>
#include <string>
#include <type_traits>
#include <unordered_set>
#include <vector>

// Live heap bytes of operator new, which the standard containers use; each block carries its
// size in front.
namespace
{
std::size_t sn_LiveBytes = 0;
constexpr std::size_t sn_Front = alignof(std::max_align_t);
} // namespace

void* operator new(std::size_t n_Size)
{
    auto* pc = static_cast<char*>(std::malloc(n_Size + sn_Front));
    if (!pc)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(pc) = n_Size;
    sn_LiveBytes += n_Size;
    return pc + sn_Front;
}

void operator delete(void* pv) noexcept
{
    if (!pv)
        return;
    char* pc = static_cast<char*>(pv) - sn_Front;
    sn_LiveBytes -= *reinterpret_cast<std::size_t*>(pc);
    std::free(pc);
}

void operator delete(void* pv, std::size_t) noexcept
{
    operator delete(pv);
}

namespace
{
constexpr unsigned sn_Words = 100000;

const std::vector<std::string>& a_Words()
{
    static const std::vector<std::string> a = ct_bench::a_EnglishWords(sn_Words);
    return a;
}

const std::vector<std::string>& a_Sorted()
{
    static const std::vector<std::string> a = []
    {
        std::vector<std::string> a_Copy = a_Words();
        std::sort(a_Copy.begin(), a_Copy.end());
        return a_Copy;
    }();
    return a;
}

// The words again, in an order of their own, to look up.
const std::vector<std::string>& a_Present()
{
    static const std::vector<std::string> a = []
    {
        std::vector<std::string> a_Copy = a_Words();
        ct_bench::CT_WordRandom co_Random(7);
        for (std::size_t n = a_Copy.size(); n > 1; --n)
            std::swap(a_Copy[n - 1], a_Copy[co_Random.n_Below(static_cast<unsigned>(n))]);
        return a_Copy;
    }();
    return a;
}

// Words of the same kind that are not in the set.
const std::vector<std::string>& a_Absent()
{
    static const std::vector<std::string> a = []
    {
        const std::unordered_set<std::string> co_Stored(a_Words().begin(), a_Words().end());
        std::vector<std::string> a_Other;
        for (const std::string& co : ct_bench::a_EnglishWords(2 * sn_Words, 43))
            if (!co_Stored.count(co) && a_Other.size() < sn_Words)
                a_Other.push_back(co);
        return a_Other;
    }();
    return a;
}

// One adapter per container: built from a word list, it answers whether a word is stored.
struct st_CompList
{
    explicit st_CompList(const std::vector<std::string>& a_From)
        : co(CT_CompList::eo_8Bit, 4, 0, 1, 0, 0)
    {
        for (unsigned n = 0; n < a_From.size(); ++n)
            co.b_Add(a_From[n].c_str(), n);
        co.pcco_GetBuffer();
    }
    bool b_Find(const std::string& co_Word) { return co.b_Search(co_Word.c_str()); }
    std::size_t n_Bytes() { return co.pcco_GetBuffer()->n_GetMaximumSize() + 12; }
    CT_CompList co;
};

struct st_UnorderedSet
{
    explicit st_UnorderedSet(const std::vector<std::string>& a_From)
        : co(a_From.begin(), a_From.end())
    {
    }
    bool b_Find(const std::string& co_Word) const { return co.count(co_Word) != 0; }
    std::unordered_set<std::string> co;
};

struct st_Set
{
    explicit st_Set(const std::vector<std::string>& a_From) : co(a_From.begin(), a_From.end()) {}
    bool b_Find(const std::string& co_Word) const { return co.count(co_Word) != 0; }
    std::set<std::string> co;
};

struct st_SortedVector
{
    explicit st_SortedVector(const std::vector<std::string>& a_From) : co(a_From)
    {
        std::sort(co.begin(), co.end());
    }
    bool b_Find(const std::string& co_Word) const
    {
        return std::binary_search(co.begin(), co.end(), co_Word);
    }
    std::vector<std::string> co;
};

template <typename T>
std::size_t n_BytesOf(T& o, std::size_t n_Before)
{
    if constexpr (std::is_same_v<T, st_CompList>)
        return o.n_Bytes();
    else
        return sn_LiveBytes - n_Before;
}

// Argument 1: build from the sorted words instead of in the order they were made.
template <typename T>
void BM_Build(benchmark::State& state)
{
    const std::vector<std::string>& a_From = state.range(0) ? a_Sorted() : a_Words();
    std::size_t n_Bytes = 0;
    for (auto _ : state)
    {
        const std::size_t n_Before = sn_LiveBytes;
        T o(a_From);
        n_Bytes = n_BytesOf(o, n_Before);
        benchmark::DoNotOptimize(o);
    }
    state.counters["bytes_per_word"] = double(n_Bytes) / sn_Words;
}

// One iteration is one lookup; argument 0 is 1 for absent words, argument 1 is 1 for a
// container built from the sorted words.
template <typename T>
void BM_Lookup(benchmark::State& state)
{
    static T ao[] = {T(a_Words()), T(a_Sorted())};
    T& o = ao[state.range(1)];
    const std::vector<std::string>& a_Queries = state.range(0) ? a_Absent() : a_Present();
    std::size_t n = 0;
    benchmark::IterationCount n_Found = 0;
    for (auto _ : state)
    {
        n_Found += o.b_Find(a_Queries[n]);
        n = n + 1 < a_Queries.size() ? n + 1 : 0;
    }
    if (n_Found != (state.range(0) ? 0 : state.iterations()))
        state.SkipWithError("wrong answers");
}

BENCHMARK_TEMPLATE(BM_Build, st_CompList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Build, st_UnorderedSet)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Build, st_Set)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Build, st_SortedVector)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Lookup, st_CompList)->ArgsProduct({{0, 1}, {0, 1}});
BENCHMARK_TEMPLATE(BM_Lookup, st_UnorderedSet)->ArgsProduct({{0, 1}, {0}});
BENCHMARK_TEMPLATE(BM_Lookup, st_Set)->ArgsProduct({{0, 1}, {0}});
BENCHMARK_TEMPLATE(BM_Lookup, st_SortedVector)->ArgsProduct({{0, 1}, {0}});
} // namespace
BENCHMARK_MAIN();
