// Distinct English-like words for the benchmarks, made the same on every machine: stems of one
// or two syllables (onset, vowel, coda) with now and then a prefix and often a suffix, so that
// words share beginnings as a dictionary's do. 100,000 words average 9.6 letters, and a word
// shares 6.1 letters on average with the one before it in sorted order.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <unordered_set>
#include <vector>

namespace ct_bench
{
// splitmix64: small, and the same sequence everywhere.
class CT_WordRandom
{
public:
    explicit CT_WordRandom(std::uint64_t n_Seed) : n_State(n_Seed) {}
    unsigned n_Below(unsigned n)
    {
        std::uint64_t z = n_State += 0x9E3779B97F4A7C15u;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return static_cast<unsigned>((z ^ (z >> 31)) % n);
    }
    template <typename T, std::size_t N>
    const T& o_Pick(const T (&a)[N])
    {
        return a[n_Below(N)];
    }

private:
    std::uint64_t n_State;
};

inline std::string co_Syllable(CT_WordRandom& co_Random)
{
    static const char* const apc_Onsets[] = {
        "b",  "c",  "d",  "f",  "g",  "h",  "l",  "m",   "n",  "p",  "r",  "s",  "t",  "w",
        "b",  "c",  "d",  "f",  "g",  "h",  "j",  "k",   "l",  "m",  "n",  "p",  "r",  "s",
        "t",  "v",  "w",  "y",  "bl", "br", "ch", "cl",  "cr", "dr", "fl", "fr", "gl", "gr",
        "pl", "pr", "sc", "sh", "sl", "sp", "st", "str", "th", "tr", "qu"};
    static const char* const apc_Vowels[] = {"a", "e", "i",  "o",  "u",  "a",  "e",  "i", "o",
                                             "a", "e", "ea", "ee", "ai", "ou", "oo", "y"};
    static const char* const apc_Codas[] = {"",   "",   "",   "",   "n",  "r",  "s",
                                            "t",  "l",  "m",  "d",  "ck", "ng", "nd",
                                            "nt", "st", "sh", "ll", "ss", "rt"};
    std::string co;
    if (co_Random.n_Below(5) != 0)
        co += co_Random.o_Pick(apc_Onsets);
    co += co_Random.o_Pick(apc_Vowels);
    co += co_Random.o_Pick(apc_Codas);
    return co;
}

// n distinct words in the order they were made; another seed makes other words.
inline std::vector<std::string> a_EnglishWords(std::size_t n, std::uint64_t n_Seed = 42)
{
    static const char* const apc_Prefixes[] = {"un",  "re",  "in",    "dis", "pre", "over", "out",
                                               "mis", "sub", "inter", "de",  "con", "com",  "pro"};
    static const char* const apc_Suffixes[] = {"",     "",    "",     "s",    "ed",   "ing",  "er",
                                               "ers",  "ly",  "ness", "tion", "ment", "able", "ful",
                                               "less", "ist", "ism",  "ity",  "ous",  "ive",  "al",
                                               "ize",  "est", "ish",  "es",   "ings", "ions"};
    CT_WordRandom co_Random(n_Seed);
    std::vector<std::string> a_Stems;
    std::unordered_set<std::string> co_Seen;
    while (a_Stems.size() < n / 5)
    {
        std::string co_Stem = co_Syllable(co_Random);
        if (co_Random.n_Below(2) != 0)
            co_Stem += co_Syllable(co_Random);
        if (co_Stem.size() >= 3 && co_Seen.insert(co_Stem).second)
            a_Stems.push_back(co_Stem);
    }
    co_Seen.clear();
    std::vector<std::string> a_Words;
    while (a_Words.size() < n)
    {
        std::string co_Word = co_Random.n_Below(10) == 0 ? co_Random.o_Pick(apc_Prefixes) : "";
        co_Word += a_Stems[co_Random.n_Below(static_cast<unsigned>(a_Stems.size()))];
        co_Word += co_Random.o_Pick(apc_Suffixes);
        if (co_Seen.insert(co_Word).second)
            a_Words.push_back(co_Word);
    }
    return a_Words;
}
} // namespace ct_bench
