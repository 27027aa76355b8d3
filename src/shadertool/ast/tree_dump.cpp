#include "shadertool/ast/tree_dump.h"

#include "shadertool/basic/operator.h"

namespace ShaderTool {

namespace {

const char* GetGroupName(uint32_t subKind)
{
    switch (subKind) {
    case StructDeclaration: return "StructDeclaration";
    case VariableDeclaration: return "VariableDeclaration";
    default: return "Block";
    }
}

const char* GetLoopName(uint32_t loopKind)
{
    switch (loopKind) {
    case LOOP_DO_WHILE: return "do-while";
    case LOOP_FOR: return "for";
    default: return "while";
    }
}

String DescribeType(const Type& type)
{
    if (type.baseType == BaseType::UNDEFINED) {
        return "?";
    }
    String text = GetTypeText(type, false);
    if (type.arraySize != 0) {
        text.AppendFormat("[%i]", type.arraySize);
    }
    if ((type.qualifiers & QUALIFIER_CONST) != 0) {
        text.Append(" const");
    }
    if (type.isConstant != 0) {
        text.Append(" constant");
    }
    return text;
}

class TreeWriter {
public:
    String text;

    void Write(const Node* node, int depth)
    {
        Indent(depth);
        if (node == nullptr) {
            text.Append("(none)\n");
            return;
        }
        switch (node->kind) {
        case NodeKind::Group: WriteGroup(static_cast<const GroupNode&>(*node), depth); break;
        case NodeKind::Function:
        case NodeKind::Call: WriteFunction(static_cast<const FunctionNode&>(*node), depth); break;
        case NodeKind::Loop: WriteLoop(static_cast<const LoopNode&>(*node), depth); break;
        case NodeKind::Jump: {
            const JumpNode& jump = static_cast<const JumpNode&>(*node);
            text.AppendFormat("Jump %s\n", GetOperatorText(jump.jumpCode));
            if (jump.expression != nullptr) {
                Write(jump.expression, depth + 1);
            }
            break;
        }
        case NodeKind::Constant: {
            const ConstantNode& constant = static_cast<const ConstantNode&>(*node);
            text.AppendFormat("Constant %s : %s\n", constant.text.GetText(), DescribeType(constant.type).GetText());
            break;
        }
        case NodeKind::Operator: WriteOperator(static_cast<const OperatorNode&>(*node), depth); break;
        case NodeKind::Selection: {
            const SelectionNode& selection = static_cast<const SelectionNode&>(*node);
            text.Append("Selection\n");
            WriteLabelled("condition:", selection.condition, depth + 1);
            WriteLabelled("then:", selection.thenStatement, depth + 1);
            if (selection.elseStatement != nullptr) {
                WriteLabelled("else:", selection.elseStatement, depth + 1);
            }
            break;
        }
        case NodeKind::Variable: {
            const VariableNode& variable = static_cast<const VariableNode&>(*node);
            text.AppendFormat("Variable %s : %s%s\n", variable.name.GetText(), DescribeType(variable.type).GetText(),
                              variable.isShaderConstant ? " (shader constant)" : "");
            break;
        }
        }
    }

private:
    void Indent(int depth)
    {
        for (int level = 0; level < depth; ++level) {
            text.Append("  ");
        }
    }

    void WriteLabelled(const char* label, const Node* node, int depth)
    {
        Indent(depth);
        text.AppendFormat("%s\n", label);
        Write(node, depth + 1);
    }

    void WriteGroup(const GroupNode& group, int depth)
    {
        text.Append(GetGroupName(group.subKind));
        if (group.subKind != Block || group.type.baseType != BaseType::UNDEFINED) {
            text.AppendFormat(" : %s", DescribeType(group.type).GetText());
        }
        text.Append(group.braced ? " {}\n" : "\n");
        for (const Node* child : group.children) {
            Write(child, depth + 1);
        }
    }

    void WriteFunction(const FunctionNode& function, int depth)
    {
        if (function.kind == NodeKind::Function) {
            text.AppendFormat("Function %s : %s [%s]%s\n", function.name.GetText(),
                              DescribeType(function.type).GetText(), function.signature.GetText(),
                              function.hasBody ? "" : " prototype");
        } else {
            text.AppendFormat("Call %s : %s%s\n", function.name.GetText(), DescribeType(function.type).GetText(),
                              function.isBuiltIn ? String::Formatted(" built-in %u", function.subKind).GetText() : "");
        }
        for (const Node* child : function.children) {
            Write(child, depth + 1);
        }
    }

    void WriteLoop(const LoopNode& loop, int depth)
    {
        text.AppendFormat("Loop %s\n", GetLoopName(loop.loopKind));
        if (loop.loopKind == LOOP_FOR) {
            WriteLabelled("init:", loop.init, depth + 1);
        }
        WriteLabelled("condition:", loop.condition, depth + 1);
        if (loop.loopKind == LOOP_FOR) {
            WriteLabelled("step:", loop.step, depth + 1);
        }
        WriteLabelled("body:", loop.body, depth + 1);
    }

    void WriteOperator(const OperatorNode& op, int depth)
    {
        text.AppendFormat("Operator %s : %s%s\n", GetOperatorText(op.operatorIndex), DescribeType(op.type).GetText(),
                          (op.flags & NODE_FLAG_INITIALIZATION) != 0 ? " (initialization)" : "");
        if (op.left != nullptr) {
            Write(op.left, depth + 1);
        }
        if (op.right != nullptr) {
            Write(op.right, depth + 1);
        }
    }
};

}  // namespace

String DumpTree(const Node* root)
{
    TreeWriter writer;
    writer.Write(root, 0);
    return writer.text;
}

}  // namespace ShaderTool
