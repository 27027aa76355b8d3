#include <gtest/gtest.h>

#include "core/program_parameters.h"

TEST(ProgramParameters, ResolutionIsTwoPositiveNumbersAroundAnXOrLeavesBothValues)
{
    const struct {
        const char* text;
        bool parsed;
        int width;  // 7 and 9 are the values before: what is not a resolution leaves them
        int height;
    } rows[] = {
        {"1024x768", true, 1024, 768},
        {" 640x 480", true, 640, 480},
        {"2147483647x1", true, 2147483647, 1},
        {"", false, 7, 9},
        {"x", false, 7, 9},
        {"1024", false, 7, 9},
        {"1024x", false, 7, 9},
        {"x768", false, 7, 9},
        {"0x768", false, 7, 9},
        {"1024x0", false, 7, 9},
        {"-1024x768", false, 7, 9},
        {"1024x-768", false, 7, 9},
        {"2147483648x768", false, 7, 9},
        {"1024x99999999999999999999", false, 7, 9},
        {"1024*768", false, 7, 9},
        {"wide", false, 7, 9},
        {nullptr, false, 7, 9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text ? row.text : "(null)");
        int width = 7;
        int height = 9;
        EXPECT_EQ(row.parsed, HVI_ParseResolution(row.text, width, height));
        EXPECT_EQ(row.width, width);
        EXPECT_EQ(row.height, height);
    }
}
