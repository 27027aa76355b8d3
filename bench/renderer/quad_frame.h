#pragma once

// The frame both cases draw: kQuadCount textured quads, each written into a
// dynamic vertex buffer and drawn on its own, as the front end's sprite
// drawer does, over a cleared back buffer, then presented.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/sprite_shader.h"

constexpr int kQuadCount = 1000;
constexpr int kColumns = 40;  // 40 x 25 quads cover the back buffer
constexpr int kRows = 25;
static_assert(kColumns * kRows == kQuadCount, "the grid holds every quad");
constexpr uint32_t kBackBufferWidth = 1280;
constexpr uint32_t kBackBufferHeight = 720;
constexpr int kTextureSide = 64;

// The sprite program's vertices and quad indices.
using QuadVertex = SpriteVertex;

// The quads of a frame, 4 vertices each, spread over the back buffer in clip space.
std::vector<QuadVertex> MakeQuads();

// The texture's texels, 4 bytes each.
std::vector<uint8_t> MakeTexels();

// A window of the back buffer's client size; null when it cannot be made.
HWND MakeBenchWindow();

// Whether the layer's back end of that name starts here (Vulkan needs a device).
bool BackendStarts(const char* backend);

// Sets up what the engine's graphics code needs outside a running engine:
// the main thread, the engine locks and the engine interface with its
// graphics table, and the library path of the HLSL compiler.
void PrepareEngine();
