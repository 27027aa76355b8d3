// The expression and control-flow forms that every target shares.
#include "shadertool/basic/operator.h"
#include "shadertool/translators/translator.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {

void Translator::TranslateConstant(const ConstantNode& constant)
{
    body.Append(constant.text.GetText(), constant.text.GetLength());
}

void Translator::TranslateVariableReference(const VariableNode& variable)
{
    if (variable.isShaderConstant) {
        body.Append("_const_");
        body.Append(variable.name.GetText(), variable.name.GetLength());
    } else {
        AppendIdentifier(body, variable.name);
    }
}

void Translator::TranslateOperator(const OperatorNode& node)
{
    const uint32_t index = node.operatorIndex;
    const char* text = GetOperatorText(index);
    switch (index) {
    case OP_BITWISE_NOT:
    case OP_LOGICAL_NOT:
    case OP_NEGATE:
    case OP_UNARY_PLUS:
    case OP_PRE_DECREMENT:
    case OP_PRE_INCREMENT:
        body.Append(text);
        TranslateNode(node.left);
        break;
    case OP_PARENTHESES:
        body.Append("(");
        TranslateNode(node.left);
        body.Append(")");
        break;
    case OP_POST_DECREMENT:
    case OP_POST_INCREMENT:
        TranslateNode(node.left);
        body.Append(text);
        break;
    case OP_SUBSCRIPT:
        TranslateNode(node.left);
        body.Append("[");
        TranslateNode(node.right);
        body.Append("]");
        break;
    case OP_MEMBER:
        TranslateNode(node.left);
        body.Append(".");
        TranslateNode(node.right);
        break;
    default:
        TranslateNode(node.left);
        body.AppendChar(' ');
        body.Append(text);
        body.AppendChar(' ');
        TranslateNode(node.right);
        break;
    }
    if (!bitwiseAllowed && IsBitwiseOperator(index)) ReportError("%s", kTranslatorBitwiseNotSupported);
}

void Translator::TranslateFunctionCall(const FunctionNode& call)
{
    const String name = call.isBuiltIn ? GetFunctionName(call) : GetIdentifier(call.name);
    body.Append(name.GetText(), name.GetLength());
    body.Append("(");
    if (const Array<Node*>* arguments = GetArguments(call)) {
        for (int i = 0; i < arguments->GetCount(); ++i) {
            if (i > 0) body.Append(", ");
            TranslateNode((*arguments)[i]);
        }
    }
    body.Append(")");
}

void Translator::TranslateJump(const JumpNode& jump)
{
    body.Append(GetOperatorText(jump.jumpCode));
    if (jump.expression != nullptr) {
        body.Append(" ");
        TranslateNode(jump.expression);
    }
}

void Translator::TranslateSelection(const SelectionNode& selection)
{
    body.Append("if (");
    TranslateNode(selection.condition);
    body.Append(")\n");
    TranslateSubStatement(selection.thenStatement, true);
    const Node* otherwise = selection.elseStatement;
    if (otherwise == nullptr) return;
    const bool elseIf = otherwise->kind == NodeKind::Selection;
    body.Append("\n");
    WriteIndentation();
    body.AppendFormat("else%c", elseIf ? ' ' : '\n');
    if (AsGroup(otherwise) != nullptr || WritesSeveralStatements(otherwise)) {
        TranslateSubStatement(otherwise, true);
    } else if (elseIf) {
        TranslateStatement(otherwise, false, false);
    } else {
        ++indent;
        TranslateStatement(otherwise, true, false);
        --indent;
    }
}

void Translator::TranslateLoop(const LoopNode& loop)
{
    if (loop.loopKind == LOOP_DO_WHILE) body.Append("do\n");
    if (loop.loopKind == LOOP_FOR) TranslateForLoop(loop);
    if (loop.loopKind == LOOP_WHILE) TranslateWhileLoop(loop);
    TranslateSubStatement(loop.body, true);
    if (loop.loopKind == LOOP_DO_WHILE) {
        WriteIndentation();
        TranslateWhileLoop(loop);
    }
}

void Translator::TranslateForLoop(const LoopNode& loop)
{
    body.Append("for (");
    TranslateNode(loop.init);
    body.Append("; ");
    TranslateNode(loop.condition);
    body.Append("; ");
    TranslateNode(loop.step);
    body.Append(")\n");
}

void Translator::TranslateWhileLoop(const LoopNode& loop)
{
    const bool doLoop = loop.loopKind == LOOP_DO_WHILE;
    if (doLoop) {
        body.Append("\n");
        WriteIndentation();
    }
    body.Append("while (");
    TranslateNode(loop.condition);
    body.AppendFormat(")%c", doLoop ? ';' : '\n');
}

}  // namespace ShaderTool
