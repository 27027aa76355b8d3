#include "shadertool/driver/front_end.h"

#include "shadertool/parser/grammar.h"
#include "shadertool/sema/checks.h"
#include "shadertool/sema/semantic_messages.h"
#include "shadertool/sema/stage_struct.h"

namespace ShaderTool {

FrontEnd::FrontEnd()
{
    preprocessor.log = &stepLog;
    parse.log = &stepLog;
    DefineGlobalMacros(preprocessor);
}

namespace {

ShaderSource MakeParsedSource(const ShaderSource& source)
{
    ShaderSource parsed;
    parsed.path = source.path;
    parsed.firstLine = source.firstLine;
    parsed.targetMask = source.targetMask;
    parsed.stage = source.stage;
    return parsed;
}

}  // namespace

bool RunFrontEnd(FrontEnd& frontEnd, const ShaderDescription& description, const ShaderSource& source,
                 uint32_t targetBit, const Array<String>& definitions)
{
    if (!Preprocess(frontEnd.preprocessor, description, targetBit, source, definitions, false)) {
        // No tree of an earlier source may pass for this one's.
        BeginParse(frontEnd.parse, MakeParsedSource(source), static_cast<int32_t>(source.stage));
        frontEnd.parse.success = 0;
        return false;
    }
    return ParsePreprocessedSource(frontEnd, description, source);
}

bool ParsePreprocessedSource(FrontEnd& frontEnd, const ShaderDescription& description, const ShaderSource& source)
{
    ShaderSource text = MakeParsedSource(source);
    text.text = frontEnd.preprocessor.output;
    ParseContext& context = frontEnd.parse;
    BeginParse(context, text, static_cast<int32_t>(source.stage));
    BuildStageInterface(context, description);
    Parse(context);
    CheckFunctions(context);
    for (const String& name : context.unassignedOutputs) {
        frontEnd.stepLog.WriteSourceError(
            source.path.GetText(), 0, 0,
            String::Formatted(SemanticMessage::kVertexOutputNotSet, name.GetText()).GetText());
        context.success = 0;
    }
    // The tokenizer writes its own errors (a reserved word, a bad literal).
    if (context.tokenizer.GetErrorCount() > 0) {
        context.success = 0;
    }
    return context.success != 0;
}

}  // namespace ShaderTool
