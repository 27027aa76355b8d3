#pragma once

#include <cstdint>

#include <vorbis/vorbisfile.h>

// Decoder errors in a row after which a stream is given up.
constexpr int HV_OGG_MAX_ERRORS_IN_A_ROW = 32;

// Decodes up to `bytes` bytes of 16-bit signed little-endian PCM into `out`,
// stopping early at the end of the stream or once more than
// HV_OGG_MAX_ERRORS_IN_A_ROW decoder errors came in a row (counted across
// calls in *errorRun, which a success resets). Returns the bytes written.
int64_t HVI_DecodeOgg(OggVorbis_File* decoder, uint8_t* out, int64_t bytes, int* errorRun);
