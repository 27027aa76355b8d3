#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(MemoryBlocks, GlobalBlockKnowsItsSizeAndLocksAndBlocksAreZeroedWhenAsked)
{
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    for (int index = 0; index < 10; ++index) EXPECT_EQ(bytes[index], 0);
    std::memcpy(bytes, "text", 5);
    EXPECT_NE(GlobalLock(block), nullptr);
    EXPECT_TRUE(GlobalUnlock(block));  // still locked once
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(GlobalUnlock(block));  // now unlocked: zero with no error
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_EQ(GlobalFree(block), nullptr);
    auto* local = static_cast<unsigned char*>(LocalAlloc(LPTR, 16));
    ASSERT_NE(local, nullptr);
    for (int index = 0; index < 16; ++index) EXPECT_EQ(local[index], 0);
    EXPECT_EQ(LocalFree(local), nullptr);
}

}  // namespace
