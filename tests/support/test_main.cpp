// The main of every test program that runs engine code: the engine is put back
// to its first state before and after each test, so that each test passes
// alone, in any order and repeated (--gtest_shuffle, --gtest_repeat).
#include <gtest/gtest.h>

#include "support/engine_reset.h"

namespace {

class EngineResetAroundEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { ResetEngine(); }
    void OnTestEnd(const ::testing::TestInfo&) override { ResetEngine(); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new EngineResetAroundEachTest);
    return RUN_ALL_TESTS();
}
