#pragma once

// Helpers of the engine core's tests: whether the log holds a line, and an
// environment variable set for a scope. The test rig resets the engine around
// each test.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/configuration.h"
#include "core/engine_locks.h"
#include "core/engine_run_state.h"
#include "core/engine_state.h"
#include "core/events.h"
#include "core/extension_command.h"
#include "core/features.h"
#include "core/logging.h"
#include "core/subsystem_hooks.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "support/log_capture.h"
#include "support/temporary_folder.h"

inline bool WasLogged(const std::string& text)
{
    const std::vector<std::string> lines = LogCapture::AllWritten();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        char saved[4096] = {};
        m_had = GetEnvironmentVariableA(name, saved, sizeof(saved)) > 0;
        m_saved = saved;
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedVariable() { SetEnvironmentVariableA(m_name, m_had ? m_saved.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_saved;
};
