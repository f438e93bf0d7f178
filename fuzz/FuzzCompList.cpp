// Fuzz target of the compressed list: images from outside searched, iterated and added to, and
// lists built from input strings held against the plain model (CompListReference.h).
//
// Input layout: the first byte chooses.
// - Bit 0 clear: an image. The next byte's low five bits give the length of a probe string,
//   whose bytes follow; the rest is the image, loaded from a buffer of exactly its size. The
//   probe is searched and added, every iterated string searched.
// - Bit 0 set: a list built from the rest, read as elements of the element size (bits 1-2:
//   0 for 1 byte, 1 for 2 bytes, else 4; little-endian), a zero element ending each string. Bits
//   3-4 choose the handle size the same way, bit 5 empty-string support, bit 6 long offsets,
//   bit 7 compares the images after every add too. Images, searches and iteration must match.
// Any failed check aborts with a message.
#include "Basis/Collection/CompList.h"

#include "CompListAccess.h"
#include "FuzzRequire.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
using namespace ct_reference;

void v_Check(bool b_Holds, const char* pc_What)
{
    v_FuzzRequire(b_Holds, "compressed list", pc_What);
}

unsigned n_SizeOf(unsigned n_Bits)
{
    return n_Bits == 0 ? 1 : n_Bits == 1 ? 2 : 4;
}

void v_FuzzImage(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    const std::size_t n_Probe = n_Size ? std::min<std::size_t>(pc_Data[0] & 31, n_Size - 1) : 0;
    const std::uint8_t* pc_Image = pc_Data + (n_Size ? 1 + n_Probe : 0);
    const std::size_t n_Image = n_Size ? n_Size - 1 - n_Probe : 0;
    const std::vector<std::uint8_t> a_Loaded(pc_Image, pc_Image + n_Image);
    CT_Buffer co_Bytes(a_Loaded.data(), static_cast<unsigned>(n_Image), 1); // exact size
    CT_CompList co(&co_Bytes);
    const unsigned e =
        co.n_GetElementSize() == 2 || co.n_GetElementSize() == 4 ? co.n_GetElementSize() : 1;
    std::vector<char> a_Probe(pc_Data + 1, pc_Data + 1 + n_Probe);
    a_Probe.resize((n_Probe + e - 1) / e * e + e, 0);
    unsigned n_Length = 0;
    co.n_Search(a_Probe.data(), &n_Length);
    v_Check(n_Length <= a_Probe.size() / e, "a length past the string");

    auto v_Walk = [&](CT_CompListIterator&& co_Iterator)
    {
        CT_UString co_Text;
        std::size_t n_Strings = 0;
        while (co_Iterator.b_GetNext(&co_Text, nullptr))
        {
            ++n_Strings;
            co.n_Search(&co_Text);
        }
        v_Check(n_Strings <= n_Image / 2, "more strings than the image holds");
    };
    v_Walk(CT_CCompListIterator(&co));
    v_Walk(CT_UCompListIterator(&co));

    if (co.b_Add(a_Probe.data(), 77))
    {
        const bool b_Empty =
            std::all_of(a_Probe.begin(), a_Probe.begin() + e, [](char c) { return c == 0; });
        v_Check(co.n_Search(a_Probe.data()) == 77, "an added string is not found");
        CT_CompList co_Stored(co.pcco_GetBuffer());
        v_Check(co_Stored.n_Search(a_Probe.data()) == 77, "the stored image lost a string");
        v_Check(b_Empty || !a_Iterate(co_Stored).empty(), "the stored image iterates nothing");
    }
    v_Check(n_Image == 0 || std::memcmp(co_Bytes.qcv_Get(), a_Loaded.data(), n_Image) == 0,
            "the loaded bytes were written");
}

void v_FuzzBuild(std::uint8_t c_Choice, const std::uint8_t* pc_Data, std::size_t n_Size)
{
    const unsigned e = n_SizeOf(c_Choice >> 1 & 3);
    const unsigned h = n_SizeOf(c_Choice >> 3 & 3);
    const bool b_Empty = c_Choice & 32, b_Long = c_Choice & 64, b_Every = c_Choice & 128;
    ct_reference::CT_CompListModel co_Model(e, h, b_Empty, b_Long, 1252);
    CT_CompList co(static_cast<CT_CompList::et_ElementSize>(e), h, b_Empty, b_Long, 0, 1252);
    std::vector<et_Elements> a_Strings(1);
    bool b_LowZero = false; // a wide element the 16-bit iterator cannot show
    for (std::size_t n = 0; n + e <= n_Size; n += e)
    {
        std::uint32_t c = 0;
        for (unsigned i = e; i-- > 0;)
            c = c << 8 | pc_Data[n + i];
        if (c == 0)
            a_Strings.emplace_back();
        else
            a_Strings.back().push_back(c);
        b_LowZero |= c != 0 && (c & 0xFFFF) == 0;
    }
    for (std::size_t n = 0; n < a_Strings.size(); ++n)
    {
        const std::uint32_t n_Handle = static_cast<std::uint32_t>(n * 2654435761u);
        v_Check(co.b_Add(a_Raw(a_Strings[n], e).data(), n_Handle) ==
                    co_Model.b_Add(a_Strings[n], n_Handle),
                "adding answers otherwise");
        if (b_Every)
            v_Check(a_ImageOf(co) == co_Model.a_Image(), "the image differs after an add");
    }
    v_Check(a_ImageOf(co) == co_Model.a_Image(), "the image differs");
    v_Check(b_LowZero || a_Iterate(co) == a_AsIterated(co_Model.a_Iterate()), "iteration differs");
    for (et_Elements s : a_Strings)
        for (int i = 0; i < 2 && !s.empty(); ++i, s.pop_back())
        {
            unsigned n_Length = 0, n_ModelLength = 0;
            v_Check(co.n_Search(a_Raw(s, e).data(), &n_Length) ==
                            co_Model.n_Search(s, &n_ModelLength) &&
                        n_Length == n_ModelLength,
                    "a search answers otherwise");
        }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size == 0)
        return 0;
    if (pc_Data[0] & 1)
        v_FuzzBuild(pc_Data[0], pc_Data + 1, n_Size - 1);
    else
        v_FuzzImage(pc_Data + 1, n_Size - 1);
    return 0;
}
