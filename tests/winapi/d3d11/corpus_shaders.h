// The Shader XML corpus of tests/data/shaderxml translated for the HLSL11
// target by the engine's shader translator, as the text our compiler library
// then compiles.
#pragma once

#include <string>

struct TranslatedShader {
    bool translated = false;
    std::string vertex;  // HLSL11 text of the vertex stage
    std::string pixel;   // HLSL11 text of the pixel stage
    std::string log;     // the translator's log
};

// Translates one file of the corpus ("sprite_v22.xml") from a copy of the
// corpus in a fresh folder.
TranslatedShader TranslateCorpusShader(const std::string& file);
