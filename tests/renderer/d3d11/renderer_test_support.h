// What the tests of the Direct3D 11 renderer share: the renderer reached
// through its entry points, initialised with an engine state that has a
// program block and a main window of our window layer, the engine log kept at
// every level, and the layer's back end ("memory" or "vulkan") as the test's
// parameter; on Vulkan the validation layer is on where installed and must
// stay silent. Every test ends with the layer's live-object count where it
// began.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/engine_state.h"
#include "core/features.h"
#include "graphics/renderer_implementation.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

class RendererTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Initialize with the fixture's engine state and program block.
    bool Initialize();

    // Log lines since SetUp (without their counter and time), and whether one
    // of them is the text after its level prefix ("[WARNING] ").
    static std::vector<std::string> Logged();
    static bool IsLogged(const std::string& text);
    static int CountLogged(const std::string& text);
    // The layer's live objects now, less those alive when the test began.
    long NewLiveObjects() const;

    // Calls `attempt` with every creation of the layer from the n-th on
    // failing, for n = 1, 2, ... until it succeeds; `prepare` runs before the
    // creations fail and `finish` after each attempt, and then the layer's
    // live objects must be back where they were (the sweep stops at the first
    // leak). Returns how many attempts failed, -1 on a leak or when none of
    // `mostCreations` attempts succeeded.
    template <typename Attempt, typename Prepare = void (*)(), typename Finish = void (*)()>
    int SweepCreationFailures(
        Attempt attempt, UINT mostCreations = 32, Prepare prepare = [] {}, Finish finish = [] {})
    {
        const long before = NewLiveObjects();
        for (UINT n = 1; n <= mostCreations; ++n) {
            prepare();
            HalvoD3D11_FailCreationsFrom(n);
            const bool made = attempt();
            HalvoD3D11_FailCreationsFrom(0);
            finish();
            if (made) return int(n) - 1;
            if (NewLiveObjects() != before) {
                ADD_FAILURE() << "objects left alive when creation " << n << " failed";
                return -1;
            }
        }
        ADD_FAILURE() << "no attempt succeeded";
        return -1;
    }
    // A finish for sweeps of whole renderers: shut down, unloaded and taken
    // again, so that nothing it held is alive when the sweep counts.
    void ReloadRenderer();

    // Lines the layer logged since SetUp where the platform's debug layer
    // would complain ("D3D11 ERROR: ...").
    std::vector<std::string> LayerComplaints() const;

    // The renderer's swap chain and device as the layer finds them by the
    // window (no references of the test's own); null when there are none.
    IDXGISwapChain* SwapChain() const;
    ID3D11Device* Device() const;
    bool IsFullscreen() const;
    // The size of the swap chain's buffers.
    SIZE BufferSize() const;

    // Outputs of the adapter as tests describe them; modes at refresh rate
    // `rate` Hz in B8G8R8A8.
    static DXGI_MODE_DESC Mode(UINT width, UINT height, UINT rate = 60);

    // A video-parameter request the renderer made through the engine interface.
    std::vector<HV_VideoParameters> reinitializeRequests_;
    // Calls of the engine state's window-style setter.
    struct WindowStyleCall {
        RECT desktop;
        int width;
        int height;
        bool windowed;
    };
    std::vector<WindowStyleCall> windowStyleCalls_;

    RendererImplementation* renderer_ = nullptr;
    HV_EngineInterface engine_{};
    HV_ProgramInterface program_{};
    HVI_EngineState state_{};
    HWND window_ = nullptr;

private:
    friend class RendererTestAccess;
    long liveAtStart_ = 0;
    UINT layerMessagesAtStart_ = 0;
    unsigned validationAtStart_ = 0;
};

// Instantiates a suite of RendererTest on both back ends of the layer; a
// test on "vulkan" is skipped where no Vulkan device starts.
#define HALVO_RENDERER_BACKENDS(suite)                          \
    INSTANTIATE_TEST_SUITE_P(                                   \
        Backends, suite, ::testing::Values("memory", "vulkan"), \
        [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); })
