#include <cstring>

#include "shadertool/sema/checks.h"
#include "shadertool/sema/conversion.h"
#include "shadertool/sema/semantic_messages.h"
#include "shadertool/sema/stage_struct.h"

namespace ShaderTool {

namespace {

bool IsMain(const FunctionNode* function) { return function != nullptr && function->name == "main"; }

GroupNode* GetParameters(FunctionNode* function)
{
    return function->children.GetCount() > 0 ? AsGroup(function->children[0]) : nullptr;
}

// A returned value fits the function's type as it is or through the
// conversions int and uint to float, int to uint.
bool ReturnValueFits(const Type& function, const Type& value)
{
    if (function.vectorSize != value.vectorSize || function.matrixSize != value.matrixSize ||
        function.textureDimension != value.textureDimension || function.isBuffer != value.isBuffer ||
        value.arraySize != 0 || !(function.name == value.name)) {
        return false;
    }
    if (function.baseType == value.baseType) {
        return true;
    }
    if (function.baseType == BaseType::FLOAT) {
        return value.baseType == BaseType::INT || value.baseType == BaseType::UINT;
    }
    return function.baseType == BaseType::UINT && value.baseType == BaseType::INT;
}

}  // namespace

void CheckParameter(ParseContext& context, Node* node, bool isReturnType)
{
    const Type* type = GetNodeType(node);
    if (type == nullptr) {
        return;
    }
    const bool invalid = type->baseType == BaseType::TEXTURE || (!isReturnType && type->baseType == BaseType::VOID);
    if (invalid) {
        ReportErrorAt(context, node, SemanticMessage::kInvalidTypeSpecifier);
    }
    if ((type->qualifiers & QUALIFIER_CONST) != 0 && type->baseType != BaseType::TEXTURE) {
        ReportErrorAt(context, node, SemanticMessage::kConstInFunctionDeclaration);
    }
    const VariableNode* parameter = AsVariable(node);
    if (!isReturnType && parameter != nullptr && parameter->name == "texture") {
        ReportErrorAt(context, node,
                      String::Formatted(SemanticMessage::kParameterNamedLikeBuiltIn, "texture").GetText());
    }
}

void RegisterFunction(ParseContext& context, FunctionNode* function, bool isDefinition)
{
    if (function == nullptr) {
        return;
    }
    if (isDefinition) {
        function->hasBody = true;
    }
    function->signature = BuildSignature(*function);
    if (IsMain(function) &&
        (!isDefinition || function->type.baseType != BaseType::VOID || !(function->signature == "main,"))) {
        ReportErrorAt(context, function, SemanticMessage::kMainSignature);
    }
    bool added = false;
    FunctionEntry* entry = context.functions.Insert(function->signature.GetText(), function, &added);
    if (added) {
        entry->defined = isDefinition;
        // Included text may lie between here and the end of the parse.
        entry->fileName = context.tokenizer.GetSourceName();
    } else if (isDefinition) {
        if (entry->defined) {
            ReportErrorAt(context, function,
                          String::Formatted(SemanticMessage::kAlreadyDefined, function->name.GetText()).GetText());
        }
        entry->defined = true;
    } else {
        ReportErrorAt(context, function,
                      String::Formatted(SemanticMessage::kFunctionAlreadyDeclared, function->name.GetText()).GetText());
    }
    CheckParameter(context, function, true);
    if (GroupNode* parameters = GetParameters(function)) {
        for (Node* parameter : parameters->children) {
            CheckParameter(context, parameter, false);
        }
    }
}

void BeginFunctionDefinition(ParseContext& context, FunctionNode* function)
{
    RegisterFunction(context, function, true);
    context.currentFunction = function;
    context.returnCount = 0;
    context.symbols.PushScope();
    if (GroupNode* parameters = GetParameters(function)) {
        for (Node* parameter : parameters->children) {
            DeclareSymbol(context, AsVariable(parameter));
        }
    }
    if (IsMain(function)) {
        DeclareMainVariables(context, {function->column, function->line});
    }
}

void EndFunctionDefinition(ParseContext& context, FunctionNode* function, Node* body)
{
    if (function != nullptr) {
        if (body != nullptr) {
            function->children.Add(body);
        }
        if (function->type.baseType != BaseType::VOID && context.returnCount == 0) {
            ReportErrorAt(context, function,
                          String::Formatted(SemanticMessage::kMissingReturn, function->name.GetText()).GetText());
        }
    }
    context.currentFunction = nullptr;
    context.symbols.PopScope();
}

void CheckReturn(ParseContext& context, JumpNode* jump)
{
    FunctionNode* function = context.currentFunction;
    if (function == nullptr || jump == nullptr) {
        return;
    }
    ++context.returnCount;
    if (IsMain(function)) {
        ReportErrorAt(context, jump, SemanticMessage::kReturnFromMain);
        return;
    }
    const Type* valueType = GetNodeType(jump->expression);
    if (jump->expression == nullptr) {
        if (function->type.baseType != BaseType::VOID) {
            ReportErrorAt(context, jump, SemanticMessage::kReturnTypeMismatch);
        }
        return;
    }
    if (valueType == nullptr || !ReturnValueFits(function->type, *valueType)) {
        ReportErrorAt(context, jump, SemanticMessage::kReturnTypeMismatch);
        return;
    }
    if (valueType->baseType != function->type.baseType) {
        jump->expression = ConvertExpression(context, jump->expression, function->type);
    }
}

void CheckFunctions(ParseContext& context)
{
    if (context.functions.Find("main,") == nullptr) {
        ReportError(context, 0, 0, SemanticMessage::kMainUndefined);
    }
    for (int index = 0; index < context.functions.GetCount(); ++index) {
        const FunctionEntry& entry = context.functions.GetEntry(index);
        if (entry.referenced && !entry.defined && entry.function != nullptr) {
            ReportErrorInFile(
                context, entry.fileName.GetText(), entry.function->line, entry.function->column,
                String::Formatted(SemanticMessage::kReferencedUndefined, entry.function->name.GetText()).GetText());
        }
    }
}

void CheckCondition(ParseContext& context, Node* condition)
{
    const Type* type = GetNodeType(condition);
    if (condition == nullptr) {
        return;
    }
    if (type != nullptr &&
        (type->baseType == BaseType::BOOL || type->baseType == BaseType::INT || type->baseType == BaseType::UINT)) {
        return;
    }
    // A declaration as condition carries no location of its own: use its declarator's.
    const GroupNode* group = AsGroup(condition);
    const Node* located = group != nullptr && group->children.GetCount() > 0 ? group->children[0] : condition;
    ReportErrorAt(context, located, SemanticMessage::kNotBoolean);
}

void CheckDiscard(ParseContext& context, const JumpNode* jump)
{
    if (context.stage != STAGE_PIXEL) {
        ReportErrorAt(context, jump, String::Formatted(SemanticMessage::kStageOnly, "pixel").GetText());
    }
}

}  // namespace ShaderTool
