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
    if (!Preprocess(frontEnd.preprocessor, description, targetBit, source, definitions, false)) {
        return false;
    }
    ShaderSource preprocessed;
    preprocessed.path = source.path;
    preprocessed.text = frontEnd.preprocessor.output;
    preprocessed.firstLine = source.firstLine;
    preprocessed.targetMask = source.targetMask;
    preprocessed.stage = source.stage;

    ParseContext& context = frontEnd.parse;
    BeginParse(context, preprocessed, static_cast<int32_t>(source.stage));
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
