// Feeds arbitrary bytes to the simulated cloud file reader and writes back
// what it kept: no crash, no overread, and a written image reads back whole.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "extensions/simulated/cloud_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CloudStore store;
    HVI_ReadSimulatedCloud(data, int64_t(size), store);
    ByteBuffer image;
    if (!HVI_WriteSimulatedCloud(store, image)) std::abort();
    CloudStore again;
    // Entries without bytes are dropped on reading, so compare the kept ones.
    if (!HVI_ReadSimulatedCloud(image.GetData(), image.GetSize(), again)) std::abort();
    for (int i = 0; i < again.GetCount(); ++i) {
        const CloudStore::Entry& entry = again.GetEntry(i);
        const CloudStore::Entry* original = store.Find(entry.key.GetText());
        if (original == nullptr || original->value.GetSize() != entry.value.GetSize() ||
            std::memcmp(original->value.GetData(), entry.value.GetData(), size_t(entry.value.GetSize())) != 0)
            std::abort();
    }
    return 0;
}
