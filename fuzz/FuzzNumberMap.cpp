// Fuzz target of the number-map image reader: any bytes, read as 8-bit or 16-bit texts.
//
// Input layout: bit 0 of the first byte chooses 16-bit texts; the rest is the image, read from a
// buffer of exactly its size. The map must hold exactly the whole records of a plain reading of
// the image (each number and text, and the first entry for every number and text looked up),
// and writing it back must give those records' bytes: the image up to where reading stopped.
// Any failed check aborts with a message.
#include "Basis/Collection/StringMaps.h"

#include "System/String/Buffer.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include "FuzzRequire.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace
{
void v_Check(bool b_Holds, const char* pc_What)
{
    v_FuzzRequire(b_Holds, "number map image", pc_What);
}

struct st_Record
{
    std::uint32_t n_Number;
    std::u16string s_Text; // 8-bit texts byte by byte
};

// The plain reading: whole records only. *pn_Used becomes the bytes they take.
std::vector<st_Record> a_Records(const std::uint8_t* pc, std::size_t n_Size, bool b_Wide,
                                 std::size_t* pn_Used)
{
    const std::size_t n_Unit = b_Wide ? 2 : 1;
    std::vector<st_Record> a;
    std::size_t n_At = 0;
    *pn_Used = 0;
    while (n_Size - n_At >= 4)
    {
        st_Record so{std::uint32_t(pc[n_At]) | std::uint32_t(pc[n_At + 1]) << 8 |
                         std::uint32_t(pc[n_At + 2]) << 16 | std::uint32_t(pc[n_At + 3]) << 24,
                     {}};
        std::size_t n = n_At + 4;
        for (; n + n_Unit <= n_Size; n += n_Unit)
        {
            const char16_t u = b_Wide ? char16_t(pc[n] | pc[n + 1] << 8) : char16_t(pc[n]);
            if (u == 0)
                break;
            so.s_Text += u;
        }
        if (n + n_Unit > n_Size)
            break;
        a.push_back(so);
        n_At = *pn_Used = n + n_Unit;
    }
    return a;
}

std::u16string s_Stored(const CT_StringNumberMap& co, unsigned n_Position, bool b_Wide)
{
    if (b_Wide)
        return co.qcuz_GetAt(n_Position);
    std::u16string s;
    for (const char* pc = co.qccz_GetAt(n_Position); *pc; ++pc)
        s += char16_t(static_cast<unsigned char>(*pc));
    return s;
}

void v_CheckLookups(const CT_StringNumberMap& co, const std::vector<st_Record>& a, bool b_Wide)
{
    // The first few entries: each lookup searches the whole map.
    for (std::size_t n = 0; n < a.size() && n < 8; ++n)
    {
        std::size_t n_ByText = 0, n_ByNumber = 0;
        while (a[n_ByText].s_Text != a[n].s_Text)
            ++n_ByText;
        while (a[n_ByNumber].n_Number != a[n].n_Number)
            ++n_ByNumber;
        const unsigned n_First = static_cast<unsigned>(n_ByNumber + 1);
        const std::uint32_t n_Number = a[n].n_Number;
        v_Check(co.n_Get(co.pcco_GetAt(static_cast<unsigned>(n + 1))) == a[n_ByText].n_Number,
                "a text finds another number than its first entry's");
        v_Check(co.pcco_Get(n_Number) == co.pcco_GetAt(n_First) &&
                    (b_Wide ? co.qcuz_Get(n_Number) == co.qcuz_GetAt(n_First)
                            : co.qccz_Get(n_Number) == co.qccz_GetAt(n_First)),
                "a number finds another string than its first entry's");
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size == 0 || n_Size > 0x100000)
        return 0;
    const bool b_Wide = pc_Data[0] & 1;
    const std::uint8_t* pc_Image = pc_Data + 1;
    const std::size_t n_Image = n_Size - 1;
    const CT_Buffer co_Image(pc_Image, static_cast<unsigned>(n_Image), 1); // exact size
    CT_StringNumberMap co;
    co.v_Insert("before", 1);
    co.v_Buffer2Map(&co_Image, b_Wide);

    std::size_t n_Used = 0;
    const std::vector<st_Record> a = a_Records(pc_Image, n_Image, b_Wide, &n_Used);
    v_Check(co.n_GetCount() == a.size(), "another number of entries than whole records");
    for (unsigned n = 1; n <= co.n_GetCount(); ++n)
    {
        v_Check(co.n_GetAt(n) == a[n - 1].n_Number, "a number differs");
        v_Check(s_Stored(co, n, b_Wide) == a[n - 1].s_Text, "a text differs");
    }
    v_CheckLookups(co, a, b_Wide);

    CT_Buffer co_Out;
    co.v_Map2Buffer(&co_Out);
    v_Check(co_Out.n_GetUsedSize() == n_Used &&
                (n_Used == 0 || std::memcmp(co_Out.qcv_Get(), pc_Image, n_Used) == 0),
            "writing back does not give the records' bytes");
    v_Check(n_Image == 0 || std::memcmp(co_Image.qcv_Get(), pc_Image, n_Image) == 0,
            "the image changed");
    return 0;
}
