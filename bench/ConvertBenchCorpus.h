// The corpora of the conversion benchmarks: 1 MB of UTF-16 each (ASCII, mixed European, Japanese),
// generated from fixed word lists by a fixed pseudo-random sequence, so that every run and every
// machine sees the same text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ct_bench
{
constexpr std::size_t sn_CorpusUnits = std::size_t{1} << 19; // 1 MB of UTF-16

// A fixed linear congruential sequence, so that every run and every machine sees the same text.
class CT_Sequence
{
public:
    unsigned n_Next(unsigned n_Bound)
    {
        n4_State = n4_State * 1103515245u + 12345u;
        return (n4_State >> 16) % n_Bound;
    }

private:
    std::uint32_t n4_State = 2024;
};

// Sentences of words drawn from the list, each ended by a full stop, with a line break after
// every few; the words of one script are separated as that script does.
inline std::u16string co_Corpus(const std::vector<std::u16string_view>& co_Words,
                                std::u16string_view co_Space, std::u16string_view co_Stop)
{
    CT_Sequence co_Sequence;
    std::u16string co_Text;
    while (co_Text.size() < sn_CorpusUnits)
    {
        const unsigned n_Words = 4 + co_Sequence.n_Next(12);
        for (unsigned i = 0; i < n_Words; ++i)
        {
            if (i)
                co_Text += co_Sequence.n_Next(8) ? co_Space : u", ";
            co_Text += co_Words[co_Sequence.n_Next(static_cast<unsigned>(co_Words.size()))];
        }
        co_Text += co_Stop;
        co_Text += co_Sequence.n_Next(6) ? co_Space : u"\r\n";
    }
    co_Text.resize(sn_CorpusUnits);
    return co_Text;
}

inline std::u16string co_Ascii()
{
    return co_Corpus({u"the",      u"of",     u"and",      u"to",     u"in",       u"is",
                      u"that",     u"for",    u"it",       u"as",     u"was",      u"with",
                      u"be",       u"by",     u"on",       u"not",    u"this",     u"are",
                      u"which",    u"from",   u"or",       u"have",   u"an",       u"they",
                      u"document", u"review", u"original", u"market", u"software", u"translation",
                      u"between",  u"number", u"system",   u"report", u"function", u"Thursday",
                      u"London",   u"2024",   u"(see",     u"below)", u"42",       u"reader's"},
                     u" ", u".");
}

// French, German, Spanish, Portuguese, Italian and Danish words: all in code page 1252.
inline std::u16string co_European()
{
    return co_Corpus(
        {u"le",       u"la",         u"et",          u"les",         u"des",          u"est",
         u"der",      u"die",        u"und",         u"das",         u"mit",          u"ist",
         u"el",       u"que",        u"los",         u"del",         u"para",         u"una",
         u"de",       u"não",        u"è",           u"og",          u"på",           u"å",
         u"élève",    u"été",        u"déjà",        u"français",    u"garçon",       u"naïve",
         u"Straße",   u"über",       u"Größe",       u"schön",       u"Müller",       u"Äpfel",
         u"mañana",   u"año",        u"información", u"está",        u"¿qué?",        u"¡sí!",
         u"coração",  u"ações",      u"você",        u"città",       u"perché",       u"più",
         u"fjørd",    u"Ærø",        u"blåbær",      u"œuvre",       u"coût",         u"€12,50",
         u"„Zitat“",  u"«citation»", u"résumé",      u"Übersetzung", u"Bibliothèque", u"vielleicht",
         u"document", u"projet",     u"Arbeit",      u"trabajo",     u"lavoro",       u"arbejde"},
        u" ", u".");
}

// Japanese words in kanji, hiragana and katakana, all in code page 932, with some ASCII digits.
inline std::u16string co_Japanese()
{
    return co_Corpus(
        {u"日本語",   u"東京",   u"経済",   u"発表",   u"について",     u"します",       u"した",
         u"情報",     u"技術",   u"会社",   u"文書",   u"翻訳",         u"原文",         u"確認",
         u"結果",     u"問題",   u"です",   u"ました", u"から",         u"まで",         u"ため",
         u"こと",     u"もの",   u"これは", u"それを", u"コンピュータ", u"ソフトウェア", u"データ",
         u"システム", u"テスト", u"2024年", u"3月",    u"12日",         u"新しい",       u"大きな",
         u"研究所",   u"市場",   u"報告書", u"検証",   u"品質",         u"利用者",       u"設定"},
        u"、", u"。");
}

struct st_Corpus
{
    const char* qccz_Name;
    std::u16string co_Text;
};

inline const std::vector<st_Corpus>& aso_Corpora()
{
    static const std::vector<st_Corpus> saso{
        {"ASCII", co_Ascii()}, {"European", co_European()}, {"CJK", co_Japanese()}};
    return saso;
}

} // namespace ct_bench
