#pragma once

// Runs a source through the front end and one translator, as the driver does
// for one stage of one target.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "file_text.h"
#include "shader_interfaces_test_support.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

// One row of a translation table: a source of a stage, translated for the
// table's target (or the row's own), and what must come of it: either the
// refusal's exact log, or a text equal to an expected file, beginning with
// the start, holding every part, none of the absent ones and each counted
// part as many times as counted.
struct TranslationRow {
    const char* name;
    uint32_t target = 0;  // 0: the table's target
    const char* interfaceName = "sprite";
    uint32_t version = 0x20004;
    void (*change)(ShaderTool::ShaderDescription&) = nullptr;
    uint32_t level = 0;  // 0: the table's feature level
    uint32_t stage = ShaderTool::STAGE_PIXEL;
    std::string source;
    std::string log = {};            // the refusal's log
    const char* expected = nullptr;  // a file for ExpectedShader
    std::string start = {};
    std::vector<std::string> parts = {};
    std::vector<std::string> absent = {};
    std::vector<std::pair<std::string, size_t>> counts = {};
    const char* validatorStage = nullptr;  // glslangValidator's stage name, when an outside tool judges the text
};

// The main function with the body's statements.
inline std::string Main(const std::string& body) { return "void main()\n{\n" + body + "}\n"; }

class TranslatorFixture : public ::testing::Test {
protected:
    // Translates the text as a source of the stage with the translator;
    // false when the front end or the translator failed.
    bool Translate(ShaderTool::Translator& translator, const std::string& text, uint32_t stage, uint32_t target,
                   uint32_t featureLevel = 0)
    {
        ShaderTool::ShaderSource source;
        source.path = "test.hvsl";
        source.text = text.c_str();
        source.firstLine = 1;
        source.targetMask = ShaderTool::TARGET_MASK_ALL;
        source.stage = stage;
        frontEnd.stepLog.Clear();
        if (!ShaderTool::RunFrontEnd(frontEnd, description, source, target, definitions)) return false;
        String output;
        if (!ShaderTool::TranslateTree(translator, description, frontEnd.parse.root, featureLevel, target, stage,
                                       output)) {
            return false;
        }
        result = output.GetText();
        return true;
    }

    std::unique_ptr<ShaderTool::Translator> Make(uint32_t target)
    {
        return std::unique_ptr<ShaderTool::Translator>(ShaderTool::CreateTranslator(target, &frontEnd.stepLog));
    }

    std::string LogText() const { return frontEnd.stepLog.text.GetText(); }
    bool Contains(const std::string& part) const { return result.find(part) != std::string::npos; }
    // How many times the part stands in the result.
    size_t Count(const std::string& part) const
    {
        size_t count = 0;
        for (size_t at = result.find(part); at != std::string::npos; at = result.find(part, at + 1)) ++count;
        return count;
    }

    // Runs the rows in order; rows of one target share one translator, as
    // the stages of one Shader XML do.
    void CheckRows(uint32_t target, uint32_t level, const std::vector<TranslationRow>& rows)
    {
        for (const TranslationRow& row : rows) {
            SCOPED_TRACE(row.name);
            const uint32_t rowTarget = row.target != 0 ? row.target : target;
            std::unique_ptr<ShaderTool::Translator>& translator = rowTranslators[rowTarget];
            if (translator == nullptr) translator = Make(rowTarget);
            description = ShaderInterfaces::MakeInterface(row.interfaceName, row.version);
            if (row.change != nullptr) row.change(description);
            const bool translated =
                Translate(*translator, row.source, row.stage, rowTarget, row.level != 0 ? row.level : level);
            if (!row.log.empty()) {
                EXPECT_FALSE(translated);
                EXPECT_EQ(LogText(), row.log);
                continue;
            }
            EXPECT_TRUE(translated) << LogText();
            if (!translated) continue;
            if (row.expected != nullptr) {
                EXPECT_EQ(result, ExpectedShader(row.expected));
            }
            if (!row.start.empty()) {
                EXPECT_EQ(result.rfind(row.start, 0), 0u) << row.start << "\nis not the start of\n" << result;
            }
            for (const std::string& part : row.parts) {
                EXPECT_TRUE(Contains(part)) << part << "\nis not in\n" << result;
            }
            for (const std::string& part : row.absent) {
                EXPECT_FALSE(Contains(part)) << part << "\nis in\n" << result;
            }
            for (const auto& [part, count] : row.counts) {
                EXPECT_EQ(Count(part), count) << part << "\nin\n" << result;
            }
            if (row.validatorStage != nullptr) Judge(row.validatorStage);
        }
    }

    // Lets an outside tool judge the result as a shader of the stage.
    virtual void Judge(const char* validatorStage) { ADD_FAILURE() << "no judge for " << validatorStage; }

    ShaderTool::ShaderDescription description = ShaderInterfaces::MakeSprite(0x20004);
    Array<String> definitions;
    ShaderTool::FrontEnd frontEnd;
    std::string result;
    std::map<uint32_t, std::unique_ptr<ShaderTool::Translator>> rowTranslators;
};

// The fixture for one target's translator, made once per test, run at the
// target's default feature level unless a test names another.
template <uint32_t Target, uint32_t DefaultLevel>
class TargetTranslatorFixture : public TranslatorFixture {
protected:
    void SetUp() override { translator = Make(Target); }
    bool Run(const std::string& text, uint32_t stage, uint32_t level = DefaultLevel)
    {
        return Translate(*translator, text, stage, Target, level);
    }

    std::unique_ptr<ShaderTool::Translator> translator;
};

// The sprite's two stages as sources.
inline const char* const kSpriteVertexMain =
    "void main()\n{\n\toutput.position = input.position * constants.transform;\n"
    "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n";
inline const char* const kSpritePixelMain =
    "void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
    "\toutput.color = texel * input.color * constants.tint;\n}\n";

// A pixel main whose only duty is to set output.color.
inline const char* const kPixelColorMain = "void main()\n{\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n";
