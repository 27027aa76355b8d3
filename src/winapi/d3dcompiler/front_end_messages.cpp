#include "winapi/d3dcompiler/front_end_messages.h"

#include <cctype>

namespace halvo::d3dcompiler {
namespace {

bool TakePrefix(std::string_view& line, std::string_view prefix)
{
    if (line.substr(0, prefix.size()) != prefix) return false;
    line.remove_prefix(prefix.size());
    return true;
}

// The length of "<file>:<line>: " at the start of the text, 0 when it has none.
size_t LocationLength(std::string_view text)
{
    for (size_t colon = text.find(':'); colon != std::string_view::npos; colon = text.find(':', colon + 1)) {
        size_t end = colon + 1;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) != 0) ++end;
        if (end > colon + 1 && text.substr(end, 2) == ": ") return end + 2;
    }
    return 0;
}

// The log closes with "<n> compilation errors.  No code generated."
bool IsErrorCount(std::string_view text)
{
    size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])) != 0) ++digits;
    return digits > 0 && text.substr(digits, 18) == " compilation error";
}

}  // namespace

void AppendFrontEndLog(std::string_view log, bool warningsAreErrors, FrontEndMessages& out)
{
    while (!log.empty()) {
        const size_t end = log.find('\n');
        std::string_view line = log.substr(0, end);
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        bool error = TakePrefix(line, "ERROR: ") || TakePrefix(line, "INTERNAL ERROR: ");
        const bool warning = !error && TakePrefix(line, "WARNING: ");
        if (error && IsErrorCount(line)) continue;
        if (!error && !warning) {
            // Lines of their own, such as "<file>(<line>): error at column 9, HLSL parsing failed."
            out.text.append(line).append("\n");
            continue;
        }
        if (warning && warningsAreErrors) error = true;
        ++(error ? out.errors : out.warnings);
        const size_t location = LocationLength(line);
        out.text.append(line.substr(0, location))
            .append(error ? "error: " : "warning: ")
            .append(line.substr(location))
            .append("\n");
    }
}

}  // namespace halvo::d3dcompiler
