// The lines the engine logs while a test runs, read back from the engine's
// own log: its core's lines and, through the seam, those of the layers below.
#pragma once

#include <string>
#include <vector>

#include "foundation/engine_log.h"

class LogCapture {
public:
    struct Line {
        int level;   // HV_LOG_INFO to HV_LOG_SYSTEM
        bool popup;  // logged as a popup; text is without the "[POPUP] " marker
        std::string text;
    };

    // Lowers the log threshold to INFO so that every level is kept, and
    // notes where the log stands: later lines are the captured ones.
    LogCapture();

    // Each line after the number, time, thread and level parts ("[POPUP] "
    // stays before the text of a popup, as the log writes it).
    std::vector<std::string> Lines() const;
    std::vector<Line> Entries() const;
    // The texts of the popup lines.
    std::vector<std::string> Popups() const;

    bool Contains(const std::string& line) const { return Count(line) > 0; }
    // Whether a line is the text at that level.
    bool ContainsAt(int level, const std::string& line) const;
    int Count(const std::string& line) const;
    // Whether some line has the part in it.
    bool AnyContains(const std::string& part) const;
    // Every line with a line break after it, for failure messages.
    std::string Text() const;

    // Every line since the log was last reset, as the log writes it after the
    // number and time parts: "[thread]> ", level and "[POPUP] " stay. It needs
    // no capture, so the log threshold stays as the test set it.
    static std::vector<std::string> AllWritten();

private:
    int m_firstNumber;  // the number of the first line that counts
};
