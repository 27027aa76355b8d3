#pragma once

// A fixture for the GLSL-family translators: any target of the family, the
// sprite's two stages as sources.
#include "translator_test_support.h"

inline const char* const kSpriteVertexMain =
    "void main()\n{\n\toutput.position = input.position * constants.transform;\n"
    "\toutput.uv = input.uv;\n\toutput.color = input.color;\n}\n";
inline const char* const kSpritePixelMain =
    "void main()\n{\n\tfloat4 texel = sampleTexture(texture.albedo, input.uv);\n"
    "\toutput.color = texel * input.color * constants.tint;\n}\n";

class GLSLTranslatorFixture : public TranslatorFixture {
protected:
    // Translates the text with a fresh translator of the target.
    bool Run(uint32_t target, const std::string& text, uint32_t stage)
    {
        translator = Make(target);
        return Translate(*translator, text, stage, target);
    }
    bool Contains(const std::string& part) const { return result.find(part) != std::string::npos; }

    std::unique_ptr<ShaderTool::Translator> translator;
};
