#pragma once

#include <cstdint>

// Checks a Vorbis setup header packet (type 5) of a stream with the given
// channel count against the values the decoder relies on without checking
// them itself: the whole header is parsed as the format lays it out, every
// index must name an existing codebook, floor, residue or mapping, every
// codebook needs at least one dimension and one entry, codebooks that floors
// and residues read vectors from need value tables, and a residue's
// classification book must hold every combination of classifications.
// Returns null when the header may be handed to the decoder, else what is wrong.
const char* HVI_CheckVorbisSetupHeader(const uint8_t* packet, int64_t bytes, int channels);
