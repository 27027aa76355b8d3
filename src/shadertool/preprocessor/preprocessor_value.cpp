#include <cstring>

#include "shadertool/preprocessor/preprocessor.h"

namespace ShaderTool {

namespace {

// A value of the kind with no text, its number still to be set.
PreprocessorValue NumberValue(uint32_t kind, SourceLocation location)
{
    PreprocessorValue result{};
    result.location = location;
    result.kind = kind;
    return result;
}

}  // namespace

PreprocessorValue PreprocessorValue::Integer(int32_t value, SourceLocation location)
{
    PreprocessorValue result = NumberValue(VALUE_INTEGER, location);
    result.intValue = value;
    return result;
}

PreprocessorValue PreprocessorValue::Float(float value, SourceLocation location)
{
    PreprocessorValue result = NumberValue(VALUE_FLOAT, location);
    result.floatValue = value;
    return result;
}

bool PreprocessorValue::SetText(const char* newText, int length)
{
    if (length < 0 || length > kMaxTokenLength) return false;
    std::memcpy(text, newText, size_t(length));
    text[length] = 0;
    intValue = length;
    kind = VALUE_TEXT;
    return true;
}

bool PreprocessorValue::IsZero() const
{
    if (kind == VALUE_FLOAT) return floatValue == 0.0f;
    return intValue == 0;
}

}  // namespace ShaderTool
