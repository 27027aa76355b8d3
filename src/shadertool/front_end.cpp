#include "shadertool/front_end.h"

#include "shadertool/checks.h"
#include "shadertool/grammar.h"
#include "shadertool/semantic_messages.h"
#include "shadertool/stage_struct.h"

namespace ShaderTool {

FrontEnd::FrontEnd() {
    preprocessor.log = &stepLog;
    parse.log = &stepLog;
    DefineGlobalMacros(preprocessor);
}

bool RunFrontEnd(FrontEnd& frontEnd, const ShaderDescription& description, const ShaderSource& source,
                 uint32_t targetBit, const Array<String>& definitions) {
    const bool preprocessed = Preprocess(frontEnd.preprocessor, description, targetBit, source, definitions, false);
    ShaderSource text;
    text.path = source.path;
    text.firstLine = source.firstLine;
    text.targetMask = source.targetMask;
    text.stage = source.stage;
    ParseContext& context = frontEnd.parse;
    if (!preprocessed) {
        // No tree of an earlier source may pass for this one's.
        BeginParse(context, text, static_cast<int32_t>(source.stage));
        context.success = 0;
        return false;
    }
    text.text = frontEnd.preprocessor.output;
    BeginParse(context, text, static_cast<int32_t>(source.stage));
    BuildStageInterface(context, description);
    Parse(context);
    CheckFunctions(context);
    for (const String& name : context.unassignedOutputs) {
        frontEnd.stepLog.WriteSourceError(source.path.GetText(), 0, 0,
                                          String::Formatted(SemanticMessage::kVertexOutputNotSet, name.GetText())
                                              .GetText());
        context.success = 0;
    }
    // The tokenizer writes its own errors (a reserved word, a bad literal).
    if (context.tokenizer.GetErrorCount() > 0) {
        context.success = 0;
    }
    return context.success != 0;
}

}  // namespace ShaderTool
