// A module library that declares the module interfaces itself, from their
// documented order of virtual operations, inside a namespace of its own, as a
// module maker who never saw the engine's classes would. Its types share no
// run-time type information with the engine's; only the layout is the same.
#include <cstdint>
#include <string>

#include "halvo/services.h"
#include "journal.h"

namespace partner {

class BaseImplementation {
public:
    virtual ~BaseImplementation() = default;
    virtual HV_ServiceKind GetKind() = 0;
    virtual const char* GetName() = 0;
    virtual bool Initialize() { return true; }
    virtual void Shutdown() {}
    virtual void Update() {}
    virtual bool IsAvailable() { return true; }
};

class CloudImplementation : public BaseImplementation {
public:
    HV_ServiceKind GetKind() override { return HV_SERVICE_CLOUD; }
    virtual void PutData(const char* key, const void* data, uint32_t size) = 0;
    virtual HV_Blob* ReadData(const char* key) = 0;
    virtual void RemoveData(const char* key) = 0;
};

class ExtensionModule {
public:
    virtual ~ExtensionModule() = default;
    virtual int32_t GetInterfaceVersion() { return 1; }
    virtual const char* GetName() = 0;
    virtual bool Initialize(void* engine) = 0;
    virtual void ReleaseImplementations() = 0;
    virtual bool ShouldPauseGame() { return false; }
    virtual void Update(float step) = 0;
    virtual const char* ExecuteCommand(const char*, const char*) { return nullptr; }
    virtual BaseImplementation* GetImplementation(HV_ServiceKind kind) = 0;
};

class JournalCloud : public CloudImplementation {
public:
    const char* GetName() override { return "Partner Cloud"; }
    void PutData(const char* key, const void*, uint32_t size) override { NoteCall("PutData", key, size); }
    HV_Blob* ReadData(const char* key) override { return NoteAndAnswer<HV_Blob*>(nullptr, "ReadData", key); }
    void RemoveData(const char* key) override { NoteCall("RemoveData", key); }
};

class PartnerModule : public ExtensionModule {
public:
    const char* GetName() override { return "Partner"; }
    bool Initialize(void*) override { return true; }
    void ReleaseImplementations() override {}
    void Update(float) override {}
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override
    {
        return kind == HV_SERVICE_CLOUD ? &m_cloud : nullptr;
    }

private:
    JournalCloud m_cloud;
};

}  // namespace partner

TEST_MODULE_EXPORT partner::ExtensionModule* HV_GetExtensionModuleInterface()
{
    Journal().clear();
    return new partner::PartnerModule;
}
