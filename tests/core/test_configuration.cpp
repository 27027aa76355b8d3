#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "core/configuration.h"
#include "data/data_manager.h"

namespace {

std::unique_ptr<DMDatabase> Parse(const char* xml)
{
    return std::unique_ptr<DMDatabase>(DataManager::LoadFromMemory(xml));
}

constexpr const char* kProgram = R"(<p>
  <array id="APPLICATION"><node program_id="game" fps_limit="60"/><node id="locale">fi_FI</node></array>
  <array id="VARIANTS">
    <node id="WINDOWS" fps_limit="30" features="A"/>
    <node id="WINDOWS_SMALL" fps_limit="20"/>
    <node id="HANDHELD" fps_limit="10"/>
  </array>
  <array id="PARAMETERS"><node id="difficulty">hard</node></array>
</p>)";

}  // namespace

TEST(Configuration, ValuesComeFromAForcedVariantThenTheScreenSizeVariantThenThePlatformVariantThenTheApplication)
{
    HVI_Configuration configuration;
    configuration.Use(Parse(kProgram), nullptr);
    EXPECT_STREQ("30", configuration.GetProgramValue("fps_limit"));
    EXPECT_STREQ("game", configuration.GetProgramValue("program_id"));
    EXPECT_STREQ("A", configuration.GetProgramValue("features"));
    EXPECT_STREQ("fi_FI", configuration.GetProgramValue("locale"));  // a node's text
    EXPECT_STREQ("hard", configuration.GetProgramParameter("difficulty"));
    EXPECT_EQ(nullptr, configuration.GetProgramParameter("fps_limit"));
    EXPECT_EQ(nullptr, configuration.GetProgramValue("missing"));
    configuration.SetScreenSize("SMALL");
    EXPECT_STREQ("20", configuration.GetProgramValue("fps_limit"));
    // A forced variant comes before both.
    configuration.Use(Parse(kProgram),
                      Parse("<d><array id=\"DEVELOPER\"><node force_variant=\"HANDHELD\"/></array></d>"));
    EXPECT_STREQ("10", configuration.GetProgramValue("fps_limit"));
}

TEST(Configuration, DeveloperModeIsTrueForTextBeginningWithOneOrT)
{
    for (const auto& [text, on] : {std::pair{"1", true},
                                   {"true", true},
                                   {"t", true},
                                   {"10", true},
                                   {"0", false},
                                   {"false", false},
                                   {"True", false},
                                   {"yes", false},
                                   {"", false}}) {
        HVI_Configuration configuration;
        configuration.Use(nullptr, Parse(("<d><array id=\"DEVELOPER\"><node developer_mode=\"" + std::string(text) +
                                          "\"/></array></d>")
                                             .c_str()));
        EXPECT_EQ(configuration.IsDeveloperMode(), on) << text;
    }
    HVI_Configuration none;
    EXPECT_FALSE(none.IsDeveloperMode());
}

TEST(Configuration, FrameTimeFromFpsLimit)
{
    EXPECT_EQ(16, HVI_FrameTimeFromFpsLimit("60"));    // 1000 / 62
    EXPECT_EQ(31, HVI_FrameTimeFromFpsLimit("30"));    // 1000 / 32
    EXPECT_EQ(333, HVI_FrameTimeFromFpsLimit("1"));    // 1000 / 3
    EXPECT_EQ(16, HVI_FrameTimeFromFpsLimit("59.9"));  // 1000 / 61.9
    EXPECT_EQ(0, HVI_FrameTimeFromFpsLimit(nullptr));
    EXPECT_EQ(0, HVI_FrameTimeFromFpsLimit("fast"));
    EXPECT_EQ(0, HVI_FrameTimeFromFpsLimit("-5"));
    EXPECT_EQ(0, HVI_FrameTimeFromFpsLimit("0"));
}
