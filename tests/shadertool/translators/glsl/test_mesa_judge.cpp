// Mesa's compiler as the GL family's judge tells texts apart: it knows the
// extension glslangValidator lacks, and it refuses, with its words, what a
// language or its version forbids.
#include <gtest/gtest.h>

#include <string>

#include "shadertool/support/mesa_judge.h"

using namespace ShaderTool;

namespace {

TEST(MesaJudge, KnowsTheInstanceIdOfTheExtensionAndRefusesItWithoutTheExtensionLine)
{
    MesaGl* mesa = SharedMesaGl();
    if (mesa == nullptr) GTEST_SKIP() << "no Mesa contexts here";
    const std::string body = "void main()\n{\n\tgl_Position = vec4(float(gl_InstanceID));\n}\n";
    std::string log;
    EXPECT_TRUE(CompileOnMesa(*mesa, TARGET_GLSL21, STAGE_VERTEX,
                              "#version 120\n#extension GL_EXT_gpu_shader4 : require\n" + body, &log))
        << log;
    EXPECT_FALSE(CompileOnMesa(*mesa, TARGET_GLSL21, STAGE_VERTEX, "#version 120\n" + body, &log));
    EXPECT_NE(log.find("gl_InstanceID"), std::string::npos) << log;
}

TEST(MesaJudge, RefusesLevelSamplingInAnEs2PixelShaderAndAcceptsItInTheVertexShader)
{
    MesaGl* mesa = SharedMesaGl();
    if (mesa == nullptr) GTEST_SKIP() << "no Mesa contexts here";
    const std::string sampling = "texture2DLod(s, vec2(0.5), 0.0);\n}\n";
    std::string log;
    EXPECT_FALSE(CompileOnMesa(*mesa, TARGET_ESSL20, STAGE_PIXEL,
                               "#version 100\nprecision mediump float;\nuniform sampler2D s;\n"
                               "void main()\n{\n\tgl_FragColor = " +
                                   sampling,
                               &log));
    EXPECT_NE(log.find("texture2DLod"), std::string::npos) << log;
    EXPECT_TRUE(CompileOnMesa(*mesa, TARGET_ESSL20, STAGE_VERTEX,
                              "#version 100\nuniform sampler2D s;\nvoid main()\n{\n\tgl_Position = " + sampling, &log))
        << log;
}

}  // namespace
