#pragma once

#include <cstdint>

// Checks an OGG file held in memory before a Vorbis decoder is opened over
// it: no page may lie inside another one (a decoder that resynchronises after
// a seek could otherwise read packets that a front-to-back reading never
// sees), and every Vorbis setup header of every logical stream must pass
// HVI_CheckVorbisSetupHeader. Returns null when the decoder may be opened,
// else what is wrong. Files without OGG pages pass: the decoder refuses them.
const char* HVI_CheckOggVorbisHeaders(const uint8_t* file, int64_t size);
