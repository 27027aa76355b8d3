#pragma once

#include <cstdint>
#include <span>

#include "foundation/string.h"
#include "foundation/string_map.h"
#include "shadertool/ast/node.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/basic/targets.h"

namespace ShaderTool {

// Writes the syntax tree of one stage as program text of one target. The
// base writes the C-like forms all targets share; each target's class
// changes them through the virtual operations. One object per target serves
// every translation in turn; Reset runs between them.
class Translator {
public:
    explicit Translator(Log* stepLog);
    virtual ~Translator();
    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;

    virtual void Reset();
    virtual String GetFunctionName(const FunctionNode& call);
    virtual String GetTypeName(const Type& type);
    virtual void WriteHeader();
    virtual void BeginShader(const ShaderDescription& description);
    virtual void TranslateInitializerList(const OperatorNode& node);
    virtual void TranslateFunctionCall(const FunctionNode& call);
    virtual void TranslateFunctionDefinition(const FunctionNode& function);
    virtual void TranslateLoop(const LoopNode& loop);
    virtual void TranslateJump(const JumpNode& jump);
    virtual void TranslateConstant(const ConstantNode& constant);
    virtual void TranslateOperator(const OperatorNode& node);
    virtual void TranslateSelection(const SelectionNode& selection);
    virtual void WriteInterface(const ShaderDescription& description);
    virtual void TranslateStructDeclaration(const GroupNode& group);
    virtual void TranslateVariableReference(const VariableNode& variable);
    virtual void TranslateForLoop(const LoopNode& loop);
    virtual void TranslateVariableDeclaration(const GroupNode& group);
    virtual void TranslateArrayDeclarator(const GroupNode& group);
    virtual void TranslateWhileLoop(const LoopNode& loop);
    // A statement that this target writes as several: as a branch or a loop
    // body it gets braces of its own.
    virtual bool WritesSeveralStatements(const Node* node);
    // A name of the source (variable, parameter, member, function, struct) as
    // the target writes it: the name itself unless the target's language
    // reserves it, then with a leading '_', which no name of a source has.
    String GetIdentifier(const String& name);
    // The same, appended to the text without a copy of its own.
    void AppendIdentifier(String& text, const String& name);
    // Writes a Shader XML matrix constant, or an element of a matrix constant
    // array, as this target reads it from its slot in the engine's constant
    // block. Every matrix has a slot of 64 bytes whatever its size: a float4x4
    // in the platform's default (column-major) packing, a smaller matrix in
    // its upper-left corner. Here: as declared.
    virtual void WriteMatrixConstant(const Node& node, int32_t matrixSize);

    void TranslateNode(const Node* node);
    void TranslateBlock(const GroupNode& group, bool braces);
    void TranslateStatement(const Node* node, bool indent, bool lineBreak);
    void TranslateSubStatement(const Node* node, bool deeper);
    String GetQualifiedTypeName(const Type& type);

    // Sets what one stage is translated for; BeginShader follows.
    void SetTranslation(const ShaderDescription* shaderDescription, uint32_t featureLevelBits, uint32_t targetBit,
                        uint32_t stageNumber);
    // Translates the root of a stage's tree: its top-level block, or a
    // struct or variable declaration standing alone.
    void TranslateRoot(const GroupNode& root);
    // The header, a line feed when there is one, and the body.
    String GetResultText() const;

    bool Succeeded() const { return success; }
    uint32_t GetTarget() const { return target; }
    const String& GetHeader() const { return header; }
    const String& GetBody() const { return body; }
    // Built-in function name -> name in the target language.
    void AddRename(const char* builtInName, const char* targetName) { renames.GetOrAdd(builtInName) = targetName; }
    void SetBitwiseAllowed(bool allowed) { bitwiseAllowed = allowed; }

protected:
    // Whether the target's language reserves the word: here, when the table
    // of reserved words holds it.
    virtual bool IsReservedWord(const char* word) const;
    // "Error: %s\n" in the step log; the translation fails and goes on.
    void ReportError(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A built-in call that this target cannot write: reported, and written as
    // it stands so that the translation goes on; true when it was one. Refused
    // are the built-ins that only the newest targets write, and those of the list.
    bool RefuseUnsupportedBuiltIn(const FunctionNode& call, std::span<const uint32_t> alsoRefused = {});
    void WriteIndentation();
    // Puts the text before everything the header holds so far.
    void PrependToHeader(const char* text);
    // "type name(parameters)" of a function, without its body.
    void WriteFunctionHead(const FunctionNode& function);
    // The elements of an initialiser list one per line, one level deeper,
    // between the two brackets, each on a line of its own.
    void WriteElementList(const OperatorNode& node, char open, char close);
    // The expression children of a call (the children of its first child).
    static const Array<Node*>* GetArguments(const FunctionNode& call);
    // The size of the matrix that the node reads from a Shader XML constant,
    // whole or as an element of an array; 0 for any other node.
    static int32_t GetMatrixConstantSize(const Node& node);
    // The type a constant is declared with so that it fills its slot in the
    // engine's constant block: every matrix as a 4 x 4 one.
    static Type GetSlotType(const Type& type);
    // A whole array of matrix constants, anywhere but as the array of one of
    // its elements: reported; true when it was one.
    bool RefuseWholeMatrixConstantArray(const Node& node);
    // Writes the node by its own operations, even when it reads a matrix constant.
    void TranslateNodeAsDeclared(const Node& node);
    static bool IsMatrix(const Type* type) { return type != nullptr && type->matrixSize > 0; }
    static bool IsVector(const Type* type) { return type != nullptr && type->matrixSize == 0 && type->vectorSize >= 2; }

    StringMap<const char*> renames;
    // The words of the target's language that a source may use as names,
    // sorted by byte value; set by the constructors of each family.
    std::span<const char* const> reservedWords;
    String header;
    Log* stepLog;
    String body;
    int32_t indent = 0;
    const ShaderDescription* description = nullptr;
    uint32_t featureLevel = 0;
    uint32_t target = 0;
    uint32_t stage = STAGE_INVALID;
    bool bitwiseAllowed = false;
    bool inFunctionBody = false;
    bool success = true;

private:
    const Node* nodeAsDeclared = nullptr;  // the node TranslateNodeAsDeclared is writing
};

}  // namespace ShaderTool
