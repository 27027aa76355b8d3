#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "foundation/log.h"

// Collects the lines of the foundation log seam while it lives.
class LogCapture {
public:
    LogCapture() { HVI_SetLogSink(&LogCapture::Receive, this); }
    ~LogCapture() { HVI_SetLogSink(nullptr, nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }

    // Whether some line begins with the prefix.
    bool HasLineStartingWith(const std::string& prefix)
    {
        for (const std::string& line : Lines()) {
            if (line.compare(0, prefix.size(), prefix) == 0)
                return true;
        }
        return false;
    }

private:
    static void Receive(void* context, int, bool, const char* text)
    {
        LogCapture* self = static_cast<LogCapture*>(context);
        std::lock_guard<std::mutex> guard(self->m_lock);
        self->m_lines.push_back(text);
    }

    std::mutex m_lock;
    std::vector<std::string> m_lines;  // guarded by m_lock
};
