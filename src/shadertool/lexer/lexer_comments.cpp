#include <string>

#include "shadertool/lexer/lexer.h"

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
        // A file marker of the preprocessor ("@f \"name\" line") names a path
        // that may hold "//" or "/*", as schemed paths ("res://") do: its line
        // is kept whole.
        if (c == '@' && (i == 0 || text[i - 1] == '\n') && i + 3 < length && text[i + 1] == 'f' && text[i + 2] == ' ' &&
            text[i + 3] == '"') {
            while (i < length && text[i] != '\n') {
                if (text[i] != '\r' && text[i] != 0) result.push_back(text[i]);
                ++i;
            }
            continue;
        }
        if (c == '/' && i + 1 < length && text[i + 1] == '/') {
            result.append("  ");
            i += 2;
            while (i < length && text[i] != '\n') ++i;
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
        if (c != '\r' && c != 0) result.push_back(c);
        ++i;
    }
    String stripped;
    stripped.Assign(result.data(), int(result.size()));
    return stripped;
}

}  // namespace ShaderTool
