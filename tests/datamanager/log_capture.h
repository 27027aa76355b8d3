#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "foundation/engine_log.h"

// Installs itself as the log sink for its lifetime and keeps every line.
class LogCapture {
public:
    struct Line {
        int level;
        bool popup;
        std::string text;
    };

    LogCapture() { HVI_SetLogSink(&LogCapture::Receive, this); }
    ~LogCapture() { HVI_SetLogSink(nullptr, nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Line> Lines()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }

private:
    static void Receive(void* context, int level, bool popup, const char* text)
    {
        auto* capture = static_cast<LogCapture*>(context);
        std::lock_guard<std::mutex> guard(capture->m_lock);
        capture->m_lines.push_back({level, popup, text});
    }

    std::mutex m_lock;
    std::vector<Line> m_lines;  // guarded by m_lock
};
