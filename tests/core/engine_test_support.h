#pragma once

// Helpers of the engine core's tests: whether the log holds a line. The test
// rig resets the engine around each test.

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
#include "support/scoped_variable.h"
#include "support/temporary_folder.h"

inline bool WasLogged(const std::string& text)
{
    const std::vector<std::string> lines = LogCapture::AllWritten();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
}
