#include "extensions/simulated/simulated_cloud_implementation.h"

#include <cstring>

#include "core/logging.h"
#include "core/memory.h"
#include "extensions/damaged_file.h"
#include "filesystem/file_lock.h"
#include "filesystem/file_operations.h"
#include "filesystem/whole_file.h"

namespace {

// Reads the file into the empty store. True when there is no file or it was
// read whole; false when it exists but cannot be read whole, with the
// entries before the damage in the store. Entries without bytes are skipped
// unless heldEmpty holds them so.
bool LoadFile(CloudStore& store, const CloudStore* heldEmpty)
{
    if (!HV_FileSystem_FindPath(kSimulatedCloudPath)) return true;
    ByteBuffer file;
    if (!HVI_ReadWholeFile(kSimulatedCloudPath, file)) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Load: '%s' exists but cannot be read.",
               kSimulatedCloudPath);
        return false;
    }
    return HVI_ReadSimulatedCloud(file.GetData(), file.GetSize(), store, heldEmpty);
}

// Puts this process's changes on top of what the file holds now.
void ApplyChanges(CloudStore& onDisk, const CloudStore& memory, const StringMap<bool>& changes)
{
    for (int i = 0; i < changes.GetCount(); ++i) {
        const StringMap<bool>::Entry& change = changes.GetEntry(i);
        const CloudStore::Entry* entry = memory.Find(change.key.GetText());
        if (change.value || entry == nullptr) {
            for (int k = 0; k < onDisk.GetCount(); ++k) {
                if (onDisk.GetEntry(k).key == change.key.GetText()) {
                    onDisk.DeleteAt(k);
                    break;
                }
            }
            continue;
        }
        HVI_PutCloudEntry(onDisk, entry->key.GetText(), entry->value.GetData(), uint32_t(entry->value.GetSize()));
    }
}

}  // namespace

bool SimulatedCloudImplementation::Initialize()
{
    std::lock_guard<std::mutex> guard(m_lock);
    // Reading never writes: a damaged file stays as it is until the next put.
    LoadFile(*m_store, nullptr);
    return true;
}

void SimulatedCloudImplementation::PutData(const char* key, const void* data, uint32_t size)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!HVI_PutCloudEntry(*m_store, key, data, size)) return;
    m_unsaved.GetOrAdd(key) = false;
    Save();
}

HV_Blob* SimulatedCloudImplementation::ReadData(const char* key)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const CloudStore::Entry* entry = key != nullptr ? m_store->Find(key) : nullptr;
    if (entry == nullptr) return nullptr;
    const int size = entry->value.GetSize();
    HV_Blob* blob = HV_AllocateBlob(size);
    if (blob == nullptr) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::ReadData: no memory for the %d bytes of key '%s'.", size,
               key);
        return nullptr;
    }
    if (size > 0) std::memcpy(blob->data, entry->value.GetData(), size_t(size));
    return blob;
}

void SimulatedCloudImplementation::RemoveData(const char* key)
{
    std::lock_guard<std::mutex> guard(m_lock);
    for (int i = 0; key != nullptr && i < m_store->GetCount(); ++i) {
        if (m_store->GetEntry(i).key == key) {
            m_store->DeleteAt(i);
            m_unsaved.GetOrAdd(key) = true;
            return;
        }
    }
}

void SimulatedCloudImplementation::Save()
{
    // Other processes read, change and rewrite the file under the same lock.
    FileLockScope fileLock(kSimulatedCloudPath);
    // The file is read as a start reads it: an empty entry another process
    // (or an earlier run) left behind is dropped; this process's own stay.
    auto onDisk = std::make_unique<CloudStore>();
    if (LoadFile(*onDisk, m_store.get())) {
        ApplyChanges(*onDisk, *m_store, m_unsaved);
        m_store = std::move(onDisk);
    } else {
        // The store is written as this process knows it, after the damaged
        // file is moved aside; nothing is written without that.
        const String keptAs = HVI_KeepDamagedFile(kSimulatedCloudPath);
        if (keptAs.IsEmpty()) {
            HV_Log(HV_LOG_ERROR,
                   "SimulatedCloudImplementation::Save: the damaged '%s' could not be kept aside; it is not replaced.",
                   kSimulatedCloudPath);
            return;
        }
        HV_Log(HV_LOG_WARNING, "SimulatedCloudImplementation::Save: the damaged '%s' is kept as '%s'.",
               kSimulatedCloudPath, keptAs.GetText());
    }
    ByteBuffer image;
    if (!HVI_WriteSimulatedCloud(*m_store, image)) return;
    // The old file is replaced only by a complete new one.
    if (!HVI_WriteFileAtomically(kSimulatedCloudPath, image.GetData(), image.GetSize())) {
        HV_Log(HV_LOG_ERROR,
               "SimulatedCloudImplementation::Save: '%s' could not be written; the store stays in memory.",
               kSimulatedCloudPath);
        return;
    }
    while (m_unsaved.GetCount() > 0) m_unsaved.DeleteAt(m_unsaved.GetCount() - 1);
}
