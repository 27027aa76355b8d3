#pragma once

// The GLSL family in the tests: each target's version line (the translators
// write none) and a translator fixture whose cases outside compilers judge.
#include <fstream>
#include <string>

#include "mesa_judge.h"
#include "outside_judge.h"
#include "shadertool/basic/targets.h"
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

// Whether the target's capabilities cover what the description uses, as the
// driver's capability check asks before any translation.
inline bool Admits(uint32_t target, const ShaderTool::ShaderDescription& description)
{
    const ShaderTool::TargetCapabilities& capabilities = ShaderTool::FindTargetInfo(target)->capabilities;
    if (description.buffers.GetCount() > 0 && capabilities.buffers == 0) return false;
    if (description.pixelOutput.GetCount() > 1 && capabilities.multiplePixelOutputs == 0) return false;
    if (description.rayTracingGroup != -1 && capabilities.rayTracing == 0) return false;
    for (const ShaderTool::PixelTextureVariable& texture : description.pixelTextures) {
        if (texture.type.textureDimension == ShaderTool::TEXTURE_3D && capabilities.textures3D == 0) return false;
        if (texture.type.arraySize != 0 && capabilities.textureArrays == 0) return false;
    }
    return true;
}

// Judges every case that translates for the GL family with Mesa's compiler, and the cases that name a judge with
// glslangValidator (with spirv-val for SPIRV) as well, the target's version line in front of the text.
class GlslTranslatorFixture : public TranslatorFixture {
protected:
    void Judge(const CaseHeader& header) override
    {
        const GlslTarget* target = FindGlslTarget(header.target);
        ASSERT_NE(target, nullptr) << header.target;
        const std::string text = target->versionLine + result;
        MesaGl* mesa = target->vulkan ? nullptr : SharedMesaGl();
        std::string log;
        if (mesa != nullptr) {
            EXPECT_TRUE(CompileOnMesa(*mesa, header.target, header.stage, text, &log)) << text << "\n" << log;
        }
        if (header.judge.empty() || GlslangCannotJudge(result, caseName)) return;
        const std::filesystem::path path = m_folder.Path() / ("shader." + header.judge);
        std::ofstream(path, std::ios::binary) << text;
        EXPECT_TRUE(JudgeGlsl(path, header.judge, target->vulkan, &log)) << text << "\n" << log;
    }

    TemporaryFolder m_folder{"halvo-glsl-translator"};
};
