#pragma once

#include <cstdint>

#include "foundation/byte_buffer.h"

// The scrambled database container (see xml_database_format.md):
//   13 bytes  magic "HVScrambledDB", which is also the scrambling key
//   u32 LE    length of the plain text in bytes
//   u32 LE    CRC-32 (zlib) of the plain text
//   length    the plain text, each byte XOR-ed with the key byte at index % 13
inline constexpr char kScrambledMagic[] = "HVScrambledDB";
inline constexpr int kScrambledMagicLength = 13;
inline constexpr int kScrambledHeaderSize = kScrambledMagicLength + 4 + 4;
static_assert(sizeof(kScrambledMagic) == kScrambledMagicLength + 1);

// True when the bytes begin with the magic, or are a non-empty beginning of
// it: such data is a container, whole or damaged, and never plain XML.
bool HVI_IsScrambledContainer(const uint8_t* bytes, int64_t size);

// Checks magic, length and checksum and appends the plain text to the buffer.
// False, with the reason, when the container is damaged; nothing is appended then.
bool HVI_UnscrambleContainer(const uint8_t* bytes, int64_t size, ByteBuffer& plain, const char*& reason);

// Appends the container of the plain text to the buffer.
bool HVI_ScrambleIntoContainer(const uint8_t* plain, int size, ByteBuffer& out);
