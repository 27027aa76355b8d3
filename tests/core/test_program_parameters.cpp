#include <gtest/gtest.h>

#include "core/program_parameters.h"

TEST(ProgramParameters, ResolutionIsTwoPositiveNumbersAroundAnX)
{
    int width = 7;
    int height = 9;
    EXPECT_TRUE(HVI_ParseResolution("1024x768", width, height));
    EXPECT_EQ(1024, width);
    EXPECT_EQ(768, height);
    EXPECT_TRUE(HVI_ParseResolution(" 640x 480", width, height));
    EXPECT_EQ(640, width);
    EXPECT_EQ(480, height);
    EXPECT_TRUE(HVI_ParseResolution("2147483647x1", width, height));
    EXPECT_EQ(2147483647, width);
}

TEST(ProgramParameters, ResolutionThatIsNotOneLeavesBothValues)
{
    for (const char* text : {"", "x", "1024", "1024x", "x768", "0x768", "1024x0", "-1024x768", "1024x-768",
                             "2147483648x768", "1024x99999999999999999999", "1024*768", "wide"}) {
        int width = 7;
        int height = 9;
        EXPECT_FALSE(HVI_ParseResolution(text, width, height)) << text;
        EXPECT_EQ(7, width) << text;
        EXPECT_EQ(9, height) << text;
    }
    int width = 7;
    int height = 9;
    EXPECT_FALSE(HVI_ParseResolution(nullptr, width, height));
}
