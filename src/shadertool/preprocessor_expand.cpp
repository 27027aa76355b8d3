#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shadertool/lexer.h"
#include "shadertool/preprocessor.h"
#include "shadertool/preprocessor_messages.h"

namespace ShaderTool {

// Replacements may hold names of later macros, so each macro can multiply the
// text; a source that would expand past this is refused.
static constexpr int kMaxExpandedLength = 16 * 1024 * 1024;

// "%f" where it keeps the value; otherwise the shortest "%g" text that reads
// back as the same float, so that small values do not become 0.000000.
static String FormatFloat(float value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%f", double(value));
    if (std::strtof(text, nullptr) == value)
        return String(text);
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(text, sizeof(text), "%.*g", precision, double(value));
        if (std::strtof(text, nullptr) == value)
            break;
    }
    return String(text);
}

String FormatMacroValue(const PreprocessorValue& value, bool isLiteral)
{
    switch (value.kind) {
    case VALUE_FLOAT: return FormatFloat(value.floatValue);
    case VALUE_INTEGER: return String::Formatted("%i", value.intValue);
    default: return isLiteral ? String::Formatted("\"%s\"", value.text) : String(value.text);
    }
}

// Length of a file-marker line starting at `start` (a line start), up to and
// including its newline; 0 when the line is no marker.
static size_t MarkerLineLength(const std::string& text, size_t start)
{
    size_t i = start;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i + 1 >= text.size() || text[i] != '@' || text[i + 1] != 'f')
        return 0;
    const size_t newline = text.find('\n', i);
    return (newline == std::string::npos ? text.size() : newline + 1) - start;
}

// False, with the text unchanged, when the result would grow past the limit.
static bool ReplaceWord(std::string& text, const String& name, const String& replacement)
{
    const size_t nameLength = size_t(name.GetLength());
    if (nameLength == 0 || text.find(name.GetText()) == std::string::npos)
        return true;
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (i == 0 || text[i - 1] == '\n') {
            // File markers name files and lines; they are never rewritten.
            if (const size_t markerLength = MarkerLineLength(text, i)) {
                result.append(text, i, markerLength);
                i += markerLength;
                continue;
            }
        }
        const bool wordStart = i == 0 || !IsNameCharacter(static_cast<unsigned char>(text[i - 1]));
        const size_t end = i + nameLength;
        if (wordStart && text.compare(i, nameLength, name.GetText()) == 0 &&
            (end == text.size() || !IsNameCharacter(static_cast<unsigned char>(text[end])))) {
            // "a-N" with N = -1 must not become the decrement "a--1".
            if (replacement[0] == '-' && !result.empty() && result.back() == '-')
                result.push_back(' ');
            result.append(replacement.GetText(), size_t(replacement.GetLength()));
            if (result.size() > size_t(kMaxExpandedLength))
                return false;
            i = end;
            continue;
        }
        result.push_back(text[i]);
        ++i;
    }
    text.swap(result);
    return true;
}

void ExpandMacros(PreprocessorContext& context)
{
    for (const ShaderPreprocessorRecord& macro : context.macros) {
        if (!ReplaceWord(context.outputBuffer, macro.name, FormatMacroValue(macro.value, macro.isLiteral != 0))) {
            ReportPreprocessorError(context, context.tokenizer.GetTokenLocation(),
                                    String::Formatted(PreprocessorMessage::kExpansionTooLong, kMaxExpandedLength).GetText());
            return;
        }
    }
}

}  // namespace ShaderTool
