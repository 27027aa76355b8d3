#include <gtest/gtest.h>

#include <string>

#include "core/error_texts.h"
#include "engine_test_support.h"

TEST(ErrorTexts, CategoryIsTheHighSixteenBitsAndEachCodeHasItsDescription)
{
    EXPECT_STREQ("No category", HVI_GetErrorCategoryName(0x0005));
    EXPECT_STREQ("D3D11 Renderer", HVI_GetErrorCategoryName(0x1000a));
    EXPECT_STREQ("D3D11/12 DXGI", HVI_GetErrorCategoryName(0x30003));
    EXPECT_STREQ("Unknown category", HVI_GetErrorCategoryName(0x20000));
    EXPECT_STREQ("failed to create the D3D device", HVI_GetErrorDescription(0x10000));
    EXPECT_STREQ("failed to create a blend state", HVI_GetErrorDescription(0x1000d));
    EXPECT_STREQ("failed to get a DXGI factory", HVI_GetErrorDescription(0x30003));
    EXPECT_STREQ("unknown error", HVI_GetErrorDescription(0x10001));
}

using PlatformErrorReport = ::testing::Test;

TEST_F(PlatformErrorReport, IsOneLineWithAnyExtraTextAfterTwoLineBreaksAndAPopupInDeveloperMode)
{
    HVI_ReportPlatformError(0x10003, 0, nullptr);
    HVI_ReportPlatformError(0x30003, 0, "%s", "Create");
    HVI_SetDeveloperMode(true);
    HVI_SetFeatureLists("NO_POPUPS", nullptr, nullptr);
    HVI_ReportPlatformError(0x10000, 0, nullptr);
    EXPECT_EQ(LogCapture::AllWritten(),
              (std::vector<std::string>{
                  "[ERROR] D3D11 Renderer error: failed to create the SDR swap chain (0x00010003)",
                  "[ERROR] D3D11/12 DXGI error: failed to get a DXGI factory (0x00030003)\n\nCreate",
                  "[ERROR] [POPUP] D3D11 Renderer error: failed to create the D3D device (0x00010000)",
              }));
}

TEST_F(PlatformErrorReport, PlatformErrorAddsTheSystemMessageWithoutItsLineBreak)
{
    HVI_ReportPlatformError(0x30003, 5, "%s", "Get from adapter");
    const std::string line = LogCapture::AllWritten().back();
    const std::string head =
        "[ERROR] D3D11/12 DXGI error: failed to get a DXGI factory (0x00030003)\n\nWindows error 0x00000005: ";
    ASSERT_EQ(0u, line.rfind(head, 0)) << line;
    const std::string rest = line.substr(head.size());
    const std::string tail = "\n\nGet from adapter";
    ASSERT_GT(rest.size(), tail.size());
    EXPECT_EQ(tail, rest.substr(rest.size() - tail.size()));
    const std::string message = rest.substr(0, rest.size() - tail.size());
    EXPECT_FALSE(message.empty());
    EXPECT_NE('\n', message.back());
    EXPECT_NE('\r', message.back());
}

TEST_F(PlatformErrorReport, ExtraTextIsCutAt4094Characters)
{
    const std::string longText(5000, 'x');
    HVI_ReportPlatformError(0x10000, 0, "%s", longText.c_str());
    const std::string line = LogCapture::AllWritten().back();
    EXPECT_EQ(std::string(4094, 'x'), line.substr(line.find("\n\n") + 2));
}
