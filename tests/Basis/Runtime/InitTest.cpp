#include "Basis/Runtime/Init.h"

#include <gtest/gtest.h>

namespace
{
int si_Calls = 0;

void v_Count()
{
    ++si_Calls;
}
} // namespace

TEST(Init, RunsItsFunctionOnceAtConstruction)
{
    si_Calls = 0;
    CT_Init co_Init("CT_Test", "sv_Init", v_Count);
    EXPECT_EQ(si_Calls, 1);
    CT_Init co_Plain(v_Count);
    EXPECT_EQ(si_Calls, 2);
}

TEST(Init, NullFunctionsDoNothing)
{
    CT_Init co_Init("CT_Test", "sv_Init", nullptr);
    {
        CT_Exit co_Exit("CT_Test", "sv_Exit", nullptr);
    }
    SUCCEED();
}

TEST(Exit, RunsItsFunctionAtDestructionOnly)
{
    si_Calls = 0;
    {
        CT_Exit co_Exit("CT_Test", "sv_Exit", v_Count);
        EXPECT_EQ(si_Calls, 0);
        CT_Exit co_Copy(co_Exit);
        EXPECT_STREQ(co_Copy.qccz_GetClass(), "CT_Test");
        EXPECT_STREQ(co_Copy.qccz_GetFunction(), "sv_Exit");
    }
    EXPECT_EQ(si_Calls, 2) << "a copy carries the function too";
}
