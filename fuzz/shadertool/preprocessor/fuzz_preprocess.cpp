// Preprocesses the input as a shader source and tokenizes the result. Every
// included file reads as the input itself, so includes recurse.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "shadertool/lexer/lexer.h"
#include "shadertool/preprocessor/preprocessor.h"
#include "shadertool/preprocessor/preprocessor_files.h"

using namespace ShaderTool;

namespace {

std::string g_input;

void* OpenInput(const char*, int64_t* size)
{
    *size = int64_t(g_input.size());
    return &g_input;
}

int64_t ReadInput(void* buffer, int64_t count, void* file)
{
    const std::string& text = *static_cast<std::string*>(file);
    const int64_t n = count < int64_t(text.size()) ? count : int64_t(text.size());
    std::memcpy(buffer, text.data(), size_t(n));
    return n;
}

void CloseInput(void*) {}

bool StampOfInput(const char*, int32_t* stamp)
{
    *stamp = 1700000000;
    return true;
}

const IncludeFileAccess kInputFiles = {OpenInput, ReadInput, CloseInput, StampOfInput};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Log log;
    static PreprocessorContext* context = [] {
        auto* created = new PreprocessorContext;
        created->log = &log;
        DefineGlobalMacros(*created);
        SetIncludeFileAccess(&kInputFiles);
        return created;
    }();
    static ShaderDescription description = [] {
        ShaderDescription made;
        made.vertexInput.Add({"position", 1, {}});
        made.definitions.Add({"COUNT", "4", DEFINITION_VALUE_INT});
        made.definitions.Add({"NAME", "text", DEFINITION_VALUE_TEXT});
        return made;
    }();
    static Array<String> definitions = [] {
        Array<String> made;
        for (const char* text : {"N", "3", "F", "1.5", "H", "0x10", "S", "\"s\""}) made.Add(text);
        return made;
    }();

    g_input.assign(reinterpret_cast<const char*>(data), size);
    log.Clear();
    ShaderSource source;
    source.path = "fuzz/main.hvsl";
    source.text.Assign(g_input.c_str());
    source.firstLine = 1;
    source.stage = size > 0 ? data[0] % 5 : 0;
    context->upToDate = size > 1 ? data[1] & 1 : 0;
    const uint32_t target = 1u << (size > 2 ? data[2] % 9 : 0);
    Preprocess(*context, description, target, source, definitions, false);

    ShaderSource output;
    output.path = source.path;
    output.text = context->output;
    output.firstLine = 1;
    Tokenizer tokenizer;
    tokenizer.SetLog(&log);
    tokenizer.Reset();
    tokenizer.SetSource(output, false);
    // Every token consumes at least one character, so this bound is never reached.
    for (int64_t i = 0; i <= int64_t(output.text.GetLength()) + 1; ++i) {
        Token token;
        token.Clear();
        tokenizer.GetNextToken(token);
        if (token.kind == TOKEN_END) break;
    }
    return 0;
}
