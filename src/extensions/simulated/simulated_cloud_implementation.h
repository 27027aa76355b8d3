#pragma once

#include <memory>
#include <mutex>

#include "extensions/simulated/cloud_file_format.h"
#include "foundation/string_map.h"
#include "halvo/extensions.h"

// A cloud store kept in the local file "user://simulated.cloud", for
// development without a platform. Several processes may share the file:
// every put rewrites it under a lock shared with them, from what the file
// holds then plus this process's own changes, so no process loses another's.
class SimulatedCloudImplementation : public CloudImplementation {
public:
    const char* GetName() override { return "Simulated"; }
    // Loads the file; a missing or damaged file leaves the store (partly)
    // empty. A damaged or unreadable file is moved aside before the first
    // put replaces it.
    bool Initialize() override;
    // Adds or replaces the entry, then rewrites the whole file.
    void PutData(const char* key, const void* data, uint32_t size) override;
    HV_Blob* ReadData(const char* key) override;
    // Removes the entry; the file keeps it until the next put.
    void RemoveData(const char* key) override;

private:
    void Save();

    std::mutex m_lock;
    std::unique_ptr<CloudStore> m_store = std::make_unique<CloudStore>();  // guarded by m_lock
    // Keys put (false) or removed (true) since the file last took the
    // store's changes; guarded by m_lock.
    StringMap<bool> m_unsaved;
};
