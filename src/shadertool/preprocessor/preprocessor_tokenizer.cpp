#include "shadertool/preprocessor/preprocessor_tokenizer.h"

#include "shadertool/lexer/lexer_keywords.h"

namespace ShaderTool {

StringMap<int>& PreprocessorTokenizer::PreprocessorKeywordMap()
{
    // Filled by the first SetSource; guarded by the "ShaderTranslator" mutex.
    static StringMap<int> keywords;
    return keywords;
}

StringMap<int>& PreprocessorTokenizer::GetKeywords() { return PreprocessorKeywordMap(); }

void PreprocessorTokenizer::SetSource(const ShaderSource& source, bool stripComments)
{
    StringMap<int>& keywords = PreprocessorKeywordMap();
    if (keywords.GetCount() == 0) {
        for (const KeywordRow& row : kPreprocessorKeywords) keywords.GetOrAdd(row.word) = static_cast<int>(row.kind);
    }
    Tokenizer::SetSource(source, stripComments);
}

void PreprocessorTokenizer::Reset()
{
    Tokenizer::Reset();
    m_lineState = LINE_START;
    m_lineStartPosition = 0;
}

void PreprocessorTokenizer::BeginLine()
{
    m_lineState = LINE_START;
    m_lineStartPosition = m_position;
}

void PreprocessorTokenizer::GetNextToken(Token& token)
{
    m_reportTooLong = true;
    for (;;) {
        RecordLocation(token);
        if (m_lineState == OTHER_LINE) {
            if (!SkipLine()) {
                token.kind = TOKEN_END;
                return;
            }
            BeginLine();
            continue;
        }
        const int c = ReadCharacter();
        if (m_lineState == LINE_START) {
            if (c == ' ' || c == '\t') continue;
            if (c == '#' || m_lastReadAtEnd) {
                m_lineState = DIRECTIVE_LINE;
                token.kind = c == '#' ? TOKEN_HASH : TOKEN_END;
                return;
            }
            // Any other line is passed on whole; a file marker on it is read
            // now so that the name and numbering of what follows are right.
            if (c == '@' && ReadCharacter() == 'f') ReadFileMarker();
            while (m_position > m_lineStartPosition) StepBack();
            m_column = 1;
            m_tabCount = 0;
            m_lastReadAtEnd = false;
            m_lineState = OTHER_LINE;
            RecordLocation(token);
            token.kind = TOKEN_NON_PREPROCESSOR_LINE;
            return;
        }
        // Inside a directive line.
        if (c == ' ' || c == '\t') continue;
        if (c == '\n') {
            BeginLine();
            continue;
        }
        ReadTokenFrom(token, c);
        return;
    }
}

}  // namespace ShaderTool
