#include "winapi/d3d11/shader_code.h"

#include <cctype>
#include <cstring>
#include <map>

#include "winapi/d3d11/spirv_words.h"
#include "winapi/d3dcompiler/code_format.h"

namespace halvo::d3d11 {

namespace {

struct VariableFacts {
    uint32_t pointerType = 0;
    uint32_t storage = 0;
    bool builtIn = false;
    uint32_t location = 0;
    std::string semantic;
};

struct TypeFacts {
    uint32_t opcode = 0;
    uint32_t operand1 = 0;  // component type, pointee, or width
    uint32_t operand2 = 0;  // component count, or signedness
};

// A literal string operand starting at `words`, at most `count` words.
std::string LiteralString(const uint32_t* words, size_t count)
{
    std::string text;
    for (size_t word = 0; word < count; ++word) {
        for (int byte = 0; byte < 4; ++byte) {
            const char c = char((words[word] >> (8 * byte)) & 0xff);
            if (c == '\0') return text;
            text.push_back(c);
        }
    }
    return text;
}

bool Describe(const std::map<uint32_t, TypeFacts>& types, uint32_t typeId, SignatureElement* element)
{
    auto type = types.find(typeId);
    if (type == types.end()) return false;
    uint32_t scalarId = typeId;
    element->componentCount = 1;
    if (type->second.opcode == kOpTypeVector) {
        scalarId = type->second.operand1;
        element->componentCount = type->second.operand2;
    }
    auto scalar = types.find(scalarId);
    if (scalar == types.end()) return false;
    if (scalar->second.opcode == kOpTypeFloat) {
        element->type = SignatureElement::Type::kFloat;
    } else if (scalar->second.opcode == kOpTypeInt) {
        element->type = scalar->second.operand2 ? SignatureElement::Type::kSint : SignatureElement::Type::kUint;
    } else {
        return false;
    }
    return true;
}

bool ReadInterface(const std::vector<uint32_t>& words, ShaderCode* code, std::string* reason)
{
    std::vector<uint32_t> interfaceIds;
    std::map<uint32_t, VariableFacts> variables;
    std::map<uint32_t, TypeFacts> types;
    bool entryPointSeen = false;
    for (size_t at = kSpirvHeaderWords; at < words.size();) {
        const uint32_t opcode = words[at] & 0xffff;
        const uint32_t count = words[at] >> 16;
        if (count == 0 || at + count > words.size()) {
            *reason = "the SPIR-V module ends inside an instruction";
            return false;
        }
        const uint32_t* operands = &words[at + 1];
        const size_t operandCount = count - 1;
        if (opcode == kOpEntryPoint && !entryPointSeen && operandCount >= 3) {
            entryPointSeen = true;
            // Execution model, entry id, name (a literal string), then the interface ids.
            size_t nameWords = 0;
            while (2 + nameWords < operandCount) {
                const uint32_t word = operands[2 + nameWords++];
                if ((word >> 24) == 0) break;
            }
            interfaceIds.assign(operands + 2 + nameWords, operands + operandCount);
        } else if ((opcode == kOpTypeInt || opcode == kOpTypeFloat || opcode == kOpTypeVector) && operandCount >= 2) {
            types[operands[0]] = {opcode, operands[1], operandCount >= 3 ? operands[2] : 0};
        } else if (opcode == kOpTypePointer && operandCount >= 3) {
            types[operands[0]] = {opcode, operands[2], operands[1]};
        } else if (opcode == kOpVariable && operandCount >= 3) {
            variables[operands[1]].pointerType = operands[0];
            variables[operands[1]].storage = operands[2];
        } else if (opcode == kOpDecorate && operandCount >= 2) {
            if (operands[1] == kDecorationBuiltIn) variables[operands[0]].builtIn = true;
            if (operands[1] == kDecorationLocation && operandCount >= 3) variables[operands[0]].location = operands[2];
        } else if (opcode == kOpDecorateString && operandCount >= 3 && operands[1] == kDecorationUserSemantic) {
            variables[operands[0]].semantic = LiteralString(operands + 2, operandCount - 2);
        }
        at += count;
    }
    if (!entryPointSeen) {
        *reason = "the SPIR-V module has no entry point";
        return false;
    }
    for (uint32_t id : interfaceIds) {
        auto variable = variables.find(id);
        if (variable == variables.end()) continue;
        const VariableFacts& facts = variable->second;
        if (facts.storage != kStorageInput && facts.storage != kStorageOutput) continue;
        SignatureElement element;
        SplitSemantic(facts.semantic, &element.semanticName, &element.semanticIndex);
        element.location = facts.location;
        element.systemValue = facts.builtIn;
        auto pointer = types.find(facts.pointerType);
        // A built-in's type is the pipeline's business (SV_IsFrontFace is a bool); arrays and structures
        // never cross a stage boundary in our compiler's code.
        if (!facts.builtIn && (pointer == types.end() || !Describe(types, pointer->second.operand1, &element))) {
            *reason = "a stage variable of the SPIR-V module has an unexpected type";
            return false;
        }
        (facts.storage == kStorageInput ? code->inputs : code->outputs).push_back(element);
    }
    return true;
}

}  // namespace

void SplitSemantic(const std::string& semantic, std::string* name, uint32_t* index)
{
    size_t digits = semantic.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(semantic[digits - 1]))) --digits;
    name->clear();
    for (size_t at = 0; at < digits; ++at)
        name->push_back(char(std::toupper(static_cast<unsigned char>(semantic[at]))));
    *index = 0;
    for (size_t at = digits; at < semantic.size() && at < digits + 9; ++at)
        *index = *index * 10 + uint32_t(semantic[at] - '0');
}

bool ReadShaderCode(const void* bytes, size_t size, ShaderCode* code, std::string* reason)
{
    using namespace halvo::d3dcompiler;
    CodeHeader header;
    if (bytes == nullptr || size < sizeof header) {
        *reason = "the code is shorter than its header";
        return false;
    }
    std::memcpy(&header, bytes, sizeof header);
    if (std::memcmp(header.magic, kCodeMagic, sizeof header.magic) != 0 || header.headerSize < sizeof header ||
        header.headerSize % 4 != 0 || header.headerSize > size) {
        *reason = "the code does not come from D3DCompile";
        return false;
    }
    if (uint64_t{header.wordCount} * 4 != size - header.headerSize || header.wordCount < kSpirvHeaderWords) {
        *reason = "the code's length does not match its header";
        return false;
    }
    code->programType = header.programType;
    code->minimumFeatureLevel = header.minimumFeatureLevel;
    code->words.resize(header.wordCount);
    std::memcpy(code->words.data(), static_cast<const unsigned char*>(bytes) + header.headerSize,
                size_t(header.wordCount) * 4);
    if (code->words[0] != kSpirvMagic) {
        *reason = "the code holds no SPIR-V module";
        return false;
    }
    return ReadInterface(code->words, code, reason);
}

}  // namespace halvo::d3d11
