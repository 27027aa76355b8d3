#pragma once

#include <cstdint>

// Small value readers shared by the Shader XML reader's units.
namespace ShaderTool {

// A signed decimal integer as the Shader XML writes it: leading blanks are
// skipped, reading stops at the first non-digit, no digits give 0 (also for
// null). Values beyond the 32-bit range are held at its ends.
int32_t ParseXmlInteger(const char* text);

// Whether the text is present and made only of decimal digits ("" included).
bool IsXmlDigits(const char* text);

// Whether two names are equal: same length, then same bytes.
bool XmlNamesEqual(const char* first, const char* second);

}  // namespace ShaderTool
