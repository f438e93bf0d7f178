// The compressed list written the plain way, to hold CT_CompList against: every change edits
// the image in place and then repairs the offsets with one pass over the stream before the gap,
// searching and iterating read the image element by element. Quadratic to build and only for
// images it made itself, but short enough to check by reading. The unit tests and the
// differential fuzz target build both from the same strings and compare images, searches and
// iteration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ct_reference
{
// A string as its elements, without the terminating zero.
using et_Elements = std::vector<std::uint32_t>;

class CT_CompListModel
{
public:
    static constexpr std::uint32_t sn_NotFound = 0xFFFFFFFFu;

    CT_CompListModel(unsigned n_ElementSize, unsigned n_HandleSize, bool b_EmptyStrings,
                     bool b_LongOffsets, std::uint32_t n_CodePage)
        : e(n_ElementSize), h(n_HandleSize), o(b_LongOffsets ? 4 : 2), b_Empty(b_EmptyStrings),
          a(132 + n_ElementSize, 0)
    {
        v_Put(0, 4, 0x0130B835u);
        v_Put(4, 4, 132 + e);
        v_Put(8, 4, n_CodePage);
        v_Put(12, 4, sn_NotFound);
        a[125] = static_cast<std::uint8_t>(e);
        a[126] = static_cast<std::uint8_t>(h);
        a[127] = static_cast<std::uint8_t>((b_EmptyStrings ? 1 : 0) | (b_LongOffsets ? 2 : 0));
        a[128] = 1;
        v_Put(132, e, 25);
    }

    const std::vector<std::uint8_t>& a_Image() const { return a; }

    // As CT_CompList::b_Add: strings with marker values, and adds that would let 2-byte
    // offsets overflow (an image past 132 + 64 KiB), are refused.
    int b_Add(const et_Elements& s, std::uint32_t n_Handle)
    {
        for (std::uint32_t c : s)
            if (c == 10 || c == 13 || c == 25 || c == 26)
                return 0;
        if (!n_Walk(s, true, n_Handle, nullptr))
            return 0;
        v_Put(120, 4, n_Get(120, 4) + 1);
        return 1;
    }

    std::uint32_t n_Search(const et_Elements& s, unsigned* pn_Length) const
    {
        return const_cast<CT_CompListModel*>(this)->n_Walk(s, false, 0, pn_Length);
    }

    // Every stored string but the empty one with its handle, in iteration order.
    std::vector<std::pair<et_Elements, std::uint32_t>> a_Iterate() const
    {
        struct st_Branch
        {
            std::size_t n_Marker, n_Length;
            std::uint32_t c;
        };
        std::vector<std::pair<et_Elements, std::uint32_t>> a_Out;
        std::vector<st_Branch> a_Stack;
        et_Elements s;
        const std::size_t n_End = n_Get(4, 4);
        std::size_t p = 132;
        while (p < n_End)
        {
            std::uint32_t x = n_At(p);
            if (x == 25)
                break;
            if (x == 13)
            {
                a_Stack.push_back({p, s.size() - 1, s.back()});
                s.pop_back();
                p += n_Get(p + e, o);
            }
            else if (x == 10 || x == 26)
            {
                a_Out.emplace_back(s, n_Get(p + e, h));
                p += e + h;
                if (x == 26 && a_Stack.empty())
                    p = n_End;
                else if (x == 26)
                {
                    s.resize(a_Stack.back().n_Length);
                    s.push_back(a_Stack.back().c);
                    p = a_Stack.back().n_Marker + e + o;
                    a_Stack.pop_back();
                }
            }
            else
            {
                s.push_back(x);
                p += e;
            }
        }
        return a_Out;
    }

private:
    std::uint32_t n_Get(std::size_t p, unsigned n) const
    {
        std::uint32_t v = 0;
        for (unsigned i = n; i-- > 0;)
            v = v << 8 | a[p + i];
        return v;
    }
    void v_Put(std::size_t p, unsigned n, std::uint32_t v)
    {
        for (unsigned i = 0; i < n; ++i, v >>= 8)
            a[p + i] = static_cast<std::uint8_t>(v);
    }
    // The element at p; reading past the end reads the terminator.
    std::uint32_t n_At(std::size_t p) const { return p + e > a.size() ? 25 : n_Get(p, e); }
    static bool b_Marker(std::uint32_t x) { return x == 10 || x == 13 || x == 25 || x == 26; }
    static int i_Letter(std::uint32_t c) { return c >= 'a' && c <= 'z' ? int(c - 'a') : -1; }

    // Opens a gap and repairs the offsets of the alternatives before it that lead past it.
    void v_Gap(std::size_t n_Where, std::size_t n_Count)
    {
        a.insert(a.begin() + static_cast<std::ptrdiff_t>(n_Where), n_Count, 0);
        v_Put(4, 4, static_cast<std::uint32_t>(n_Get(4, 4) + n_Count));
        for (std::size_t p = 132; p < n_Where;)
        {
            std::uint32_t x = n_At(p);
            if (x == 13 && p + n_Get(p + e, o) >= n_Where)
                v_Put(p + e, o, static_cast<std::uint32_t>(n_Get(p + e, o) + n_Count));
            p += x == 13 ? e + o : x == 10 || x == 26 ? e + h : e;
        }
        for (unsigned i = 0; i < 26; ++i)
            if (n_Get(16 + 4 * i, 4) >= n_Where)
                v_Put(16 + 4 * i, 4, static_cast<std::uint32_t>(n_Get(16 + 4 * i, 4) + n_Count));
    }

    void v_WriteTail(std::size_t p, const et_Elements& s, std::size_t m, std::uint32_t n_Handle)
    {
        for (; m < s.size(); ++m, p += e)
            v_Put(p, e, s[m]);
        v_Put(p, e, 26);
        v_Put(p + e, h, n_Handle);
    }

    bool b_Fits(std::size_t n_Bytes) const
    {
        return n_Get(4, 4) + n_Bytes <= (o == 2 ? 132 + 0x10000u : 0xFFFFFFFFu);
    }

    std::uint32_t n_Walk(const et_Elements& s, bool b_Add, std::uint32_t n_Handle,
                         unsigned* pn_Length)
    {
        unsigned n_Dummy;
        unsigned& n_Length = pn_Length ? *pn_Length : n_Dummy;
        n_Length = 0;
        const std::uint32_t n_Failed = b_Add ? 0 : sn_NotFound;
        if (s.empty())
        {
            if (!b_Empty)
                return n_Failed;
            if (!b_Add)
                return n_Get(12, 4);
            v_Put(12, 4, n_Handle);
            return 1;
        }
        const int i_First = i_Letter(s[0]);
        std::size_t p =
            i_First >= 0 && n_Get(16 + 4 * i_First, 4) ? n_Get(16 + 4 * i_First, 4) : 132;
        for (std::size_t m = 0;;)
        {
            std::uint32_t x = n_At(p);
            const std::size_t n_Rest = (s.size() - m) * e;
            if (m == s.size())
            {
                if (x == 13)
                    x = n_At(p += e + o);
                n_Length = static_cast<unsigned>(m);
                if (x == 10 || x == 26)
                    return b_Add ? 0 : n_Get(p + e, h);
                if (!b_Add || !b_Fits(e + h))
                    return n_Failed;
                v_Gap(p, e + h);
                v_Put(p, e, 10);
                v_Put(p + e, h, n_Handle);
                return 1;
            }
            if (!b_Marker(x) && x == s[m])
            {
                p += e;
                ++m;
            }
            else if (x == 10 || x == 13)
                p += x == 10 ? e + h : e + o;
            else if (x == 25 || x == 26)
            {
                if (!b_Add || !b_Fits(n_Rest + e + h))
                {
                    n_Length = x == 26 ? static_cast<unsigned>(m) : 0;
                    return n_Failed;
                }
                if (x == 26)
                {
                    v_Put(p, e, 10);
                    p += e + h;
                }
                v_Gap(p, n_Rest + e + h);
                v_WriteTail(p, s, m, n_Handle);
                if (x == 25 && m == 0 && i_First >= 0)
                    v_Put(16 + 4 * i_First, 4, static_cast<std::uint32_t>(p));
                return 1;
            }
            else if (n_At(p + e) == 13)
                p += e + n_Get(p + 2 * e, o);
            else
            {
                if (!b_Add || !b_Fits(e + o + n_Rest + e + h))
                    return n_Failed;
                const std::size_t n_Marker = p + e;
                v_Gap(n_Marker, e + o);
                v_Put(n_Marker, e, 13);
                const std::size_t n_Node = n_Get(4, 4) - e;
                v_Gap(n_Node, n_Rest + e + h);
                v_WriteTail(n_Node, s, m, n_Handle);
                v_Put(n_Marker + e, o, static_cast<std::uint32_t>(n_Node - n_Marker));
                if (m == 0 && i_First >= 0)
                    v_Put(16 + 4 * i_First, 4, static_cast<std::uint32_t>(n_Node));
                return 1;
            }
        }
    }

    unsigned e, h, o;
    bool b_Empty;
    std::vector<std::uint8_t> a;
};
} // namespace ct_reference
