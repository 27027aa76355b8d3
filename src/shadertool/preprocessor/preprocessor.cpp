#include "shadertool/preprocessor/preprocessor.h"

#include <cstdint>
#include <cstring>

#include "shadertool/preprocessor/directive_parser.h"
#include "shadertool/preprocessor/preprocessor_files.h"
#include "shadertool/preprocessor/preprocessor_macros.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

namespace ShaderTool {

PreprocessorContext::PreprocessorContext() { levels[0] = 1; }

void ReportPreprocessorError(PreprocessorContext& context, SourceLocation location, const char* message)
{
    if (context.log != nullptr)
        context.log->WriteSourceError(context.tokenizer.GetSourceName().GetText(), location.line, location.column,
                                      message);
    context.success = 0;
}

static void ResetContext(PreprocessorContext& context)
{
    TruncateMacros(context, context.globalMacroCount);
    context.output.Clear();
    context.outputBuffer.clear();
    context.tokenizer.Reset();
    context.tokenizer.SetLog(context.log);
    context.depth = 0;
    std::memset(context.levels, 0, sizeof(context.levels));
    context.levels[0] = 1;
    context.stamp = 0;
    context.targetDependent = 0;
    context.success = 1;
    context.openIncludes.Clear();
    context.includeCount = 0;
}

bool Preprocess(PreprocessorContext& context, const ShaderDescription& description, uint32_t targetBit,
                const ShaderSource& source, const Array<String>& additionalDefinitions, bool listOnly)
{
    ResetContext(context);
    context.description = &description;
    context.tokenizer.SetSource(source, true);
    // The source itself is the outermost open file: it never closes.
    context.openIncludes.Add({source.path, INT64_MAX / 2});
    if (context.upToDate) {
        context.stamp = static_cast<int32_t>(description.stamp);
        int32_t sourceStamp = 0;
        if (GetIncludeFileAccess().getStamp(source.path.GetText(), &sourceStamp) && sourceStamp > context.stamp)
            context.stamp = sourceStamp;
    }
    DefineTargetMacros(context, targetBit, source.stage);
    AddDefinitions(context, additionalDefinitions);
    if (listOnly) {
        ListDefinitions(context);
        return true;
    }
    const int parseResult = ParsePreprocessorLine(context);
    // A token the tokenizer had to report fails the run like any other error.
    if (context.tokenizer.GetErrorCount() > 0) context.success = 0;
    if (parseResult != 0) {
        context.success = 0;
        context.output.Assign(context.outputBuffer.data(), int(context.outputBuffer.size()));
        return false;
    }
    if (context.success) {
        if (context.depth > 0)
            ReportPreprocessorError(context, context.tokenizer.GetTokenLocation(), PreprocessorMessage::kExpectedEndif);
        ExpandMacros(context);
    }
    context.output.Assign(context.outputBuffer.data(), int(context.outputBuffer.size()));
    return context.success != 0;
}

int FindMacro(const PreprocessorContext& context, const char* name)
{
    const auto found = context.firstMacroByName.find(name);
    return found != context.firstMacroByName.end() ? found->second : -1;
}

void AppendMacro(PreprocessorContext& context, const ShaderPreprocessorRecord& record)
{
    context.firstMacroByName.emplace(record.name.GetText(), context.macros.GetCount());
    context.macros.Add(record);
}

void TruncateMacros(PreprocessorContext& context, int count)
{
    while (context.macros.GetCount() > count && context.macros.GetCount() > 0) {
        const int last = context.macros.GetCount() - 1;
        const auto found = context.firstMacroByName.find(context.macros[last].name.GetText());
        if (found != context.firstMacroByName.end() && found->second == last) context.firstMacroByName.erase(found);
        context.macros.DeleteAt(last);
    }
}

PreprocessorValue ResolveValue(PreprocessorContext& context, const PreprocessorValue& value)
{
    PreprocessorValue current = value;
    // Chains are short; the bound only guards against a list that loops.
    for (int step = 0; step <= context.macros.GetCount(); ++step) {
        if (current.kind != VALUE_TEXT) return current;
        const int index = FindMacro(context, current.text);
        if (index < 0) return PreprocessorValue::Integer(0, value.location);
        const ShaderPreprocessorRecord& macro = context.macros[index];
        if (macro.isTargetDependent) context.targetDependent = 1;
        current = macro.value;
        current.location = value.location;
        if (current.kind != VALUE_TEXT || macro.isLiteral) return current;
    }
    return PreprocessorValue::Integer(0, value.location);
}

void DefineMacro(PreprocessorContext& context, const char* name, SourceLocation nameLocation,
                 const PreprocessorValue& value, bool isLiteral)
{
    if (!context.IsActive()) return;
    if (name[0] == '_') {
        ReportPreprocessorError(context, nameLocation, PreprocessorMessage::kUnderscoreName);
        return;
    }
    if (FindMacro(context, name) >= 0) {
        ReportPreprocessorError(context, nameLocation,
                                String::Formatted(PreprocessorMessage::kRedefinition, name).GetText());
        return;
    }
    ShaderPreprocessorRecord record;
    record.name.Assign(name);
    record.value = value;
    record.isLiteral = isLiteral ? 1 : 0;
    AppendMacro(context, record);
}

void BeginIf(PreprocessorContext& context, const PreprocessorValue& value, SourceLocation location)
{
    if (context.depth == PreprocessorContext::kMaxIfDepth) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kTooManyIfs);
        return;
    }
    const bool parentActive = context.IsActive();
    ++context.depth;
    context.levels[context.depth] = parentActive && !value.IsZero() ? 1 : 0;
}

