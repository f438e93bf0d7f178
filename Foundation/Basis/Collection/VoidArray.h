// CT_VoidArray: the library's growable array of fixed-size items, packed back to back in a
// CT_Buffer with no per-item header.
//
// An array owns one share of its buffer's block: copies share the block, and every operation that
// writes items first makes the block private, so a copy never sees another copy's writes. Like a
// buffer, one array object is used by one thread at a time, while arrays sharing a block may live
// in different threads. Positions count from 1 (count + 1 stands after the last item, 0 means no
// item); valid positions are the caller's duty and are checked only by assert. Nothing is
// reported to the error manager.
//
// Sizing: the one-item inserts grow a full array by the growth step, the n-copies insert sizes to
// exactly what it needs, and the block operations leave sizing to the buffer. The buffer rounds
// every request by its own capacity rules, so n_GetMaxItems may exceed what was asked for.
#pragma once

#include "Basis/Platform/Export.h"
#include "System/String/Buffer.h"

#include <cstddef>

struct _SHI_Pool;

class CT_EXPORT CT_VoidArray
{
public:
    static constexpr unsigned sn_All = 0xFFFFFFFFu; // as a block count: the rest of the source
    static constexpr unsigned sn_DefaultGrowth = 8; // in items

    explicit CT_VoidArray(unsigned n_ItemSize) : CT_VoidArray(n_ItemSize, sn_DefaultGrowth, 0) {}
    CT_VoidArray(unsigned n_ItemSize, unsigned n_Growth, unsigned n_InitialItems);
    CT_VoidArray(const CT_Buffer* pcco_Buffer, unsigned n_ItemSize) : co_Buffer(pcco_Buffer)
    {
        v_Keep(n_ItemSize);
    }
    explicit CT_VoidArray(const CT_VoidArray* pcco_Other)
        : n_ItemSize(pcco_Other->n_ItemSize), co_Buffer(&pcco_Other->co_Buffer)
    {
    }
    CT_VoidArray(const CT_VoidArray& co_Other) : CT_VoidArray(&co_Other) {}
    CT_VoidArray& operator=(const CT_VoidArray& co_Other);

    void v_Set(unsigned n_Growth, unsigned n_MinItems, int b_Reuse);
    // Share the other's storage and growth; unlike assignment, keep this array's item size.
    void v_Set(const CT_VoidArray* pcco_Other) { co_Buffer.v_Set(&pcco_Other->co_Buffer); }
    void v_Set(const CT_Buffer* pcco_Buffer) { co_Buffer.v_Set(pcco_Buffer); }
    void v_SetGrowth(unsigned n_Growth) { co_Buffer.v_SetGrowth(n_Bytes(n_Growth)); }
    void v_SetSize(unsigned n_MaxItems);

    unsigned n_GetCount() const { return co_Buffer.n_GetUsedSize() / n_ItemSize; }
    unsigned n_GetMaxItems() const { return co_Buffer.n_GetMaximumSize() / n_ItemSize; }
    unsigned n_GetGrowth() const { return co_Buffer.n_GetGrowth() / n_ItemSize; }
    unsigned n_GetItemSize() const { return n_ItemSize; }
    const CT_Buffer* pcco_GetBuffer() const { return &co_Buffer; }

    // pv_Item / pcv_Item point at item-size bytes of the caller's.
    void v_GetAt(void* pv_Item, int i_Position) const;
    void v_SetAt(const void* pcv_Item, int i_Position);
    void v_Insert(const void* pcv_Item) { v_InsertAt(pcv_Item, n_GetCount() + 1); }
    void v_Insert(const void* pcv_Item, unsigned n_Copies);
    void v_InsertAt(const void* pcv_Item, unsigned n_Position);
    void v_RemoveAt(unsigned n_Position);
    void v_Remove(unsigned n_First, unsigned n_Last);
    unsigned n_Find(const void* pcv_Item) const;
    int b_IsEqual(const CT_VoidArray* pcco_Other) const;

    // Block operations count in this array's item size, also in pcco_Source.
    void v_Replace(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count,
                   unsigned n_At);
    void v_Insert(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count,
                  unsigned n_At);
    void v_Append(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count)
    {
        v_Insert(pcco_Source, n_From, n_Count, n_GetCount() + 1);
    }
    void v_AtInsertCopy(unsigned n_From, unsigned n_Count, unsigned n_At);
    void v_AtInsertCopy(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count,
                        unsigned n_At);
    void v_AtInsertMove(unsigned n_From, unsigned n_Count, unsigned n_At);
    void v_AtInsertMove(CT_VoidArray* pco_Source, unsigned n_From, unsigned n_Count, unsigned n_At);

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

private:
    void v_Keep(unsigned n_NewItemSize);
    void v_Init(unsigned n_Growth, unsigned n_MinItems);
    unsigned n_Bytes(unsigned n_Items) const;
    unsigned n_Offset(unsigned n_Position) const;
    unsigned n_ItemOffset(unsigned n_Position) const;
    unsigned n_GapOffset(unsigned n_Position) const;
    unsigned n_BlockBytes(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count) const;
    const void* pcv_Outside(const void* pcv_Item, CT_Buffer& co_Saved) const;
    void v_InsertCopies(const void* pcv_Item, unsigned n_Copies, unsigned n_Offset,
                        unsigned n_NeededItems);

    unsigned n_ItemSize;
    CT_Buffer co_Buffer; // growth in bytes; used size count times item size

    static _SHI_Pool* spso_Pool;
};
