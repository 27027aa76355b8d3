// The scanner shared by both tokenizers: characters with line and column,
// and the rules for names, numbers, strings, operators and file markers.
#include <climits>
#include <string>

#include "shadertool/lexer/lexer.h"
#include "shadertool/lexer/lexer_messages.h"

namespace ShaderTool {

int Tokenizer::ReadCharacter()
{
    if (m_position >= m_length) {
        m_lastReadAtEnd = true;
        return 0;
    }
    m_lastReadAtEnd = false;
    const int c = static_cast<unsigned char>(m_text[m_position]);
    ++m_position;
    ++m_column;
    if (c == '\t') {
        ++m_tabCount;
    } else if (c == '\n') {
        ++m_line;
        m_column = 1;
        m_tabCount = 0;
    }
    return c;
}

void Tokenizer::StepBack()
{
    // A read that found the end moved nothing, so there is nothing to undo.
    if (m_lastReadAtEnd) {
        m_lastReadAtEnd = false;
        return;
    }
    if (m_position <= 0) return;
    --m_position;
    const char c = m_text[m_position];
    if (c != '\n') {
        --m_column;
        if (c == '\t') --m_tabCount;
        return;
    }
    // Back on the previous line: its column and tabs come from its own text.
    --m_line;
    int lineStart = m_position;
    while (lineStart > 0 && m_text[lineStart - 1] != '\n') --lineStart;
    m_column = m_position - lineStart + 1;
    m_tabCount = 0;
    for (int i = lineStart; i < m_position; ++i) {
        if (m_text[i] == '\t') ++m_tabCount;
    }
}

void Tokenizer::RecordLocation(Token& token)
{
    m_tokenLocation = GetCurrentLocation();
    token.column = m_tokenLocation.column;
    token.line = m_tokenLocation.line;
}

void Tokenizer::ReportError(const char* message)
{
    ++m_errorCount;
    if (m_log == nullptr) return;
    m_log->WriteSourceError(m_sourceName.GetText(), m_tokenLocation.line, m_tokenLocation.column, message);
}

void Tokenizer::AppendCharacter(Token& token, int character)
{
    if (token.length < kMaxTokenLength) {
        token.text[token.length++] = static_cast<char>(character);
        token.text[token.length] = 0;
        return;
    }
    if (m_reportTooLong) {
        m_reportTooLong = false;
        ReportError(String::Formatted(LexerMessage::kTokenTooLong, kMaxTokenLength).GetText());
    }
}

bool Tokenizer::SkipLine()
{
    for (;;) {
        const int c = ReadCharacter();
        if (c == '\n') return true;
        if (m_lastReadAtEnd) return false;
    }
}

// A line "@f \"name\" line" written by the preprocessor, the "@f" already
// read: it switches the source name and the line numbering. Every loop here
// stops at the end of the text, so a cut marker ends the scan cleanly.
void Tokenizer::ReadFileMarker()
{
    ReadCharacter();   // the space
    ReadCharacter();   // the opening quote
    std::string name;  // String would reallocate for every character of a long path
    for (;;) {
        const int c = ReadCharacter();
        if (c == '"' || m_lastReadAtEnd) break;
        name.push_back(static_cast<char>(c));
    }
    if (!(m_sourceName == name.c_str()) || m_sourceName.GetLength() != int(name.size()))
        m_sourceName.Assign(name.data(), int(name.size()));
    ReadCharacter();  // the space
    int64_t value = 0;
    int c = ReadCharacter();
    while (IsDigit(c)) {
        value = value * 10 + (c - '0');
        if (value > kMaxLineNumber) value = kMaxLineNumber;
        c = ReadCharacter();
    }
    m_line = static_cast<int>(value);
    if (c != '\n' && !m_lastReadAtEnd) SkipLine();
}

void Tokenizer::ReadTokenFrom(Token& token, int first)
{
    if (first == '"')
        ReadStringLiteral(token);
    else if (IsDigit(first))
        ReadNumber(token, first);
    else if (IsLetter(first) || first == '_')
        ReadIdentifier(token, first);
    else
        ReadOperator(token, first);
}

void Tokenizer::ReadStringLiteral(Token& token)
{
    for (;;) {
        const int c = ReadCharacter();
        if (c == '"') {
            token.kind = TOKEN_STRING_LITERAL;
            return;
        }
        // A string cut by a line end or the end of the text keeps "no token".
        if (c == '\n' || m_lastReadAtEnd) return;
        AppendCharacter(token, c);
    }
}

static bool IsHexDigit(int c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

static bool StartsFloat(int c) { return c == '.' || c == 'E' || c == 'e'; }

// Ends an integer literal: a U or u suffix makes it unsigned.
uint32_t Tokenizer::FinishInteger(Token& token, int c)
{
    if (c == 'U' || c == 'u') {
        AppendCharacter(token, c);
        return TOKEN_UINT_CONSTANT;
    }
    StepBack();
    return TOKEN_INT_CONSTANT;
}

void Tokenizer::ReadNumber(Token& token, int first)
{
    AppendCharacter(token, first);
    int c = ReadCharacter();
    if (first != '0') {
        while (IsDigit(c)) {
            AppendCharacter(token, c);
            c = ReadCharacter();
        }
        if (StartsFloat(c)) {
            ReadFloat(token, c);
            return;
        }
        token.kind = FinishInteger(token, c);
        return;
    }
    if (c == 'x' || c == 'X') {
        AppendCharacter(token, c);
        c = ReadCharacter();
        while (IsHexDigit(c)) {
            AppendCharacter(token, c);
            c = ReadCharacter();
        }
        token.kind = FinishInteger(token, c);
        return;
    }
    while (c >= '0' && c <= '7') {
        AppendCharacter(token, c);
        c = ReadCharacter();
    }
    bool badDigit = false;
    while (c == '8' || c == '9') {
        badDigit = true;
        AppendCharacter(token, c);
        c = ReadCharacter();
    }
    if (StartsFloat(c)) {
        ReadFloat(token, c);
        return;
    }
    if (badDigit) ReportError(LexerMessage::kOctalDigit);
    token.kind = FinishInteger(token, c);
}

void Tokenizer::ReadFloat(Token& token, int current)
{
    int c = current;
    if (c == '.') {
        AppendCharacter(token, c);
        c = ReadCharacter();
        while (IsDigit(c)) {
            AppendCharacter(token, c);
            c = ReadCharacter();
        }
    }
    if (c == 'E' || c == 'e') {
        AppendCharacter(token, c);
        c = ReadCharacter();
        if (c == '+' || c == '-') {
            AppendCharacter(token, c);
            c = ReadCharacter();
        }
        if (!IsDigit(c)) ReportError(LexerMessage::kFloatCharacter);
        while (IsDigit(c)) {
            AppendCharacter(token, c);
            c = ReadCharacter();
        }
    }
    if (c == 'F' || c == 'f')
        AppendCharacter(token, c);
    else
        StepBack();
    token.kind = TOKEN_FLOAT_CONSTANT;
}

void Tokenizer::ReadIdentifier(Token& token, int first)
{
    AppendCharacter(token, first);
    for (;;) {
        const int c = ReadCharacter();
        if (!IsNameCharacter(c)) {
            StepBack();
            break;
        }
        AppendCharacter(token, c);
    }
    if (const StringMap<int>::Entry* keyword = GetKeywords().Find(token.text)) {
        token.kind = static_cast<uint32_t>(keyword->value);
        if (token.kind == TOKEN_RESERVED)
            ReportError(String::Formatted(LexerMessage::kReservedWord, token.text).GetText());
        return;
    }
    if (m_typeNames != nullptr && m_typeNames->HoldsTypeName(token.text))
        token.kind = TOKEN_USER_TYPE;
    else
        token.kind = TOKEN_IDENTIFIER;
}

// Operators, longest form first; a longer form is taken only when its next
// characters follow directly.
void Tokenizer::ReadOperator(Token& token, int first)
{
    // Takes the next character when it is `expected`.
    auto next = [this](int expected) {
        const int c = ReadCharacter();
        if (c == expected) return true;
        StepBack();
        return false;
    };
    uint32_t kind;
    switch (first) {
    case '!': kind = next('=') ? TOKEN_NOT_EQUAL_OP : TOKEN_EXCLAMATION; break;
    case '#': kind = TOKEN_HASH; break;
    case '%': kind = next('=') ? TOKEN_ASSIGN_MODULO : TOKEN_PERCENT; break;
    case '&': kind = next('&') ? TOKEN_LOGICAL_AND_OP : next('=') ? TOKEN_ASSIGN_AND : TOKEN_AMPERSAND; break;
    case '(': kind = TOKEN_LEFT_PARENTHESIS; break;
    case ')': kind = TOKEN_RIGHT_PARENTHESIS; break;
    case '*': kind = next('=') ? TOKEN_ASSIGN_MULTIPLY : TOKEN_ASTERISK; break;
    case '+': kind = next('+') ? TOKEN_INCREASE_OP : next('=') ? TOKEN_ASSIGN_ADD : TOKEN_PLUS; break;
    case ',': kind = TOKEN_COMMA; break;
    case '-': kind = next('-') ? TOKEN_DECREASE_OP : next('=') ? TOKEN_ASSIGN_SUBTRACT : TOKEN_DASH; break;
    case '.': {
        const int c = ReadCharacter();
        StepBack();
        if (IsDigit(c)) {
            ReadFloat(token, '.');
            return;
        }
        kind = TOKEN_PERIOD;
        break;
    }
    case '/': kind = next('=') ? TOKEN_ASSIGN_DIVIDE : TOKEN_SLASH; break;
    case ':': kind = TOKEN_COLON; break;
    case ';': kind = TOKEN_SEMICOLON; break;
    case '<':
        if (next('<'))
            kind = next('=') ? TOKEN_ASSIGN_LEFT_SHIFT : TOKEN_LEFT_SHIFT_OP;
        else
            kind = next('=') ? TOKEN_LESS_THAN_EQUAL_OP : TOKEN_LEFT_CHEVRON;
        break;
    case '=': kind = next('=') ? TOKEN_EQUAL_OP : TOKEN_EQUAL; break;
    case '>':
        if (next('='))
            kind = TOKEN_GREATER_THAN_EQUAL_OP;
        else if (next('>'))
            kind = next('=') ? TOKEN_ASSIGN_RIGHT_SHIFT : TOKEN_RIGHT_SHIFT_OP;
        else
            kind = TOKEN_RIGHT_CHEVRON;
        break;
    case '?': kind = TOKEN_QUESTION; break;
    case '[': kind = TOKEN_LEFT_BRACKET; break;
    case ']': kind = TOKEN_RIGHT_BRACKET; break;
    case '^': kind = next('=') ? TOKEN_ASSIGN_XOR : TOKEN_CARET; break;
    case '{': kind = TOKEN_LEFT_BRACE; break;
    case '}': kind = TOKEN_RIGHT_BRACE; break;
    case '|': kind = next('=') ? TOKEN_ASSIGN_OR : next('|') ? TOKEN_LOGICAL_OR_OP : TOKEN_VERTICAL_BAR; break;
    case '~': kind = TOKEN_TILDE; break;
    default: kind = static_cast<uint32_t>(first); break;  // its own code; 0 at the end of the text
    }
    token.kind = kind;
}

}  // namespace ShaderTool
