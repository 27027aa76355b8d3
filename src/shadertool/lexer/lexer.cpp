#include "shadertool/lexer/lexer.h"

#include "shadertool/lexer/lexer_keywords.h"

namespace ShaderTool {

StringMap<int>& Tokenizer::ShadingKeywordMap()
{
    // Filled by the first SetSource; guarded by the "ShaderTranslator" mutex
    // that every caller of the translator holds.
    static StringMap<int> keywords;
    return keywords;
}

void Tokenizer::BuildKeywords()
{
    StringMap<int>& keywords = ShadingKeywordMap();
    if (keywords.GetCount() != 0) return;
    for (const KeywordRow& row : kShadingKeywords) keywords.GetOrAdd(row.word) = static_cast<int>(row.kind);
    for (const char* word : kReservedWords) keywords.GetOrAdd(word) = static_cast<int>(TOKEN_RESERVED);
}

StringMap<int>& Tokenizer::GetKeywords() { return ShadingKeywordMap(); }

void Tokenizer::SetSource(const ShaderSource& source, bool stripComments)
{
    BuildKeywords();
    m_sourceName = source.path;
    if (stripComments) {
        const String stripped = StripComments(source.text.GetText(), source.text.GetLength());
        m_ownText.assign(stripped.GetText(), size_t(stripped.GetLength()));
        m_text = m_ownText.c_str();
        m_length = int(m_ownText.size());
    } else {
        m_ownText.clear();
        m_text = source.text.GetText();
        m_length = source.text.GetLength();
    }
    m_column = 1;
    m_line = source.firstLine < -kMaxLineNumber  ? -kMaxLineNumber
             : source.firstLine > kMaxLineNumber ? kMaxLineNumber
                                                 : source.firstLine;
}

void Tokenizer::Reset()
{
    m_text = nullptr;
    m_column = 0;
    m_line = 0;
    m_length = 0;
    m_position = 0;
    m_tabCount = 0;
    m_lastReadAtEnd = false;
    m_tokenLocation = {};
    m_errorCount = 0;
}

void Tokenizer::GetNextToken(Token& token)
{
    m_reportTooLong = true;
    for (;;) {
        RecordLocation(token);
        const int c = ReadCharacter();
        if (c == '\t' || c == '\n' || c == ' ') continue;
        if (c == '@') {
            // "@f" begins a file marker; any other character goes with the '@'.
            if (ReadCharacter() == 'f') ReadFileMarker();
            continue;
        }
        ReadTokenFrom(token, c);
        return;
    }
}

bool Tokenizer::InsertText(const char* text, int length)
{
    if (length < 0 || int64_t(m_length) + length > kMaxTextLength) return false;
    if (m_text != m_ownText.c_str())
        m_ownText.assign(GetText(), size_t(m_length));  // scanning the caller's text: take a copy first
    m_ownText.insert(size_t(m_position), text, size_t(length));
    m_text = m_ownText.c_str();
    m_length = int(m_ownText.size());
    return true;
}

uint32_t ClassifyConstant(const char* text)
{
    ShaderSource source;
    source.text.Assign(text);
    Tokenizer tokenizer;  // without a log: classifying writes no errors
    tokenizer.Reset();
    tokenizer.SetSource(source, false);
    Token token;
    tokenizer.GetNextToken(token);
    switch (token.kind) {
    case TOKEN_BOOL_CONSTANT: return 0;
    case TOKEN_FLOAT_CONSTANT: return 1;
    case TOKEN_INT_CONSTANT: return 3;
    default: return 8;
    }
}

}  // namespace ShaderTool
