#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/extension_command.h"
#include "engine_test_support.h"

namespace {

std::vector<std::string> g_asked;

const char* OwnMusic(const char* command, const char*)
{
    g_asked.push_back(std::string("own ") + command);
    return std::string(command) == "PlayMusic" ? "music playing" : nullptr;
}

const char* OwnPurchase(const char* command, const char* argument)
{
    g_asked.push_back(std::string("iap ") + command);
    static std::string answer;
    answer = std::string("bought ") + (argument ? argument : "");
    return answer.c_str();
}

const char* Modules(const char* command, const char*)
{
    g_asked.push_back(std::string("modules ") + command);
    return std::string(command) == "SetLocalNotification" ? "module answer" : nullptr;
}

const char* Platform(const char* command, const char*)
{
    g_asked.push_back(std::string("platform ") + command);
    return std::string(command) == "OpenURL" ? "platform answer" : nullptr;
}

}  // namespace

class ExtensionCommand : public testing::Test {
protected:
    void SetUp() override
    {
        g_asked.clear();
        HVI_RegisterEngineCommand("PlayMusic", HVI_CommandMatch::Exact, OwnMusic);
        HVI_RegisterEngineCommand("IAP_", HVI_CommandMatch::Prefix, OwnPurchase);
        HVI_SubsystemHooks extensions = {};
        extensions.ExecuteCommand = Modules;
        HVI_SubsystemHooks platform = {};
        platform.ExecuteCommand = Platform;
        HVI_RegisterSubsystem(HVI_SUBSYSTEM_PLATFORM, platform);
        HVI_RegisterSubsystem(HVI_SUBSYSTEM_EXTENSIONS, extensions);
    }
};

TEST_F(ExtensionCommand, OwnCommandsThenModulesThenThePlatformAnswer)
{
    const struct {
        const char* command;
        const char* argument;
        const char* answer;
        std::vector<std::string> asked;
    } cases[] = {
        {"PlayMusic", "theme.ogg", "music playing", {"own PlayMusic"}},                    // own commands first
        {"IAP_Purchase", "sword", "bought sword", {"iap IAP_Purchase"}},                   // a prefix takes every name
        {"SetLocalNotification", "x", "module answer", {"modules SetLocalNotification"}},  // modules before
        {"OpenURL", "http://x", "platform answer", {"modules OpenURL", "platform OpenURL"}},  // the platform
    };
    for (const auto& c : cases) {
        g_asked.clear();
        EXPECT_STREQ(c.answer, HV_ExtensionCommand(c.command, c.argument));
        EXPECT_EQ(c.asked, g_asked) << c.command;
    }
}

TEST_F(ExtensionCommand, UnknownCommandHasNoAnswer)
{
    EXPECT_EQ(nullptr, HV_ExtensionCommand("Nobody", nullptr));
    EXPECT_EQ((std::vector<std::string>{"modules Nobody", "platform Nobody"}), g_asked);
    EXPECT_EQ(nullptr, HV_ExtensionCommand(nullptr, nullptr));
    EXPECT_TRUE(WasLogged("[ERROR] HV_ExtensionCommand: command is null."));
}

TEST_F(ExtensionCommand, RendererThenInputAreAskedAfterThePlatform)
{
    HVI_SubsystemHooks renderer = {};
    renderer.ExecuteCommand = [](const char* command, const char*) -> const char* {
        g_asked.push_back(std::string("renderer ") + command);
        return nullptr;
    };
    HVI_SubsystemHooks input = {};
    input.ExecuteCommand = [](const char* command, const char*) -> const char* {
        g_asked.push_back(std::string("input ") + command);
        return "input answer";
    };
    // Registered in another order on purpose: the dispatcher's order is fixed.
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_INPUT, input);
    HVI_RegisterSubsystem(HVI_SUBSYSTEM_RENDERER, renderer);
    EXPECT_STREQ("input answer", HV_ExtensionCommand("VibratePad", "1"));
    EXPECT_EQ((std::vector<std::string>{"modules VibratePad", "platform VibratePad", "renderer VibratePad",
                                        "input VibratePad"}),
              g_asked);
}
