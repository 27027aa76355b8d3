// A module library whose module asks to pause the game every frame and notes
// the questions and updates it gets. It also answers the cloud kind with an
// implementation of another kind, which the engine must not use.
#include <string>

#include "extensions/extension_module.h"
#include "extensions/service_implementations.h"
#include "journal.h"

namespace {

class MislabelledStatistics : public StatisticImplementation {
public:
    const char* GetName() override { return "Mislabelled"; }
    void SetStatistic(uint32_t, uint32_t, void*, void*) override { Note("Mislabelled.SetStatistic"); }
};

class PausingModule : public ExtensionModule {
public:
    const char* GetName() override { return "Test Pausing"; }
    bool Initialize(HV_EngineInterface*) override { return false; }
    void ReleaseImplementations() override {}
    bool ShouldPauseGame() override { Note("Pausing.ShouldPauseGame"); return true; }
    void Update(float step) override { Note("Pausing.Update(" + std::to_string(int(step * 1000)) + "ms)"); }
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override
    {
        return kind == HV_SERVICE_CLOUD ? &m_mislabelled : nullptr;
    }

private:
    MislabelledStatistics m_mislabelled;
};

}  // namespace

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface()
{
    Journal().clear();
    return new PausingModule;
}
