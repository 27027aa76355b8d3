// A module library whose module asks to pause the game every frame and notes
// the questions and updates it gets. Its initialisation fails, yet it is still
// asked at resolution: it answers the cloud kind with an implementation of
// another kind, which the engine must not use, and offers an in-app purchase
// implementation that says it is not available.
#include <string>

#include "halvo/extensions.h"
#include "journal.h"

namespace {

class MislabelledStatistics : public StatisticImplementation {
public:
    const char* GetName() override { return "Mislabelled"; }
    void SetStatistic(uint32_t, uint32_t, void*, void*) override { Note("Mislabelled.SetStatistic"); }
};

class UnavailablePurchases : public InAppPurchaseImplementation {
public:
    const char* GetName() override { return "Unavailable"; }
    bool IsAvailable() override { return NoteAndAnswer(false, "Purchases.IsAvailable"); }
    void RequestItemData(const char*) override { Note("Purchases.RequestItemData"); }
    void PurchaseItem(const char*) override { Note("Purchases.PurchaseItem"); }
    void RestorePurchases() override { Note("Purchases.RestorePurchases"); }
    bool ShowPurchaseProgress() override { return NoteAndAnswer(true, "Purchases.ShowPurchaseProgress"); }
};

class PausingModule : public ExtensionModule {
public:
    const char* GetName() override { return "Test Pausing"; }
    bool Initialize(HV_EngineInterface*) override { return false; }
    void ReleaseImplementations() override {}
    bool ShouldPauseGame() override { return NoteAndAnswer(true, "Pausing.ShouldPauseGame"); }
    void Update(float step) override { Note("Pausing.Update(" + std::to_string(int(step * 1000)) + "ms)"); }
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override
    {
        if (kind == HV_SERVICE_CLOUD) return &m_mislabelled;
        return kind == HV_SERVICE_IAP ? &m_purchases : nullptr;
    }

private:
    MislabelledStatistics m_mislabelled;
    UnavailablePurchases m_purchases;
};

}  // namespace

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface()
{
    Journal().clear();
    return new PausingModule;
}
