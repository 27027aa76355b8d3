// The Shader XML corpus through the whole translator for the GLSL family:
// every stage of every file translates for every GLSL-family target that its
// target list names, and glslangValidator (with spirv-val for SPIRV) accepts
// the text once the test puts the language's version line in front of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "shadertool/support/file_text.h"
#include "shadertool/support/shader_interfaces_test_support.h"
#include "shadertool/support/shader_xml_test_support.h"
#include "shadertool/driver/driver.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translator_factory.h"

using namespace ShaderTool;

namespace {

namespace fs = std::filesystem;

struct GlslTarget {
    Target bit;
    const char* versionLine;  // the translators write none
    bool vulkan;              // judged as SPIR-V for Vulkan
};

constexpr GlslTarget kGlslTargets[] = {
    {TARGET_ESSL20, "#version 100\n", false}, {TARGET_ESSL30, "#version 300 es\n", false},
    {TARGET_GLSL21, "#version 120\n", false}, {TARGET_GLSL31, "#version 140\n", false},
    {TARGET_SPIRV, "#version 460\n", true},
};

// glslangValidator's stage names, in stage order.
constexpr const char* kValidatorStages[] = {"vert", "frag", "rchit", "rgen", "rmiss"};

// The bitmaps that pixel textures of the corpus name as their source.
int g_bitmap = 0;

void* FindCorpusBitmap(const char* /*name*/) { return &g_bitmap; }

class GlslCorpusTest : public ShaderXmlFolderTest {
protected:
    void SetUp() override
    {
        ShaderXmlFolderTest::SetUp();
        GetGlobalState().reader.SetBitmapGetter(FindCorpusBitmap);
        fs::copy(fs::path(HALVO_TEST_DATA_DIR) / "shaderxml", m_folder, fs::copy_options::recursive);
        uint32_t mask = 0;
        for (const GlslTarget& target : kGlslTargets) mask |= target.bit;
        ASSERT_TRUE(Initialize(mask, 0, "res://out", false)) << GetGlobalState().mainLog.text.GetText();
        Reset();
    }

    // The Shader XML files of the corpus, sorted; the included definitions are not one.
    std::vector<std::string> CorpusFiles() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(HALVO_TEST_DATA_DIR) / "shaderxml")) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".xml" && name != "lit_definitions.xml") names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Whether the target's capabilities cover what the description uses.
    static bool Admits(uint32_t target, const ShaderDescription& description)
    {
        const TargetCapabilities& capabilities = FindTargetInfo(target)->capabilities;
        if (description.buffers.GetCount() > 0 && capabilities.buffers == 0) return false;
        if (description.pixelOutput.GetCount() > 1 && capabilities.multiplePixelOutputs == 0) return false;
        if (description.rayTracingGroup != -1 && capabilities.rayTracing == 0) return false;
        for (const PixelTextureVariable& texture : description.pixelTextures) {
            if (texture.type.textureDimension == TEXTURE_3D && capabilities.textures3D == 0) return false;
            if (texture.type.arraySize != 0 && capabilities.textureArrays == 0) return false;
        }
        return true;
    }

    // Runs a command; true when it exits with 0. Its output goes to *output.
    bool Judge(const std::string& command, std::string* output) const
    {
        const fs::path log = m_folder / "judge.txt";
        const int status = std::system((command + " > " + log.string() + " 2>&1").c_str());
        *output = ReadFileText(log);
        return status == 0;
    }

    // Puts the version line in front of the translated text and lets the
    // validators judge it; the judged file stays beside the log on failure.
    bool JudgeText(const GlslTarget& target, const std::string& text, int stage, const std::string& name,
                   std::string* output) const
    {
        const fs::path path = m_folder / (name + "." + kValidatorStages[stage]);
        std::ofstream(path, std::ios::binary) << target.versionLine << text;
        const std::string stageName = kValidatorStages[stage];
        if (!target.vulkan) return Judge("glslangValidator -S " + stageName + " " + path.string(), output);
        const fs::path spirv = m_folder / (name + ".spv");
        return Judge("glslangValidator -V --target-env vulkan1.2 -S " + stageName + " " + path.string() + " -o " +
                         spirv.string() + " && spirv-val --target-env vulkan1.2 " + spirv.string(),
                     output);
    }
};

