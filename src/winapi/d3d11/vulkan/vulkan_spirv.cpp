#include "winapi/d3d11/vulkan/vulkan_spirv.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "winapi/d3d11/spirv_words.h"

namespace halvo::d3d11::vulkan {

namespace {

bool NamesHlslExtension(const uint32_t* operands, size_t count)
{
    const size_t bytes = count * 4;
    std::vector<char> name(bytes + 1, '\0');
    std::memcpy(name.data(), operands, bytes);
    return std::strcmp(name.data(), "SPV_GOOGLE_hlsl_functionality1") == 0 ||
           std::strcmp(name.data(), "SPV_GOOGLE_decorate_string") == 0;
}

// Calls visit(opcode, operands, operandCount, at) for each instruction after the header.
template <typename Visit>
void ForEachInstruction(const uint32_t* words, size_t wordCount, Visit visit)
{
    for (size_t at = kSpirvHeaderWords; at < wordCount;) {
        size_t length = words[at] >> 16;
        if (length == 0 || at + length > wordCount) length = wordCount - at;  // the object layer read it whole already
        visit(words[at] & 0xffff, words + at + 1, length - 1, at);
        at += length;
    }
}

// The semantic of each stage variable of the storage class, by id.
std::map<uint32_t, std::string> Semantics(const uint32_t* words, size_t wordCount, uint32_t storage)
{
    std::map<uint32_t, std::string> semantics;
    std::map<uint32_t, uint32_t> storages;
    ForEachInstruction(words, wordCount, [&](uint32_t opcode, const uint32_t* operands, size_t count, size_t) {
        if (opcode == kOpVariable && count >= 3) storages[operands[1]] = operands[2];
        if (opcode == kOpDecorateString && count >= 3 && operands[1] == kDecorationUserSemantic) {
            std::string text(reinterpret_cast<const char*>(operands + 2), (count - 2) * 4);
            text.resize(std::strlen(text.c_str()));
            for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
            // A semantic without an index has index 0.
            if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.back()))) text += '0';
            semantics[operands[0]] = text;
        }
    });
    for (auto it = semantics.begin(); it != semantics.end();) {
        it = storages[it->first] == storage ? std::next(it) : semantics.erase(it);
    }
    return semantics;
}

}  // namespace

std::map<uint32_t, DeclaredImage> DeclaredImages(const uint32_t* words, size_t wordCount)
{
    std::map<uint32_t, DeclaredImage> images;    // by type id
    std::map<uint32_t, uint32_t> pointees;       // pointer type id: pointee
    std::map<uint32_t, uint32_t> variableTypes;  // variable id: pointer type id
    std::map<uint32_t, uint32_t> bindings;       // variable id: binding
    ForEachInstruction(words, wordCount, [&](uint32_t opcode, const uint32_t* operands, size_t count, size_t) {
        if (opcode == kOpTypeImage && count >= 5) images[operands[0]] = {operands[2], operands[4] != 0};
        if (opcode == kOpTypePointer && count >= 3) pointees[operands[0]] = operands[2];
        if (opcode == kOpVariable && count >= 3) variableTypes[operands[1]] = operands[0];
        if (opcode == kOpDecorate && count == 3 && operands[1] == kDecorationBinding)
            bindings[operands[0]] = operands[2];
    });
    std::map<uint32_t, DeclaredImage> declared;
    for (const auto& [variable, binding] : bindings) {
        auto pointer = variableTypes.find(variable);
        if (pointer == variableTypes.end()) continue;
        auto pointee = pointees.find(pointer->second);
        if (pointee == pointees.end()) continue;
        auto image = images.find(pointee->second);
        if (image != images.end()) declared[binding] = image->second;
    }
    return declared;
}

std::map<std::string, uint32_t> OutputLocations(const uint32_t* words, size_t wordCount)
{
    const std::map<uint32_t, std::string> semantics = Semantics(words, wordCount, kStorageOutput);
    std::map<std::string, uint32_t> locations;
    ForEachInstruction(words, wordCount, [&](uint32_t opcode, const uint32_t* operands, size_t count, size_t) {
        if (opcode != kOpDecorate || count != 3 || operands[1] != kDecorationLocation) return;
        auto semantic = semantics.find(operands[0]);
        if (semantic != semantics.end()) locations[semantic->second] = operands[2];
    });
    return locations;
}

std::vector<uint32_t> LinkInputs(const uint32_t* words, size_t wordCount,
                                 const std::map<std::string, uint32_t>& outputLocations)
{
    const std::map<uint32_t, std::string> semantics = Semantics(words, wordCount, kStorageInput);
    std::vector<uint32_t> module(words, words + wordCount);
    ForEachInstruction(words, wordCount, [&](uint32_t opcode, const uint32_t* operands, size_t count, size_t at) {
        if (opcode != kOpDecorate || count != 3 || operands[1] != kDecorationLocation) return;
        auto semantic = semantics.find(operands[0]);
        if (semantic == semantics.end()) return;
        auto location = outputLocations.find(semantic->second);
        if (location != outputLocations.end()) module[at + 3] = location->second;
    });
    return module;
}

std::vector<uint32_t> PrepareModule(const uint32_t* words, size_t wordCount, ShaderStage stage,
                                    bool keepHlslDecorations)
{
    std::vector<uint32_t> module(words, words + std::min(wordCount, kSpirvHeaderWords));
    for (size_t at = kSpirvHeaderWords; at < wordCount;) {
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
