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

TEST_F(ModuleCommands, SetLocalNotificationWithThreeTextsUsesTheNumberFive)
{
    EXPECT_EQ(HV_ExtensionCommand("SetLocalNotification", "title;body;sound"), nullptr);
    EXPECT_TRUE(Contains(Journal(),
                         "SetLocalNotification('title','body','sound',5);"
                         "Module.ExecuteCommand('SetLocalNotification','title;body;sound');"));
}

TEST_F(ModuleCommands, FieldsThatDoNotExistAreNull)
{
    HV_ExtensionCommand("SetLocalNotification", "title;body");
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('title','body',null,5);"));
}

TEST_F(ModuleCommands, TheNumberIsReadByAtoiRules)
{
    HV_ExtensionCommand("SetLocalNotification", "a;b;c; -12 minutes");
    HV_ExtensionCommand("SetLocalNotification", "a;b;c;soon");
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('a','b','c',-12);"));
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('a','b','c',0);"));
}

TEST_F(ModuleCommands, AThirdSeparatorAtTheEndGivesAnEmptyFourthFieldAndZero)
{
    HV_ExtensionCommand("SetLocalNotification", "title;body;sound;");
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('title','body','sound',0);"));
}

TEST_F(ModuleCommands, ADecimalFourthFieldIsPassedAsItsValue)
{
    HV_ExtensionCommand("SetLocalNotification", "title;body;sound;42");
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('title','body','sound',42);"));
}

TEST_F(ModuleCommands, OneTextAndASeparatorGiveTwoEmptyTextsAndZero)
{
    HV_ExtensionCommand("SetLocalNotification", "title;");
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('title','','',0);"));
}

TEST_F(ModuleCommands, ANullArgumentGivesNullFieldsAndFive)
{
    HV_ExtensionCommand("SetLocalNotification", nullptr);
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification(null,null,null,5);"));
}

TEST_F(ModuleCommands, AFieldTooLongForItsBufferIsNull)
{
    const std::string longText(1024, 'x');
    HV_ExtensionCommand("SetLocalNotification", ("a;" + longText + ";c").c_str());
    EXPECT_TRUE(Contains(Journal(), "SetLocalNotification('a',null,'c',5);"));
}

TEST_F(ModuleCommands, RemoveAllLocalNotificationsReachesTheImplementationAndTheModules)
{
    EXPECT_EQ(HV_ExtensionCommand("RemoveAllLocalNotifications", "x"), nullptr);
    EXPECT_TRUE(
        Contains(Journal(), "RemoveAllLocalNotifications;Module.ExecuteCommand('RemoveAllLocalNotifications','x');"));
}

TEST_F(ModuleCommands, TheFirstModuleAnswerIsTheResult)
{
    const char* answer = HV_ExtensionCommand("TestServices_Echo", "hello");
    ASSERT_NE(answer, nullptr);
    EXPECT_STREQ(answer, "hello");
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
