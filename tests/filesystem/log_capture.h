#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "foundation/engine_log.h"

// Collects every log line while it lives; the sink may be called from any thread.
class LogCapture {
public:
    LogCapture() { HVI_SetLogSink(&LogCapture::Sink, this); }
    ~LogCapture() { HVI_SetLogSink(nullptr, nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }

    bool Contains(const std::string& line)
    {
        for (const std::string& captured : Lines()) {
            if (captured == line) return true;
        }
        return false;
    }

    bool AnyBeginsWith(const std::string& prefix)
    {
        for (const std::string& captured : Lines()) {
            if (captured.compare(0, prefix.size(), prefix) == 0) return true;
        }
        return false;
    }

private:
    static void Sink(void* context, int, bool, const char* text)
    {
        LogCapture* self = static_cast<LogCapture*>(context);
        std::lock_guard<std::mutex> guard(self->m_lock);
        self->m_lines.push_back(text);
    }

    std::mutex m_lock;
    std::vector<std::string> m_lines;  // guarded by m_lock
};
