#include "core/configuration.h"

#include <cstdlib>
#include <cstring>

#include "data/data_manager.h"
#include "filesystem/file_operations.h"

namespace {

constexpr const char* kProgramFile = "res://prog.xml";
constexpr const char* kDeveloperFile = "res://developer.xml";
constexpr const char* kPlatformVariant = "WINDOWS";

// The registered database of the file; null when there is no such file.
const DMDatabase* ReadDatabase(const char* path)
{
    return HV_FileSystem_FindPath(path) ? DataManager::GetDatabase(path) : nullptr;
}

const char* FindInArray(const DMArray* array, const char* key)
{
    if (!array || !key) {
        return nullptr;
    }
    for (int i = 0; i < array->GetNodeCount(); ++i) {
        const DMNode* node = array->GetNode(i);
        if (const char* value = node->GetValue(key); value && std::strcmp(key, DMNode::kIdKey) != 0) {
            return value;
        }
        if (node->GetId() && std::strcmp(node->GetId(), key) == 0) {
            if (const char* text = node->GetValue(DMNode::kDataKey)) {
                return text;
            }
        }
    }
    return nullptr;
}

const DMArray* FindArray(const DMDatabase* database, const char* id)
{
    return database ? database->FindArray(id) : nullptr;
}

// A key of the variant node with that id in VARIANTS.
const char* FindInVariant(const DMDatabase* database, const char* variant, const char* key)
{
    const DMArray* variants = FindArray(database, "VARIANTS");
    const DMNode* node = variants && variant ? variants->FindNode(variant) : nullptr;
    return node && std::strcmp(key, DMNode::kIdKey) != 0 ? node->GetValue(key) : nullptr;
}

}  // namespace

void HVI_Configuration::Load()
{
    m_ownedProgram.reset();
    m_ownedDeveloper.reset();
    m_program = ReadDatabase(kProgramFile);
    m_developer = ReadDatabase(kDeveloperFile);
}

void HVI_Configuration::Unload()
{
    const bool registered = m_program && !m_ownedProgram;
    const bool developerRegistered = m_developer && !m_ownedDeveloper;
    Use(nullptr, nullptr);
    if (registered) {
        DataManager::UnloadDatabase(kProgramFile);
    }
    if (developerRegistered) {
        DataManager::UnloadDatabase(kDeveloperFile);
    }
}

void HVI_Configuration::Use(std::unique_ptr<DMDatabase> program, std::unique_ptr<DMDatabase> developer)
{
    m_ownedProgram = std::move(program);
    m_ownedDeveloper = std::move(developer);
    m_program = m_ownedProgram.get();
    m_developer = m_ownedDeveloper.get();
}

const char* HVI_Configuration::GetProgramValue(const char* key) const
{
    const DMDatabase* program = m_program;
    if (const char* value = FindInVariant(program, GetDeveloperValue("force_variant"), key)) {
        return value;
    }
    const String sized = String::Formatted("%s_%s", kPlatformVariant, m_screenSize.GetText());
    if (const char* value = FindInVariant(program, sized.GetText(), key)) {
        return value;
    }
    if (const char* value = FindInVariant(program, kPlatformVariant, key)) {
        return value;
    }
    return FindInArray(FindArray(program, "APPLICATION"), key);
}

const char* HVI_Configuration::GetProgramParameter(const char* key) const
{
    return FindInArray(FindArray(m_program, "PARAMETERS"), key);
}

const char* HVI_Configuration::GetDeveloperValue(const char* key) const
{
    return FindInArray(FindArray(m_developer, "DEVELOPER"), key);
}

bool HVI_Configuration::IsTrue(const char* text) { return text && (text[0] == '1' || text[0] == 't'); }

int HVI_FrameTimeFromFpsLimit(const char* fpsLimit)
{
    if (!fpsLimit || !*fpsLimit) {
        return 0;
    }
    char* end = nullptr;
    const double limit = std::strtod(fpsLimit, &end);
    if (end == fpsLimit || !(limit > 0.0) || limit > 1000000.0) {
        return 0;
    }
    return static_cast<int>(1000.0 / (limit + 2.0));
}

HVI_Configuration& HVI_GetConfiguration()
{
    static HVI_Configuration configuration;
    return configuration;
}