TEST_F(GlslCorpusTest, EveryStageOfEveryFileTranslatesForItsGlslTargetsAndPassesTheValidators)
{
    std::map<Target, int> judged;
    for (const std::string& name : CorpusFiles()) {
        const std::string base = name.substr(0, name.size() - 4);
        for (const GlslTarget& target : kGlslTargets) {
            Reset();
            TranslationSettings settings;
            settings.inputRoot = "res://";
            settings.targetMask = target.bit;
            const bool translated = TranslateShaderXML(String(("res://" + name).c_str()), settings, true);
            const std::string mainLog = GetGlobalState().mainLog.text.GetText();
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
                std::string output;
                EXPECT_TRUE(JudgeText(target, ReadFileText(text), source.stage, base + "_" + GetTargetName(target.bit),
                                      &output))
                    << name << " " << GetStageName(source.stage) << " for " << GetTargetName(target.bit) << "\n"
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
    // What the driver's capability check lets through to the translator.
    static bool TargetServes(const GlslTarget& target, const ShaderDescription& description, int stage)
    {
        const TargetCapabilities& capabilities = FindTargetInfo(target.bit)->capabilities;
        if (stage > STAGE_PIXEL) return capabilities.rayTracing != 0;
        if (description.pixelOutput.GetCount() > 1 && capabilities.multiplePixelOutputs == 0) return false;
        for (const PixelTextureVariable& texture : description.pixelTextures) {
            if (texture.type.textureDimension == TEXTURE_3D && capabilities.textures3D == 0) return false;
        }
        return true;
    }

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
    const char* const stages[] = {"vertex", "pixel", "rchit", "rgen", "rmiss"};
    FrontEnd frontEnd;
    std::map<Target, int> judged;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(HALVO_TEST_DATA_DIR) / "shaders" / "good")) {
        const std::string text = ReadFileText(entry.path());
        char stageName[16] = {};
        char interfaceName[32] = {};
        unsigned major = 0;
        unsigned minor = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "// corpus: stage=%15s version=%u.%u interface=%31s", stageName, &major,
                              &minor, interfaceName),
                  4)
            << entry.path();
        const int stage =
            static_cast<int>(std::find_if(std::begin(stages), std::end(stages),
                                          [&](const char* name) { return stageName == std::string(name); }) -
                             std::begin(stages));
        const ShaderDescription description = ShaderInterfaces::MakeInterface(interfaceName, major << 16 | minor);
        ShaderSource source;
        source.path = entry.path().filename().string().c_str();
        source.text = text.c_str();
        source.targetMask = TARGET_MASK_ALL;
        source.stage = static_cast<uint32_t>(stage);
        for (const GlslTarget& target : kGlslTargets) {
            if (!TargetServes(target, description, stage)) continue;
            frontEnd.stepLog.Clear();
            ASSERT_TRUE(RunFrontEnd(frontEnd, description, source, target.bit, Array<String>())) << entry.path();
            std::unique_ptr<Translator> translator(CreateTranslator(target.bit, &frontEnd.stepLog));
            translator->Reset();
            translator->SetTranslation(&description, 0, target.bit, static_cast<uint32_t>(stage));
            translator->BeginShader(description);
            translator->TranslateRoot(*frontEnd.parse.root);
            const std::string where = entry.path().filename().string() + " for " + GetTargetName(target.bit);
            if (!translator->Succeeded()) {
                EXPECT_TRUE(IsRefusal(frontEnd.stepLog.text.GetText())) << where << "\n"
                                                                        << frontEnd.stepLog.text.GetText();
                continue;
            }
            translator->WriteInterface(description);
            translator->WriteHeader();
            const fs::path path = m_folder.Path() / (entry.path().stem().string() + "_" + GetTargetName(target.bit) +
                                                     "." + kValidatorStages[stage]);
            const fs::path spirv = m_folder.Path() / "x.spv";
            const fs::path log = m_folder.Path() / "log.txt";
            std::ofstream(path, std::ios::binary) << target.versionLine << translator->GetResultText().GetText();
            std::string command = "glslangValidator -S " + std::string(kValidatorStages[stage]) + " " + path.string();
            if (target.vulkan) {
                command = "glslangValidator -V --target-env vulkan1.2 -S " + std::string(kValidatorStages[stage]) +
                          " " + path.string() + " -o " + spirv.string() + " && spirv-val --target-env vulkan1.2 " +
                          spirv.string();
            }
            EXPECT_EQ(std::system((command + " > " + log.string() + " 2>&1").c_str()), 0)
                << where << "\n"
                << translator->GetResultText().GetText() << "\n"
                << ReadFileText(log);
            ++judged[target.bit];
        }
    }
    for (const GlslTarget& target : kGlslTargets) EXPECT_GE(judged[target.bit], 8) << GetTargetName(target.bit);
    EXPECT_GE(judged[TARGET_SPIRV], 30);
}

}  // namespace
