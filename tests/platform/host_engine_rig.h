// An engine as the host executable runs it, for one test: a program block of
// a given size whose Init and Draw run what the test sets, the engine state
// handed to the back ends, the real platform (main window) and graphics
// (renderer role) subsystems, their pre-initialisation and start-up, and
// shutdown at the end unless the test shut down itself.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "core/engine_lifecycle.h"
#include "core/engine_test_support.h"
#include "graphics/bitmap_table.h"
#include "graphics/graphics_startup.h"
#include "graphics/render_states.h"
#include "platform/windows/process_entry.h"

class HostEngineTest : public testing::Test {
protected:
    HostEngineTest(int32_t width, int32_t height) : m_width(width), m_height(height) {}

    void SetUp() override
    {
        HVI_SetLogThreshold(HV_LOG_INFO);
        HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, m_folder.Path().string().c_str());
        ProgramInitHook() = nullptr;
        ProgramDrawHook() = nullptr;
        m_program = HV_ProgramInterface{};
        std::strcpy(m_program.title, "Host engine test");
        m_program.video.width = m_width;
        m_program.video.height = m_height;
        m_program.video.windowed = 1;
        m_program.Init = ProgramInit;
        m_program.Draw = ProgramDraw;
        HVI_EngineState& state = HVI_GetEngineState();
        state.engine = &m_engine;
        state.program = &m_program;
        state.video = m_program.video;
        HVI_RegisterPlatformSubsystem();
        HVI_RegisterGraphicsSubsystem();
    }
    void TearDown() override
    {
        if (!m_shutDown) ShutDown();
        HVI_PumpMessages();
        HVI_ResetBitmapTable();
        HVI_ResetRenderStates();
        HVI_CreateEngineLocks();
    }

    // Pre-initialisation's part for the renderer role.
    bool Preinitialize()
    {
        HVI_GetRunState().broughtUp[HVI_SUBSYSTEM_RENDERER] = true;
        return HVI_GetSubsystemHooks(HVI_SUBSYSTEM_RENDERER).Preinitialize(HVI_GetEngineState());
    }
    void ShutDown()
    {
        HVI_Shutdown();
        m_shutDown = true;
    }
    // Lines of the log that begin with the prefix ("[SYSTEM] Window created:").
    static int CountLogged(const std::string& prefix)
    {
        int count = 0;
        for (const std::string& line : LogCapture::AllWritten()) count += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return count;
    }

    // What the program does in its Init and in each Draw.
    static std::function<void()>& ProgramInitHook()
    {
        static std::function<void()> hook;
        return hook;
    }
    static std::function<void()>& ProgramDrawHook()
    {
        static std::function<void()> hook;
        return hook;
    }

    TemporaryFolder m_folder;
    HV_EngineInterface m_engine = {};
    HV_ProgramInterface m_program;
    bool m_shutDown = false;

private:
    static bool ProgramInit()
    {
        if (ProgramInitHook()) ProgramInitHook()();
        return true;
    }
    static void ProgramDraw(float)
    {
        if (ProgramDrawHook()) ProgramDrawHook()();
    }

    int32_t m_width;
    int32_t m_height;
};
