#include <cstring>

#include "shadertool/preprocessor/preprocessor.h"

namespace ShaderTool {

PreprocessorValue PreprocessorValue::Integer(int32_t value, SourceLocation location)
{
    PreprocessorValue result{};
    result.intValue = value;
    result.location = location;
    result.kind = VALUE_INTEGER;
    return result;
}

PreprocessorValue PreprocessorValue::Float(float value, SourceLocation location)
{
    PreprocessorValue result{};
    result.floatValue = value;
    result.location = location;
    result.kind = VALUE_FLOAT;
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
