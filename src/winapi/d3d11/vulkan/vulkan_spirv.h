#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "winapi/d3d11/backend.h"

namespace halvo::d3d11::vulkan {

// The descriptor set of each stage's resources: the vertex stage keeps the
// compiler's set 0, the pixel stage's move to set 1 so that the two stages'
// registers never share a binding.
inline constexpr uint32_t kVertexSet = 0;
inline constexpr uint32_t kPixelSet = 1;

// The SPIR-V words of our compiler's code made ready for a shader module:
// the stage's resources moved to its descriptor set, and, when the device
// lacks VK_GOOGLE_hlsl_functionality1 and VK_GOOGLE_decorate_string, the
// semantic and counter-buffer decorations and their extensions left out.
std::vector<uint32_t> PrepareModule(const uint32_t* words, size_t wordCount, ShaderStage stage,
                                    bool keepHlslDecorations);

// What a shader declares at one texture register: the dimension of the image
// (SPIR-V's Dim: 0 1D, 1 2D, 2 3D, 3 cube) and whether it is an array.
struct DeclaredImage {
    uint32_t dimension = 1;
    bool arrayed = false;
};

// The images a module declares, by binding.
std::map<uint32_t, DeclaredImage> DeclaredImages(const uint32_t* words, size_t wordCount);

// The locations of a vertex module's outputs, by semantic (upper case, with
// its index: "TEXCOORD0").
std::map<std::string, uint32_t> OutputLocations(const uint32_t* words, size_t wordCount);

// A pixel module whose inputs take the locations that the vertex stage gives
// their semantics, as the platform links the stages by semantic.
std::vector<uint32_t> LinkInputs(const uint32_t* words, size_t wordCount,
                                 const std::map<std::string, uint32_t>& outputLocations);

}  // namespace halvo::d3d11::vulkan
