#include "shadertool/shaderxml/shader_xml_reader.h"

#include <cstdarg>

#include "data/data_manager.h"
#include "filesystem/file_operations.h"
#include "shadertool/basic/targets.h"
#include "shadertool/lexer/lexer.h"
#include "shadertool/shaderxml/shader_xml_messages.h"
#include "shadertool/shaderxml/shader_xml_tables.h"
#include "shadertool/shaderxml/shader_xml_values.h"

namespace ShaderTool {
namespace {

constexpr uint32_t kRayHitOrMissStages = (1u << STAGE_RCHIT) | (1u << STAGE_RMISS);

const char* SettingValue(const DMArray* info, const char* setting)
{
    const DMNode* node = info->FindNode(setting);
    return node != nullptr ? node->GetValue("value") : nullptr;
}

}  // namespace

void ShaderXMLReader::Error(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    m_stepLog->WriteErrorV(format, arguments);
    va_end(arguments);
}

void ShaderXMLReader::SetDocument(DMDatabase* database, const String& path, const String& folder, const char* text)
{
    m_database = database;
    m_path = path;
    m_folder = folder;
    m_text.Assign(text);
}

void ShaderXMLReader::ReleaseSourceBitmap(PixelTextureVariable& texture)
{
    if (texture.sourceBitmap != nullptr && m_releaseBitmap != nullptr) m_releaseBitmap(texture.sourceBitmap);
    texture.sourceBitmap = nullptr;
}

void ShaderXMLReader::Reset()
{
    for (PixelTextureVariable& texture : m_description.pixelTextures) ReleaseSourceBitmap(texture);
    m_description.Clear();
    m_folder.Clear();
    m_path.Clear();
    m_text.Clear();
    m_sourceLines.Clear();
    m_rayTracingGroupGiven = false;
    m_database = nullptr;
}

bool ShaderXMLReader::CheckVariableId(const char* id, const char* kindPhrase)
{
    if (id == nullptr) {
        Error(kXmlNoId, kindPhrase);
        return false;
    }
    if (id[0] == '_') {
        Error(kXmlIdUnderscore, kindPhrase);
        return false;
    }
    return true;
}

bool ShaderXMLReader::Read(bool declarationsOnly)
{
    if (m_database == nullptr) return false;
    if (!ReadInfo()) return false;
    if (m_database->FindArray("info") == nullptr) return true;

    const bool sharedConstants = m_description.version >= kXmlDefinitionsVersion;
    if (!ReadDefinitions(m_database->FindArray(sharedConstants ? "definitions" : "constants"), false)) return false;
    if (!ReadVertexInputs()) return false;
    if (!ReadConstants("vertex_constants", m_description.vertexConstants)) return false;
    if (!ReadVertexOutputs()) return false;
    if (!ReadConstants("pixel_constants", m_description.pixelConstants)) return false;
    if (!ReadPixelTextures()) return false;
    if (!ReadPixelOutputs()) return false;
    if (sharedConstants && !ReadConstants("constants", m_description.constants)) return false;
    if (!ReadBuffers()) return false;
    if (!ReadImages()) return false;
    if (!ReadRayPayloads()) return false;
    if (!(declarationsOnly ? ReadSourceDeclarations() : ReadSources())) return false;

    bool result = CheckTexturesAgainstStages();
    if (!CheckRayTracingStages(m_database->FindArray("ray_payloads") != nullptr)) result = false;
    return result;
}

bool ShaderXMLReader::CheckTexturesAgainstStages()
{
    if (m_description.sources.GetCount() == 0) return true;
    bool result = true;
    const bool pixelStage = (m_description.stageFlags & (1u << STAGE_PIXEL)) != 0;
    for (const PixelTextureVariable& texture : m_description.pixelTextures) {
        if (pixelStage && texture.type.arraySize != 0) {
            Error(kXmlPixelTextureArray, texture.name.GetText());
            result = false;
        } else if (!pixelStage && texture.slot < 0) {
            Error(kXmlPixelTextureNoSlot, texture.name.GetText());
            result = false;
        }
    }
    return result;
}

bool ShaderXMLReader::CheckRayTracingStages(bool hasPayloadArray)
{
    if ((m_description.stageFlags & kRayHitOrMissStages) == 0) return true;
    const char* hit = GetStageName(STAGE_RCHIT);
    const char* miss = GetStageName(STAGE_RMISS);
    bool result = true;
    if (m_description.constants.variables.GetCount() > 0) {
        Error(kXmlConstantsInRayStages, hit, miss);
        result = false;
    }
    if (hasPayloadArray) {
        bool hasInput = false;
        for (const RayPayloadVariable& payload : m_description.rayPayloads) hasInput = hasInput || payload.isInput;
        if (!hasInput) {
            Error(kXmlNoInputPayload, hit, miss);
            result = false;
        }
    }
    return result;
}

bool ShaderXMLReader::ReadInfo()
{
    const DMArray* info = m_database->FindArray("info");
    if (info == nullptr) {
        m_description.version = 0;
        return true;
    }
    const uint32_t version = static_cast<uint32_t>(ParseXmlInteger(SettingValue(info, "version")));
    const uint32_t revision = static_cast<uint32_t>(ParseXmlInteger(SettingValue(info, "revision")));
    m_description.version = version << 16 | revision;
    if (m_description.version < kXmlMinimumVersion) {
        Error("%s", kXmlInvalidVersion);
        return false;
    }
    bool result = true;
    const char* tags = SettingValue(info, "tags");
    m_description.tags = tags != nullptr ? tags : "";
    if (const char* target = SettingValue(info, "target")) {
        m_description.targetMask = ParseTargetList(target);
        if (m_description.targetMask == 0) {
            Error("%s", kXmlInvalidTargets);
            result = false;
        }
    } else if (const char* level = SettingValue(info, "feature_level")) {
        const int32_t value = ParseXmlInteger(level);
        const int32_t count =
            static_cast<int32_t>(sizeof(kXmlFeatureLevelTargets) / sizeof(kXmlFeatureLevelTargets[0]));
        m_description.targetMask = value >= 1 && value <= count ? kXmlFeatureLevelTargets[value - 1] : 0;
        if (m_description.targetMask == 0) {
            Error("%s", kXmlInvalidFeatureLevel);
            result = false;
        }
    } else {
        m_description.targetMask = TARGET_MASK_ALL;
    }
    const char* group = SettingValue(info, "ray_tracing_group");
    m_rayTracingGroupGiven = group != nullptr;
    m_description.rayTracingGroup = group != nullptr ? ParseXmlInteger(group) : -1;
    return result;
}

bool ShaderXMLReader::ReadDefinitionVariable(const DMNode* node, DefinitionVariable& variable)
{
    const char* id = node->GetValue("id");
    bool result = CheckVariableId(id, kXmlPhraseDefinition);
    variable.name = id != nullptr ? id : "?";
    const char* value = node->GetValue("value");
    if (value == nullptr) {
        Error(kXmlDefinitionNoValue, variable.name.GetText());
        variable.valueKind = DEFINITION_VALUE_UNKNOWN;
        return false;
    }
    variable.value = value;
    const uint32_t kind = ClassifyConstant(value);
    variable.valueKind = kind == DEFINITION_VALUE_UNKNOWN ? DEFINITION_VALUE_TEXT : kind;
    return result;
}

bool ShaderXMLReader::ReadDefinitions(const DMArray* array, bool included)
{
    return ReadDefinitionNodes(array, included, true);
}

bool ShaderXMLReader::ReadDefinitionNodes(const DMArray* array, bool included, bool store)
{
    if (array == nullptr) return true;
    bool failed = !store;
    Array<DefinitionVariable>& definitions = m_description.definitions;
    for (int i = 0; i < array->GetNodeCount(); ++i) {
        const DMNode* node = array->GetNode(i);
        const char* file = node->GetValue("file");
        if (file != nullptr && node->GetValue("id") == nullptr) {
            // An included definitions file takes the place of this node.
            if (included) {
                Error("%s", kXmlDefinitionFileNested);
                failed = true;
                continue;
            }
            String path = m_folder;
            path.Append(file);
            if (!HV_FileSystem_FindPath(path.GetText())) {
                Error(kXmlDefinitionFileMissing, path.GetText());
                failed = true;
                continue;
            }
            if (m_developerMode) DataManager::UnloadDatabase(path.GetText());
            const DMDatabase* database = DataManager::GetDatabase(path.GetText());
            const bool sharedConstants = m_description.version >= kXmlDefinitionsVersion;
            const DMArray* includedArray =
                database != nullptr ? database->FindArray(sharedConstants ? "definitions" : "constants") : nullptr;
            if (includedArray == nullptr || !ReadDefinitionNodes(includedArray, true, !failed)) failed = true;
            continue;
        }
        DefinitionVariable variable;
        const bool sound = ReadDefinitionVariable(node, variable);
        failed = failed || !sound;
        if (failed) continue;
        bool replaced = false;
        for (DefinitionVariable& earlier : definitions) {
            if (XmlNamesEqual(earlier.name.GetText(), variable.name.GetText())) {
                earlier.value = variable.value;
                replaced = true;
                break;
            }
        }
        if (!replaced) definitions.Add(variable);
    }
    return !failed;
}

}  // namespace ShaderTool
