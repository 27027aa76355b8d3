// Mesa's own GLSL compiler judges the GL family: every good source of
// tests/data/shaders that a GLSL21, GLSL31, ESSL20 or ESSL30 translation
// writes (a refusal is the glslang corpus test's to judge) compiles and
// links on Mesa's desktop GL or GL ES, beside a partner stage that the same
// translator writes for the same interface.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "shadertool/driver/front_end.h"
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
protected:
    static void SetUpTestSuite()
    {
        mesa = new MesaGl;
        if (!mesa->Open(&unavailable)) unavailable = "Mesa's GL through EGL: " + unavailable;
    }
    static void TearDownTestSuite()
    {
        delete mesa;
        mesa = nullptr;
    }
    void SetUp() override
    {
        if (!unavailable.empty()) GTEST_SKIP() << unavailable;
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

    static MesaGl* mesa;
    static std::string unavailable;

private:
    FrontEnd frontEnd_;
};

MesaGl* MesaCorpus::mesa = nullptr;
std::string MesaCorpus::unavailable;

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

}  // namespace
