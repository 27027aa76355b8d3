// Mesa's own GLSL compiler judges the GL family: every good source of
// tests/data/shaders that a GLSL21, GLSL31, ESSL20 or ESSL30 translation
// writes (a refusal is the glslang corpus test's to judge) compiles and
// links on Mesa's desktop GL or GL ES, beside a partner stage that the same
// translator writes for the same interface; and so do both stages of every
// Shader XML of tests/data/shaderxml that the driver translates for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "shadertool/driver/driver.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/support/driver_test_support.h"
#include "shadertool/support/corpus_sources.h"
#include "shadertool/support/file_text.h"
#include "shadertool/support/glsl_translator_test_support.h"
#include "shadertool/support/shader_interfaces_test_support.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"
#include "support/mesa_gl.h"

using namespace ShaderTool;

namespace {

namespace fs = std::filesystem;

// The stage that links with a source of `stage`: a vertex stage that sets
// every vertex output, or a pixel stage that writes every pixel output.
std::string PartnerSource(const ShaderDescription& description, uint32_t stage)
{
    std::string body;
    if (stage == STAGE_PIXEL) {
        for (const VertexOutputVariable& output : description.vertexOutput) {
            body += std::string("\toutput.") + output.name.GetText() + " = " +
                    GetTypeText(output.type, false).GetText() + "(0);\n";
        }
    } else {
        for (const String& output : description.pixelOutput) {
            body += std::string("\toutput.") + output.GetText() + " = float4(0.0, 0.0, 0.0, 1.0);\n";
        }
    }
    return "void main()\n{\n" + body + "}\n";
}

class MesaCorpus : public ::testing::Test {
public:
    // The contexts, opened on first use and kept for the program's life; the reason when there are none.
    static MesaGl& Mesa()
    {
        static MesaGl* opened = [] {
            auto* contexts = new MesaGl;
            if (!contexts->Open(&unavailable)) unavailable = "Mesa's GL through EGL: " + unavailable;
            return contexts;
        }();
        return *opened;
    }
    static const std::string& Unavailable()
    {
        Mesa();
        return unavailable;
    }

protected:
    void SetUp() override
    {
        if (!Unavailable().empty()) GTEST_SKIP() << Unavailable();
        mesa = &Mesa();
    }

    // The text the target's translator writes for the source; false with the step log when it refuses.
    bool Translate(const ShaderDescription& description, const std::string& text, const std::string& path,
                   uint32_t stage, uint32_t target, std::string* result)
    {
        ShaderSource source;
        source.path = path.c_str();
        source.text = text.c_str();
        source.targetMask = TARGET_MASK_ALL;
        source.stage = stage;
        frontEnd_.stepLog.Clear();
        if (!RunFrontEnd(frontEnd_, description, source, target, Array<String>())) {
            *result = frontEnd_.stepLog.text.GetText();
            return false;
        }
        std::unique_ptr<Translator> translator(CreateTranslator(target, &frontEnd_.stepLog));
        String translated;
        const bool done = TranslateTree(*translator, description, frontEnd_.parse.root, 0, target, stage, translated);
        *result = done ? translated.GetText() : frontEnd_.stepLog.text.GetText();
        return done;
    }

    MesaGl* mesa = nullptr;

private:
    static inline std::string unavailable;
    FrontEnd frontEnd_;
};

TEST_F(MesaCorpus, EveryGoodSourceTheGlFamilyWritesCompilesAndLinksOnMesa)
{
    std::map<uint32_t, int> judged;
    for (const fs::path& path : ShaderInterfaces::ListCorpusSources("good")) {
        const std::string text = ReadFileText(path);
        ShaderInterfaces::CorpusHeader header;
        ASSERT_TRUE(ShaderInterfaces::ReadCorpusHeader(text, header)) << path;
        if (header.stage != STAGE_VERTEX && header.stage != STAGE_PIXEL) continue;
        const ShaderDescription description = ShaderInterfaces::MakeInterface(header.interfaceName, header.version);
        const uint32_t partnerStage = header.stage == STAGE_VERTEX ? STAGE_PIXEL : STAGE_VERTEX;
        for (const GlslTarget& target : kGlslTargets) {
            if (target.vulkan || !Admits(target.bit, description)) continue;
            const std::string where = path.filename().string() + " for " + GetTargetName(target.bit);
            std::string translated;
            if (!Translate(description, text, path.filename().string(), header.stage, target.bit, &translated)) {
                continue;
            }
            std::string partner;
            ASSERT_TRUE(Translate(description, PartnerSource(description, header.stage), "partner.hvsl", partnerStage,
                                  target.bit, &partner))
                << where << "\n"
                << partner;
            const std::string source = target.versionLine + translated;
            const std::string other = target.versionLine + partner;
            const bool es = target.bit == TARGET_ESSL20 || target.bit == TARGET_ESSL30;
            mesa->Use(es ? GlApi::Es : GlApi::Desktop);
            std::string log;
            const bool vertexFirst = header.stage == STAGE_VERTEX;
            const GLuint program = mesa->Build(vertexFirst ? source : other, vertexFirst ? other : source, &log);
            EXPECT_NE(program, 0u) << where << "\n" << log << "\n" << source << "\n--- partner\n" << other;
            if (program != 0) mesa->gl().DeleteProgram(program);
            ++judged[target.bit];
        }
    }
    for (const GlslTarget& target : kGlslTargets) {
        if (target.vulkan) continue;
        EXPECT_GE(judged[target.bit], 8) << GetTargetName(target.bit);
    }
}

// The driver's translations of the Shader XML corpus, both stages linked together.
class MesaShaderXmlCorpus : public DriverCorpusTest {
protected:
    uint32_t InitializedTargets() const override
    {
        return TARGET_ESSL20 | TARGET_ESSL30 | TARGET_GLSL21 | TARGET_GLSL31;
    }
    void SetUp() override
    {
        if (!MesaCorpus::Unavailable().empty()) GTEST_SKIP() << MesaCorpus::Unavailable();
        DriverCorpusTest::SetUp();
    }
};

TEST_F(MesaShaderXmlCorpus, EveryFileTheGlFamilyTranslatesCompilesAndLinksOnMesa)
{
    std::map<uint32_t, int> judged;
    for (const std::string& name : CorpusFiles()) {
        for (const GlslTarget& target : kGlslTargets) {
            if (target.vulkan || !TranslateFile(name, target.bit, false, 0)) continue;
            if ((GetGlobalState().stageMask & 3u) != 3u) continue;
            const std::string texts[2] = {target.versionLine + ReadFileText(OutputPath(name, "vertex")),
                                          target.versionLine + ReadFileText(OutputPath(name, "pixel"))};
            MesaGl& mesa = MesaCorpus::Mesa();
            mesa.Use(target.bit == TARGET_ESSL20 || target.bit == TARGET_ESSL30 ? GlApi::Es : GlApi::Desktop);
            std::string log;
            const GLuint program = mesa.Build(texts[0], texts[1], &log);
            EXPECT_NE(program, 0u) << name << " for " << GetTargetName(target.bit) << "\n"
                                   << log << "\n"
                                   << texts[0] << "\n--- pixel\n"
                                   << texts[1];
            if (program != 0) mesa.gl().DeleteProgram(program);
            ++judged[target.bit];
        }
    }
    for (const GlslTarget& target : kGlslTargets) {
        if (target.vulkan) continue;
        EXPECT_GT(judged[target.bit], 0) << GetTargetName(target.bit);
    }
}

}  // namespace
