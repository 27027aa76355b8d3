#pragma once

// Texts the image loader writes.
constexpr const char* kImagePixelsBadSize = "AllocateImagePixels: bitmap '%s' cannot hold %d x %d pixels.";
constexpr const char* kImagePixelsNoMemory = "AllocateImagePixels: no memory for %d x %d pixels of bitmap '%s'.";
constexpr const char* kImageNotPNG = "LoadImage: '%s' is not a PNG image: %s";
constexpr const char* kImageChunkPastEnd = "a chunk runs past the end of the file.";
constexpr const char* kImageTooLarge = "LoadImage: '%s' is %u x %u pixels, larger than %d x %d.";
constexpr const char* kImageTooShort = "LoadImage: '%s' is too short to hold %u x %u pixels.";
constexpr const char* kImageDecodeFailed = "LoadImage: '%s' could not be decoded: %s";
