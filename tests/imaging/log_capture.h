// Collects the lines the engine logs while a test runs.
#pragma once

#include <string>
#include <vector>

#include "foundation/engine_log.h"

class LogCapture {
public:
    LogCapture() { HVI_SetLogSink(Capture, this); }
    ~LogCapture() { HVI_SetLogSink(nullptr, nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& Lines() const { return m_lines; }
    const std::vector<std::string>& Popups() const { return m_popups; }

private:
    static void Capture(void* context, int, bool popup, const char* text)
    {
        auto* self = static_cast<LogCapture*>(context);
        (popup ? self->m_popups : self->m_lines).push_back(text);
    }
    std::vector<std::string> m_lines;
    std::vector<std::string> m_popups;
};
