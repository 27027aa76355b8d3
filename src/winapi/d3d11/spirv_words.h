#pragma once

#include <cstddef>
#include <cstdint>

// The numbers of the SPIR-V binary form that our readers of compiled shader
// code look at: the object layer and the Vulkan back end.
namespace halvo::d3d11 {

constexpr uint32_t kSpirvMagic = 0x07230203;
constexpr size_t kSpirvHeaderWords = 5;  // magic, version, generator, id bound, schema

// Instruction opcodes (the low half of an instruction's first word),
// decorations and storage classes.
constexpr uint32_t kOpExtension = 10;
constexpr uint32_t kOpEntryPoint = 15;
constexpr uint32_t kOpTypeInt = 21;
constexpr uint32_t kOpTypeFloat = 22;
constexpr uint32_t kOpTypeVector = 23;
constexpr uint32_t kOpTypeImage = 25;
constexpr uint32_t kOpTypePointer = 32;
constexpr uint32_t kOpVariable = 59;
constexpr uint32_t kOpDecorate = 71;
constexpr uint32_t kOpDecorateId = 332;
constexpr uint32_t kOpDecorateString = 5632;
constexpr uint32_t kDecorationBuiltIn = 11;
constexpr uint32_t kDecorationLocation = 30;
constexpr uint32_t kDecorationBinding = 33;
constexpr uint32_t kDecorationDescriptorSet = 34;
constexpr uint32_t kDecorationCounterBuffer = 5634;
constexpr uint32_t kDecorationUserSemantic = 5635;
constexpr uint32_t kStorageInput = 1;
constexpr uint32_t kStorageOutput = 3;

}  // namespace halvo::d3d11
