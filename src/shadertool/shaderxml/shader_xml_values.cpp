#include "shadertool/shaderxml/shader_xml_values.h"

#include <cstring>

namespace ShaderTool {

int32_t ParseXmlInteger(const char* text)
{
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' || *text == '\f') ++text;
    bool negative = false;
    if (*text == '-' || *text == '+') negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > int64_t{INT32_MAX} + 1) value = int64_t{INT32_MAX} + 1;
    }
    if (negative) return static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

bool IsXmlDigits(const char* text)
{
    if (text == nullptr) return false;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') return false;
    }
    return true;
}

bool XmlNamesEqual(const char* first, const char* second)
{
    const size_t length = std::strlen(first);
    return length == std::strlen(second) && std::memcmp(first, second, length) == 0;
}

}  // namespace ShaderTool
