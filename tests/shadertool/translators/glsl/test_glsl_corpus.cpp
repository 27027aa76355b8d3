// The Shader XML corpus through the whole translator for the GLSL family:
// every stage of every file translates for every GLSL-family target that its
// target list names, and glslangValidator (with spirv-val for SPIRV) accepts
// the text once the test puts the language's version line in front of it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "shadertool/support/driver_test_support.h"
#include "shadertool/support/glsl_translator_test_support.h"
#include "shadertool/support/corpus_sources.h"
#include "shadertool/support/shader_interfaces_test_support.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

using namespace ShaderTool;

namespace {

namespace fs = std::filesystem;

// glslangValidator's stage names, in stage order.
constexpr const char* kValidatorStages[] = {"vert", "frag", "rchit", "rgen", "rmiss"};

// Puts the version line in front of the translated text and lets the
// validators judge it; the judged file stays beside the log on failure.
bool JudgeText(const GlslTarget& target, const std::string& text, int stage, const fs::path& file, std::string* output)
{
    const fs::path path = file.string() + "." + kValidatorStages[stage];
    std::ofstream(path, std::ios::binary) << target.versionLine << text;
    return JudgeGlsl(path, kValidatorStages[stage], target.vulkan, output);
}

class GlslCorpusTest : public DriverCorpusTest {
protected:
    uint32_t InitializedTargets() const override
    {
        uint32_t mask = 0;
        for (const GlslTarget& target : kGlslTargets) mask |= target.bit;
        return mask;
    }
};

TEST_F(GlslCorpusTest, EveryStageOfEveryFileTranslatesForItsGlslTargetsAndPassesTheValidators)
{
    std::map<Target, int> judged;
    for (const std::string& name : CorpusFiles()) {
        const std::string base = name.substr(0, name.size() - 4);
        for (const GlslTarget& target : kGlslTargets) {
            const bool translated = TranslateFile(name, target.bit, false, 0);
            const std::string mainLog = MainLog();
            const ShaderDescription& description = GetGlobalState().reader.GetDescription();
            if ((description.targetMask & target.bit) == 0) continue;
            if (!Admits(target.bit, description)) {
                // A file for all targets that this one cannot express: the
                // capability check refuses it before any translation.
                EXPECT_FALSE(translated) << name << " for " << GetTargetName(target.bit);
                EXPECT_EQ(mainLog.find("Translating for target"), std::string::npos) << mainLog;
                EXPECT_NE(mainLog.find("' does not support "), std::string::npos) << mainLog;
                continue;
            }
            EXPECT_TRUE(translated) << name << " for " << GetTargetName(target.bit) << "\n" << mainLog;
            if (!translated) continue;
            for (const ShaderSource& source : description.sources) {
                if ((source.targetMask & target.bit) == 0 || source.stage >= STAGE_COUNT) continue;
                const fs::path text = m_folder / "out" / (base + "." + GetStageName(source.stage));
                ASSERT_TRUE(fs::exists(text)) << text;
                const std::string where = name + " " + GetStageName(source.stage) + " for " + GetTargetName(target.bit);
                if (GlslangCannotJudge(ReadFileText(text), where)) continue;
                std::string output;
                EXPECT_TRUE(JudgeText(target, ReadFileText(text), source.stage,
                                      m_folder / (base + "_" + GetTargetName(target.bit)), &output))
                    << where << "\n"
                    << ReadFileText(text) << "\n"
                    << output;
                ++judged[target.bit];
            }
        }
    }
    // Every target of the family has cases of its own in the corpus.
    for (const GlslTarget& target : kGlslTargets) EXPECT_GE(judged[target.bit], 2) << GetTargetName(target.bit);
}

// The front end's good sources (tests/data/shaders/good) through every
// GLSL-family target whose capabilities their interface fits; their first
// line names the stage, the Shader XML version and the interface. A target
// either writes text the validators accept or refuses with its own messages.
class GoodSourcesTest : public ::testing::Test {
protected:
    // Every line of a refusal is one of the family's refusal messages.
    static bool IsRefusal(const std::string& log)
    {
        std::istringstream lines(log);
        std::string line;
        int count = 0;
        while (std::getline(lines, line)) {
            const bool refusal = line.rfind("Error: ", 0) == 0 &&
                                 (line.find("is not supported.") != std::string::npos ||
                                  line.find("are not supported.") != std::string::npos ||
                                  line.find("cannot be passed to the pixel stage") != std::string::npos);
            if (!refusal) return false;
            ++count;
        }
        return count > 0;
    }

    TemporaryFolder m_folder{"halvo-glsl-sources"};
};

TEST_F(GoodSourcesTest, EveryGoodSourceTranslatesAndPassesTheValidatorsOrIsRefused)
{
    FrontEnd frontEnd;
    std::map<Target, int> judged;
    for (const fs::path& path : ShaderInterfaces::ListCorpusSources("good")) {
        const std::string text = ReadFileText(path);
        ShaderInterfaces::CorpusHeader header;
        ASSERT_TRUE(ShaderInterfaces::ReadCorpusHeader(text, header)) << path;
        const ShaderDescription description = ShaderInterfaces::MakeInterface(header.interfaceName, header.version);
        ShaderSource source;
        source.path = path.filename().string().c_str();
        source.text = text.c_str();
        source.targetMask = TARGET_MASK_ALL;
        source.stage = header.stage;
        for (const GlslTarget& target : kGlslTargets) {
            if (!Admits(target.bit, description)) continue;
            frontEnd.stepLog.Clear();
            ASSERT_TRUE(RunFrontEnd(frontEnd, description, source, target.bit, Array<String>())) << path;
            std::unique_ptr<Translator> translator(CreateTranslator(target.bit, &frontEnd.stepLog));
            String translated;
            const std::string where = path.filename().string() + " for " + GetTargetName(target.bit);
            if (!TranslateTree(*translator, description, frontEnd.parse.root, 0, target.bit, header.stage,
                               translated)) {
                EXPECT_TRUE(IsRefusal(frontEnd.stepLog.text.GetText())) << where << "\n"
                                                                        << frontEnd.stepLog.text.GetText();
                continue;
            }
            const std::string result = translated.GetText();
            if (GlslangCannotJudge(result, where)) continue;
            std::string output;
            EXPECT_TRUE(JudgeText(target, result, static_cast<int>(header.stage),
                                  m_folder.Path() / (path.stem().string() + "_" + GetTargetName(target.bit)), &output))
                << where << "\n"
                << result << "\n"
                << output;
            ++judged[target.bit];
        }
    }
    for (const GlslTarget& target : kGlslTargets) EXPECT_GE(judged[target.bit], 8) << GetTargetName(target.bit);
    EXPECT_GE(judged[TARGET_SPIRV], 30);
}

}  // namespace
