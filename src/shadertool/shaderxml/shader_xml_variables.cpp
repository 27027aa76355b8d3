#include <cstdarg>
#include <cstring>
#include <type_traits>

#include "shadertool/shaderxml/shader_xml_messages.h"
#include "shadertool/shaderxml/shader_xml_reader.h"
#include "shadertool/shaderxml/shader_xml_tables.h"
#include "shadertool/shaderxml/shader_xml_values.h"

namespace ShaderTool {
namespace {

// The largest constant count: a matrix array of it still has a byte size
// that fits the 32-bit size field.
constexpr int32_t kMaxConstantCount = static_cast<int32_t>(UINT32_MAX / 64);

constexpr uint32_t kVertexInputTypeQualifiers = QUALIFIER_CONST;

// The name of a variable; a pixel output is its name alone.
template <typename T>
const String& NameOf(const T& variable)
{
    return variable.name;
}

const String& NameOf(const String& name) { return name; }

template <typename T>
bool HasName(const Array<T>& list, const String& name)
{
    for (const T& item : list) {
        if (XmlNamesEqual(NameOf(item).GetText(), name.GetText())) return true;
    }
    return false;
}

template <typename T>
bool HasSlot(const Array<T>& list, int32_t slot)
{
    for (const T& item : list) {
        if (item.slot == slot) return true;
    }
    return false;
}

const char* NameOrUnknown(const char* id) { return id != nullptr ? id : "?"; }

bool IsTrueText(const char* text)
{
    return text != nullptr &&
           (std::strcmp(text, "1") == 0 || std::strcmp(text, "true") == 0 || std::strcmp(text, "TRUE") == 0);
}

}  // namespace

bool ShaderXMLReader::ReadVariableName(const DMNode* node, const char* kindPhrase, String& name)
{
    const char* id = node->GetValue("id");
    name = NameOrUnknown(id);
    return CheckVariableId(id, kindPhrase);
}

// One kind of variable with a slot: its words in the errors and its type parser.
struct ShaderXMLReader::SlottedKind {
    const char* phrase;   // for the id's errors
    const char* kind;     // for kXmlSlotUsed
    const char* badSlot;  // a slot that is no number, or a missing one where required
    const char* badType;
    Type (*parseType)(const char* text);
    bool slotRequired;
};

template <typename Variable>
bool ShaderXMLReader::ReadSlottedVariable(const DMNode* node, const SlottedKind& kind, const Array<Variable>& list,
                                          Variable& variable)
{
    bool sound = ReadVariableName(node, kind.phrase, variable.name);
    const char* name = variable.name.GetText();
    const char* slot = node->GetValue("slot");
    variable.slot = slot != nullptr ? ParseXmlInteger(slot) : -1;
    if (variable.slot < 0 && (slot != nullptr || kind.slotRequired)) {
        Error(kind.badSlot, name);
        sound = false;
    } else if (variable.slot >= 0 && HasSlot(list, variable.slot)) {
        Error(kXmlSlotUsed, kind.kind, name);
        sound = false;
    }
    variable.type = kind.parseType(node->GetValue("type"));
    if (!variable.type.IsValidVariableType()) {
        Error(kind.badType, name);
        sound = false;
    }
    return sound;
}

template <typename Variable, typename ReadNode>
bool ShaderXMLReader::ReadVariableList(const char* arrayName, const char* kind, Array<Variable>& list, ReadNode read,
                                       int32_t maxCount, const char* tooMany)
{
    const DMArray* array = m_database->FindArray(arrayName);
    if (array == nullptr) return true;
    bool failed = false;
    if (maxCount > 0 && array->GetNodeCount() > maxCount) {
        Error(tooMany, maxCount);
        failed = true;
    }
    for (int i = 0; i < array->GetNodeCount(); ++i) {
        Variable variable;
        failed = !read(array->GetNode(i), variable) || failed;
        if (!failed && HasName(list, NameOf(variable))) {
            Error(kXmlNameExists, kind, NameOf(variable).GetText());
            failed = true;
        }
        if (failed) {
            // A texture not kept holds no bitmap.
            if constexpr (std::is_same_v<Variable, PixelTextureVariable>) ReleaseSourceBitmap(variable);
            continue;
        }
        list.Add(variable);
    }
    return !failed;
}

bool ShaderXMLReader::ReadVertexInputVariable(const DMNode* node, VertexInputVariable& variable)
{
    bool sound = ReadVariableName(node, kXmlPhraseVertexInput, variable.name);
    const char* semantic = node->GetValue("semantic");
    for (const XmlVertexInputSemantic& row : kXmlVertexInputSemantics) {
        if (semantic != nullptr && std::strcmp(row.name, semantic) == 0) {
            variable.semantic = row.bit;
            variable.type = Type::MakeVector(row.baseType, row.vectorSize, kVertexInputTypeQualifiers);
            return sound;
        }
    }
    Error(kXmlVertexInputSemantic, variable.name.GetText());
    variable.semantic = 0;
    variable.type = Type();
    return false;
}

bool ShaderXMLReader::ReadVertexInputs()
{
    if (m_database->FindArray("vertex_input") == nullptr) return true;
    uint32_t format = 0;
    bool sound = ReadVariableList(
        "vertex_input", kXmlKindVertexInput, m_description.vertexInput,
        [&](const DMNode* node, VertexInputVariable& variable) {
            const bool nodeSound = ReadVertexInputVariable(node, variable);
            format |= variable.semantic;
            return nodeSound;
        },
        kXmlMaxVertexInputs, kXmlTooManyVertexInputs);
    bool knownFormat = false;
    for (uint32_t allowed : kXmlVertexFormats) knownFormat = knownFormat || format == allowed;
    if (!knownFormat) {
        Error("%s", kXmlVertexInputFormat);
        sound = false;
    }
    return sound;
}

bool ShaderXMLReader::ReadConstantVariable(const DMNode* node, ConstantVariable& variable, const char* arrayName)
{
    const char* id = node->GetValue("id");
    bool sound = true;
    if (id == nullptr) {
        Error(kXmlConstantNoId, arrayName);
        sound = false;
    } else if (id[0] == '_') {
        Error(kXmlConstantIdUnderscore, arrayName);
        sound = false;
    }
    variable.name = NameOrUnknown(id);
    const char* name = variable.name.GetText();

    int32_t count = 1;
    const char* countText = node->GetValue("count");
    if (IsXmlDigits(countText)) {
        count = ParseXmlInteger(countText);
    } else if (countText != nullptr) {
        count = 0;
        for (const DefinitionVariable& definition : m_description.definitions) {
            if (definition.valueKind == DEFINITION_VALUE_INT && XmlNamesEqual(definition.name.GetText(), countText)) {
                count = ParseXmlInteger(definition.value.GetText());
                break;
            }
        }
    }
    if (count < 1 || count > kMaxConstantCount) {
        Error(kXmlConstantCount, arrayName, name);
        sound = false;
        count = 1;
    }

    variable.type = ParseVariableType(node->GetValue("type"), QUALIFIER_CONST, count, false);
    const Type& type = variable.type;
    const bool numeric = type.baseType == BaseType::FLOAT || type.baseType == BaseType::INT;
    const bool matrix = type.matrixSize > 0;
    if (!numeric || !(type.vectorSize == 4 || matrix)) {
        Error(kXmlConstantType, arrayName, name);
        sound = false;
    }

    variable.semantic = kXmlConstantSemanticNone;
    if (const char* semantic = node->GetValue("semantic")) {
        variable.semantic = 0;
        for (const XmlNamedValue& row : kXmlConstantSemantics) {
            if (std::strcmp(row.name, semantic) == 0) variable.semantic = row.value;
        }
        if (variable.semantic == 0) {
            Error(kXmlConstantSemantic, arrayName, name);
            sound = false;
        }
    }
    variable.byteSize = static_cast<uint32_t>(matrix ? 64 : 16) * static_cast<uint32_t>(count);
    return sound;
}

bool ShaderXMLReader::ReadConstants(const char* arrayName, ConstantList& list)
{
    return ReadVariableList(arrayName, kXmlKindConstant, list.variables,
                            [&](const DMNode* node, ConstantVariable& variable) {
                                return ReadConstantVariable(node, variable, arrayName);
                            });
}

bool ShaderXMLReader::ReadVertexOutputVariable(const DMNode* node, VertexOutputVariable& variable, bool& positionSeen)
{
    bool sound = ReadVariableName(node, kXmlPhraseVertexOutput, variable.name);
    variable.type = ParseVariableType(node->GetValue("type"), 0, 1, false);
    if (!variable.type.IsValidVariableType()) {
        Error(kXmlVertexOutputType, variable.name.GetText());
        sound = false;
    }
    variable.semantic = VERTEX_OUTPUT_TEXTURE_COORDINATE;
    if (const char* semantic = node->GetValue("semantic")) {
        for (const XmlNamedValue& row : kXmlVertexOutputSemantics) {
            if (std::strcmp(row.name, semantic) == 0) variable.semantic = row.value;
        }
    }
    if (variable.semantic == VERTEX_OUTPUT_POSITION) {
        if (positionSeen) {
            Error("%s", kXmlSecondPosition);
            sound = false;
        }
        positionSeen = true;
    }
    return sound;
}

bool ShaderXMLReader::ReadVertexOutputs()
{
    bool positionSeen = false;
    Array<VertexOutputVariable>& outputs = m_description.vertexOutput;
    return ReadVariableList("vertex_output", kXmlKindVertexOutput, outputs,
                            [&](const DMNode* node, VertexOutputVariable& variable) {
                                const bool sound = ReadVertexOutputVariable(node, variable, positionSeen);
                                for (const VertexOutputVariable& earlier : outputs) {
                                    if (earlier.semantic == variable.semantic) ++variable.semanticIndex;
                                }
                                return sound;
                            });
}

bool ShaderXMLReader::ReadPixelTextureVariable(const DMNode* node, PixelTextureVariable& variable)
{
    static constexpr SlottedKind kPixelTexture = {kXmlPhrasePixelTexture, kXmlKindPixelTexture, kXmlPixelTextureSlot,
                                                  kXmlPixelTextureType,   ParseTextureType,     false};
    bool sound = ReadSlottedVariable(node, kPixelTexture, m_description.pixelTextures, variable);
    const char* name = variable.name.GetText();
    if (!ParseAddressMode(node->GetValue("address_u"), variable.addressU) ||
        !ParseAddressMode(node->GetValue("address_v"), variable.addressV) ||
        !ParseAddressMode(node->GetValue("address_w"), variable.addressW)) {
        Error(kXmlPixelTextureAddress, name);
        return false;
    }
    if (!ParseFilterMode(node->GetValue("filter_mag"), variable.filterMag) ||
        !ParseFilterMode(node->GetValue("filter_min"), variable.filterMin) ||
        !ParseFilterMode(node->GetValue("filter_mip"), variable.filterMip)) {
        Error(kXmlPixelTextureFilter, name);
        return false;
    }
    if (const char* source = node->GetValue("source")) {
        variable.sourceBitmap = m_getBitmap != nullptr ? m_getBitmap(source) : nullptr;
        if (variable.sourceBitmap == nullptr) {
            Error(kXmlPixelTextureSource, name);
            sound = false;
        }
    }
    return sound;
}

bool ShaderXMLReader::ReadPixelTextures()
{
    return ReadVariableList(
        "pixel_textures", kXmlKindPixelTexture, m_description.pixelTextures,
        [this](const DMNode* node, PixelTextureVariable& variable) { return ReadPixelTextureVariable(node, variable); },
        kXmlMaxPixelTextures, kXmlTooManyPixelTextures);
}

bool ShaderXMLReader::ReadPixelOutputs()
{
    return ReadVariableList(
        "pixel_output", kXmlKindPixelOutput, m_description.pixelOutput,
        [this](const DMNode* node, String& name) { return ReadVariableName(node, kXmlPhrasePixelOutput, name); });
}

bool ShaderXMLReader::ReadBufferVariable(const DMNode* node, BufferVariable& variable)
{
    static constexpr SlottedKind kBuffer = {kXmlPhraseBuffer, kXmlKindBuffer,  kXmlBufferSlot,
                                            kXmlBufferType,   ParseBufferType, true};
    return ReadSlottedVariable(node, kBuffer, m_description.buffers, variable);
}

bool ShaderXMLReader::ReadBuffers()
{
    return ReadVariableList(
        "buffers", kXmlKindBuffer, m_description.buffers,
        [this](const DMNode* node, BufferVariable& variable) { return ReadBufferVariable(node, variable); });
}

bool ShaderXMLReader::ReadImageVariable(const DMNode* node, ImageVariable& variable)
{
    bool sound = ReadVariableName(node, kXmlPhraseImage, variable.name);
    const char* type = node->GetValue("type");
    if (type != nullptr && std::strcmp(type, "2D") == 0) {
        variable.type = Type::MakeImage2D();
    } else {
        Error(kXmlImageType, variable.name.GetText());
        sound = false;
    }
    return sound;
}

bool ShaderXMLReader::ReadImages()
{
    return ReadVariableList(
        "images", kXmlKindImage, m_description.images,
        [this](const DMNode* node, ImageVariable& variable) { return ReadImageVariable(node, variable); });
}

bool ShaderXMLReader::ReadRayPayloadVariable(const DMNode* node, RayPayloadVariable& variable)
{
    static constexpr SlottedKind kRayPayload = {kXmlPhraseRayPayload, kXmlKindRayPayload,  kXmlRayPayloadSlot,
                                                kXmlRayPayloadType,   ParseRayPayloadType, true};
    bool sound = ReadSlottedVariable(node, kRayPayload, m_description.rayPayloads, variable);
    variable.isInput = IsTrueText(node->GetValue("input")) ? 1 : 0;
    if (variable.isInput) {
        for (const RayPayloadVariable& earlier : m_description.rayPayloads) {
            if (earlier.isInput) {
                Error("%s", kXmlSecondInputPayload);
                sound = false;
                break;
            }
        }
    }
    return sound;
}

bool ShaderXMLReader::ReadRayPayloads()
{
    return ReadVariableList(
        "ray_payloads", kXmlKindRayPayload, m_description.rayPayloads,
        [this](const DMNode* node, RayPayloadVariable& variable) { return ReadRayPayloadVariable(node, variable); });
}

}  // namespace ShaderTool
