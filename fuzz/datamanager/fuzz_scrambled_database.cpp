// Reads any bytes as a database file, which takes the scrambled container
// path for data that begins with its magic (the seeds do), checks that
// scrambling any bytes reads back unchanged, and that a container of the bytes
// loads as the same database as the bytes read as plain XML.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "data/database_loader.h"
#include "data/scrambled_container.h"
#include "foundation/engine_log.h"

namespace {

void DropLine(void*, int, bool, const char*) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HVI_SetLogSink(DropLine, nullptr);
    DMDatabase database("fuzz");
    const bool read = HVI_LoadDatabaseFromBytes("Fuzz", "fuzz", data, int64_t(size), database);
    if (!read && database.GetArrayCount() != 0) __builtin_trap();

    ByteBuffer container;
    if (!HVI_ScrambleIntoContainer(data, int(size), container)) return 0;
    ByteBuffer plain;
    const char* reason = "";
    if (!HVI_UnscrambleContainer(container.GetData(), container.GetSize(), plain, reason)) __builtin_trap();
    if (plain.GetSize() != int(size) || (size > 0 && std::memcmp(plain.GetData(), data, size) != 0)) __builtin_trap();

    if (HVI_IsScrambledContainer(data, int64_t(size))) return 0;  // such bytes are never read as plain XML
    DMDatabase fromContainer("container");
    const bool containerRead =
        HVI_LoadDatabaseFromBytes("Fuzz", "fuzz", container.GetData(), container.GetSize(), fromContainer);
    if (containerRead != read || fromContainer.GetArrayCount() != database.GetArrayCount()) __builtin_trap();
    return 0;
}
