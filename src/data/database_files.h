#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"

// How the data manager reads and writes its files. The file system, which
// stands above the data manager, connects itself here as soon as it has
// somewhere to look (a scheme root or a search path). Before that no file can
// be found, and the data manager reads and writes none.
struct DatabaseFiles {
    // Replaces the buffer by the whole file; false, with the buffer empty,
    // when the file cannot be read.
    bool (*readWholeFile)(const char* path, ByteBuffer& out);
    // Replaces the file whole or not at all. On failure, false and the
    // popup text that names the failed step (its "%s" takes the path).
    bool (*writeWholeFile)(const char* path, const void* bytes, int64_t size, const char*& failureText);
};

void HVI_ConnectDatabaseFiles(const DatabaseFiles* files);
// The connected files; null before the file system has connected itself.
const DatabaseFiles* HVI_GetDatabaseFiles();
