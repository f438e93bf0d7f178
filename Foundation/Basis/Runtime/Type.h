// The library's own run-time type records, behind vpv_IsA and vpv_IsKindOf.
//
// A class that takes part owns a static record (sco_Type) and a static prototype (sco_Object).
// While the prototype is constructed, every taking-part constructor in its chain enters its own
// record and subobject address into the collection area; the most derived constructor then
// turns the collection into the record's cast table of offsets. Records are built and torn down
// only during module load and unload; afterwards they are read-only and may be read from any
// thread.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdint>

class CT_EXPORT CT_Type
{
public:
    // One cast-table entry. During collection n_Offset holds the subobject's address; after
    // v_Enter its offset from the start of the prototype.
    struct st_Type
    {
        CT_Type* pco_Type;
        std::intptr_t n_Offset;
    };

    CT_Type(const char* qcz_Name, void* pv_Object, unsigned n_Size);
    // A copy names the same class but never owns the original's cast table.
    CT_Type(const CT_Type& co_Other);
    CT_Type& operator=(const CT_Type&) = delete;
    virtual ~CT_Type();

    static void sv_Enter(void* pv_Object, CT_Type* pco_Type);
    void v_Enter();
    static int sb_InConstruct(const void* pcv_Address);
    static void sv_ToDestruct(void* pv_Type);
    static int sb_InDestruct(const void* pcv_Address);

    // The object address adjusted to the wanted base, or null when the base is not in the
    // table or occurs more than once.
    void* pv_CastTo(void* pv_Object, const CT_Type* pcco_Wanted) const;

    unsigned n_GetTypes() const { return n_Types; }
    const char* qccz_GetName() const { return qcz_Name; }
    const void* pcv_GetObject() const { return pv_Object; }

    static constexpr unsigned sn_MaxTypes = 32;

    // Cheap guards for the registration steps that every constructor and destructor runs:
    // outside module load and unload no record is being collected or counted down.
    static int sb_Collecting() { return spco_Construct != nullptr; }
    static int sb_Destructing() { return spco_Destruct != nullptr; }

private:
    void v_Exit();
    int b_InRange(const void* pcv_Address) const;

    const char* qcz_Name;
    void* pv_Object;
    unsigned n_Size;
    st_Type* paso_Types;
    unsigned n_Types;
    // The list of all records; kept for the record's layout, never walked by the library.
    [[maybe_unused]] CT_Type* pco_Next;

    static st_Type saso_Types[sn_MaxTypes];
    static unsigned sn_Types;
    static CT_Type* spco_Construct;
    static CT_Type* spco_Destruct;
    static CT_Type* spco_Any;
};

// The members every taking-part class declares. The record and prototype are defined in the
// module's static initialiser list, which fixes their order. The root of a family declares the
// queries (CT_DECLARE_TYPE), each class below it overrides them (CT_DECLARE_DERIVED_TYPE).
#define CT_DECLARE_TYPE_MEMBERS(Class, Virtual, Override)                                          \
public:                                                                                            \
    static const CT_Type* spcco_GetType()                                                          \
    {                                                                                              \
        return &sco_Type;                                                                          \
    }                                                                                              \
    Virtual const CT_Type* vpcco_GetType() const Override                                          \
    {                                                                                              \
        return &sco_Type;                                                                          \
    }                                                                                              \
    Virtual void* vpv_IsA(const CT_Type* pcco_Type) const Override                                 \
    {                                                                                              \
        return pcco_Type == &sco_Type ? const_cast<Class*>(this) : nullptr;                        \
    }                                                                                              \
    Virtual void* vpv_IsKindOf(const CT_Type* pcco_Type) const Override                            \
    {                                                                                              \
        return sco_Type.pv_CastTo(const_cast<Class*>(this), pcco_Type);                            \
    }                                                                                              \
    static CT_Type sco_Type;                                                                       \
    static Class sco_Object;
#define CT_DECLARE_TYPE(Class) CT_DECLARE_TYPE_MEMBERS(Class, virtual, )
#define CT_DECLARE_DERIVED_TYPE(Class) CT_DECLARE_TYPE_MEMBERS(Class, , override)

// Step 3 of registration: run by each taking-part constructor after its member initialisation.
#define CT_REGISTER_CONSTRUCT(Class)                                                               \
    do                                                                                             \
    {                                                                                              \
        if (CT_Type::sb_Collecting())                                                              \
        {                                                                                          \
            if (CT_Type::sb_InConstruct(this))                                                     \
                CT_Type::sv_Enter(this, &Class::sco_Type);                                         \
            if (this == &Class::sco_Object)                                                        \
                Class::sco_Type.v_Enter();                                                         \
        }                                                                                          \
    } while (0)

// Step 4: run by each taking-part destructor.
#define CT_REGISTER_DESTRUCT(Class)                                                                \
    do                                                                                             \
    {                                                                                              \
        if (this == &Class::sco_Object)                                                            \
            CT_Type::sv_ToDestruct(&Class::sco_Type);                                              \
        if (CT_Type::sb_Destructing())                                                             \
            CT_Type::sb_InDestruct(this);                                                          \
    } while (0)
