// CT_Buffer: the growable byte store under every string, array and list of the library.
//
// A buffer owns one share of a block: a 12-byte header followed by the data bytes, allocated as
// one piece. Copies share the block and count the share; the first write through a sharing
// buffer gives it a private copy. Use counts change atomically, so buffers in different threads
// may share a block, but one CT_Buffer object is not synchronised. Offsets and counts are the
// caller's duty and are checked only by assert; no operation reports an error.
#pragma once

#include "Basis/Platform/Atomic.h"
#include "Basis/Platform/Export.h"

#include <cstddef>
#include <cstdint>

struct _SHI_Pool;

class CT_EXPORT CT_Buffer
{
public:
    // The block header, immediately before the first data byte. Its layout is fixed.
    struct st_BufferData
    {
        std::uint32_t n_UseCount;    // buffers sharing the block; atomic increment/decrement only
        std::uint32_t n_MaximumSize; // capacity: data bytes the block can hold
        std::uint32_t n_UsedSize;    // data bytes in use from the start of the data
    };

    static constexpr unsigned sn_All = 0xFFFFFFFFu;      // "up to the used end"
    static constexpr unsigned sn_NotFound = 0xFFFFFFFFu; // n_Find's answer
    static constexpr unsigned sn_DefaultGrowth = 32;

    CT_Buffer() : n_Growth(sn_DefaultGrowth), pv_Data(nullptr) {}
    CT_Buffer(unsigned n_Size, unsigned n_Growth);
    CT_Buffer(const void* pcv_Source, unsigned n_Length, unsigned n_Growth);
    explicit CT_Buffer(const CT_Buffer* pcco_Other)
        : n_Growth(pcco_Other->n_Growth), pv_Data(pcco_Other->pv_Data)
    {
        v_IncUseCount();
    }
    CT_Buffer(const CT_Buffer& co_Other) : CT_Buffer(&co_Other) {}
    CT_Buffer& operator=(const CT_Buffer& co_Other);
    ~CT_Buffer() { v_DecUseCount(); }

    void v_Set(unsigned n_Size, unsigned n_Growth, int b_Reuse);
    void v_Set(const void* pcv_Source, unsigned n_Length, unsigned n_Growth);
    void v_Set(const CT_Buffer* pcco_Other);
    void v_Replace(const CT_Buffer* pcco_Other) { v_Set(pcco_Other); }

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

    unsigned n_GetGrowth() const { return n_Growth; }
    unsigned n_GetUsedSize() const { return pv_Data ? pso_GetData()->n_UsedSize : 0; }
    unsigned n_GetMaximumSize() const { return pv_Data ? pso_GetData()->n_MaximumSize : 0; }
    unsigned n_GetUseCount() const;
    const void* qcv_Get() const { return pv_Data; }

    unsigned n_Find(unsigned char c_Byte, unsigned n_Offset) const;
    unsigned n_Find(const void* pcv_Bytes, unsigned n_Length, unsigned n_Offset) const;
    int b_IsEqual(const void* pcv_Bytes, unsigned n_Length, unsigned n_Offset) const;
    int b_IsEqual(const CT_Buffer* pcco_Other, unsigned n_OtherOffset, unsigned n_Length,
                  unsigned n_Offset) const;

    void* qv_Get()
    {
        v_CopyWeWrite();
        return pv_Data;
    }
    void v_CopyWeWrite()
    {
        if (b_IsShared())
            v_CopyBeforeWrite();
    }
    void v_SetGrowth(unsigned n_NewGrowth) { n_Growth = n_NewGrowth; }
    void v_SetSize(unsigned n_Size, int b_Keep);
    void v_SetMinSize(unsigned n_Size, int b_Keep)
    {
        if (n_GetMaximumSize() < n_Size || !pv_Data)
            v_SetSize(n_Size, b_Keep);
    }
    void v_SetUsedSize(unsigned n_Size);

