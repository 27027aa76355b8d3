#include "data/database_files.h"

#include <atomic>

namespace {

// Set by the thread that sets up the file system, read by any thread.
std::atomic<const DatabaseFiles*> g_files{nullptr};

}  // namespace

void HVI_ConnectDatabaseFiles(const DatabaseFiles* files) { g_files = files; }

const DatabaseFiles* HVI_GetDatabaseFiles() { return g_files; }
