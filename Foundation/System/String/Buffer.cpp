#include "System/String/Buffer.h"

#include "Basis/Platform/Atomic.h"
#include "Basis/Platform/Heap.h"

#include <cassert>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr std::uint64_t sn_Header = sizeof(CT_Buffer::st_BufferData);

unsigned n_Smaller(unsigned a, unsigned b)
{
    return a < b ? a : b;
}

std::uint64_t n_RoundUp(std::uint64_t n_Value, std::uint64_t n_Granule)
{
    return (n_Value + n_Granule - 1) / n_Granule * n_Granule;
}

// A capacity must fit the 32-bit size fields, and the whole block a size_t (on 32-bit targets
// header plus capacity can exceed it); beyond that memory is exhausted by definition.
unsigned n_CapacityOf(std::uint64_t n_Total)
{
    if (n_Total - sn_Header > 0xFFFFFFFFu || n_Total > SIZE_MAX)
        std::abort();
    return static_cast<unsigned>(n_Total - sn_Header);
}

// Bytes that must be copied aside before the block they live in moves or is rewritten.
class CT_SavedBytes
{
public:
    CT_SavedBytes(const void* pcv_Source, unsigned n_Length)
        : pv_Copy(n_Length <= sizeof(ac_Local)
                      ? ac_Local
                      : static_cast<unsigned char*>(CT_Heap::spv_Alloc(n_Length)))
    {
        std::memcpy(pv_Copy, pcv_Source, n_Length);
    }
    ~CT_SavedBytes()
    {
        if (pv_Copy != ac_Local)
            CT_Heap::sv_Free(pv_Copy);
    }
    CT_SavedBytes(const CT_SavedBytes&) = delete;
    CT_SavedBytes& operator=(const CT_SavedBytes&) = delete;
    const unsigned char* qc_Get() const { return pv_Copy; }

private:
    unsigned char ac_Local[32];
    unsigned char* pv_Copy;
};
} // namespace

// Growth policy. Below 1024 bytes a block is sized in steps of the growth granule, header
// included; above, by 25 % (to 2047), 40 % (to 4095) or 50 %, rounded up to 64 bytes, so that
// repeated appends reallocate rarely.
unsigned CT_Buffer::sn_Capacity(unsigned n_Size, unsigned n_NewGrowth)
{
    if (n_Size < 1024)
        return sn_GranuleCapacity(n_Size, n_NewGrowth);
    std::uint64_t n = n_Size;
    std::uint64_t x = n < 2048 ? n * 5 / 4 : n < 4096 ? n * 7 / 5 : n * 3 / 2;
    return n_CapacityOf(n_RoundUp(x, 64));
}

unsigned CT_Buffer::sn_GranuleCapacity(unsigned n_Size, unsigned n_NewGrowth)
{
    return n_CapacityOf(
        n_RoundUp(std::uint64_t(n_Size) + sn_Header, n_NewGrowth ? n_NewGrowth : 1));
}

unsigned char* CT_Buffer::spc_NewBlock(unsigned n_Capacity, unsigned n_Used)
{
    auto* pso = static_cast<st_BufferData*>(CT_Heap::spv_Alloc(sn_Header + n_Capacity));
    pso->n_UseCount = 1;
    pso->n_MaximumSize = n_Capacity;
    pso->n_UsedSize = n_Used;
    return reinterpret_cast<unsigned char*>(pso + 1);
}

CT_Buffer::CT_Buffer(unsigned n_Size, unsigned n_NewGrowth)
{
    v_Init(n_Size, n_NewGrowth);
}

CT_Buffer::CT_Buffer(const void* pcv_Source, unsigned n_Length, unsigned n_NewGrowth)
{
    v_Init(pcv_Source, n_Length, n_NewGrowth);
}

CT_Buffer& CT_Buffer::operator=(const CT_Buffer& co_Other)
{
    v_Set(&co_Other);
    return *this;
}

void CT_Buffer::v_Init(unsigned n_Size, unsigned n_NewGrowth)
{
    n_Growth = n_NewGrowth;
    pv_Data = n_Size ? spc_NewBlock(sn_GranuleCapacity(n_Size, n_Growth), 0) : nullptr;
}

void CT_Buffer::v_Init(const void* pcv_Source, unsigned n_Length, unsigned n_NewGrowth)
{
    v_Init(n_Length, n_NewGrowth);
    if (n_Length)
    {
        std::memcpy(pv_Data, pcv_Source, n_Length);
        v_SetUsedBufferSize(n_Length);
    }
}

void CT_Buffer::v_Init(const CT_Buffer* pcco_Other)
{
    n_Growth = pcco_Other->n_Growth;
    pv_Data = pcco_Other->pv_Data;
    v_IncUseCount();
}

