#include <gtest/gtest.h>

#include "core/engine_interface.h"
#include "core/memory.h"
#include "data/data_manager.h"
#include "engine_test_support.h"

class EngineInterface : public testing::Test {
protected:
    void SetUp() override
    {
        HVI_BuildEngineInterface();
        hv = HVI_GetEngineInterface();
    }
    HV_EngineInterface* hv = nullptr;
};

TEST_F(EngineInterface, EveryOperationSlotIsFilled)
{
    void* const* slots = reinterpret_cast<void* const*>(hv);
    for (int i = 0; i < HV_ENGINE_OPERATION_COUNT; ++i) {
        EXPECT_NE(nullptr, slots[i]) << "slot " << i;
    }
    EXPECT_NE(nullptr, hv->filesystem);
    EXPECT_NE(nullptr, hv->threading);
}

TEST_F(EngineInterface, OperationsWithoutTheirAreaAnswerFailureAndSaySoOnceInTheDefaultLog)
{
    for (int round = 0; round < 2; ++round) {
        hv->AddConsoleAutoCompletion("reload");
        EXPECT_FALSE(hv->SetMouseCursor("ARROW"));
        hv->ShowMouseCursor(true);
        EXPECT_FALSE(hv->SetProgramSetting("a", "b"));
        EXPECT_EQ(0u, hv->GetKeyFlags(65));
        hv->SetKeyFlags(65, 3);
        EXPECT_EQ(0.0f, hv->GetKeyValue(65));
    }
    EXPECT_EQ((std::vector<std::string>{
                  "[ERROR] HV_AddConsoleAutoCompletion: not available in this build of the engine.",
                  "[ERROR] HV_SetMouseCursor: not available in this build of the engine.",
                  "[ERROR] HV_ShowMouseCursor: not available in this build of the engine.",
                  "[ERROR] HV_SetProgramSetting: not available in this build of the engine.",
                  "[ERROR] HV_GetKeyFlags: not available in this build of the engine.",
                  "[ERROR] HV_SetKeyFlags: not available in this build of the engine.",
                  "[ERROR] HV_GetKeyValue: not available in this build of the engine.",
              }),
              LogCapture::AllWritten());
}

TEST_F(EngineInterface, SlotsReachTheCoreOperations)
{
    HV_Blob* blob = hv->AllocateBlob(8);
    ASSERT_NE(nullptr, blob);
    EXPECT_EQ(8, blob->size);
    hv->FreeBlob(blob);
    HV_Event event;
    hv->InitializeEvent(&event, HV_EVENT_CHARACTER);
    EXPECT_TRUE(hv->PostEvent(&event));
    EXPECT_EQ(1, HVI_GetQueuedEventCount());
    hv->Log(HV_LOG_ERROR, "through %s", "hv");
    EXPECT_TRUE(WasLogged("[ERROR] through hv"));
    EXPECT_FALSE(hv->IsShuttingDown());
    hv->Shutdown();
    EXPECT_TRUE(hv->IsShuttingDown());
}

TEST_F(EngineInterface, FreeStringListFreesEachTextAndTheList)
{
    char** list = static_cast<char**>(HV_Malloc(3 * sizeof(char*)));
    list[0] = static_cast<char*>(HV_Malloc(4));
    list[1] = static_cast<char*>(HV_Malloc(4));
    list[2] = nullptr;
    hv->FreeStringList(list);  // the sanitizer build's leak check sees anything left
    hv->FreeStringList(nullptr);
}

TEST_F(EngineInterface, ProgramSettingsComeFromTheParametersOfProgXml)
{
    HVI_GetConfiguration().Use(std::unique_ptr<DMDatabase>(DataManager::LoadFromMemory(
                                   "<p><array id=\"PARAMETERS\"><node id=\"difficulty\">hard</node></array></p>")),
                               nullptr);
    EXPECT_STREQ("hard", hv->GetProgramSetting("difficulty"));
    EXPECT_EQ(nullptr, hv->GetProgramSetting("missing"));
    EXPECT_EQ(nullptr, hv->GetProgramSetting(nullptr));
}
