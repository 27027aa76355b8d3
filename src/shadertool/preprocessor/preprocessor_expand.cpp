#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/preprocessor.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

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
    if (std::strtof(text, nullptr) == value) return String(text);
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(text, sizeof(text), "%.*g", precision, double(value));
        if (std::strtof(text, nullptr) == value) break;
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

namespace {

// Length of a file-marker line starting at `start` (a line start), up to and
// including its newline; 0 when the line is no marker.
size_t MarkerLineLength(const std::string& text, size_t start)
{
    size_t i = start;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i + 1 >= text.size() || text[i] != '@' || text[i + 1] != 'f') return 0;
    const size_t newline = text.find('\n', i);
    return (newline == std::string::npos ? text.size() : newline + 1) - start;
}

// A text still to be scanned: the output itself or a macro's replacement,
// whose words only macros after `firstMacro` may replace.
struct PendingText {
    const std::string* text;
    size_t position;
    int firstMacro;
};

// Every macro's replacement, and the list positions of each name in order.
struct MacroIndex {
    std::vector<std::string> replacements;
    std::unordered_map<std::string, std::vector<int>> positionsByName;

    explicit MacroIndex(const Array<ShaderPreprocessorRecord>& macros)
    {
        for (int i = 0; i < macros.GetCount(); ++i) {
            const String replacement = FormatMacroValue(macros[i].value, macros[i].isLiteral != 0);
            replacements.emplace_back(replacement.GetText(), size_t(replacement.GetLength()));
            positionsByName[macros[i].name.GetText()].push_back(i);
        }
    }

    // The first macro of the name at or after `firstMacro`; -1 when none.
    int Find(const std::string& name, int firstMacro) const
    {
        const auto found = positionsByName.find(name);
        if (found == positionsByName.end()) return -1;
        const std::vector<int>& positions = found->second;
        const auto position = std::lower_bound(positions.begin(), positions.end(), firstMacro);
        return position != positions.end() ? *position : -1;
    }
};

}  // namespace

// One pass over the text gives what replacing each macro's name in list order
// would: a word takes the first macro of its name, and the words of that
// macro's replacement are open to the macros after it only. File-marker lines
// are copied untouched.
void ExpandMacros(PreprocessorContext& context)
{
    const MacroIndex index(context.macros);
    const std::string source = std::move(context.outputBuffer);
    std::string& result = context.outputBuffer;
    result.clear();
    result.reserve(source.size());
    std::vector<PendingText> pending = {{&source, 0, 0}};
    std::string word;
    while (!pending.empty()) {
        PendingText& current = pending.back();
        const std::string& text = *current.text;
        if (current.position >= text.size()) {
            pending.pop_back();
            continue;
        }
        if (result.empty() || result.back() == '\n') {
            // File markers name files and lines; they are never rewritten.
            if (const size_t markerLength = MarkerLineLength(text, current.position)) {
                result.append(text, current.position, markerLength);
                current.position += markerLength;
                continue;
            }
        }
        if (!IsNameCharacter(static_cast<unsigned char>(text[current.position]))) {
            result.push_back(text[current.position]);
            ++current.position;
            continue;
        }
        size_t end = current.position;
        while (end < text.size() && IsNameCharacter(static_cast<unsigned char>(text[end]))) ++end;
        word.assign(text, current.position, end - current.position);
        current.position = end;
        const int macro = index.Find(word, current.firstMacro);
        if (macro < 0) {
            result.append(word);
            continue;
        }
        // The text now reads differently for another target: the driver must
        // not hand this source's tree to the next one.
        if (context.macros[macro].isTargetDependent) context.targetDependent = 1;
        const std::string& replacement = index.replacements[size_t(macro)];
        // "a-N" with N = -1 must not become the decrement "a--1".
        if (!replacement.empty() && replacement[0] == '-' && !result.empty() && result.back() == '-')
            result.push_back(' ');
        if (result.size() + replacement.size() > size_t(kMaxExpandedLength)) {
            ReportPreprocessorError(
                context, context.tokenizer.GetTokenLocation(),
                String::Formatted(PreprocessorMessage::kExpansionTooLong, kMaxExpandedLength).GetText());
            return;
        }
        pending.push_back({&replacement, 0, macro + 1});
    }
}

}  // namespace ShaderTool
