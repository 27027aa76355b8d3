// PNG files read by libpng, which thereby judges the ones our writer makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The 8-bit R, G, B, A pixels of a PNG file (rows without gaps) and its size,
// or nothing when it cannot be read.
std::vector<uint8_t> ReadRgbaPng(const std::string& path, uint32_t* width, uint32_t* height);
