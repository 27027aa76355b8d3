#include <gtest/gtest.h>

#include <halvo.h>

extern "C" size_t HVT_ProgramBlockSizeSeenFromC(void);

TEST(PublicHeader, LayoutIsTheSameFromCAndCpp)
{
    EXPECT_EQ(416u, HVT_ProgramBlockSizeSeenFromC());
    EXPECT_EQ(sizeof(HV_ProgramInterface), HVT_ProgramBlockSizeSeenFromC());
}

TEST(PublicHeader, InterfaceVersionIsFifteenThirtyZero)
{
    EXPECT_EQ(15u, HV_INTERFACE_VERSION_MAJOR(HV_INTERFACE_VERSION));
    EXPECT_EQ(30u, HV_INTERFACE_VERSION_MINOR(HV_INTERFACE_VERSION));
    EXPECT_EQ(0u, HV_INTERFACE_VERSION_PATCH(HV_INTERFACE_VERSION));
}

TEST(PublicHeader, EngineInterfaceHoldsThirtyThreeOperationsThenThirteenTables)
{
    EXPECT_EQ(46 * sizeof(void*), sizeof(HV_EngineInterface));
    EXPECT_EQ(0u, offsetof(HV_EngineInterface, Print));
    EXPECT_EQ(32 * sizeof(void*), offsetof(HV_EngineInterface, IsDeveloperMode));
    EXPECT_EQ(33 * sizeof(void*), offsetof(HV_EngineInterface, achievements));
    EXPECT_EQ(34 * sizeof(void*), offsetof(HV_EngineInterface, audio));
    EXPECT_EQ(37 * sizeof(void*), offsetof(HV_EngineInterface, filesystem));
    EXPECT_EQ(44 * sizeof(void*), offsetof(HV_EngineInterface, threading));
}
