#pragma once

// Runs a source through the front end and one translator, as the driver does
// for one stage of one target, and the translation corpus of
// tests/data/shaders/expected through the translators.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "file_text.h"
#include "shader_interfaces_test_support.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

// A case of the translation corpus: "<target>/<case>" names
// tests/data/shaders/expected/<target>/<case>.hvsl, whose first line names
//   // translate: target=HLSL11 stage=pixel version=2.4 interface=lit level=HLSL11_LOW judge=frag
// (level and judge may be left out), and the rest is the source. Beside it
// stands what must come of it: <case>.log, the exact log of a refusal;
// <case>.hlsl, .pssl or .glsl, the whole text; <case>.parts, sections that
// the text starts with ("@@ start"), holds ("@@ part"), does not hold
// ("@@ absent") or holds so many times ("@@ count N"), each section's text
// ending in one newline more than it holds.
struct TranslationCase {
    const char* name;
    void (*change)(ShaderTool::ShaderDescription&) = nullptr;  // made to the interface's description
};

struct CaseHeader {
    uint32_t target = 0;
    uint32_t stage = ShaderTool::STAGE_INVALID;
    uint32_t version = 0;
    uint32_t level = 0;
    std::string interfaceName = "sprite";
    std::string judge;  // glslangValidator's stage name when an outside tool judges the text
};

inline bool ReadCaseHeader(const std::string& line, CaseHeader& header)
{
    std::istringstream words(line);
    std::string word;
    if (!(words >> word >> word) || word != "translate:") return false;
    while (words >> word) {
        const std::string key = word.substr(0, word.find('='));
        const std::string value = word.substr(key.size() + 1);
        if (key == "target") header.target = ShaderTool::GetTargetMask(value.c_str());
        if (key == "stage") header.stage = ShaderTool::FindStageByName(value.c_str());
        if (key == "interface") header.interfaceName = value;
        if (key == "judge") header.judge = value;
        unsigned major = 0;
        unsigned minor = 0;
        if (key == "version" && std::sscanf(value.c_str(), "%u.%u", &major, &minor) == 2)
            header.version = major << 16 | minor;
        if (key != "level") continue;
        std::istringstream names(value);
        for (std::string name; std::getline(names, name, '+');) {
            for (uint32_t bit = 1; bit != 0; bit <<= 1) {
                if (name == ShaderTool::GetFeatureLevelName(bit)) header.level |= bit;
            }
        }
    }
    return header.target != 0 && header.stage != ShaderTool::STAGE_INVALID && header.version != 0;
}

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

    // Runs the cases in order; cases of one target share one translator, as
    // the stages of one Shader XML do.
    void CheckCases(const std::vector<TranslationCase>& cases)
    {
        for (const TranslationCase& translation : cases) {
            SCOPED_TRACE(translation.name);
            caseName = translation.name;
            const std::filesystem::path path =
                std::filesystem::path(HALVO_TEST_DATA_DIR) / "shaders" / "expected" / translation.name;
            const std::string text = ReadFileText(path.string() + ".hvsl");
            CaseHeader header;
            ASSERT_TRUE(ReadCaseHeader(text.substr(0, text.find('\n')), header)) << path;
            std::unique_ptr<ShaderTool::Translator>& translator = translators[header.target];
            if (translator == nullptr) translator = Make(header.target);
            description = ShaderInterfaces::MakeInterface(header.interfaceName, header.version);
            if (translation.change != nullptr) translation.change(description);
            const bool translated =
                Translate(*translator, text.substr(text.find('\n') + 1), header.stage, header.target, header.level);
            if (std::filesystem::exists(path.string() + ".log")) {
                EXPECT_FALSE(translated);
                EXPECT_EQ(LogText(), ReadFileText(path.string() + ".log"));
                continue;
            }
            ASSERT_TRUE(translated) << LogText();
            bool checked = false;
            for (const char* extension : {".hlsl", ".pssl", ".glsl"}) {
                if (!std::filesystem::exists(path.string() + extension)) continue;
                EXPECT_EQ(result, ReadFileText(path.string() + extension));
                checked = true;
            }
            if (std::filesystem::exists(path.string() + ".parts")) {
                CheckParts(ReadFileText(path.string() + ".parts"));
                checked = true;
            }
            EXPECT_TRUE(checked) << "nothing is expected of " << path;
            Judge(header);
        }
    }

    // Lets outside tools judge the result of a case that translated; a case that names a judge needs one.
    virtual void Judge(const CaseHeader& header)
    {
        if (!header.judge.empty()) ADD_FAILURE() << "no judge for " << header.judge;
    }

    ShaderTool::ShaderDescription description = ShaderInterfaces::MakeSprite(0x20004);
    Array<String> definitions;
    ShaderTool::FrontEnd frontEnd;
    std::string result;
    std::string caseName;  // of the case being checked
    std::map<uint32_t, std::unique_ptr<ShaderTool::Translator>> translators;

private:
    void CheckParts(const std::string& sections)
    {
        for (size_t at = 0; at < sections.size();) {
            const size_t textAt = sections.find('\n', at) + 1;
            size_t next = sections.find("\n@@ ", textAt - 1);
            next = next == std::string::npos ? sections.size() : next + 1;
            const std::string kind = sections.substr(at, textAt - 1 - at);
            const std::string part = sections.substr(textAt, next - 1 - textAt);
            if (kind == "@@ start") {
                EXPECT_EQ(result.rfind(part, 0), 0u) << part << "\nis not the start of\n" << result;
            } else if (kind == "@@ part") {
                EXPECT_TRUE(Contains(part)) << part << "\nis not in\n" << result;
            } else if (kind == "@@ absent") {
                EXPECT_FALSE(Contains(part)) << part << "\nis in\n" << result;
            } else {
                size_t count = 0;
                ASSERT_EQ(std::sscanf(kind.c_str(), "@@ count %zu", &count), 1) << kind;
                EXPECT_EQ(Count(part), count) << part << "\nin\n" << result;
            }
            at = next;
        }
    }
};

// The main function with the body's statements.
inline std::string Main(const std::string& body) { return "void main()\n{\n" + body + "}\n"; }

// A pixel main whose only duty is to set output.color.
inline const char* const kPixelColorMain = "void main()\n{\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n";