void BeginElif(PreprocessorContext& context, const PreprocessorValue& value, SourceLocation location)
{
    if (context.depth == 0) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kUnexpectedElif);
        return;
    }
    if (context.levels[context.depth - 1] != 1) return;
    uint8_t& level = context.levels[context.depth];
    if (level == 0)
        level = value.IsZero() ? 0 : 1;
    else
        level = 2;
}

void BeginElse(PreprocessorContext& context, SourceLocation location)
{
    if (context.depth == 0) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kUnexpectedElse);
        return;
    }
    if (context.levels[context.depth - 1] != 1) return;
    uint8_t& level = context.levels[context.depth];
    level = level == 0 ? 1 : 2;
}

void EndIf(PreprocessorContext& context, SourceLocation location)
{
    if (context.depth == 0) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kUnexpectedEndif);
        return;
    }
    context.levels[context.depth] = 0;
    --context.depth;
}

void CopyLine(PreprocessorContext& context, int lineStartPosition)
{
    if (!context.IsActive()) {
        context.AppendNewline();
        return;
    }
    const char* text = context.tokenizer.GetText();
    const int length = context.tokenizer.GetLength();
    int end = lineStartPosition;
    while (end < length && text[end] != '\n') ++end;
    if (end < length) ++end;  // the newline goes with the line
    if (lineStartPosition < end) context.AppendOutput(text + lineStartPosition, end - lineStartPosition);
}

template <class T>
static bool HoldsName(const Array<T>& list, const char* name)
{
    for (const T& entry : list) {
        if (entry.name == name) return true;
    }
    return false;
}

static bool HoldsName(const Array<String>& list, const char* name)
{
    for (const String& entry : list) {
        if (entry == name) return true;
    }
    return false;
}

bool IsArrayNodeDefined(PreprocessorContext& context, const char* arrayName, const char* nodeName,
                        SourceLocation location)
{
    int arrayIndex = -1;
    for (int i = 0; i < int(sizeof(kDescriptionArrayNames) / sizeof(kDescriptionArrayNames[0])); ++i) {
        if (std::strcmp(kDescriptionArrayNames[i], arrayName) == 0) arrayIndex = i;
    }
    if (arrayIndex < 0) {
        ReportPreprocessorError(context, location, PreprocessorMessage::kInvalidArrayName);
        return false;
    }
    const ShaderDescription* description = context.description;
    if (description == nullptr) return false;
    // In the order of kDescriptionArrayNames.
    switch (arrayIndex) {
    case 0: return HoldsName(description->buffers, nodeName);
    case 1: return HoldsName(description->constants.variables, nodeName);
    case 2: return HoldsName(description->definitions, nodeName);
    case 3: return HoldsName(description->pixelConstants.variables, nodeName);
    case 4: return HoldsName(description->pixelOutput, nodeName);
    case 5: return HoldsName(description->pixelTextures, nodeName);
    case 6: return HoldsName(description->vertexConstants.variables, nodeName);
    case 7: return HoldsName(description->vertexInput, nodeName);
    default: return HoldsName(description->vertexOutput, nodeName);
    }
}

}  // namespace ShaderTool
