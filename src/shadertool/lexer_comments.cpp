#include <string>

#include "shadertool/lexer.h"

namespace ShaderTool {

// Comments become blanks of the same width so that the text after them keeps
// its line and column; block comments keep their tabs and newlines.
String StripComments(const char* text, int length)
{
    std::string result;  // built here: String grows by exact reallocation
    result.reserve(size_t(length));
    int i = 0;
    while (i < length) {
        const char c = text[i];
        if (c == '/' && i + 1 < length && text[i + 1] == '/') {
            result.append("  ");
            i += 2;
            while (i < length && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == '/' && i + 1 < length && text[i + 1] == '*') {
            result.append("  ");
            i += 2;
            while (i < length && !(text[i] == '*' && i + 1 < length && text[i + 1] == '/')) {
                if (text[i] == '\t' || text[i] == '\n')
                    result.push_back(text[i]);
                else if (text[i] != '\r')
                    result.push_back(' ');
                ++i;
            }
            if (i < length) {
                result.append("  ");
                i += 2;
            }
            continue;
        }
        if (c != '\r' && c != 0)
            result.push_back(c);
        ++i;
    }
    String stripped;
    stripped.Assign(result.data(), int(result.size()));
    return stripped;
}

}  // namespace ShaderTool
