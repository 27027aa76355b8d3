#include "shadertool/translators/translator.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "shadertool/basic/operator.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/translators/translator_messages.h"

namespace ShaderTool {
namespace {

// A statement that stands apart from its neighbours by an empty line.
bool IsSpacedStatement(const Node* node)
{
    if (const GroupNode* group = AsGroup(node)) {
        if (group->subKind == Block || group->subKind == StructDeclaration) return true;
        if (group->subKind == VariableDeclaration) {
            return group->type.arraySize != 0 && group->children.GetCount() > 0 &&
                   group->children[0]->kind == NodeKind::Operator;
        }
        return false;
    }
    if (const FunctionNode* function = AsFunction(node)) return node->kind == NodeKind::Function && function->hasBody;
    return node->kind == NodeKind::Loop || node->kind == NodeKind::Selection;
}

// The type of the Shader XML constant that the node names as a whole:
// constants.name, or the constant's own name in sources before version 2.3;
// null for any other node.
const Type* GetConstantType(const Node* node)
{
    if (const VariableNode* variable = AsVariable(node)) return variable->isShaderConstant ? &variable->type : nullptr;
    if (node == nullptr || node->kind != NodeKind::Operator) return nullptr;
    const OperatorNode* access = static_cast<const OperatorNode*>(node);
    const VariableNode* left = AsVariable(access->left);
    if (access->operatorIndex != OP_MEMBER || left == nullptr || !(left->name == "constants")) return nullptr;
    return &access->type;
}

bool IsBlockGroup(const Node* node)
{
    const GroupNode* group = AsGroup(node);
    return group != nullptr && group->subKind == Block;
}

bool NeedsSemicolon(const Node* node)
{
    switch (node->kind) {
    case NodeKind::Call:
    case NodeKind::Jump:
    case NodeKind::Constant:
    case NodeKind::Operator:
    case NodeKind::Variable: return true;
    case NodeKind::Function: return !AsFunction(node)->hasBody;
    case NodeKind::Group: return AsGroup(node)->subKind != Block;
    default: return false;
    }
}

}  // namespace

Translator::Translator(Log* log) : stepLog(log) {}

Translator::~Translator() = default;

void Translator::ReportError(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    stepLog->WriteErrorV(format, arguments);
    va_end(arguments);
    success = false;
}

namespace {

// Built-ins that only the newest targets write.
constexpr uint32_t kNewestTargetBuiltIns[] = {
    INTRINSIC_FLOAT_BITS_TO_UINT,
    INTRINSIC_LOAD_INDICES,
    INTRINSIC_OBJECT_SPACE_TO_WORLD,
    INTRINSIC_SAMPLE_TEXTURE_COMPARE_LOD_ZERO,
    INTRINSIC_STORE_IMAGE,
    INTRINSIC_TRACE,
    INTRINSIC_UNPACK_UNORM4_TO_FLOAT4,
};

bool Holds(std::span<const uint32_t> ids, uint32_t id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

bool Translator::RefuseUnsupportedBuiltIn(const FunctionNode& call, std::span<const uint32_t> alsoRefused)
{
    if (!Holds(kNewestTargetBuiltIns, call.subKind) && !Holds(alsoRefused, call.subKind)) return false;
    ReportError(kTranslatorFunctionNotSupported, call.name.GetText());
    Translator::TranslateFunctionCall(call);
    return true;
}

void Translator::PrependToHeader(const char* text)
{
    String joined = text;
    joined.Append(header.GetText(), header.GetLength());
    header = joined;
}

void Translator::Reset()
{
    header.Clear();
    body.Clear();
    indent = 0;
    description = nullptr;
    target = 0;
    stage = STAGE_INVALID;
    inFunctionBody = false;
    success = true;
}

void Translator::SetTranslation(const ShaderDescription* shaderDescription, uint32_t featureLevelBits,
                                uint32_t targetBit, uint32_t stageNumber)
{
    description = shaderDescription;
    featureLevel = featureLevelBits;
    target = targetBit;
    stage = stageNumber;
}

void Translator::TranslateRoot(const GroupNode& root)
{
    if (root.subKind == Block) {
        TranslateBlock(root, true);
    } else if (root.subKind == StructDeclaration) {
        TranslateStructDeclaration(root);
    } else if (root.subKind == VariableDeclaration) {
        TranslateVariableDeclaration(root);
    }
}

String Translator::GetResultText() const
{
    String text = header;
    if (!header.IsEmpty()) text.Append("\n");
    text.Append(body.GetText(), body.GetLength());
    return text;
}

void Translator::WriteIndentation()
{
    for (int i = 0; i < indent; ++i) body.AppendChar('\t');
}

const Array<Node*>* Translator::GetArguments(const FunctionNode& call)
{
    if (call.children.GetCount() == 0) return nullptr;
    const GroupNode* arguments = AsGroup(call.children[0]);
    return arguments != nullptr ? &arguments->children : nullptr;
}

String Translator::GetTypeName(const Type& type)
{
    if (type.baseType == BaseType::STRUCT) return GetIdentifier(type.name);
    return GetTypeText(type, false);
}

bool Translator::IsReservedWord(const char* word) const
{
    // Comparing the first bytes inline settles most steps of the search without a call.
    const auto less = [](const char* a, const char* b) {
        if (a[0] != b[0]) return static_cast<unsigned char>(a[0]) < static_cast<unsigned char>(b[0]);
        return std::strcmp(a, b) < 0;
    };
    return std::binary_search(reservedWords.begin(), reservedWords.end(), word, less);
}

String Translator::GetIdentifier(const String& name)
{
    String identifier;
    AppendIdentifier(identifier, name);
    return identifier;
}

void Translator::AppendIdentifier(String& text, const String& name)
{
    if (IsReservedWord(name.GetText())) text.AppendChar('_');
    text.Append(name.GetText(), name.GetLength());
}

String Translator::GetQualifiedTypeName(const Type& type)
{
    String name = (type.qualifiers & QUALIFIER_CONST) != 0 ? "const " : "";
    name.Append(GetTypeName(type).GetText());
    return name;
}

String Translator::GetFunctionName(const FunctionNode& call)
{
    if (call.subKind >= INTRINSIC_BOOL && call.subKind <= INTRINSIC_UINT4) return GetTypeName(call.type);
    if (const auto* entry = renames.Find(call.name.GetText())) return entry->value;
    return call.name;
}

void Translator::WriteHeader() {}

bool Translator::WritesSeveralStatements(const Node* /*node*/) { return false; }

void Translator::BeginShader(const ShaderDescription& /*description*/) {}

void Translator::WriteInterface(const ShaderDescription& /*description*/) {}

int32_t Translator::GetMatrixConstantSize(const Node& node)
{
    if (const Type* constant = GetConstantType(&node)) return constant->arraySize == 0 ? constant->matrixSize : 0;
    if (node.kind != NodeKind::Operator) return 0;
    const OperatorNode& element = static_cast<const OperatorNode&>(node);
    const Type* array = element.operatorIndex == OP_SUBSCRIPT ? GetConstantType(element.left) : nullptr;
    return array != nullptr && array->arraySize != 0 ? array->matrixSize : 0;
}

Type Translator::GetSlotType(const Type& type)
{
    Type slotType = type;
    if (slotType.matrixSize > 0) slotType.matrixSize = 4;
    return slotType;
}

void Translator::WriteMatrixConstant(const Node& node, int32_t /*matrixSize*/) { TranslateNodeAsDeclared(node); }

void Translator::TranslateNodeAsDeclared(const Node& node)
{
    const Node* outer = nodeAsDeclared;
    nodeAsDeclared = &node;
    TranslateNode(&node);
    nodeAsDeclared = outer;
}

bool Translator::RefuseWholeMatrixConstantArray(const Node& node)
{
    const Type* constant = GetConstantType(&node);
    if (constant == nullptr || constant->arraySize == 0 || constant->matrixSize == 0) return false;
    // The element being written reads it.
    const OperatorNode* element = nodeAsDeclared != nullptr && nodeAsDeclared->kind == NodeKind::Operator
                                      ? static_cast<const OperatorNode*>(nodeAsDeclared)
                                      : nullptr;
    if (element != nullptr && element->operatorIndex == OP_SUBSCRIPT && element->left == &node) return false;
    const VariableNode* variable = AsVariable(&node);
    const VariableNode* member =
        variable == nullptr ? AsVariable(static_cast<const OperatorNode&>(node).right) : nullptr;
    const VariableNode* named = variable != nullptr ? variable : member;
    ReportError(kTranslatorMatrixConstantArrayWhole, named != nullptr ? named->name.GetText() : "?");
    return true;
}

void Translator::TranslateNode(const Node* node)
{
    if (node == nullptr) return;
    // Its elements are declared 4 x 4 and, on some targets, read through a
    // conversion each: the whole array is no array of the declared matrices.
    if (RefuseWholeMatrixConstantArray(*node)) return;
    if (node != nodeAsDeclared) {
        if (const int32_t matrixSize = GetMatrixConstantSize(*node); matrixSize > 0) {
            WriteMatrixConstant(*node, matrixSize);
            return;
        }
    }
    switch (node->kind) {
    case NodeKind::Group: {
        const GroupNode& group = *AsGroup(node);
        if (group.subKind == Block) TranslateBlock(group, true);
        if (group.subKind == StructDeclaration) TranslateStructDeclaration(group);
        if (group.subKind == VariableDeclaration) TranslateVariableDeclaration(group);
        return;
    }
    case NodeKind::Function: TranslateFunctionDefinition(*AsFunction(node)); return;
    case NodeKind::Call: TranslateFunctionCall(*AsFunction(node)); return;
    case NodeKind::Loop: TranslateLoop(*static_cast<const LoopNode*>(node)); return;
    case NodeKind::Jump: TranslateJump(*static_cast<const JumpNode*>(node)); return;
    case NodeKind::Constant: TranslateConstant(*static_cast<const ConstantNode*>(node)); return;
    case NodeKind::Operator: TranslateOperator(*static_cast<const OperatorNode*>(node)); return;
    case NodeKind::Selection: TranslateSelection(*static_cast<const SelectionNode*>(node)); return;
    case NodeKind::Variable: TranslateVariableReference(*AsVariable(node)); return;
    }
}

void Translator::TranslateBlock(const GroupNode& group, bool braces)
{
    const bool braced = braces && group.braced;
    if (braced) {
        WriteIndentation();
        body.Append("{\n");
        ++indent;
    }
    for (int i = 0; i < group.children.GetCount(); ++i) {
        const Node* child = group.children[i];
        if (i > 0 && (IsSpacedStatement(child) || IsSpacedStatement(group.children[i - 1]))) body.Append("\n");
        TranslateStatement(child, true, !IsBlockGroup(child));
    }
    if (braced) {
        --indent;
        WriteIndentation();
        body.Append("}");
    }
}

void Translator::TranslateStatement(const Node* node, bool indentFirst, bool lineBreak)
{
    if (indentFirst) WriteIndentation();
    TranslateNode(node);
    if (NeedsSemicolon(node)) body.Append(";");
    if (lineBreak) body.Append("\n");
}

void Translator::TranslateSubStatement(const Node* node, bool deeper)
{
    if (const GroupNode* group = AsGroup(node)) {
        TranslateNode(group);
        return;
    }
    if (WritesSeveralStatements(node)) {
        // Unbraced, only the first of them would be the branch or the loop body.
        WriteIndentation();
        body.Append("{\n");
        ++indent;
        TranslateStatement(node, true, true);
        --indent;
        WriteIndentation();
        body.Append("}");
        return;
    }
    if (deeper) ++indent;
    TranslateStatement(node, deeper, false);
    if (deeper) --indent;
}

}  // namespace ShaderTool
