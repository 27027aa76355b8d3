#include "shadertool/parser/parse_context.h"

namespace ShaderTool {

namespace {

void FreeNodes(ParseContext& context)
{
    for (Node* node : context.nodes) {
        delete node;
    }
    context.nodes.Clear();
    context.root = nullptr;
    context.currentFunction = nullptr;
    context.dummy = nullptr;
}

}  // namespace

ParseContext::ParseContext()
{
    BuildBuiltIns(*this);
    tokenizer.SetTypeNames(&structs);
}

void BuildBuiltIns(ParseContext& context)
{
    RegisterBuiltInFunctions(context.builtIns.general);
    context.functions.Clear();
    RegisterOperatorOverloads(context.operators);
}

ParseContext::~ParseContext() { FreeNodes(*this); }

void BeginParse(ParseContext& context, const ShaderSource& source, int32_t stage)
{
    FreeNodes(context);
    context.tokenTexts.Clear();
    context.symbols.Clear();
    context.structs.Clear();
    context.unassignedOutputs.Clear();
    context.success = 1;
    context.returnCount = 0;
    context.tokenLocation = {};
    context.stage = stage;
    context.description = nullptr;
    PrepareBuiltInsForStage(context.builtIns, context.functions, stage);

    VariableNode* dummy = AdoptNode(context, new VariableNode);
    dummy->name.Assign("_dummy");
    dummy->type = Type::MakeVector(BaseType::INT, 1);
    context.dummy = dummy;

    context.tokenizer.SetLog(context.log);
    context.tokenizer.SetTypeNames(&context.structs);
    context.tokenizer.Reset();
    context.tokenizer.SetSource(source, true);
}

void ReportError(ParseContext& context, int line, int column, const char* message)
{
    ReportErrorInFile(context, context.tokenizer.GetSourceName().GetText(), line, column, message);
}

void ReportErrorInFile(ParseContext& context, const char* fileName, int line, int column, const char* message)
{
    context.success = 0;
    if (context.log != nullptr) {
        context.log->WriteSourceError(fileName, line, column, message);
    }
}

void ReportErrorAt(ParseContext& context, const Node* node, const char* message)
{
    ReportError(context, node != nullptr ? node->line : 0, node != nullptr ? node->column : 0, message);
}

}  // namespace ShaderTool
