// CT_Array<T*>: a CT_VoidArray of pointers to T with typed item access. Only the pointer form
// exists. The untyped array is a private base, so that no caller can read the items in another
// item size or hand them to an array of other items; everything else, sharing and sizing
// included, is the base's.
#pragma once

#include "Basis/Collection/VoidArray.h"

template <class T>
class CT_Array;

template <class T>
class CT_Array<T*> : private CT_VoidArray
{
public:
    using CT_VoidArray::sn_All;

    CT_Array() : CT_VoidArray(sizeof(T*)) {}
    CT_Array(unsigned n_Growth, unsigned n_InitialItems)
        : CT_VoidArray(sizeof(T*), n_Growth, n_InitialItems)
    {
    }

    using CT_VoidArray::n_GetCount;
    using CT_VoidArray::n_GetGrowth;
    using CT_VoidArray::n_GetMaxItems;
    using CT_VoidArray::pcco_GetBuffer;
    using CT_VoidArray::v_Remove;
    using CT_VoidArray::v_RemoveAt;
    using CT_VoidArray::v_SetGrowth;
    using CT_VoidArray::v_SetSize;
    using CT_VoidArray::operator new;
    using CT_VoidArray::operator delete;

    void v_Set(unsigned n_Growth, unsigned n_MinItems, int b_Reuse)
    {
        CT_VoidArray::v_Set(n_Growth, n_MinItems, b_Reuse);
    }

    T* p_GetAt(unsigned n_Position) const
    {
        T* p;
        v_GetAt(&p, static_cast<int>(n_Position));
        return p;
    }
    void v_SetAt(T* p, unsigned n_Position)
    {
        CT_VoidArray::v_SetAt(&p, static_cast<int>(n_Position));
    }
    void v_Insert(T* p) { CT_VoidArray::v_Insert(&p); }
    void v_Insert(T* p, unsigned n_Copies) { CT_VoidArray::v_Insert(&p, n_Copies); }
    void v_InsertAt(T* p, unsigned n_Position) { CT_VoidArray::v_InsertAt(&p, n_Position); }
    unsigned n_Find(T* p) const { return CT_VoidArray::n_Find(&p); }
    int b_IsEqual(const CT_Array* pcco_Other) const { return CT_VoidArray::b_IsEqual(pcco_Other); }

    void v_Replace(const CT_Array* pcco_Source, unsigned n_From, unsigned n_Count, unsigned n_At)
    {
        CT_VoidArray::v_Replace(pcco_Source, n_From, n_Count, n_At);
    }
    void v_Insert(const CT_Array* pcco_Source, unsigned n_From, unsigned n_Count, unsigned n_At)
    {
        CT_VoidArray::v_Insert(pcco_Source, n_From, n_Count, n_At);
    }
    void v_Append(const CT_Array* pcco_Source, unsigned n_From, unsigned n_Count)
    {
        CT_VoidArray::v_Append(pcco_Source, n_From, n_Count);
    }
    void v_AtInsertCopy(unsigned n_From, unsigned n_Count, unsigned n_At)
    {
        CT_VoidArray::v_AtInsertCopy(n_From, n_Count, n_At);
    }
    void v_AtInsertMove(unsigned n_From, unsigned n_Count, unsigned n_At)
    {
        CT_VoidArray::v_AtInsertMove(n_From, n_Count, n_At);
    }
    void v_AtInsertMove(CT_Array* pco_Source, unsigned n_From, unsigned n_Count, unsigned n_At)
    {
        CT_VoidArray::v_AtInsertMove(pco_Source, n_From, n_Count, n_At);
    }
};
