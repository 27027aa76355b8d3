#pragma once

// Runs a source through the front end and one translator, as the driver does
// for one stage of one target.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shader_interfaces_test_support.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

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

    ShaderTool::ShaderDescription description = ShaderInterfaces::MakeSprite(0x20004);
    Array<String> definitions;
    ShaderTool::FrontEnd frontEnd;
    std::string result;
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

// A pixel main whose only duty is to set output.color.
inline const char* const kPixelColorMain = "void main()\n{\n\toutput.color = float4(1.0, 1.0, 1.0, 1.0);\n}\n";
