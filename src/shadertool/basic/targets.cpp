#include "shadertool/basic/targets.h"

#include <cstring>

#include "shadertool/basic/targets_tables.h"

namespace ShaderTool {

namespace {

bool IsSingleBit(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

// The row of a table keyed by one flag bit; null for no bit or several.
template <typename Row, size_t Count>
const Row* FindRowByBit(const Row (&table)[Count], uint32_t bit)
{
    if (!IsSingleBit(bit)) {
        return nullptr;
    }
    for (const Row& row : table) {
        if (row.bit == bit) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

uint32_t GetTargetMask(const char* name)
{
    if (name == nullptr) {
        return 0;
    }
    for (const TargetMaskName& row : kTargetMaskNames) {
        if (std::strcmp(row.name, name) == 0) {
            return row.mask;
        }
    }
    return 0;
}

const FeatureLevelInfo* FindFeatureLevelInfo(uint32_t featureLevel)
{
    return FindRowByBit(kFeatureLevelTable, featureLevel);
}

const char* GetFeatureLevelName(uint32_t featureLevel)
{
    const FeatureLevelInfo* row = FindFeatureLevelInfo(featureLevel);
    return row != nullptr ? row->name : "";
}

const char* GetHLSLProfileSuffix(uint32_t featureLevel)
{
    if (featureLevel == FEATURE_LEVEL_NONE) {
        return kDefaultHLSLProfileSuffix;
    }
    const FeatureLevelInfo* row = FindFeatureLevelInfo(featureLevel);
    return row != nullptr ? row->hlslProfileSuffix : nullptr;
}

const TargetInfo* FindTargetInfo(uint32_t targetBit) { return FindRowByBit(kTargetTable, targetBit); }

const char* GetTargetName(uint32_t targetBit)
{
    const TargetInfo* row = FindTargetInfo(targetBit);
    return row != nullptr ? row->name : "";
}

const char* GetStageName(int32_t stage)
{
    if (stage < 0 || stage >= STAGE_COUNT) {
        return "";
    }
    return kStageNames[stage];
}

Stage FindStageByName(const char* name)
{
    if (name == nullptr) {
        return STAGE_INVALID;
    }
    for (int stage = 0; stage < STAGE_COUNT; ++stage) {
        if (std::strcmp(kStageNames[stage], name) == 0) {
            return static_cast<Stage>(stage);
        }
    }
    return STAGE_INVALID;
}

}  // namespace ShaderTool
