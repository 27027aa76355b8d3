#pragma once

#include <cstdint>

#include "filesystem/write_step.h"
#include "foundation/byte_buffer.h"

// Writes the bytes to a new temporary file beside the target, of a name no
// other writer in any process is given, and renames it over the target only
// when every byte was written and flushed to the disk. Whatever other writers
// do, the target is the old file or a new one, complete. On failure the old
// file stays as it was, the temporary file is removed and failedStep (when
// given) names the step that failed. Missing folders below the scheme's root
// are created. The path has a scheme or goes to the first search path, as
// OpenFile with "w".
bool HVI_WriteFileAtomically(const char* path, const void* bytes, int64_t size, WriteStep* failedStep = nullptr);

// Replaces the buffer's contents by the whole file (no terminator is added).
// False, with the buffer empty, when the file does not open, is too large for a
// ByteBuffer, or gives fewer bytes than its size.
bool HVI_ReadWholeFile(const char* path, ByteBuffer& out);

// Lets the data manager read and write its files through the two operations
// above (see data/database_files.h).
void HVI_ConnectDataManagerFiles();
