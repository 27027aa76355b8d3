#include "support/log_capture.h"

#include <cstdlib>

#include "core/logging.h"

namespace {

// The number a log line begins with ("%.4d: [%.2d:%.2d.%.2d] ").
int LineNumber(const std::string& line) { return std::atoi(line.c_str()); }

// The line without its number and time.
std::string WrittenText(const std::string& line)
{
    const size_t time = line.find("] ");
    return time == std::string::npos ? line : line.substr(time + 2);
}

LogCapture::Line ParseLine(const std::string& line)
{
    LogCapture::Line parsed = {HV_LOG_INFO, false, ""};
    std::string text = WrittenText(line);
    // "[thread]> " on lines of threads other than the main thread.
    const size_t thread = text.find("]> ");
    if (!text.empty() && text[0] == '[' && thread != std::string::npos && thread < text.find("] "))
        text = text.substr(thread + 3);
    const char* const levels[] = {"[WARNING] ", "[ERROR] ", "[SYSTEM] "};
    for (int level = HV_LOG_WARNING; level <= HV_LOG_SYSTEM; ++level) {
        const std::string prefix = levels[level - HV_LOG_WARNING];
        if (text.compare(0, prefix.size(), prefix) == 0) {
            parsed.level = level;
            text = text.substr(prefix.size());
            break;
        }
    }
    const std::string popup = "[POPUP] ";
    parsed.popup = text.compare(0, popup.size(), popup) == 0;
    parsed.text = parsed.popup ? text.substr(popup.size()) : text;
    return parsed;
}

}  // namespace

LogCapture::LogCapture()
{
    HVI_SetLogThreshold(HV_LOG_INFO);
    const Array<String> lines = HVI_GetConsoleLines();
    m_firstNumber = lines.GetCount() == 0 ? 0 : LineNumber(lines[lines.GetCount() - 1].GetText()) + 1;
}

std::vector<LogCapture::Line> LogCapture::Entries() const
{
    std::vector<Line> entries;
    for (const String& line : HVI_GetConsoleLines()) {
        if (LineNumber(line.GetText()) >= m_firstNumber) entries.push_back(ParseLine(line.GetText()));
    }
    return entries;
}

std::vector<std::string> LogCapture::Lines() const
{
    std::vector<std::string> lines;
    for (const Line& entry : Entries()) lines.push_back(entry.popup ? "[POPUP] " + entry.text : entry.text);
    return lines;
}

std::vector<std::string> LogCapture::Popups() const
{
    std::vector<std::string> popups;
    for (const Line& entry : Entries()) {
        if (entry.popup) popups.push_back(entry.text);
    }
    return popups;
}

bool LogCapture::ContainsAt(int level, const std::string& line) const
{
    for (const Line& entry : Entries()) {
        if (entry.level == level && (entry.popup ? "[POPUP] " + entry.text : entry.text) == line) return true;
    }
    return false;
}

int LogCapture::Count(const std::string& line) const
{
    int count = 0;
    for (const std::string& logged : Lines()) count += logged == line ? 1 : 0;
    return count;
}

bool LogCapture::AnyContains(const std::string& part) const
{
    for (const std::string& logged : Lines()) {
        if (logged.find(part) != std::string::npos) return true;
    }
    return false;
}

std::string LogCapture::Text() const
{
    std::string text;
    for (const std::string& logged : Lines()) text += logged + "\n";
    return text;
}

std::vector<std::string> LogCapture::AllWritten()
{
    std::vector<std::string> texts;
    for (const String& line : HVI_GetConsoleLines()) texts.push_back(WrittenText(line.GetText()));
    return texts;
}
