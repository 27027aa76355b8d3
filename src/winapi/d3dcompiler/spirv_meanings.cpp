#include "winapi/d3dcompiler/spirv_meanings.h"

#include <spirv-tools/libspirv.h>

#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace halvo::d3dcompiler {
namespace {

constexpr uint16_t kOpTypeBool = 20;
constexpr uint16_t kOpCopyObject = 83;
constexpr uint16_t kOpSRem = 138;
constexpr uint16_t kOpSMod = 139;
constexpr uint16_t kOpFRem = 140;
constexpr uint16_t kOpFMod = 141;
constexpr uint16_t kOpAny = 154;
constexpr uint16_t kOpAll = 155;

// What one reading of the module finds: the instructions to renumber, by
// the offset of their first word.
struct Findings {
    const uint32_t* start = nullptr;
    std::unordered_set<uint32_t> boolTypes;
    std::unordered_map<uint32_t, uint32_t> typeOf;  // result id -> its type id
    std::unordered_map<size_t, uint16_t> newOpcodes;
};

spv_result_t Look(void* data, const spv_parsed_instruction_t* instruction)
{
    Findings& findings = *static_cast<Findings*>(data);
    const size_t offset = static_cast<size_t>(instruction->words - findings.start);
    if (instruction->opcode == kOpTypeBool) findings.boolTypes.insert(instruction->result_id);
    if (instruction->result_id != 0 && instruction->type_id != 0) {
        findings.typeOf[instruction->result_id] = instruction->type_id;
    }
    switch (instruction->opcode) {
    case kOpSMod: findings.newOpcodes[offset] = kOpSRem; break;
    case kOpFMod: findings.newOpcodes[offset] = kOpFRem; break;
    case kOpAll:
    case kOpAny: {
        // Operands are defined before their uses inside a block.
        const auto operandType = findings.typeOf.find(instruction->words[3]);
        if (operandType != findings.typeOf.end() && findings.boolTypes.count(operandType->second) != 0) {
            findings.newOpcodes[offset] = kOpCopyObject;
        }
        break;
    }
    default: break;
    }
    return SPV_SUCCESS;
}

}  // namespace

bool GiveSpirvHlslMeanings(std::vector<uint32_t>& words)
{
    const std::unique_ptr<spv_context_t, decltype(&spvContextDestroy)> context(spvContextCreate(SPV_ENV_VULKAN_1_0),
                                                                               &spvContextDestroy);
    Findings findings;
    findings.start = words.data();
    if (context == nullptr ||
        spvBinaryParse(context.get(), &findings, words.data(), words.size(), nullptr, Look, nullptr) != SPV_SUCCESS) {
        return false;
    }
    // The first word of an instruction holds its word count (high half) and opcode.
    for (const auto& [offset, opcode] : findings.newOpcodes) words[offset] = (words[offset] & 0xffff0000u) | opcode;
    return true;
}

}  // namespace halvo::d3dcompiler
