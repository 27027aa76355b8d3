#pragma once

#include <mutex>

#include "halvo/extensions.h"
#include "extensions/simulated/cloud_file_format.h"

// A cloud store kept in the local file "user://simulated.cloud", for
// development without a platform.
class SimulatedCloudImplementation : public CloudImplementation {
public:
    const char* GetName() override { return "Simulated"; }
    // Loads the file; a missing or damaged file leaves the store (partly)
    // empty. A damaged file is copied aside before the first put replaces it.
    bool Initialize() override;
    // Adds or replaces the entry, then rewrites the whole file.
    void PutData(const char* key, const void* data, uint32_t size) override;
    HV_Blob* ReadData(const char* key) override;
    // Removes the entry; the file keeps it until the next put.
    void RemoveData(const char* key) override;

private:
    void Save();

    std::mutex m_lock;
    CloudStore m_store;          // guarded by m_lock
    bool m_fileDamaged = false;  // guarded by m_lock; the file on disk could not be read whole
};
