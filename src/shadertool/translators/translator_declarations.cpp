// Functions, variables, arrays and structs as every target declares them.
#include "shadertool/translators/translator.h"

namespace ShaderTool {

void Translator::TranslateFunctionDefinition(const FunctionNode& function)
{
    WriteFunctionHead(function);
    if (!function.hasBody || function.children.GetCount() < 2) return;
    body.Append("\n");
    inFunctionBody = true;
    if (const GroupNode* block = AsGroup(function.children[1])) TranslateBlock(*block, true);
    inFunctionBody = false;
}

void Translator::WriteFunctionHead(const FunctionNode& function)
{
    String head = String::Formatted("%s %s(", GetQualifiedTypeName(function.type).GetText(),
                                    GetIdentifier(function.name).GetText());
    const GroupNode* parameters = function.children.GetCount() > 0 ? AsGroup(function.children[0]) : nullptr;
    if (parameters != nullptr) {
        for (int i = 0; i < parameters->children.GetCount(); ++i) {
            const VariableNode* parameter = AsVariable(parameters->children[i]);
            if (parameter == nullptr) continue;
            head.AppendFormat("%s%s %s", i > 0 ? ", " : "", GetQualifiedTypeName(parameter->type).GetText(),
                              GetIdentifier(parameter->name).GetText());
            if (parameter->type.arraySize != 0) head.AppendFormat("[%i]", parameter->type.arraySize);
        }
    }
    body.AppendFormat("%s)", head.GetText());
}

void Translator::TranslateVariableDeclaration(const GroupNode& group)
{
    body.AppendFormat("%s ", GetQualifiedTypeName(group.type).GetText());
    if (group.type.arraySize != 0) {
        TranslateArrayDeclarator(group);
        return;
    }
    for (int i = 0; i < group.children.GetCount(); ++i) {
        if (i > 0) body.Append(", ");
        TranslateNode(group.children[i]);
    }
}

void Translator::TranslateArrayDeclarator(const GroupNode& group)
{
    if (group.children.GetCount() == 0) return;
    const Node* first = group.children[0];
    const OperatorNode* initialization =
        first->kind == NodeKind::Operator ? static_cast<const OperatorNode*>(first) : nullptr;
    TranslateNode(initialization != nullptr ? initialization->left : first);
    body.AppendFormat("[%i]", group.type.arraySize);
    if (initialization != nullptr) TranslateInitializerList(*initialization);
}

void Translator::TranslateInitializerList(const OperatorNode& node)
{
    body.Append(" =\n");
    WriteElementList(node, '{', '}');
}

void Translator::WriteElementList(const OperatorNode& node, char open, char close)
{
    WriteIndentation();
    body.AppendFormat("%c\n", open);
    ++indent;
    if (const GroupNode* elements = AsGroup(node.right)) {
        for (int i = 0; i < elements->children.GetCount(); ++i) {
            if (i > 0) body.Append(",\n");
            WriteIndentation();
            TranslateNode(elements->children[i]);
        }
    }
    --indent;
    body.Append("\n");
    WriteIndentation();
    body.AppendFormat("%c", close);
}

void Translator::TranslateStructDeclaration(const GroupNode& group)
{
    body.AppendFormat("struct %s\n", GetTypeName(group.type).GetText());
    WriteIndentation();
    body.Append("{\n");
    ++indent;
    for (const Node* child : group.children) {
        const VariableNode* member = AsVariable(child);
        if (member == nullptr) continue;
        WriteIndentation();
        body.AppendFormat("%s %s;\n", GetQualifiedTypeName(member->type).GetText(),
                          GetIdentifier(member->name).GetText());
    }
    --indent;
    WriteIndentation();
    body.Append("}");
}

}  // namespace ShaderTool
