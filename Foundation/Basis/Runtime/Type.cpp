#include "Basis/Runtime/Type.h"

#include "Basis/Platform/Heap.h"

#include <cstring>

CT_Type::st_Type CT_Type::saso_Types[CT_Type::sn_MaxTypes];
unsigned CT_Type::sn_Types;
CT_Type* CT_Type::spco_Construct;
CT_Type* CT_Type::spco_Destruct;
CT_Type* CT_Type::spco_Any;

CT_Type::CT_Type(const char* qcz_Name, void* pv_Object, unsigned n_Size)
    : qcz_Name(qcz_Name), pv_Object(pv_Object), n_Size(n_Size), paso_Types(nullptr), n_Types(0),
      pco_Next(spco_Any)
{
    spco_Construct = this;
    spco_Any = this;
}

CT_Type::CT_Type(const CT_Type& co_Other)
    : qcz_Name(co_Other.qcz_Name), pv_Object(co_Other.pv_Object), n_Size(co_Other.n_Size),
      paso_Types(nullptr), n_Types(0), pco_Next(nullptr)
{
}

CT_Type::~CT_Type()
{
    v_Exit();
}

void CT_Type::v_Exit()
{
    qcz_Name = nullptr;
    pv_Object = nullptr;
    CT_Heap::sv_Free(paso_Types);
    paso_Types = nullptr;
    n_Types = 0;
}

void CT_Type::sv_Enter(void* pv_Object, CT_Type* pco_Type)
{
    // No bounds check by design: a chain of more than sn_MaxTypes classes is a programming error.
    saso_Types[sn_Types].pco_Type = pco_Type;
    saso_Types[sn_Types].n_Offset = reinterpret_cast<std::intptr_t>(pv_Object);
    ++sn_Types;
}

void CT_Type::v_Enter()
{
    paso_Types = static_cast<st_Type*>(CT_Heap::spv_Alloc(sn_Types * sizeof(st_Type)));
    std::memcpy(paso_Types, saso_Types, sn_Types * sizeof(st_Type));
    n_Types = sn_Types;
    sn_Types = 0;
    for (unsigned i = 0; i < n_Types; ++i)
        paso_Types[i].n_Offset -= reinterpret_cast<std::intptr_t>(pv_Object);
    spco_Construct = nullptr;
}

int CT_Type::b_InRange(const void* pcv_Address) const
{
    const char* pcc = static_cast<const char*>(pcv_Address);
    const char* pcc_Begin = static_cast<const char*>(pv_Object);
    return pcc >= pcc_Begin && pcc < pcc_Begin + n_Size;
}

int CT_Type::sb_InConstruct(const void* pcv_Address)
{
    return spco_Construct && spco_Construct->b_InRange(pcv_Address);
}

void CT_Type::sv_ToDestruct(void* pv_Type)
{
    spco_Destruct = static_cast<CT_Type*>(pv_Type);
}

int CT_Type::sb_InDestruct(const void* pcv_Address)
{
    if (!spco_Destruct)
        return 0;
    CT_Type* pco_Type = spco_Destruct;
    int b_In = pco_Type->b_InRange(pcv_Address);
    if (--pco_Type->n_Types == 0)
        spco_Destruct = nullptr;
    return b_In;
}

void* CT_Type::pv_CastTo(void* pv_Object, const CT_Type* pcco_Wanted) const
{
    const st_Type* pcso_Match = nullptr;
    unsigned n_Matches = 0;
    for (unsigned i = 0; i < n_Types; ++i)
    {
        if (paso_Types[i].pco_Type == pcco_Wanted)
        {
            pcso_Match = &paso_Types[i];
            ++n_Matches;
        }
    }
    if (n_Matches != 1)
        return nullptr;
    return static_cast<char*>(pv_Object) + pcso_Match->n_Offset;
}
