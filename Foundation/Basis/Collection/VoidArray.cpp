#include "Basis/Collection/VoidArray.h"

#include "Basis/Platform/Heap.h"

#include <cassert>
#include <cstdint>
#include <cstring>

namespace
{
// One item between the array and the caller. Items of 1, 2 and 4 bytes move as a single load and
// store: memcpy of a constant size compiles to exactly that and, unlike a typed pointer, stays
// defined when either side is misaligned. Other sizes are a block copy.
void v_CopyItem(void* pv_To, const void* pcv_From, unsigned n_Size)
{
    switch (n_Size)
    {
    case 1:
        std::memcpy(pv_To, pcv_From, 1);
        return;
    case 2:
        std::memcpy(pv_To, pcv_From, 2);
        return;
    case 4:
        std::memcpy(pv_To, pcv_From, 4);
        return;
    default:
        std::memmove(pv_To, pcv_From, n_Size);
        return;
    }
}
} // namespace

CT_VoidArray::CT_VoidArray(unsigned n_ItemSize, unsigned n_Growth, unsigned n_InitialItems)
{
    v_Keep(n_ItemSize);
    v_Init(n_Growth, n_InitialItems);
}

CT_VoidArray& CT_VoidArray::operator=(const CT_VoidArray& co_Other)
{
    v_Set(&co_Other);
    v_Keep(co_Other.n_ItemSize);
    return *this;
}

void CT_VoidArray::v_Keep(unsigned n_NewItemSize)
{
    assert(n_NewItemSize != 0 && "every count divides by the item size");
    n_ItemSize = n_NewItemSize;
}

void CT_VoidArray::v_Init(unsigned n_Growth, unsigned n_MinItems)
{
    co_Buffer.v_Set(n_Bytes(n_MinItems), n_Bytes(n_Growth), 0);
}

// Reuse is judged in items, not by the buffer's granule rule: storage sized by the percentage
// rules, or under another growth, is kept whenever it holds n_MinItems.
void CT_VoidArray::v_Set(unsigned n_Growth, unsigned n_MinItems, int b_Reuse)
{
    if (!b_Reuse || n_MinItems > n_GetMaxItems())
    {
        v_Init(n_Growth, n_MinItems);
        return;
    }
    v_SetGrowth(n_Growth);
    co_Buffer.v_SetUsedSize(0);
}

void CT_VoidArray::v_SetSize(unsigned n_MaxItems)
{
    if (n_MaxItems == n_GetMaxItems())
        return;
    co_Buffer.v_SetSize(n_Bytes(n_MaxItems), 1);
    // The kept bytes end where the new capacity does, which may cut an item in two.
    co_Buffer.v_SetUsedSize(n_Bytes(n_GetCount()));
}

unsigned CT_VoidArray::n_Bytes(unsigned n_Items) const
{
    assert(n_Items <= 0xFFFFFFFFu / n_ItemSize && "more items than a 32-bit size holds");
    return n_Items * n_ItemSize;
}

unsigned CT_VoidArray::n_Offset(unsigned n_Position) const
{
    assert(n_Position >= 1 && "position 0 is no item");
    return n_Bytes(n_Position - 1);
}

unsigned CT_VoidArray::n_ItemOffset(unsigned n_Position) const
{
    assert(n_Position <= n_GetCount() && "position beyond the last item");
    return n_Offset(n_Position);
}

unsigned CT_VoidArray::n_GapOffset(unsigned n_Position) const
{
    assert(n_Position <= n_GetCount() + 1 && "insert position beyond the end");
    return n_Offset(n_Position);
}

// The block of n_Count items of the source from n_From on, in bytes; sn_All is the rest of it.
unsigned CT_VoidArray::n_BlockBytes(const CT_VoidArray* pcco_Source, unsigned n_From,
                                    unsigned n_Count) const
{
    unsigned n_Available = pcco_Source->co_Buffer.n_GetUsedSize() / n_ItemSize;
    assert(n_From >= 1 && n_From <= n_Available + 1 && "block start beyond the source");
    unsigned n_Rest = n_Available - (n_From - 1);
    assert((n_Count == sn_All || n_Count <= n_Rest) && "block beyond the source");
    return n_Bytes(n_Count == sn_All ? n_Rest : n_Count);
}

void CT_VoidArray::v_GetAt(void* pv_Item, int i_Position) const
{
    unsigned n = n_ItemOffset(static_cast<unsigned>(i_Position));
    v_CopyItem(pv_Item, static_cast<const unsigned char*>(co_Buffer.qcv_Get()) + n, n_ItemSize);
}

void CT_VoidArray::v_SetAt(const void* pcv_Item, int i_Position)
{
    unsigned n = n_ItemOffset(static_cast<unsigned>(i_Position));
    v_CopyItem(static_cast<unsigned char*>(co_Buffer.qv_Get()) + n, pcv_Item, n_ItemSize);
}

// An item the caller takes from this array's own block would be left behind when growing moves
// the block, so it is copied aside first.
const void* CT_VoidArray::pcv_Outside(const void* pcv_Item, CT_Buffer& co_Saved) const
{
    auto n_Item = reinterpret_cast<std::uintptr_t>(pcv_Item);
    auto n_Data = reinterpret_cast<std::uintptr_t>(co_Buffer.qcv_Get());
    if (!n_Data || n_Item - n_Data >= co_Buffer.n_GetMaximumSize())
        return pcv_Item;
    co_Saved.v_Set(pcv_Item, n_ItemSize, CT_Buffer::sn_All);
    return co_Saved.qcv_Get();
}

