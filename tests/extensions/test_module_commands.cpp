#include "core/extension_command.h"
#include "extension_test_environment.h"

class ModuleCommands : public ExtensionTest {
protected:
    void SetUp() override
    {
        ExtensionTest::SetUp();
        InstallModule("test-services-module.dll", "module-steam.dll");
        StartServices("STEAM");
    }
    std::string Journal() { return ModuleJournal("module-steam.dll"); }
};

// A command reaches the implementation it names first, then every module; the first module's answer is the result.
TEST_F(ModuleCommands, ACommandReachesItsImplementationThenTheModules)
{
    const struct {
        const char* command;
        const char* argument;
        const char* answer;
        const char* entries;  // what the call adds to the journal
    } rows[] = {
        // Three texts without a number: the number is 5.
        {"SetLocalNotification", "title;body;sound", nullptr,
         "SetLocalNotification('title','body','sound',5);Module.ExecuteCommand('SetLocalNotification','title;body;"
         "sound');"},
        {"RemoveAllLocalNotifications", "x", nullptr,
         "RemoveAllLocalNotifications;Module.ExecuteCommand('RemoveAllLocalNotifications','x');"},
        {"TestServices_Echo", "hello", "hello", "Module.ExecuteCommand('TestServices_Echo','hello');"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        const size_t before = Journal().size();
        EXPECT_STREQ(HV_ExtensionCommand(row.command, row.argument), row.answer);
        EXPECT_EQ(Journal().substr(before), row.entries);
    }
}

TEST_F(ModuleCommands, SetLocalNotificationSplitsItsArgumentIntoThreeTextsAndANumber)
{
    const std::string tooLong(1024, 'x');
    const struct {
        std::string argument;
        bool isNull;
        const char* call;
    } cases[] = {
        {"title;body", false, "SetLocalNotification('title','body',null,5);"},               // missing fields are null
        {"a;b;c; -12 minutes", false, "SetLocalNotification('a','b','c',-12);"},             // the number by atoi rules
        {"a;b;c;soon", false, "SetLocalNotification('a','b','c',0);"},                       //
        {"title;body;sound;", false, "SetLocalNotification('title','body','sound',0);"},     // empty fourth field
        {"title;body;sound;42", false, "SetLocalNotification('title','body','sound',42);"},  //
        {"title;", false, "SetLocalNotification('title','','',0);"},              // one separator: two empty texts
        {"", true, "SetLocalNotification(null,null,null,5);"},                    // no argument at all
        {"a;" + tooLong + ";c", false, "SetLocalNotification('a',null,'c',5);"},  // too long for its buffer
    };
    for (const auto& c : cases) {
        const size_t before = Journal().size();
        HV_ExtensionCommand("SetLocalNotification", c.isNull ? nullptr : c.argument.c_str());
        EXPECT_TRUE(Contains(Journal().substr(before), c.call)) << c.call;
    }
}

TEST_F(ModuleCommands, TheSimulatedModuleNamesItsPlayerOnlyWithSimulatedLeaderboards)
{
    EXPECT_EQ(HV_ExtensionCommand("GetPlayerOnlineID", nullptr), nullptr);
    StopServices();
    StartServices("SIMULATED_LEADERBOARDS");
    const char* answer = HV_ExtensionCommand("GetPlayerOnlineID", nullptr);
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer, "SimulatedPlayer");
}

TEST_F(ModuleCommands, PurchaseCommandsReachThePurchaseTable)
{
    EXPECT_STREQ(HV_ExtensionCommand("IAP_IsAvailable", nullptr), "false");
    StopServices();
    StartServices("IN_APP_PURCHASES");
    EXPECT_STREQ(HV_ExtensionCommand("IAP_IsAvailable", nullptr), "true");
    EXPECT_STREQ(HV_ExtensionCommand("IAP_ShowPurchaseProgress", nullptr), "false");
    EXPECT_STREQ(HV_ExtensionCommand("IAP_PurchaseItem", "sword"), "");
    EXPECT_STREQ(HV_ExtensionCommand("IAP_RestorePurchases", nullptr), "");
}
