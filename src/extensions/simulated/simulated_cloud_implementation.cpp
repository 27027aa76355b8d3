#include "extensions/simulated/simulated_cloud_implementation.h"

#include <cstring>

#include "core/logging.h"
#include "core/memory.h"
#include "extensions/damaged_file.h"
#include "filesystem/file_operations.h"
#include "filesystem/whole_file.h"

bool SimulatedCloudImplementation::Initialize()
{
    std::lock_guard<std::mutex> guard(m_lock);
    ByteBuffer file;
    if (!HV_FileSystem_FindPath(kSimulatedCloudPath) || !HVI_ReadWholeFile(kSimulatedCloudPath, file))
        return true;
    // Reading never writes: a damaged file stays as it is until the next put.
    m_fileDamaged = !HVI_ReadSimulatedCloud(file.GetData(), file.GetSize(), m_store);
    return true;
}

void SimulatedCloudImplementation::PutData(const char* key, const void* data, uint32_t size)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (HVI_PutCloudEntry(m_store, key, data, size))
        Save();
}

HV_Blob* SimulatedCloudImplementation::ReadData(const char* key)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const CloudStore::Entry* entry = key != nullptr ? m_store.Find(key) : nullptr;
    if (entry == nullptr)
        return nullptr;
    const int size = entry->value.GetSize();
    HV_Blob* blob = HV_AllocateBlob(size);
    if (blob == nullptr) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::ReadData: no memory for the %d bytes of key '%s'.", size,
               key);
        return nullptr;
    }
    if (size > 0)
        std::memcpy(blob->data, entry->value.GetData(), size_t(size));
    return blob;
}

void SimulatedCloudImplementation::RemoveData(const char* key)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (int i = 0; key != nullptr && i < m_store.GetCount(); ++i) {
        if (m_store.GetEntry(i).key == key) {
            m_store.DeleteAt(i);
            return;
        }
    }
}

void SimulatedCloudImplementation::Save()
{
    ByteBuffer image;
    if (!HVI_WriteSimulatedCloud(m_store, image))
        return;
    // The first rewrite replaces a damaged file by the entries that could be
    // read: a copy of it is kept first, and nothing is written without one.
    if (m_fileDamaged) {
        const String keptAs = HVI_KeepDamagedFile(kSimulatedCloudPath, true);
        if (keptAs.IsEmpty()) {
            HV_Log(HV_LOG_ERROR,
                   "SimulatedCloudImplementation::Save: no copy of the damaged '%s' could be kept; it is not replaced.",
                   kSimulatedCloudPath);
            return;
        }
        HV_Log(HV_LOG_WARNING, "SimulatedCloudImplementation::Save: a copy of the damaged '%s' is kept as '%s'.",
               kSimulatedCloudPath, keptAs.GetText());
        m_fileDamaged = false;
    }
    // The old file is replaced only by a complete new one.
    if (!HVI_WriteFileAtomically(kSimulatedCloudPath, image.GetData(), image.GetSize()))
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Save: '%s' could not be written; the store stays in memory.",
               kSimulatedCloudPath);
}
