#pragma once

#include <cstdint>
#include <string>

#include "foundation/string.h"
#include "foundation/string_map.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/token.h"

namespace ShaderTool {

// The tokenizer asks it whether a name is a user-declared type (a struct).
class TypeNameTable {
public:
    virtual ~TypeNameTable() = default;
    virtual bool HoldsTypeName(const char* name) const = 0;
};

// Turns shader source text into tokens of the shading language. The scanner
// of identifiers, numbers, strings, operators and file markers, and the line
// and column counter, are shared with PreprocessorTokenizer.
class Tokenizer {
public:
    Tokenizer() = default;
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;
    virtual ~Tokenizer() = default;

    // Scans the source's text: a comment-stripped copy of it, or the
    // caller's text in place (kept alive and unchanged by the caller).
    // Does not move the read position: call Reset first.
    virtual void SetSource(const ShaderSource& source, bool stripComments);
    virtual void Reset();
    virtual void GetNextToken(Token& token);
    virtual StringMap<int>& GetKeywords();

    // Fills the shading-language keyword map when it is still empty.
    static void BuildKeywords();

    // Inserts text at the read position of the tokenizer's own copy: what was
    // read stays before it, the unread rest follows it. False, with nothing
    // changed, when the text would grow past kMaxTextLength.
    bool InsertText(const char* text, int length);

    void SetLog(Log* log) { m_log = log; }
    void SetTypeNames(const TypeNameTable* typeNames) { m_typeNames = typeNames; }
    const String& GetSourceName() const { return m_sourceName; }
    SourceLocation GetTokenLocation() const { return m_tokenLocation; }
    const char* GetText() const { return m_text ? m_text : ""; }
    int GetLength() const { return m_length; }
    int GetPosition() const { return m_position; }
    // Errors reported since the last Reset.
    int GetErrorCount() const { return m_errorCount; }

    // Largest text a tokenizer scans, included files and all.
    static constexpr int kMaxTextLength = 256 * 1024 * 1024;
    // Line numbers that sources and file markers may give; with the lines of
    // the longest text added they still fit a 32-bit line counter.
    static constexpr int kMaxLineNumber = 1 << 30;

protected:
    static StringMap<int>& ShadingKeywordMap();

    int ReadCharacter();
    void StepBack();
    SourceLocation GetCurrentLocation() const { return {m_column + 3 * m_tabCount, m_line}; }
    void RecordLocation(Token& token);
    void AppendCharacter(Token& token, int character);
    // An error line at the location of the token being scanned.
    void ReportError(const char* message);

    void ReadFileMarker();
    // Reads the string literal, number, name or operator that begins with first.
    void ReadTokenFrom(Token& token, int first);
    void ReadStringLiteral(Token& token);
    void ReadNumber(Token& token, int first);
    void ReadFloat(Token& token, int current);
    uint32_t FinishInteger(Token& token, int c);
    void ReadIdentifier(Token& token, int first);
    void ReadOperator(Token& token, int first);
    // Skips up to and including the next newline; false at the end of the text.
    bool SkipLine();

    String m_sourceName;
    const char* m_text = nullptr;  // the caller's text or m_ownText
    // The comment-stripped copy. A std::string, because #include inserts
    // into it again and again and it must grow without copying every time.
    std::string m_ownText;
    int m_column = 1;  // every character counts once here, tabs included
    int m_line = 1;
    int m_length = 0;
    int m_position = 0;
    int m_tabCount = 0;            // tabs read since the start of the current line
    bool m_lastReadAtEnd = false;  // the last read found the end of the text
    SourceLocation m_tokenLocation;
    bool m_reportTooLong = true;  // one over-long report per token
    int m_errorCount = 0;
    Log* m_log = nullptr;
    const TypeNameTable* m_typeNames = nullptr;
};

// The copy of a text without comments: line numbers and the columns of text
// after a comment stay as in the original; carriage returns are dropped.
String StripComments(const char* text, int length);

// Base kind of the first token of a value text: 0 bool, 1 float, 3 int,
// 8 for anything else. Writes no errors.
uint32_t ClassifyConstant(const char* text);

inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }
inline bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsNameCharacter(int c) { return IsDigit(c) || IsLetter(c) || c == '_'; }

}  // namespace ShaderTool
