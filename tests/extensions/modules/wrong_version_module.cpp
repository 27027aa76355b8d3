// A module library built for another interface version. Its module is a
// static object: the engine never registers nor deletes it.
#include "halvo/extensions.h"
#include "journal.h"

namespace {

class FutureModule : public ExtensionModule {
public:
    int32_t GetInterfaceVersion() override { return 2; }
    const char* GetName() override { return "Test Future"; }
    bool Initialize(HV_EngineInterface*) override { return NoteAndAnswer(true, "Future.Initialize"); }
    void ReleaseImplementations() override {}
    void Update(float) override { Note("Future.Update"); }
    BaseImplementation* GetImplementation(HV_ServiceKind) override { return nullptr; }
};

FutureModule g_module;

}  // namespace

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface() { return &g_module; }