void CT_VoidArray::v_InsertCopies(const void* pcv_Item, unsigned n_Copies, unsigned n_ByteOffset,
                                  unsigned n_NeededItems)
{
    CT_Buffer co_Saved;
    pcv_Item = pcv_Outside(pcv_Item, co_Saved);
    if (n_NeededItems > n_GetMaxItems())
        co_Buffer.v_SetSize(n_Bytes(n_NeededItems), 1);
    for (unsigned n = 0; n < n_Copies; ++n)
        co_Buffer.v_Insert(pcv_Item, n_ItemSize, n_ByteOffset + n_Bytes(n));
}

// Growth policy: one item into a full array first raises the maximum by the growth step. A step
// of 0 (a growth below one item, as a shared buffer may bring) counts as 1, so the item finds room.
void CT_VoidArray::v_InsertAt(const void* pcv_Item, unsigned n_Position)
{
    unsigned n_Max = n_GetMaxItems();
    unsigned n_Step = n_GetGrowth() ? n_GetGrowth() : 1;
    v_InsertCopies(pcv_Item, 1, n_GapOffset(n_Position),
                   n_GetCount() < n_Max ? n_Max : n_Max + n_Step);
}

// Copies are sized for exactly, without a growth step.
void CT_VoidArray::v_Insert(const void* pcv_Item, unsigned n_Copies)
{
    v_InsertCopies(pcv_Item, n_Copies, n_Bytes(n_GetCount()), n_GetCount() + n_Copies);
}

void CT_VoidArray::v_RemoveAt(unsigned n_Position)
{
    co_Buffer.v_Remove(n_ItemSize, n_ItemOffset(n_Position));
}

void CT_VoidArray::v_Remove(unsigned n_First, unsigned n_Last)
{
    assert(n_First <= n_Last + 1 && n_Last <= n_GetCount() && "range beyond the items");
    co_Buffer.v_Remove(n_Bytes(n_Last - n_First + 1), n_Offset(n_First));
}

unsigned CT_VoidArray::n_Find(const void* pcv_Item) const
{
    for (unsigned n = 1, n_Count = n_GetCount(); n <= n_Count; ++n)
        if (co_Buffer.b_IsEqual(pcv_Item, n_ItemSize, n_Offset(n)))
            return n;
    return 0;
}

int CT_VoidArray::b_IsEqual(const CT_VoidArray* pcco_Other) const
{
    unsigned n_Count = n_GetCount();
    return n_ItemSize == pcco_Other->n_ItemSize && n_Count == pcco_Other->n_GetCount() &&
           (n_Count == 0 || co_Buffer.b_IsEqual(&pcco_Other->co_Buffer, 0, n_Bytes(n_Count), 0));
}

void CT_VoidArray::v_Replace(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count,
                             unsigned n_At)
{
    co_Buffer.v_Replace(&pcco_Source->co_Buffer, n_Offset(n_From),
                        n_BlockBytes(pcco_Source, n_From, n_Count), n_GapOffset(n_At));
}

void CT_VoidArray::v_Insert(const CT_VoidArray* pcco_Source, unsigned n_From, unsigned n_Count,
                            unsigned n_At)
{
    co_Buffer.v_Insert(&pcco_Source->co_Buffer, n_Offset(n_From),
                       n_BlockBytes(pcco_Source, n_From, n_Count), n_GapOffset(n_At));
}

void CT_VoidArray::v_AtInsertCopy(unsigned n_From, unsigned n_Count, unsigned n_At)
{
    unsigned n_Length = n_BlockBytes(this, n_From, n_Count);
    // A copy that does not fit makes the buffer take a block of its default growth; the array
    // keeps the growth it was given.
    unsigned n_Growth = co_Buffer.n_GetGrowth();
    co_Buffer.v_AtInsertCopy(n_Offset(n_From), n_Length, n_GapOffset(n_At));
    co_Buffer.v_SetGrowth(n_Growth);
}

void CT_VoidArray::v_AtInsertCopy(const CT_VoidArray* pcco_Source, unsigned n_From,
                                  unsigned n_Count, unsigned n_At)
{
    assert(n_Count != sn_All && "no rest-of-source rule here");
    v_Insert(pcco_Source, n_From, n_Count, n_At);
}

void CT_VoidArray::v_AtInsertMove(unsigned n_From, unsigned n_Count, unsigned n_At)
{
    if (n_At == n_From || n_At == n_From + n_Count)
        return;
    assert((n_At < n_From || n_At > n_From + n_Count) && "destination inside the moved block");
    co_Buffer.v_AtInsertMove(n_Offset(n_From), n_BlockBytes(this, n_From, n_Count),
                             n_GapOffset(n_At));
}

// Within one array, inserting first and removing after would remove the wrong items whenever the
// destination lies before the block, so that case is the in-place move.
void CT_VoidArray::v_AtInsertMove(CT_VoidArray* pco_Source, unsigned n_From, unsigned n_Count,
                                  unsigned n_At)
{
    if (pco_Source == this)
    {
        v_AtInsertMove(n_From, n_Count, n_At);
        return;
    }
    assert(n_Count != sn_All && "no rest-of-source rule here");
    co_Buffer.v_AtInsertMove(&pco_Source->co_Buffer, n_Offset(n_From),
                             n_BlockBytes(pco_Source, n_From, n_Count), n_GapOffset(n_At));
}

CT_DEFINE_POOLED_ALLOCATION(CT_VoidArray)
