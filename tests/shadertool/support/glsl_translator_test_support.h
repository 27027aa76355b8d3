#pragma once

// The GLSL family in the tests: each target's version line (the translators
// write none) and a translator fixture whose judged cases glslangValidator
// (with spirv-val for SPIRV) judges.
#include <fstream>
#include <string>

#include "outside_judge.h"
#include "support/temporary_folder.h"
#include "translator_test_support.h"

struct GlslTarget {
    ShaderTool::Target bit;
    const char* versionLine;
    bool vulkan;  // judged as SPIR-V for Vulkan
};

inline constexpr GlslTarget kGlslTargets[] = {
    {ShaderTool::TARGET_ESSL20, "#version 100\n", false}, {ShaderTool::TARGET_ESSL30, "#version 300 es\n", false},
    {ShaderTool::TARGET_GLSL21, "#version 120\n", false}, {ShaderTool::TARGET_GLSL31, "#version 140\n", false},
    {ShaderTool::TARGET_SPIRV, "#version 460\n", true},
};

inline const GlslTarget* FindGlslTarget(uint32_t bit)
{
    for (const GlslTarget& target : kGlslTargets) {
        if (target.bit == bit) return &target;
    }
    return nullptr;
}

class GlslTranslatorFixture : public TranslatorFixture {
protected:
    void Judge(const char* stageName, uint32_t targetBit) override
    {
        const GlslTarget* target = FindGlslTarget(targetBit);
        ASSERT_NE(target, nullptr) << targetBit;
        const std::filesystem::path path = m_folder.Path() / (std::string("shader.") + stageName);
        std::ofstream(path, std::ios::binary) << target->versionLine << result;
        std::string output;
        EXPECT_TRUE(JudgeGlsl(path, stageName, target->vulkan, &output)) << result << output;
    }

    TemporaryFolder m_folder{"halvo-glsl-translator"};
};
