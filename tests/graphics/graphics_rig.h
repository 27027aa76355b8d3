// The parts of the engine core the graphics front end uses, set up for one
// test: a fresh log that keeps every level, the engine locks, the main
// thread, "res://" and "cache://" in a temporary folder, and empty tables.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/engine_locks.h"
#include "core/logging.h"
#include "core/threading.h"
#include "filesystem/scheme_roots.h"
#include "foundation/engine_log.h"
#include "graphics/bitmap_table.h"
#include "graphics/render_states.h"
#include "graphics/renderer_implementation.h"
#include "support/logged_texts.h"
#include "support/temporary_folder.h"

class GraphicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HVI_ResetLog();
        HVI_SetLogThreshold(0);
        HVI_InstallFoundationLogSink();
        HVI_ResetFileSystem();
        HVI_RegisterMainThread();
        HVI_CreateEngineLocks();
        std::filesystem::create_directories(m_folder / "res");
        std::filesystem::create_directories(m_folder / "cache");
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, (m_folder / "res").string().c_str());
        HVI_SetSchemeRoot(HV_PATH_SCHEME_CACHE, (m_folder / "cache").string().c_str());
    }
    void TearDown() override
    {
        // Tests' renderers are gone by now; they made no device objects.
        HVI_SetRenderer(nullptr);
        HVI_ResetBitmapTable();
        HVI_ResetRenderStates();
        HVI_SetLogSink(nullptr, nullptr);
        HVI_DeleteEngineLocks();
        HVI_ResetThreading();
        HVI_ResetFileSystem();
        HVI_ResetLog();
    }

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        std::ofstream stream(m_folder / "res" / name, std::ios::binary);
        stream.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // Whether a line of the log is the text, after its level prefix ("[WARNING] ").
    static bool IsLine(const std::string& line, const std::string& text)
    {
        if (line == text) return true;
        const size_t end = line.find("] ");
        return line[0] == '[' && end != std::string::npos && line.compare(end + 2, std::string::npos, text) == 0;
    }
    static bool Logged(const std::string& text) { return CountLogged(text) > 0; }
    static int CountLogged(const std::string& text)
    {
        int count = 0;
        for (const std::string& line : LoggedTexts()) count += IsLine(line, text) ? 1 : 0;
        return count;
    }

    TemporaryFolder m_temporary{"halvo-graphics"};
    const std::filesystem::path m_folder = m_temporary.Path();
};
