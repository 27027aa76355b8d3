#pragma once

#include <cstdint>

#include "foundation/array.h"
#include "foundation/string.h"
#include "shadertool/ast/node.h"
#include "shadertool/basic/translator_log.h"
#include "shadertool/basic/operator.h"
#include "shadertool/basic/shader_description.h"
#include "shadertool/lexer/lexer.h"
#include "shadertool/parser/token_texts.h"
#include "shadertool/sema/builtin.h"
#include "shadertool/sema/function_table.h"
#include "shadertool/sema/struct_table.h"
#include "shadertool/sema/symbol_table.h"

namespace ShaderTool {

// Everything one parse of one source works on: the tokenizer, the tables,
// the nodes made so far and the tree. One context serves every source in
// turn; BeginParse resets it. Not shared between threads.
struct ParseContext {
    ParseContext();
    ~ParseContext();
    ParseContext(const ParseContext&) = delete;
    ParseContext& operator=(const ParseContext&) = delete;

    Log* log = nullptr;  // the step log; every error line goes here
    Tokenizer tokenizer;
    SourceLocation tokenLocation;  // of the token the parser read last
    TokenTexts tokenTexts;         // of every token read since BeginParse
    uint8_t success = 1;           // cleared by every error

    Array<Node*> nodes;  // every node made since BeginParse, owned, in creation order
    GroupNode* root = nullptr;
    FunctionNode* currentFunction = nullptr;  // the definition being parsed
    int returnCount = 0;                      // return statements seen in it
    int32_t stage = STAGE_VERTEX;
    const ShaderDescription* description = nullptr;  // of the source; set by BuildStageInterface

    SymbolTable symbols;
    StructTable structs;
    FunctionTable functions;
    OperatorTable operators;          // filled once
    BuiltInTable builtIns;            // general records filled once, a stage's records at its first parse
    Array<String> unassignedOutputs;  // vertex outputs no assignment has targeted yet
    VariableNode* dummy = nullptr;    // stands in for both operands of a failed member access
};

// The built-in parts, made once with the context: the general built-in
// records, then the operator table's 42 lists and their rows.
void BuildBuiltIns(ParseContext& context);

// Frees every node and empties the tables, then prepares a parse of the
// source's text for the stage: built-ins and intrinsics, the placeholder,
// the tokenizer. The stage structs come next (BuildStageInterface).
void BeginParse(ParseContext& context, const ShaderSource& source, int32_t stage);

// Appends a node to the context's list and returns it.
template <class T>
T* AdoptNode(ParseContext& context, T* node)
{
    context.nodes.Add(node);
    return node;
}

// One "%s(%i:%i) error: %s\n" line with the current source name; clears success.
void ReportError(ParseContext& context, int line, int column, const char* message);
void ReportErrorAt(ParseContext& context, const Node* node, const char* message);
// The same line under another file name than the current one.
void ReportErrorInFile(ParseContext& context, const char* fileName, int line, int column, const char* message);

}  // namespace ShaderTool
