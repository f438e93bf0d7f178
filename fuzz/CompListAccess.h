// Driving a CT_CompList the way the unit tests and the fuzz target compare it with the plain
// model of CompListReference.h: strings as raw elements, the stored image, every iterated string.
#pragma once

#include "Basis/Collection/CompList.h"

#include "CompListReference.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace ct_reference
{
using et_Bytes = std::vector<std::uint8_t>;
using et_Entries = std::vector<std::pair<et_Elements, std::uint32_t>>;

// Zero-terminated elements of size e in the machine's order, as the raw operations take them.
inline std::vector<char> a_Raw(const et_Elements& s, unsigned e)
{
    std::vector<char> a((s.size() + 1) * e, 0);
    for (std::size_t i = 0; i < s.size(); ++i)
    {
        const std::uint16_t n_16 = static_cast<std::uint16_t>(s[i]);
        if (e == 1)
            a[i] = static_cast<char>(s[i]);
        else
            std::memcpy(&a[i * e], e == 2 ? static_cast<const void*>(&n_16) : &s[i], e);
    }
    return a;
}

inline et_Bytes a_Bytes(const CT_Buffer* pcco)
{
    auto* pc = static_cast<const std::uint8_t*>(pcco->qcv_Get());
    return pc ? et_Bytes(pc, pc + pcco->n_GetUsedSize()) : et_Bytes();
}

// The stored image of a list, read through a copy so that the list itself keeps its form and
// is not handed out.
inline et_Bytes a_ImageOf(const CT_CompList& co)
{
    CT_CompList co_Copy(&co);
    return a_Bytes(co_Copy.pcco_GetBuffer());
}

// Every string a 16-bit iterator returns, with its handle; at most n_Most.
inline et_Entries a_Iterate(const CT_CompList& co, std::size_t n_Most = 100000)
{
    et_Entries a;
    CT_UCompListIterator co_Iterator(&co);
    CT_UString co_Text;
    unsigned n_Handle = 0;
    while (a.size() < n_Most && co_Iterator.b_GetNext(&co_Text, &n_Handle))
        a.emplace_back(et_Elements(co_Text.qcuz_Get(), co_Text.qcuz_Get() + co_Text.n_GetLength()),
                       n_Handle);
    return a;
}

// What the 16-bit iterator shows of the model's strings: the low 16 bits of each element.
inline et_Entries a_AsIterated(et_Entries a)
{
    for (auto& co_Entry : a)
        for (auto& c : co_Entry.first)
            c &= 0xFFFF;
    return a;
}
} // namespace ct_reference