CT_DEFINE_POOLED_ALLOCATION(CT_Buffer)

unsigned CT_Buffer::n_GetUseCount() const
{
    return pv_Data ? CT_Atomic::sn_Load(&pso_GetData()->n_UseCount) : 1;
}

void CT_Buffer::v_FreeData()
{
    CT_Heap::sv_Free(pso_GetData());
}

void CT_Buffer::v_DeleteData()
{
    v_DecUseCount();
    v_Null();
}

void CT_Buffer::v_CopyBeforeWrite()
{
    st_BufferData* pso_Old = pso_GetData();
    unsigned char* pc_New = spc_NewBlock(pso_Old->n_MaximumSize, pso_Old->n_UsedSize);
    std::memcpy(pc_New, pv_Data, pso_Old->n_UsedSize);
    v_DecUseCount();
    pv_Data = pc_New;
}

int CT_Buffer::b_Owns(const void* pcv_Address) const
{
    auto* pc = static_cast<const unsigned char*>(pcv_Address);
    return pv_Data && pc >= pv_Data && pc < pv_Data + n_GetMaximumSize();
}

void CT_Buffer::v_Set(unsigned n_Size, unsigned n_NewGrowth, int b_Reuse)
{
    if (n_NewGrowth != sn_All)
        n_Growth = n_NewGrowth;
    if (b_Reuse && !b_IsShared() && n_GetMaximumSize() >= sn_GranuleCapacity(n_Size, n_Growth) &&
        pv_Data)
    {
        v_SetUsedBufferSize(0);
        return;
    }
    v_DeleteData();
    v_Init(n_Size, n_Growth);
}

void CT_Buffer::v_Set(const void* pcv_Source, unsigned n_Length, unsigned n_NewGrowth)
{
    if (b_Owns(pcv_Source))
    {
        CT_SavedBytes co_Saved(pcv_Source, n_Length);
        v_Set(co_Saved.qc_Get(), n_Length, n_NewGrowth);
        return;
    }
    v_DeleteData();
    v_Init(pcv_Source, n_Length, n_NewGrowth == sn_All ? n_Growth : n_NewGrowth);
}

void CT_Buffer::v_Set(const CT_Buffer* pcco_Other)
{
    if (pcco_Other == this)
        return;
    v_DeleteData();
    v_Init(pcco_Other);
}

void CT_Buffer::v_SetSize(unsigned n_Size, int b_Keep)
{
    if (n_Size == 0)
    {
        v_DeleteData();
        return;
    }
    unsigned n_Capacity = sn_Capacity(n_Size, n_Growth);
    st_BufferData* pso = pso_GetData();
    if (pso && pso->n_MaximumSize == n_Capacity && !b_IsShared())
    {
        if (!b_Keep)
            pso->n_UsedSize = 0;
        return;
    }
    if (b_Keep && pso && !b_IsShared())
    {
        // Unshared growth goes through the heap, which can often extend in place.
        pso = static_cast<st_BufferData*>(CT_Heap::spv_Realloc(pso, sn_Header + n_Capacity));
        pso->n_MaximumSize = n_Capacity;
        pso->n_UsedSize = n_Smaller(pso->n_UsedSize, n_Capacity);
        pv_Data = reinterpret_cast<unsigned char*>(pso + 1);
        return;
    }
    unsigned n_Kept = b_Keep ? n_Smaller(n_GetUsedSize(), n_Capacity) : 0;
    unsigned char* pc_New = spc_NewBlock(n_Capacity, n_Kept);
    if (n_Kept)
        std::memcpy(pc_New, pv_Data, n_Kept);
    v_DecUseCount();
    pv_Data = pc_New;
}

void CT_Buffer::v_SetUsedSize(unsigned n_Size)
{
    if (!pv_Data)
        return;
    assert(n_Size <= n_GetMaximumSize() && "used size beyond capacity");
    v_CopyWeWrite();
    v_SetUsedBufferSize(n_Size);
}

void CT_Buffer::v_Reserve(unsigned n_Size)
{
    if (n_Size > n_GetMaximumSize())
        v_SetSize(n_Size, 1);
    else
        v_CopyWeWrite();
}

unsigned CT_Buffer::n_Find(unsigned char c_Byte, unsigned n_Offset) const
{
    unsigned n_Used = n_GetUsedSize();
    if (n_Offset >= n_Used)
        return sn_NotFound;
    auto* pc = static_cast<const unsigned char*>(
        std::memchr(pv_Data + n_Offset, c_Byte, n_Used - n_Offset));
    return pc ? static_cast<unsigned>(pc - pv_Data) : sn_NotFound;
}