    void v_Replace(unsigned char c_Fill, unsigned n_Count, unsigned n_Offset);
    void v_Replace(const void* pcv_Source, unsigned n_Length, unsigned n_Offset);
    void v_Replace(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Length,
                   unsigned n_Offset);
    void v_Insert(unsigned char c_Fill, unsigned n_Count, unsigned n_Offset);
    void v_Insert(const void* pcv_Source, unsigned n_Length, unsigned n_Offset);
    void v_Insert(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Length,
                  unsigned n_Offset);
    void v_Append(unsigned char c_Byte);
    void v_Append(const void* pcv_Source, unsigned n_Length)
    {
        v_Insert(pcv_Source, n_Length, n_GetUsedSize());
    }
    void v_Append(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Length)
    {
        v_Insert(pcco_Source, n_SourceOffset, n_Length, n_GetUsedSize());
    }
    void v_Remove(unsigned n_Count, unsigned n_Offset);
    void v_AtInsertCopy(unsigned n_SourceOffset, unsigned n_Count, unsigned n_Destination);
    void v_AtInsertCopy(const CT_Buffer* pcco_Source, unsigned n_SourceOffset, unsigned n_Count,
                        unsigned n_Destination);
    void v_AtInsertMove(unsigned n_SourceOffset, unsigned n_Count, unsigned n_Destination);
    void v_AtInsertMove(CT_Buffer* pco_Source, unsigned n_SourceOffset, unsigned n_Count,
                        unsigned n_Destination);

    // Capacity that v_SetSize gives a request of n_Size bytes; the granule rule alone is what
    // the constructors and v_Set use.
    static unsigned sn_Capacity(unsigned n_Size, unsigned n_Growth);
    static unsigned sn_GranuleCapacity(unsigned n_Size, unsigned n_Growth);

private:
    st_BufferData* pso_GetData() const
    {
        return pv_Data ? reinterpret_cast<st_BufferData*>(pv_Data) - 1 : nullptr;
    }
    // The one test before a write. A block private to this buffer cannot become shared behind
    // its back, since only this buffer could share it; but a sharer in another thread may let go
    // of it at any time, so the count is read atomically, and with acquire so that the sharer's
    // last reads of the block happen before this buffer writes it in place.
    int b_IsShared() const
    {
        return pv_Data && __atomic_load_n(&pso_GetData()->n_UseCount, __ATOMIC_ACQUIRE) > 1;
    }
    void v_IncUseCount()
    {
        if (pv_Data)
            CT_Atomic::sn_Increment(&pso_GetData()->n_UseCount);
    }
    void v_DecUseCount()
    {
        if (pv_Data && CT_Atomic::sn_Decrement(&pso_GetData()->n_UseCount) == 0)
            v_FreeData();
    }
    void v_FreeData();
    void v_SetUsedBufferSize(unsigned n_Size) { pso_GetData()->n_UsedSize = n_Size; }
    void v_CopyBeforeWrite();
    void v_DeleteData();
    void v_Init(unsigned n_Size, unsigned n_NewGrowth);
    void v_Init(const void* pcv_Source, unsigned n_Length, unsigned n_NewGrowth);
    void v_Init(const CT_Buffer* pcco_Other);
    void v_Null() { pv_Data = nullptr; }
    // Room for n_Size bytes in a private block, growing by the capacity rules when short.
    void v_Reserve(unsigned n_Size);
    int b_Owns(const void* pcv_Address) const;
    // n_Count bytes at n_Offset in a private block, the used size extended to cover them.
    unsigned char* pc_OpenRange(unsigned n_Count, unsigned n_Offset);
    // A gap of n_Count bytes at n_Offset in a private block; the bytes after it move up.
    unsigned char* pc_OpenGap(unsigned n_Count, unsigned n_Offset);

    static unsigned char* spc_NewBlock(unsigned n_Capacity, unsigned n_Used);

    unsigned n_Growth;
    unsigned char* pv_Data;

    static _SHI_Pool* spso_Pool;
};

static_assert(sizeof(CT_Buffer::st_BufferData) == 12, "the block header is 12 bytes");

inline void CT_Buffer::v_Append(unsigned char c_Byte)
{
    st_BufferData* pso = pso_GetData();
    if (pso && !b_IsShared() && pso->n_UsedSize < pso->n_MaximumSize)
        pv_Data[pso->n_UsedSize++] = c_Byte;
    else
        v_Insert(&c_Byte, 1, n_GetUsedSize());
}
