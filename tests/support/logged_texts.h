// The engine log's lines as tests compare them.
#pragma once

#include <string>
#include <vector>

#include "core/logging.h"
#include "foundation/array.h"
#include "foundation/string.h"

// The log's lines with the "%.4d: [%.2d:%.2d.%.2d] " before each text removed.
inline std::vector<std::string> LoggedTexts()
{
    std::vector<std::string> texts;
    Array<String> lines = HVI_GetConsoleLines();
    for (int i = 0; i < lines.GetCount(); ++i) {
        const std::string line = lines[i].GetText();
        const size_t end = line.find("] ");
        texts.push_back(end == std::string::npos ? line : line.substr(end + 2));
    }
    return texts;
}
