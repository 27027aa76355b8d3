#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/basic/type.h"

// The syntax tree of one shader source. Nodes are plain records that hold
// plain pointers to each other; several pointers may share one node, so a
// node never frees the nodes it points to. Whoever made a node owns it: the
// parse context's node list for parsed nodes, the built-in arrays for the
// records of built-in functions.
namespace ShaderTool {

enum class NodeKind : uint32_t {
    Group = 0,
    Function = 1,
    Call = 2,
    Loop = 3,
    Jump = 4,
    Constant = 5,
    Operator = 6,
    Selection = 7,
    Variable = 8,
};

// Bits of Node::flags.
constexpr uint32_t NODE_FLAG_REPEATED_SWIZZLE = 1;  // operand of a member access whose swizzle repeats a component
constexpr uint32_t NODE_FLAG_INITIALIZATION = 2;    // assignment made by an initialisation: no l-value check

// Sub-kinds. They share one number space with the operator indexes (0-41),
// the jump codes (43-46) and the intrinsic ids (51-114).
constexpr uint32_t FUNCTION_SUB_KIND = 47;

enum GroupKind : uint32_t {
    Block = 48,
    StructDeclaration = 49,
    VariableDeclaration = 50,
};

enum JumpCode : uint32_t {
    JUMP_BREAK = 43,
    JUMP_CONTINUE = 44,
    JUMP_DISCARD = 45,
    JUMP_RETURN = 46,
};

enum LoopKind : uint32_t {
    LOOP_DO_WHILE = 0,
    LOOP_FOR = 1,
    LOOP_WHILE = 2,
};

// Common header of every node. Group, Loop and Selection nodes carry no
// location (line and column 0).
struct Node {
    explicit Node(NodeKind nodeKind) : kind(nodeKind) {}
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    uint32_t flags = 0;  // NODE_FLAG_ bits
    int32_t column = 0;  // 1-based column of the node's first token
    int32_t line = 0;
    const NodeKind kind;
};

// A block, a struct declaration or a variable declaration.
struct GroupNode : Node {
    explicit GroupNode(uint32_t groupKind) : Node(NodeKind::Group), subKind(groupKind) {}

    Type type;
    uint32_t subKind;  // GroupKind
    Array<Node*> children;
    bool braced = false;  // written with braces: opens a scope
};

// A function (definition, prototype or built-in record) or a call; both
// kinds share this record. Child 0 is a Block: the parameter Variables of a
// function, the argument expressions of a call. Child 1 is a definition's body.
struct FunctionNode : Node {
    explicit FunctionNode(NodeKind functionOrCall) : Node(functionOrCall) {}

    Type type;                             // return type, or the call's result type
    uint32_t subKind = FUNCTION_SUB_KIND;  // or the IntrinsicId of a built-in
    Array<Node*> children;
    String name;
    String signature;  // functions only: name, then "," and the short type text of each parameter
    bool isBuiltIn = false;
    bool hasBody = false;  // definition rather than prototype; set on built-ins too
};

struct LoopNode : Node {
    LoopNode() : Node(NodeKind::Loop) {}

    Node* body = nullptr;       // never null once made
    Node* init = nullptr;       // for loops only
    Node* step = nullptr;       // for loops only
    Node* condition = nullptr;  // expression or condition declaration; null in a for without one
    uint32_t loopKind = LOOP_WHILE;
};

struct JumpNode : Node {
    JumpNode() : Node(NodeKind::Jump) {}

    Node* expression = nullptr;  // the returned value
    uint32_t jumpCode = JUMP_RETURN;
};

// A literal; a float literal's text always ends in 'f' or 'F'.
struct ConstantNode : Node {
    ConstantNode() : Node(NodeKind::Constant) {}

    Type type;
    String text;
};

// A unary, binary, assignment, member, subscript or conditional operation.
struct OperatorNode : Node {
    OperatorNode() : Node(NodeKind::Operator) {}

    Type type;
    Node* left = nullptr;
    Node* right = nullptr;  // null for unary operators
    uint32_t operatorIndex = 0;
};

struct SelectionNode : Node {
    SelectionNode() : Node(NodeKind::Selection) {}

    Node* condition = nullptr;
    Node* elseStatement = nullptr;
    Node* thenStatement = nullptr;  // never null once made
};

struct VariableNode : Node {
    VariableNode() : Node(NodeKind::Variable) {}

    Type type;
    String name;
    bool isShaderConstant = false;  // a Shader XML constant declared as a global
    bool isStageVariable = false;   // input, output and the other stage variables
};

// Checked views of a node as one kind; null for null and for another kind.
GroupNode* AsGroup(Node* node);
FunctionNode* AsFunction(Node* node);  // Function and Call nodes
LoopNode* AsLoop(Node* node);
JumpNode* AsJump(Node* node);
ConstantNode* AsConstant(Node* node);
OperatorNode* AsOperator(Node* node);
SelectionNode* AsSelection(Node* node);
VariableNode* AsVariable(Node* node);
const GroupNode* AsGroup(const Node* node);
const FunctionNode* AsFunction(const Node* node);
const VariableNode* AsVariable(const Node* node);

// The signature of a function: its name, then "," and the short type text of
// each parameter Variable of child 0; the name and a single "," when it has none.
String BuildSignature(const FunctionNode& function);

// The type a node carries; null for Loop, Jump and Selection nodes and for null.
const Type* GetNodeType(const Node* node);
Type* GetNodeType(Node* node);

}  // namespace ShaderTool
