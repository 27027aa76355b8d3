// The macros a run starts with: global ones, those of the target and the
// Shader XML, and the caller's additional definitions.
#include <cstdlib>
#include <cstring>

#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/directive_values.h"
#include "shadertool/preprocessor/preprocessor.h"
#include "shadertool/preprocessor/preprocessor_macros.h"
#include "shadertool/preprocessor/preprocessor_messages.h"

namespace ShaderTool {

static void AddMacro(PreprocessorContext& context, const char* name, const PreprocessorValue& value, bool isLiteral,
                     bool isTargetDependent)
{
    ShaderPreprocessorRecord record;
    record.name.Assign(name);
    record.value = value;
    record.isLiteral = isLiteral ? 1 : 0;
    record.isTargetDependent = isTargetDependent ? 1 : 0;
    AppendMacro(context, record);
}

static PreprocessorValue TextValue(const char* text)
{
    PreprocessorValue value = PreprocessorValue::Integer(0);
    value.SetText(text, int(std::strlen(text)));
    return value;
}

void DefineGlobalMacros(PreprocessorContext& context)
{
    TruncateMacros(context, 0);
    for (const GlobalMacroRow& row : kGlobalMacros) {
        const PreprocessorValue value = row.text ? TextValue(row.text) : PreprocessorValue::Integer(row.integer);
        AddMacro(context, row.name, value, false, false);
    }
    context.globalMacroCount = context.macros.GetCount();
}

// A boolean literal counts as 1 for true and 0 for false.
static int32_t ReadBooleanOrInteger(const char* text)
{
    if (std::strncmp(text, "true", 4) == 0 && !IsNameCharacter(static_cast<unsigned char>(text[4]))) return 1;
    return ReadIntegerLiteral(text);
}

static void DefineDescriptionMacros(PreprocessorContext& context)
{
    if (context.description == nullptr) return;
    for (const DefinitionVariable& definition : context.description->definitions) {
        const char* text = definition.value.GetText();
        switch (definition.valueKind) {
        case DEFINITION_VALUE_BOOL:
        case DEFINITION_VALUE_INT:
            AddMacro(context, definition.name.GetText(), PreprocessorValue::Integer(ReadBooleanOrInteger(text)), false,
                     false);
            break;
        case DEFINITION_VALUE_TEXT: {
            PreprocessorValue value = PreprocessorValue::Integer(0);
            if (!value.SetText(text, definition.value.GetLength())) {
                if (context.log != nullptr)
                    context.log->WriteError(String::Formatted(PreprocessorMessage::kDefinitionTooLong,
                                                              definition.name.GetText(), kMaxTokenLength)
                                                .GetText());
                break;
            }
            AddMacro(context, definition.name.GetText(), value, true, false);
            break;
        }
        default:
            AddMacro(context, definition.name.GetText(), PreprocessorValue::Float(std::strtof(text, nullptr)), false,
                     false);
            break;
        }
    }
}

void DefineTargetMacros(PreprocessorContext& context, uint32_t targetBit, uint32_t stage)
{
    AddMacro(context, "_TARGET", TextValue(String::Formatted("_TARGET_%s", GetTargetName(targetBit)).GetText()), false,
             true);
    const char* group = "";
    for (const TargetGroupRow& row : kTargetGroups) {
        if (row.target == targetBit) group = row.group;
    }
    AddMacro(context, "_TARGET_GROUP", TextValue(String::Formatted("_TARGET_%s", group).GetText()), false, true);
    const uint32_t vPointsUp = TARGET_ESSL20 | TARGET_ESSL30 | TARGET_GLSL21 | TARGET_GLSL31;
    AddMacro(context, "_TEXTURE_COORDINATE_AXIS_V_POINTS_UP",
             PreprocessorValue::Integer((targetBit & vPointsUp) ? 1 : 0), false, true);
    DefineDescriptionMacros(context);
    if (StageHasRayFlagConstants(stage)) {
        for (const RayFlagConstant& flag : RayFlagConstants)
            AddMacro(context, flag.name, PreprocessorValue::Integer(flag.value), false, false);
    }
}

// Digits, letters and '_', not beginning with '_', and not empty.
static bool IsPlainName(const char* text)
{
    if (text[0] == 0 || text[0] == '_') return false;
    for (const char* c = text; *c; ++c) {
        if (!IsNameCharacter(static_cast<unsigned char>(*c))) return false;
    }
    return true;
}

// The macro value of one additional definition; false when it is invalid.
static bool ReadDefinitionValue(PreprocessorContext& context, const String& text, PreprocessorValue& value,
                                bool& isLiteral)
{
    isLiteral = false;
    switch (ClassifyConstant(text.GetText())) {
    case 0: value = PreprocessorValue::Integer(ReadBooleanOrInteger(text.GetText())); return true;
    case 1: value = PreprocessorValue::Float(std::strtof(text.GetText(), nullptr)); return true;
    case 3: value = PreprocessorValue::Integer(ReadIntegerLiteral(text.GetText())); return true;
    default: break;
    }
    // Measured with strlen so that the compiler sees the bounds of the
    // empty text GetText gives for an unassigned string.
    const char* characters = text.GetText();
    const int length = static_cast<int>(std::strlen(characters));
    if (length >= 2 && characters[0] == '"' && characters[length - 1] == '"') {
        // Stored without its quotes: the literal flag writes them back.
        isLiteral = true;
        return value.SetText(characters + 1, length - 2);
    }
    if (!IsPlainName(text.GetText())) return false;
    const int index = FindMacro(context, text.GetText());
    if (index < 0) {
        value = PreprocessorValue::Integer(0);
        return true;
    }
    value = context.macros[index].value;
    isLiteral = context.macros[index].isLiteral != 0;
    return true;
}

void AddDefinitions(PreprocessorContext& context, const Array<String>& additionalDefinitions)
{
    for (int i = 0; i + 1 < additionalDefinitions.GetCount(); i += 2) {
        const String& name = additionalDefinitions[i];
        const String& text = additionalDefinitions[i + 1];
        PreprocessorValue value = PreprocessorValue::Integer(0);
        bool isLiteral = false;
        if (IsPlainName(name.GetText()) && ReadDefinitionValue(context, text, value, isLiteral)) {
            AddMacro(context, name.GetText(), value, isLiteral, false);
            continue;
        }
        if (context.log != nullptr)
            context.log->WriteError(
                String::Formatted(PreprocessorMessage::kInvalidDefinition, name.GetText(), text.GetText()).GetText());
    }
}

void ListDefinitions(PreprocessorContext& context)
{
    if (context.log == nullptr) return;
    int width = 0;
    for (const ShaderPreprocessorRecord& macro : context.macros) {
        if (macro.name.GetLength() > width) width = macro.name.GetLength();
    }
    for (const ShaderPreprocessorRecord& macro : context.macros) {
        const String line =
            String::Formatted("%-*s %s", width, macro.name.GetText(), FormatMacroValue(macro.value, false).GetText());
        context.log->WriteLine(line.GetText());
    }
}

}  // namespace ShaderTool
