#include "Basis/Runtime/Type.h"
#include "System/String/CString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const CT_Type* pcco_CString()
{
    return CT_CString::spcco_GetType();
}

const CT_Type* pcco_String()
{
    return CT_String::spcco_GetType();
}
} // namespace

TEST(Type, StringRecordsAreRegisteredAtLoad)
{
    EXPECT_STREQ(pcco_String()->qccz_GetName(), "CT_String");
    EXPECT_STREQ(pcco_CString()->qccz_GetName(), "CT_CString");
    EXPECT_EQ(pcco_String()->n_GetTypes(), 1u);
    EXPECT_EQ(pcco_CString()->n_GetTypes(), 2u);
    EXPECT_EQ(pcco_CString()->pcv_GetObject(), &CT_CString::sco_Object);
    EXPECT_EQ(pcco_String()->pcv_GetObject(), &CT_String::sco_Object);
}

TEST(Type, IsAAnswersOnlyForTheExactClass)
{
    CT_CString co_Text("abc", CT_String::sn_All);
    EXPECT_EQ(co_Text.vpv_IsA(pcco_CString()), &co_Text);
    EXPECT_EQ(co_Text.vpv_IsA(pcco_String()), nullptr);
    EXPECT_EQ(co_Text.vpcco_GetType(), pcco_CString());
}

TEST(Type, IsKindOfAnswersForTheClassAndItsBase)
{
    CT_CString co_Text;
    const CT_String* pcco_Base = &co_Text;
    EXPECT_EQ(co_Text.vpv_IsKindOf(pcco_CString()), &co_Text);
    EXPECT_EQ(pcco_Base->vpv_IsKindOf(pcco_String()), pcco_Base);
    CT_Type co_Unrelated("CT_Unrelated", nullptr, 0);
    co_Unrelated.v_Enter(); // closes the collection its construction opened
    EXPECT_EQ(co_Text.vpv_IsKindOf(&co_Unrelated), nullptr);
}

// A record with its own collection, built by hand the way a prototype's constructors would.
class TypeRecord : public ::testing::Test
{
protected:
    struct st_Object
    {
        char ac_Base[8];
        char ac_Derived[8];
    };
    st_Object so_Prototype{};
};

TEST_F(TypeRecord, CastTableHoldsOffsetsAndRejectsAmbiguousBases)
{
    CT_Type co_Base("Base", nullptr, 0);
    CT_Type co_Other("Other", nullptr, 0);
    CT_Type co_Derived("Derived", &so_Prototype, sizeof(so_Prototype));
    EXPECT_TRUE(CT_Type::sb_InConstruct(&so_Prototype.ac_Derived[7]));
    EXPECT_FALSE(
        CT_Type::sb_InConstruct(reinterpret_cast<char*>(&so_Prototype) + sizeof(so_Prototype)));
    CT_Type::sv_Enter(so_Prototype.ac_Base, &co_Base);
    CT_Type::sv_Enter(so_Prototype.ac_Derived, &co_Other);
    CT_Type::sv_Enter(so_Prototype.ac_Derived, &co_Other);
    CT_Type::sv_Enter(&so_Prototype, &co_Derived);
    co_Derived.v_Enter();
    EXPECT_FALSE(CT_Type::sb_InConstruct(&so_Prototype));

    ASSERT_EQ(co_Derived.n_GetTypes(), 4u);
    st_Object so_Instance;
    EXPECT_EQ(co_Derived.pv_CastTo(&so_Instance, &co_Derived), &so_Instance);
    EXPECT_EQ(co_Derived.pv_CastTo(&so_Instance, &co_Base), so_Instance.ac_Base);
    EXPECT_EQ(co_Derived.pv_CastTo(&so_Instance, &co_Other), nullptr) << "ambiguous base";
    EXPECT_EQ(co_Base.pv_CastTo(&so_Instance, &co_Base), nullptr) << "empty table";
}

TEST_F(TypeRecord, DestructionCountsTheRecordDown)
{
    CT_Type co_Derived("Derived", &so_Prototype, sizeof(so_Prototype));
    CT_Type::sv_Enter(so_Prototype.ac_Base, &co_Derived);
    CT_Type::sv_Enter(&so_Prototype, &co_Derived);
    co_Derived.v_Enter();

    CT_Type::sv_ToDestruct(&co_Derived);
    EXPECT_TRUE(CT_Type::sb_InDestruct(&so_Prototype));
    EXPECT_EQ(co_Derived.n_GetTypes(), 1u);
    EXPECT_FALSE(CT_Type::sb_InDestruct(&so_Prototype + 1)) << "outside the prototype";
    EXPECT_EQ(co_Derived.n_GetTypes(), 0u);
    EXPECT_FALSE(CT_Type::sb_InDestruct(&so_Prototype)) << "destruction is over";
}

TEST(Type, CopyDoesNotShareTheCastTable)
{
    CT_Type co_Copy(*CT_CString::spcco_GetType());
    EXPECT_STREQ(co_Copy.qccz_GetName(), "CT_CString");
    EXPECT_EQ(co_Copy.n_GetTypes(), 0u);
    CT_CString co_Text;
    EXPECT_EQ(co_Copy.pv_CastTo(&co_Text, pcco_String()), nullptr);
}
