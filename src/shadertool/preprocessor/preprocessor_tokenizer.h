#pragma once

#include "shadertool/lexer/lexer.h"

namespace ShaderTool {

// Turns shader source text into the tokens of preprocessor lines: directive
// lines token by token, every other line as one whole-line token.
class PreprocessorTokenizer : public Tokenizer {
public:
    void SetSource(const ShaderSource& source, bool stripComments) override;
    void Reset() override;
    void GetNextToken(Token& token) override;
    StringMap<int>& GetKeywords() override;

    // Where the line of the last whole-line token begins in the text.
    int GetLineStartPosition() const { return m_lineStartPosition; }

private:
    enum LineState { LINE_START = 0, DIRECTIVE_LINE = 1, OTHER_LINE = 2 };

    static StringMap<int>& PreprocessorKeywordMap();
    void BeginLine();

    LineState m_lineState = LINE_START;
    int m_lineStartPosition = 0;
};

}  // namespace ShaderTool
