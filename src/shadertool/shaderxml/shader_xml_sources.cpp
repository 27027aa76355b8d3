#include <cstring>

#include "shadertool/basic/targets.h"
#include "shadertool/shaderxml/shader_xml_messages.h"
#include "shadertool/shaderxml/shader_xml_reader.h"

namespace ShaderTool {
namespace {

bool IsRayTracingStage(uint32_t stage) { return stage == STAGE_RCHIT || stage == STAGE_RGEN || stage == STAGE_RMISS; }

// Drops the leading lines made only of blanks and control characters; the
// count of dropped lines is returned.
int DropLeadingBlankLines(const char* text, int length, String& kept)
{
    int start = 0;
    int dropped = 0;
    while (true) {
        int end = start;
        bool blank = true;
        while (end < length && text[end] != '\n') {
            blank = blank && static_cast<unsigned char>(text[end]) <= 32;
            ++end;
        }
        if (end >= length || !blank) break;
        start = end + 1;
        ++dropped;
    }
    kept.Assign(text + start, length - start);
    return dropped;
}

}  // namespace

bool ShaderXMLReader::ReadSourceTypeAndTargets(const DMNode* node, ShaderSource& source, int index)
{
    bool sound = true;
    const char* type = node->GetValue("type");
    source.stage = type != nullptr ? FindStageByName(type) : STAGE_INVALID;
    if (source.stage == STAGE_INVALID) {
        Error(kXmlSourceType, index + 1);
        sound = false;
    } else {
        if (IsRayTracingStage(source.stage) != m_rayTracingGroupGiven) {
            Error("%s", kXmlRayTracingGroupRule);
            sound = false;
        }
        m_description.stageFlags |= 1u << source.stage;
    }
    source.targetMask = ParseTargetList(node->GetValue("target"));
    if (source.targetMask == 0) {
        Error(kXmlSourceTargets, index + 1);
        sound = false;
    }
    return sound;
}

bool ShaderXMLReader::ReadSource(const DMNode* node, ShaderSource& source, int index)
{
    bool sound = ReadSourceTypeAndTargets(node, source, index);
    const char* file = node->GetValue("file");
    const char* code = node->GetValue("CDATA");
    if (file == nullptr && code == nullptr) {
        Error(kXmlSourceNoCode, index + 1);
        return false;
    }
    if (file != nullptr && code != nullptr) {
        Error(kXmlSourceFileAndCData, index + 1);
        return false;
    }
    const int32_t recordedLine = index < m_sourceLines.GetCount() ? m_sourceLines[index] : 1;
    if (file != nullptr) {
        source.path = m_folder;
        source.path.Append(file);
        source.firstLine = recordedLine;
        if (!ReadTextFile(source.path.GetText(), source.text)) {
            Error(kXmlSourceFileUnreadable, source.path.GetText());
            sound = false;
        }
        return sound;
    }
    source.path = m_path;
    const int dropped = DropLeadingBlankLines(code, static_cast<int>(std::strlen(code)), source.text);
    source.firstLine = recordedLine + dropped;
    return sound;
}

bool ShaderXMLReader::StoreSource(const ShaderSource& source)
{
    for (const ShaderSource& stored : m_description.sources) {
        if (stored.stage == source.stage) {
            if (stored.targetMask == TARGET_MASK_ALL && source.targetMask == TARGET_MASK_ALL) {
                Error(kXmlSourcesAllTargets, GetStageName(static_cast<int32_t>(source.stage)));
                return false;
            }
            if (stored.targetMask != TARGET_MASK_ALL && (stored.targetMask & source.targetMask) != 0) {
                Error(kXmlSourcesSameTarget, GetStageName(static_cast<int32_t>(source.stage)));
                return false;
            }
        }
        if (IsRayTracingStage(stored.stage) || IsRayTracingStage(source.stage)) {
            Error(kXmlIncompatibleSources, GetStageName(static_cast<int32_t>(source.stage)),
                  GetStageName(static_cast<int32_t>(stored.stage)));
            return false;
        }
    }
    m_description.sources.Add(source);
    return true;
}

bool ShaderXMLReader::ReadSourceArray(bool withTexts)
{
    if (m_database == nullptr) return false;
    const DMArray* array = m_database->FindArray("sources");
    if (array == nullptr) {
        if (!withTexts) return true;
        Error(kXmlRequiredArray, "sources");
        return false;
    }
    if (withTexts) {
        m_description.sources.Clear();
        FindSourceLines();
    }
    bool failed = false;
    for (int i = 0; i < array->GetNodeCount(); ++i) {
        ShaderSource source;
        const DMNode* node = array->GetNode(i);
        const bool sound = withTexts ? ReadSource(node, source, i) : ReadSourceTypeAndTargets(node, source, i);
        failed = failed || !sound;
        if (failed) continue;
        failed = !StoreSource(source);
    }
    return !failed;
}

bool ShaderXMLReader::ReadSources() { return ReadSourceArray(true); }

bool ShaderXMLReader::ReadSourceDeclarations() { return ReadSourceArray(false); }

}  // namespace ShaderTool
