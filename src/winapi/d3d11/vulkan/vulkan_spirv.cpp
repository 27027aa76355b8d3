#include "winapi/d3d11/vulkan/vulkan_spirv.h"

#include <algorithm>
#include <cstring>

namespace halvo::d3d11::vulkan {

namespace {

constexpr size_t kHeaderWords = 5;
constexpr uint32_t kOpExtension = 10;
constexpr uint32_t kOpDecorate = 71;
constexpr uint32_t kOpDecorateId = 332;
constexpr uint32_t kOpDecorateString = 5632;
constexpr uint32_t kDecorationDescriptorSet = 34;
constexpr uint32_t kDecorationCounterBuffer = 5634;
constexpr uint32_t kDecorationUserSemantic = 5635;

bool NamesHlslExtension(const uint32_t* operands, size_t count) {
  const size_t bytes = count * 4;
  std::vector<char> name(bytes + 1, '\0');
  std::memcpy(name.data(), operands, bytes);
  return std::strcmp(name.data(), "SPV_GOOGLE_hlsl_functionality1") == 0 ||
         std::strcmp(name.data(), "SPV_GOOGLE_decorate_string") == 0;
}

}  // namespace

std::vector<uint32_t> PrepareModule(const uint32_t* words, size_t wordCount, ShaderStage stage,
                                    bool keepHlslDecorations) {
  std::vector<uint32_t> module(words, words + std::min(wordCount, kHeaderWords));
  for (size_t at = kHeaderWords; at < wordCount;) {
    const uint32_t opcode = words[at] & 0xffff;
    size_t length = words[at] >> 16;
    if (length == 0 || at + length > wordCount) length = wordCount - at;  // the object layer read it whole already
    const uint32_t* operands = words + at + 1;
    const size_t operandCount = length - 1;
    bool keep = true;
    if (!keepHlslDecorations) {
      if (opcode == kOpExtension && NamesHlslExtension(operands, operandCount)) keep = false;
      if ((opcode == kOpDecorateString || opcode == kOpDecorateId) && operandCount >= 2 &&
          (operands[1] == kDecorationUserSemantic || operands[1] == kDecorationCounterBuffer)) {
        keep = false;
      }
    }
    if (keep) module.insert(module.end(), words + at, words + at + length);
    if (keep && stage == ShaderStage::kPixel && opcode == kOpDecorate && operandCount == 3 &&
        operands[1] == kDecorationDescriptorSet) {
      module.back() = kPixelSet;
    }
    at += length;
  }
  return module;
}

}  // namespace halvo::d3d11::vulkan
