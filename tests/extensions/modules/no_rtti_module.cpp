// A module library built without run-time type information against the
// public header alone, as a module maker outside the engine builds one. Its
// cloud keeps one value per key in memory and hands it back in a blob of the
// engine allocator.
#include <map>
#include <string>

#include "halvo.h"
#include "journal.h"

namespace {

class MemoryCloud : public CloudImplementation {
public:
    explicit MemoryCloud(HV_EngineInterface* engine) : m_engine(engine) {}
    const char* GetName() override { return "Memory"; }
    void PutData(const char* key, const void* data, uint32_t size) override
    {
        NoteCall("PutData", key);
        m_values[key] = std::string(static_cast<const char*>(data), size);
    }
    HV_Blob* ReadData(const char* key) override
    {
        const auto found = m_values.find(key);
        if (found == m_values.end()) return nullptr;
        HV_Blob* blob = m_engine->AllocateBlob(int32_t(found->second.size()));
        if (blob != nullptr) found->second.copy(reinterpret_cast<char*>(blob->data), found->second.size());
        return blob;
    }
    void RemoveData(const char* key) override { m_values.erase(key); }

private:
    HV_EngineInterface* m_engine;
    std::map<std::string, std::string> m_values;
};

class NoRttiModule : public ExtensionModule {
public:
    ~NoRttiModule() override { ReleaseImplementations(); }
    const char* GetName() override { return "No RTTI"; }
    bool Initialize(HV_EngineInterface* engine) override
    {
        m_cloud = new MemoryCloud(engine);
        return true;
    }
    void ReleaseImplementations() override
    {
        delete m_cloud;
        m_cloud = nullptr;
    }
    void Update(float) override {}
    BaseImplementation* GetImplementation(HV_ServiceKind kind) override
    {
        return kind == HV_SERVICE_CLOUD ? m_cloud : nullptr;
    }

private:
    MemoryCloud* m_cloud = nullptr;
};

}  // namespace

TEST_MODULE_EXPORT ExtensionModule* HV_GetExtensionModuleInterface()
{
    Journal().clear();
    return new NoRttiModule;
}
