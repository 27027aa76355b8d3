#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/token.h"
#include "shadertool/preprocessor/preprocessor_tokenizer.h"

namespace ShaderTool {

enum PreprocessorValueKind : uint32_t {
    VALUE_FLOAT = 0,
    VALUE_INTEGER = 1,
    VALUE_TEXT = 2,
};

// The value of a macro or of a directive expression. The text holds as many
// characters as a token, so a name or string literal of a token always fits.
struct PreprocessorValue {
    union {
        float floatValue;
        int32_t intValue;  // the text's length for a text
    };
    char text[kMaxTokenLength + 1];
    SourceLocation location;
    uint32_t kind;

    // Integer 0, the value used wherever an error replaces a result.
    static PreprocessorValue Integer(int32_t value, SourceLocation location = {});
    static PreprocessorValue Float(float value, SourceLocation location = {});
    // False, with the value unchanged, when the text does not fit.
    bool SetText(const char* text, int length);
    bool IsZero() const;
};

// One macro of the list.
struct ShaderPreprocessorRecord {
    String name;
    PreprocessorValue value;
    uint8_t isLiteral = 0;          // a string literal, written back in double quotes
    uint8_t isTargetDependent = 0;  // depends on the target being translated
};

// The state of one preprocessing run; one context serves every run. Used by
// one thread at a time, under the "ShaderTranslator" mutex.
struct PreprocessorContext {
    static constexpr int kMaxIfDepth = 7;    // levels 0 to 7
    static constexpr int kMaxIncludes = 64;  // files included by one run

    PreprocessorContext();

    const ShaderDescription* description = nullptr;
    // Searched from the first entry, so an earlier macro hides a later one of
    // its name; changed only by AppendMacro and TruncateMacros, which keep
    // the list position of each name's first macro beside it.
    Array<ShaderPreprocessorRecord> macros;
    std::unordered_map<std::string, int> firstMacroByName;
    Log* log = nullptr;               // the step log
    String output;                    // the preprocessed text once Preprocess returns
    PreprocessorTokenizer tokenizer;  // its source name and last token locate every message
    int globalMacroCount = 0;
    int depth = 0;
    uint8_t levels[kMaxIfDepth + 1] = {};  // 1 active, 0 no branch taken yet, 2 done or parent inactive
    int32_t stamp = 0;
    uint8_t targetDependent = 0;
    uint8_t success = 1;
    uint8_t upToDate = 0;

    // Files whose inserted text is still being read, innermost last, with the
    // text position where each one's text ends; stops recursive includes.
    struct OpenInclude {
        String path;
        int64_t endPosition;
    };
    Array<OpenInclude> openIncludes;
    int includeCount = 0;  // includes of this run
    // Whether the directive being read can take effect; set when its word is read.
    bool directiveActive = true;
    // The output while it is being built; String would copy on every line.
    std::string outputBuffer;

    bool IsActive() const { return levels[depth] == 1; }
    void AppendOutput(const char* text, int length) { outputBuffer.append(text, size_t(length)); }
    void AppendNewline() { outputBuffer.push_back('\n'); }
};

// Preprocesses one source for one target into context.output. With listOnly
// the macros are listed into the step log instead.
bool Preprocess(PreprocessorContext& context, const ShaderDescription& description, uint32_t targetBit,
                const ShaderSource& source, const Array<String>& additionalDefinitions, bool listOnly);

void DefineGlobalMacros(PreprocessorContext& context);
void DefineTargetMacros(PreprocessorContext& context, uint32_t targetBit, uint32_t stage);
void AddDefinitions(PreprocessorContext& context, const Array<String>& additionalDefinitions);
void ListDefinitions(PreprocessorContext& context);
void DefineMacro(PreprocessorContext& context, const char* name, SourceLocation nameLocation,
                 const PreprocessorValue& value, bool isLiteral);
void IncludeFile(PreprocessorContext& context, const char* fileName, SourceLocation location);
int FindMacro(const PreprocessorContext& context, const char* name);
// Appends a macro to the list; an earlier macro of the same name keeps hiding it.
void AppendMacro(PreprocessorContext& context, const ShaderPreprocessorRecord& record);
// Removes macros from the end of the list until `count` remain.
void TruncateMacros(PreprocessorContext& context, int count);
PreprocessorValue ResolveValue(PreprocessorContext& context, const PreprocessorValue& value);
bool IsArrayNodeDefined(PreprocessorContext& context, const char* arrayName, const char* nodeName,
                        SourceLocation location);
void ExpandMacros(PreprocessorContext& context);

// The conditional directives and ordinary lines, as the directive parser meets them.
void BeginIf(PreprocessorContext& context, const PreprocessorValue& value, SourceLocation location);
void BeginElif(PreprocessorContext& context, const PreprocessorValue& value, SourceLocation location);
void BeginElse(PreprocessorContext& context, SourceLocation location);
void EndIf(PreprocessorContext& context, SourceLocation location);
// Copies the line that begins at that text position, or blanks it.
void CopyLine(PreprocessorContext& context, int lineStartPosition);

// "%s(%i:%i) error: %s\n" in the step log at the location; clears success.
void ReportPreprocessorError(PreprocessorContext& context, SourceLocation location, const char* message);

// Replacement text of a value as ExpandMacros and ListDefinitions write it.
String FormatMacroValue(const PreprocessorValue& value, bool isLiteral);

}  // namespace ShaderTool
