#include <cstring>

#include "shadertool/parser/tree_builder.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/sema/conversion.h"
#include "shadertool/sema/expression.h"
#include "shadertool/sema/semantic_messages.h"

namespace ShaderTool {

namespace {

GroupNode* GetArgumentBlock(FunctionNode& call)
{
    return call.children.GetCount() > 0 ? AsGroup(call.children[0]) : nullptr;
}

const GroupNode* GetParameterBlock(const FunctionNode& function)
{
    return function.children.GetCount() > 0 ? AsGroup(function.children[0]) : nullptr;
}

bool CalleeAccepts(const FunctionNode& callee, const GroupNode* arguments)
{
    const GroupNode* parameters = GetParameterBlock(callee);
    const int parameterCount = parameters != nullptr ? parameters->children.GetCount() : 0;
    const int argumentCount = arguments != nullptr ? arguments->children.GetCount() : 0;
    if (parameterCount != argumentCount) {
        return false;
    }
    for (int index = 0; index < parameterCount; ++index) {
        const Type* parameterType = GetNodeType(parameters->children[index]);
        const Type* argumentType = GetNodeType(arguments->children[index]);
        if (parameterType == nullptr || argumentType == nullptr || !ParameterAccepts(*parameterType, *argumentType)) {
            return false;
        }
    }
    return true;
}

bool IsConstructorCode(uint32_t code) { return code >= FIRST_CONSTRUCTOR_ID && code <= LAST_INTRINSIC_ID; }

// The bool, float and int constructors convert their arguments themselves.
bool ConvertsOwnArguments(uint32_t code) { return code >= INTRINSIC_BOOL && code <= INTRINSIC_INT4; }

}  // namespace

FunctionNode* CreateConstructorCall(ParseContext& context, const Type& type, SourceLocation location)
{
    const String name = GetTypeText(type, false);
    FunctionNode* call = CreateFunctionNode(context, NodeKind::Call, name.GetText(), location);
    for (uint32_t code = FIRST_CONSTRUCTOR_ID; code <= LAST_INTRINSIC_ID; ++code) {
        if (std::strcmp(GetIntrinsicName(code), name.GetText()) == 0) {
            call->subKind = code;
            call->isBuiltIn = true;
        }
    }
    return call;
}

FunctionEntry* ResolveFunctionCall(ParseContext& context, FunctionNode& call, bool* nameExists)
{
    Array<FunctionEntry*> candidates;
    context.functions.CollectFunctionsByName(call.name.GetText(), candidates);
    *nameExists = candidates.GetCount() > 0;
    const GroupNode* arguments = GetArgumentBlock(call);
    for (FunctionEntry* candidate : candidates) {
        if (candidate->function != nullptr && CalleeAccepts(*candidate->function, arguments)) {
            return candidate;
        }
    }
    return nullptr;
}

void CheckCallArguments(ParseContext& context, FunctionNode& call, const FunctionNode& callee)
{
    GroupNode* arguments = GetArgumentBlock(call);
    const GroupNode* parameters = GetParameterBlock(callee);
    if (arguments == nullptr || parameters == nullptr) {
        return;
    }
    const uint32_t code = callee.isBuiltIn ? callee.subKind : FUNCTION_SUB_KIND;
    const int count = arguments->children.GetCount();
    if (!ConvertsOwnArguments(code)) {
        for (int index = 0; index < count && index < parameters->children.GetCount(); ++index) {
            const Type* parameterType = GetNodeType(parameters->children[index]);
            if (parameterType != nullptr) {
                arguments->children[index] = ConvertOperand(context, arguments->children[index], *parameterType);
            }
        }
    }
    if (IsConstructorCode(code)) {
        bool allConstant = true;
        for (Node* argument : arguments->children) {
            const Type* type = GetNodeType(argument);
            allConstant = allConstant && type != nullptr && type->isConstant != 0;
        }
        call.type.isConstant = allConstant ? 1 : 0;
    }
    if (code == INTRINSIC_LOAD_INDICES) {
        const Type* first = count > 0 ? GetNodeType(arguments->children[0]) : nullptr;
        if (first == nullptr || first->isBuffer == 0 || first->isIndexBuffer == 0) {
            ReportErrorAt(context, &call, SemanticMessage::kLoadIndicesArgument);
        }
    } else if (code == INTRINSIC_TRACE) {
        if (count == 0 || AsConstant(arguments->children[count - 1]) == nullptr) {
            ReportErrorAt(context, &call, SemanticMessage::kTraceArgument);
        }
    }
}

void FinishCall(ParseContext& context, FunctionNode* call)
{
    if (call == nullptr) {
        return;
    }
    bool nameExists = false;
    FunctionEntry* entry = ResolveFunctionCall(context, *call, &nameExists);
    if (entry == nullptr) {
        const char* format = nameExists ? SemanticMessage::kNoMatchingFunction : SemanticMessage::kUndeclaredFunction;
        ReportErrorAt(context, call, String::Formatted(format, call->name.GetText()).GetText());
        return;
    }
    const FunctionNode& callee = *entry->function;
    call->type = callee.type;
    if (callee.isBuiltIn) {
        call->isBuiltIn = true;
        call->subKind = callee.subKind;
    } else {
        entry->referenced = true;
    }
    CheckCallArguments(context, *call, callee);
}

}  // namespace ShaderTool
