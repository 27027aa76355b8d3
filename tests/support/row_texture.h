// A two-dimensional texture that the tests drawing a row of pixels bind for
// the pixel stage: four 8-bit channels (R, G, B, A) a texel, every mip level
// given, each level's rows one after another and the levels from the largest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RowTexture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t levels = 1;
    std::vector<uint8_t> texels;

    uint32_t LevelWidth(uint32_t level) const { return width >> level > 0 ? width >> level : 1; }
    uint32_t LevelHeight(uint32_t level) const { return height >> level > 0 ? height >> level : 1; }
    // Where the level's texels start.
    size_t LevelOffset(uint32_t level) const
    {
        size_t offset = 0;
        for (uint32_t below = 0; below < level; ++below) offset += size_t(LevelWidth(below)) * LevelHeight(below) * 4;
        return offset;
    }
    // The bytes every level together needs.
    size_t Size() const { return LevelOffset(levels); }
};
