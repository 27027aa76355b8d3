#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"

// Writes the bytes to a temporary file beside the target ("<target>.tmp") and
// renames it over the target only when every byte was written and flushed. On
// failure the old file stays as it was and the temporary file is removed.
// Missing folders below the scheme's root are created. The path has a scheme
// or goes to the first search path, as OpenFile with "w".
bool HVI_WriteFileAtomically(const char* path, const void* bytes, int64_t size);

// Replaces the buffer's contents by the whole file (no terminator is added).
// False, with the buffer empty, when the file does not open, is too large for a
// ByteBuffer, or gives fewer bytes than its size.
bool HVI_ReadWholeFile(const char* path, ByteBuffer& out);
