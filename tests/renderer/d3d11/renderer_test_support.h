// What the tests of the Direct3D 11 renderer share. RendererTest: the
// renderer reached through its entry points, initialised with an engine state
// that has a program block and a main window of our window layer, the engine
// log kept at every level, and the layer's back end ("memory" or "vulkan") as
// the test's parameter; on Vulkan the validation layer is on where installed
// and must stay silent. Every test ends with the layer's live-object count
// where it began. TextureRendererTest adds bitmaps with a known pattern,
// read-back of any subresource and pixel comparison that writes expected and
// actual PNGs when it fails; StateTest the renderer registered as the front
// end's, its device and context, a program drawing vertex colours and
// read-back of buffers and the back buffer.
#pragma once

#include <d3d11.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/engine_state.h"
#include "core/features.h"
#include "graphics/bitmap_record.h"
#include "graphics/renderer_implementation.h"
#include "graphics/shader_record.h"
#include "imaging/image_loader.h"
#include "support/com_reference.h"
#include "support/log_capture.h"
#include "winapi/d3d11/d3d11_test_hooks.h"

class RendererTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override;
    void TearDown() override;

    // Initialize with the fixture's engine state and program block.
    bool Initialize();

    // Whether a line since the test began is the text after its level
    // ("[POPUP] " stays before the text of a popup).
    bool IsLogged(const std::string& text) const { return log_.Contains(text); }
    int CountLogged(const std::string& text) const { return log_.Count(text); }
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
    // Shuts the renderer down, unloads it and takes a new one: nothing the
    // old one held stays alive (a finish for sweeps of whole renderers), and
    // the new one starts without capability bits.
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

    LogCapture log_;  // every level
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

// 8-bit R, G, B, A pixels, rows without gaps.
struct RgbaImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bytes;
    uint32_t At(uint32_t x, uint32_t y) const;  // byte 0 lowest
    void Set(uint32_t x, uint32_t y, uint32_t texel);
};

// R, G, B, A bytes as one texel, byte 0 lowest.
uint32_t Rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// A width x height image of one texel.
RgbaImage Filled(uint32_t width, uint32_t height, uint32_t texel);
// The texel of the test pattern at (x, y) of an image: every texel of a
// 256 x 256 block differs, alpha 255 - x.
uint32_t PatternTexel(int x, int y);
// A width x height image of the pattern from its row `firstRow` on.
RgbaImage PatternImage(uint32_t width, uint32_t height, uint32_t firstRow = 0);
// The bitmap's pixels as an image.
RgbaImage PixelsOf(const HV_Bitmap& bitmap);
// Gives the bitmap pixels of that size (and logical size) holding the pattern.
void FillWithPattern(HV_Bitmap& bitmap, const char* name, int32_t width, int32_t height);

// An image loader that has no memory to give.
class FullImageLoader : public ImageLoaderImp {
public:
    bool AllocateImagePixels(HV_Bitmap*, int32_t, int32_t) override { return false; }
};

class TextureRendererTest : public RendererTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A bitmap of that pixel (and logical) size holding the pattern; the
    // fixture releases its texture and pixels.
    HV_Bitmap& MakeBitmap(const char* name, int32_t width, int32_t height, int32_t type = HV_TEXTURE_TYPE_2D,
                          uint16_t mips = 1);
    // A bitmap without pixels, described for a render target.
    HV_Bitmap& MakeTarget(const char* name, int32_t width, int32_t height, int32_t format,
                          int32_t type = HV_TEXTURE_TYPE_2D, uint16_t mips = 1);

    // The texture the renderer made for the bitmap (null when none).
    static ID3D11Texture2D* TextureOf(const HV_Bitmap& bitmap);
    // The immediate context of the texture's device (one reference, released
    // by the caller).
    static ID3D11DeviceContext* ContextOf(ID3D11Resource* resource);
    // A subresource of a 4-byte colour texture read through a staging copy,
    // as R, G, B, A (B8G8R8A8 textures swapped).
    static RgbaImage ReadSubresource(ID3D11Texture2D* texture, UINT subresource);

    // Expects the image to equal the expected one, each channel within
    // `tolerance`; on a mismatch writes <name>-expected.png and
    // <name>-actual.png into pixel-failures/ in the working folder.
    static void ExpectImage(const std::string& name, const RgbaImage& actual, const RgbaImage& expected,
                            int tolerance = 0);

    bool OnVulkan() const { return std::string(GetParam()) == "vulkan"; }

    std::deque<HV_Bitmap> bitmaps_;
    // When set, the number of complaints of the layer the test causes on
    // purpose; any other fails it.
    std::optional<size_t> expectedComplaints_;
};

class StateTest : public TextureRendererTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The renderer's device and immediate context.
    void FindDevice();
    // Lets go of the device and shuts the renderer down, so that a test can
    // change the layer before Restart initialises it again.
    void ShutDown();
    bool Restart();
    // Shuts the renderer down and initialises a new one on a device that
    // cannot read B8G8R8A8 vertices (capability bits are never cleared, so
    // the object is made again).
    void RestartWithoutBgraVertexColours();
    // The first bytes of a device buffer, read through a staging copy.
    std::vector<uint8_t> ReadBuffer(ID3D11Buffer* buffer, uint32_t byteCount);
    // The colour target bound first (the back buffer in a frame), as R, G, B, A.
    RgbaImage ReadBoundTarget();

    // Whether an error report with the description was logged, its extra
    // text last.
    bool IsReported(const std::string& description, const std::string& extra) const;

    // A program of the vertex format POSITION + COLOR (mask 3) whose pixels
    // are the vertex colour times the pixel constant "tint" (white), made and
    // bound through the renderer.
    bool MakeColourProgram();

    Ref<ID3D11Device> device_;
    ByteBuffer colourProgramCode_[ShaderTool::STAGE_COUNT];  // the stage outputs MakeColourProgram compiled
    Ref<ID3D11DeviceContext> context_;
    HV_Shader shader_;
};