unsigned CT_Buffer::n_Find(const void* pcv_Bytes, unsigned n_Length, unsigned n_Offset) const
{
    unsigned n_Used = n_GetUsedSize();
    if (!pv_Data || n_Offset > n_Used || n_Length > n_Used - n_Offset)
        return sn_NotFound;
    if (n_Length == 0)
        return n_Offset;
    auto* pc_Needle = static_cast<const unsigned char*>(pcv_Bytes);
    const unsigned char* pc = pv_Data + n_Offset;
    const unsigned char* pc_Last = pv_Data + n_Used - n_Length; // last possible start
    while (pc <= pc_Last)
    {
        pc = static_cast<const unsigned char*>(std::memchr(pc, pc_Needle[0], pc_Last - pc + 1));
        if (!pc)
            break;
        if (std::memcmp(pc + 1, pc_Needle + 1, n_Length - 1) == 0)
            return static_cast<unsigned>(pc - pv_Data);
        ++pc;
    }
    return sn_NotFound;
}

int CT_Buffer::b_IsEqual(const void* pcv_Bytes, unsigned n_Length, unsigned n_Offset) const
{
    if (!pv_Data)
        return n_Offset == 0;
    unsigned n_Used = n_GetUsedSize();
    assert(n_Offset <= n_Used && "offset beyond the used bytes");
    unsigned n_Compared = n_Smaller(n_Length, n_Used - n_Offset);
    return n_Compared == 0 || std::memcmp(pv_Data + n_Offset, pcv_Bytes, n_Compared) == 0;
}

int CT_Buffer::b_IsEqual(const CT_Buffer* pcco_Other, unsigned n_OtherOffset, unsigned n_Length,
                         unsigned n_Offset) const
{
    if (n_Length == sn_All)
        n_Length = pcco_Other->n_GetUsedSize() - n_OtherOffset;
    return b_IsEqual(pcco_Other->pv_Data + n_OtherOffset, n_Length, n_Offset);
}

unsigned char* CT_Buffer::pc_OpenRange(unsigned n_Count, unsigned n_Offset)
{
    v_Reserve(n_Offset + n_Count);
    if (n_Offset + n_Count > n_GetUsedSize())
        v_SetUsedBufferSize(n_Offset + n_Count);
    return pv_Data + n_Offset;
}

unsigned char* CT_Buffer::pc_OpenGap(unsigned n_Count, unsigned n_Offset)
{
    unsigned n_Used = n_GetUsedSize();
    assert(n_Offset <= n_Used && "insert position beyond the used bytes");
    v_Reserve(n_Used + n_Count);
    std::memmove(pv_Data + n_Offset + n_Count, pv_Data + n_Offset, n_Used - n_Offset);
    v_SetUsedBufferSize(n_Used + n_Count);
    return pv_Data + n_Offset;
}

void CT_Buffer::v_Replace(unsigned char c_Fill, unsigned n_Count, unsigned n_Offset)
{
    if (n_Count == sn_All)
        n_Count = n_GetUsedSize() - n_Offset;
    if (n_Count)
        std::memset(pc_OpenRange(n_Count, n_Offset), c_Fill, n_Count);
}

void CT_Buffer::v_Replace(const void* pcv_Source, unsigned n_Length, unsigned n_Offset)
{
    if (n_Length == sn_All)
        n_Length = n_GetUsedSize() - n_Offset;
    if (n_Length == 0)
        return;
    if (b_Owns(pcv_Source))
    {
        CT_SavedBytes co_Saved(pcv_Source, n_Length);
        v_Replace(co_Saved.qc_Get(), n_Length, n_Offset);
        return;
    }
    std::memcpy(pc_OpenRange(n_Length, n_Offset), pcv_Source, n_Length);
}

void CT_Buffer::v_Replace(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Length,
                          unsigned n_Offset)
{
    if (n_Length == sn_All)
        n_Length = pcco_Source->n_GetUsedSize() - n_SourceOffset;
    if (n_Length)
        v_Replace(pcco_Source->pv_Data + n_SourceOffset, n_Length, n_Offset);
}

void CT_Buffer::v_Insert(unsigned char c_Fill, unsigned n_Count, unsigned n_Offset)
{
    if (n_Count)
        std::memset(pc_OpenGap(n_Count, n_Offset), c_Fill, n_Count);
}

void CT_Buffer::v_Insert(const void* pcv_Source, unsigned n_Length, unsigned n_Offset)
{
    if (n_Length == 0)
        return;
    if (b_Owns(pcv_Source))
    {
        // The source moves with the block or with the bytes made room for.
        CT_SavedBytes co_Saved(pcv_Source, n_Length);
        v_Insert(co_Saved.qc_Get(), n_Length, n_Offset);
        return;
    }
    std::memcpy(pc_OpenGap(n_Length, n_Offset), pcv_Source, n_Length);
}

