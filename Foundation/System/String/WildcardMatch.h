// Wildcard match of a whole text against a pattern: '*' matches any run of units, '?' any one
// unit, every other unit itself; an empty pattern matches every text. Case-sensitive.
#pragma once

// Linear in the text for each star: only the most recent '*' is ever resumed, which gives the
// same answers as trying every split recursively (an earlier star could only absorb what the
// later one can), in O(pattern x text) time instead of exponential.
template <typename T>
int b_RMatch(const T* pc_Pattern, unsigned n_PatternLength, const T* pc_Text, unsigned n_TextLength)
{
    if (n_PatternLength == 0)
        return 1;
    constexpr unsigned sn_None = 0xFFFFFFFFu;
    unsigned p = 0, t = 0;
    unsigned n_Star = sn_None; // pattern position after the last '*' seen
    unsigned n_StarText = 0;   // text position that star's run currently ends at
    while (t < n_TextLength)
    {
        if (p < n_PatternLength && pc_Pattern[p] == T('*'))
        {
            n_Star = ++p;
            n_StarText = t;
        }
        else if (p < n_PatternLength && (pc_Pattern[p] == T('?') || pc_Pattern[p] == pc_Text[t]))
        {
            ++p;
            ++t;
        }
        else if (n_Star != sn_None)
        {
            p = n_Star;
            t = ++n_StarText;
        }
        else
            return 0;
    }
    while (p < n_PatternLength && pc_Pattern[p] == T('*'))
        ++p;
    return p == n_PatternLength;
}
