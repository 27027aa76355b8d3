#include "extensions/simulated/cloud_file_format.h"

#include <climits>
#include <cstring>
#include <utility>

#include "core/logging.h"

namespace {

constexpr const char kMagic[] = "SIMULATED_CLOUD";
static_assert(sizeof kMagic == 16, "the magic text with its zero fills 16 bytes");

}  // namespace

bool HVI_PutCloudEntry(CloudStore& store, const char* key, const void* data, uint32_t size)
{
    const char* refusal = nullptr;
    if (key == nullptr) refusal = "no key";
    // A key longer than a file read gives back could not be found again after a restart.
    else if (std::strlen(key) > size_t(ByteBuffer::kMaxStringLength))
        refusal = "key longer than 2047 characters";
    else if (data == nullptr && size > 0)
        refusal = "no data";
    else if (size > uint32_t(INT_MAX))
        refusal = "more than 2147483647 bytes";
    if (refusal != nullptr) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::PutData: refused key '%.64s' with %u bytes: %s.",
               key ? key : "", size, refusal);
        return false;
    }
    ByteBuffer copy;
    if (size > 0 && !copy.WriteBytes(data, int(size))) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::PutData: no memory for %u bytes of key '%s'.", size, key);
        return false;
    }
    store.GetOrAdd(key) = std::move(copy);
    return true;
}

bool HVI_ReadSimulatedCloud(const uint8_t* data, int64_t size, CloudStore& store, const CloudStore* heldEmpty)
{
    if (size < 0 || size > INT_MAX) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Load: '%s' has an unusable size of %lld bytes.",
               kSimulatedCloudPath, static_cast<long long>(size));
        return false;
    }
    ByteBuffer file;
    file.WrapExternal(data, int(size));
    String magic;
    if (!file.ReadString(magic) || !(magic == kMagic)) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Load: '%s' is not a simulated cloud file.",
               kSimulatedCloudPath);
        return false;
    }
    uint32_t entryCount = 0;
    if (!file.ReadUInt32(entryCount)) {
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Load: '%s' ends before its entry count.",
               kSimulatedCloudPath);
        return false;
    }
    // Every entry takes at least five bytes, so a damaged count ends with the data.
    bool whole = true;
    for (uint32_t index = 0; index < entryCount; ++index) {
        String key;
        uint32_t byteCount = 0;
        if (!file.ReadString(key) || !file.ReadUInt32(byteCount)) {
            HV_Log(HV_LOG_ERROR,
                   "SimulatedCloudImplementation::Load: '%s' ends inside entry %u of %u; the %u entries before it are "
                   "kept.",
                   kSimulatedCloudPath, index, entryCount, index);
            return false;
        }
        const int32_t signedCount = static_cast<int32_t>(byteCount);
        if (signedCount < 0) {
            // Never written by us: say so, and go on with the next entry.
            HV_Log(HV_LOG_WARNING,
                   "SimulatedCloudImplementation::Load: entry '%s' of '%s' has a byte count of %d; it is skipped.",
                   key.GetText(), kSimulatedCloudPath, signedCount);
            whole = false;
            continue;
        }
        if (signedCount == 0) {
            const CloudStore::Entry* held = heldEmpty != nullptr ? heldEmpty->Find(key.GetText()) : nullptr;
            if (held != nullptr && held->value.GetSize() == 0 && !HVI_PutCloudEntry(store, key.GetText(), nullptr, 0))
                return false;
            continue;
        }
        if (signedCount > file.GetRemaining()) {
            HV_Log(HV_LOG_ERROR,
                   "SimulatedCloudImplementation::Load: entry '%s' of '%s' claims %d bytes but %d remain; the %u "
                   "entries before it are kept.",
                   key.GetText(), kSimulatedCloudPath, signedCount, file.GetRemaining(), index);
            return false;
        }
        const uint8_t* bytes = file.GetData() + file.GetReadPosition();
        if (!HVI_PutCloudEntry(store, key.GetText(), bytes, byteCount)) return false;
        file.SetReadPosition(file.GetReadPosition() + signedCount);
    }
    return whole;
}

bool HVI_WriteSimulatedCloud(const CloudStore& store, ByteBuffer& image)
{
    bool written = image.WriteString(kMagic) && image.WriteUInt32(uint32_t(store.GetCount()));
    for (int i = 0; written && i < store.GetCount(); ++i) {
        const CloudStore::Entry& entry = store.GetEntry(i);
        const int size = entry.value.GetSize();
        written = image.WriteString(entry.key.GetText()) && image.WriteUInt32(uint32_t(size)) &&
                  (size == 0 || image.WriteBytes(entry.value.GetData(), size));
    }
    if (!written)
        HV_Log(HV_LOG_ERROR, "SimulatedCloudImplementation::Save: the image of %d entries does not fit in memory.",
               store.GetCount());
    return written;
}