void CT_Buffer::v_Insert(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Length,
                         unsigned n_Offset)
{
    if (n_Length == sn_All)
        n_Length = pcco_Source->n_GetUsedSize() - n_SourceOffset;
    if (n_Length)
        v_Insert(pcco_Source->pv_Data + n_SourceOffset, n_Length, n_Offset);
}

void CT_Buffer::v_Remove(unsigned n_Count, unsigned n_Offset)
{
    if (n_Count == 0 || !pv_Data)
        return;
    v_CopyWeWrite();
    unsigned n_Used = n_GetUsedSize();
    if (n_Count == sn_All)
    {
        assert(n_Offset <= n_Used);
        v_SetUsedBufferSize(n_Offset);
        return;
    }
    assert(n_Offset + n_Count <= n_Used && "removed range beyond the used bytes");
    std::memmove(pv_Data + n_Offset, pv_Data + n_Offset + n_Count, n_Used - n_Offset - n_Count);
    v_SetUsedBufferSize(n_Used - n_Count);
}

void CT_Buffer::v_AtInsertCopy(unsigned n_SourceOffset, unsigned n_Count, unsigned n_Destination)
{
    if (n_Count == 0)
        return;
    v_CopyWeWrite();
    unsigned n_Used = n_GetUsedSize();
    if (n_Used + n_Count > n_GetMaximumSize())
    {
        CT_Buffer co_New(n_Used + n_Count, sn_DefaultGrowth);
        std::memcpy(co_New.pv_Data, pv_Data, n_Destination);
        std::memcpy(co_New.pv_Data + n_Destination, pv_Data + n_SourceOffset, n_Count);
        std::memcpy(co_New.pv_Data + n_Destination + n_Count, pv_Data + n_Destination,
                    n_Used - n_Destination);
        co_New.v_SetUsedBufferSize(n_Used + n_Count);
        v_Set(&co_New);
        return;
    }
    std::memmove(pv_Data + n_Destination + n_Count, pv_Data + n_Destination,
                 n_Used - n_Destination);
    if (n_Destination <= n_SourceOffset)
        n_SourceOffset += n_Count; // the source moved up with the rest
    std::memmove(pv_Data + n_Destination, pv_Data + n_SourceOffset, n_Count);
    v_SetUsedBufferSize(n_Used + n_Count);
}

void CT_Buffer::v_AtInsertCopy(const CT_Buffer* pcco_Source, unsigned n_SourceOffset,
                               unsigned n_Count, unsigned n_Destination)
{
    v_Insert(pcco_Source, n_SourceOffset, n_Count, n_Destination);
}

void CT_Buffer::v_AtInsertMove(unsigned n_SourceOffset, unsigned n_Count, unsigned n_Destination)
{
    if (n_SourceOffset == n_Destination || n_Count == 0)
        return;
    assert((n_Destination <= n_SourceOffset || n_Destination >= n_SourceOffset + n_Count) &&
           "destination inside the moved range");
    v_CopyWeWrite();
    unsigned char* pc_Source = pv_Data + n_SourceOffset;
    auto v_Shift = [&](const unsigned char* pc_Parked)
    {
        if (n_Destination > n_SourceOffset)
        {
            std::memmove(pc_Source, pc_Source + n_Count, n_Destination - n_SourceOffset - n_Count);
            std::memcpy(pv_Data + n_Destination - n_Count, pc_Parked, n_Count);
        }
        else
        {
            std::memmove(pv_Data + n_Destination + n_Count, pv_Data + n_Destination,
                         n_SourceOffset - n_Destination);
            std::memcpy(pv_Data + n_Destination, pc_Parked, n_Count);
        }
    };
    // Park the moved bytes in the spare capacity when they fit there, else aside.
    unsigned n_Used = n_GetUsedSize();
    if (n_GetMaximumSize() - n_Used >= n_Count)
    {
        std::memcpy(pv_Data + n_Used, pc_Source, n_Count);
        v_Shift(pv_Data + n_Used);
        return;
    }
    CT_SavedBytes co_Saved(pc_Source, n_Count);
    v_Shift(co_Saved.qc_Get());
}

void CT_Buffer::v_AtInsertMove(CT_Buffer* pco_Source, unsigned n_SourceOffset, unsigned n_Count,
                               unsigned n_Destination)
{
    if (pco_Source == this)
    {
        v_AtInsertMove(n_SourceOffset, n_Count, n_Destination);
        return;
    }
    v_Insert(pco_Source, n_SourceOffset, n_Count, n_Destination);
    pco_Source->v_Remove(n_Count, n_SourceOffset);
}
