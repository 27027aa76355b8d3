// The adapter and its outputs, desktop sizes and display modes, with the
// reports of their failures.
#include <string>

#include "renderer/d3d11/renderer_test_support.h"

namespace {

class RendererOutputs : public RendererTest {
protected:
    // Two attached outputs beside each other, with the modes given to the first.
    void SetTwoOutputs(const DXGI_MODE_DESC* modes = nullptr, UINT modeCount = 0, UINT modesAddedAfterCount = 0)
    {
        HALVO_D3D11_OUTPUT outputs[2] = {};
        outputs[0].name = L"first";
        outputs[0].desktop = {0, 0, 1920, 1080};
        outputs[0].attached = TRUE;
        outputs[0].modes = modes;
        outputs[0].modeCount = modeCount;
        outputs[0].modesAddedAfterCount = modesAddedAfterCount;
        outputs[1].name = L"second";
        outputs[1].desktop = {1920, 0, 3200, 1024};
        outputs[1].attached = TRUE;
        HalvoD3D11_SetOutputs(outputs, 2);
    }
};

TEST_P(RendererOutputs, DetachedOutputsAndOutputsWithoutADescriptionAreSkipped)
{
    HALVO_D3D11_OUTPUT outputs[4] = {};
    outputs[0].name = L"detached";
    outputs[0].desktop = {0, 0, 800, 600};
    outputs[1].name = L"no description";
    outputs[1].attached = TRUE;
    outputs[1].getDescFails = TRUE;
    outputs[2].name = L"left";
    outputs[2].desktop = {-1280, 0, 0, 1024};
    outputs[2].attached = TRUE;
    outputs[3].name = L"right";
    outputs[3].desktop = {0, 0, 2560, 1440};
    outputs[3].attached = TRUE;
    HalvoD3D11_SetOutputs(outputs, 4);
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 2);
    int32_t width = 0;
    int32_t height = 0;
    renderer_->GetDesktopSize(0, width, height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
    renderer_->GetDesktopSize(1, width, height);
    EXPECT_EQ(width, 2560);
    EXPECT_EQ(height, 1440);
    ASSERT_TRUE(Initialize());
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 2);
}

TEST_P(RendererOutputs, AnAdapterWithoutOutputsIsNotKept)
{
    HalvoD3D11_SetOutputs(nullptr, 0);
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 0);
    EXPECT_FALSE(Initialize());
    // Outputs appear: the next attempt selects the adapter again and finds them.
    SetTwoOutputs();
    EXPECT_TRUE(Initialize());
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 2);
}

TEST_P(RendererOutputs, ADisplayIndexWithoutAnOutputIsReportedAndChangesNothing)
{
    SetTwoOutputs();
    int32_t width = 7;
    int32_t height = 7;
    renderer_->GetDesktopSize(2, width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_TRUE(IsLogged("GetDesktopSize: there is no display 2."));
    EXPECT_FALSE(renderer_->IsDisplayModeSupported(-1, 640, 480));
    EXPECT_TRUE(IsLogged("GetOutputDisplayModes: there is no display -1."));
    ASSERT_TRUE(Initialize());
    EXPECT_FALSE(renderer_->QuickReinitialize(5, 800, 600, true));
    EXPECT_TRUE(IsLogged("ApplyWindowMode: there is no display 5."));
}

TEST_P(RendererOutputs, AFailedEnumerationKeepsTheOutputsFoundBefore)
{
    SetTwoOutputs();
    ASSERT_TRUE(Initialize());
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 2);
    HalvoD3D11_FailEnumOutputsAt(1, E_FAIL);
    EXPECT_EQ(renderer_->GetDisplayOutputCount(), 2);
    EXPECT_EQ(CountLogged("D3D11/12 DXGI error: failed to enumerate adapter outputs (0x00030001, platform error "
                          "-2147467259)."),
              1);
    int32_t width = 0;
    int32_t height = 0;
    renderer_->GetDesktopSize(1, width, height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);
}

// Each failure of the adapter's parts fails Initialize with its report (a
// popup in developer mode); without adapters there are no outputs.
TEST_P(RendererOutputs, AdapterFailuresFailInitializeWithThePlatformError)
{
    enum Failing { kOutputs, kAdapters, kCall };
    const struct {
        Failing failing;
        const char* call;
        HRESULT result;
        bool developer;
        const char* report;
    } rows[] = {
        {kOutputs, nullptr, DXGI_ERROR_INVALID_CALL, false,
         "D3D11/12 DXGI error: failed to enumerate adapter outputs (0x00030001, platform error -2005270527)."},
        {kAdapters, nullptr, DXGI_ERROR_NOT_FOUND, false,
         "D3D11/12 DXGI error: failed to enumerate adapters (0x00030000, platform error -2005270526)."},
        {kAdapters, nullptr, E_FAIL, true,
         "[POPUP] D3D11/12 DXGI error: failed to enumerate adapters (0x00030000, platform error -2147467259)."},
        {kCall, "CreateDXGIFactory1", E_FAIL, false,
         "D3D11/12 DXGI error: failed to get a DXGI factory (0x00030003)\n\nWindows error 0x80004005: Unspecified "
         "error\n\nCreate"},
        {kCall, "IDXGIAdapter::GetParent", E_NOINTERFACE, false,
         "D3D11/12 DXGI error: failed to get a DXGI factory (0x00030003)\n\nWindows error 0x80004002: No such "
         "interface supported\n\nGet from adapter"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.report);
        HalvoD3D11_ResetHooks();
        HVI_SetDeveloperMode(row.developer);
        if (row.failing == kOutputs) HalvoD3D11_FailEnumOutputsAt(0, row.result);
        if (row.failing == kAdapters) HalvoD3D11_SetAdapterResult(row.result);
        if (row.failing == kCall) HalvoD3D11_FailCall(row.call, 1, row.result);
        EXPECT_FALSE(Initialize());
        EXPECT_TRUE(IsLogged(row.report));
        EXPECT_TRUE(row.failing != kAdapters || renderer_->GetDisplayOutputCount() == 0);
    }
}

TEST_P(RendererOutputs, EachSizeIsListedOnceWhateverItsRefreshRates)
{
    const DXGI_MODE_DESC modes[] = {Mode(1024, 768, 60), Mode(800, 600, 60), Mode(1024, 768, 75),
                                    Mode(640, 480, 60),  Mode(800, 600, 72), Mode(1280, 720, 60)};
    SetTwoOutputs(modes, 6);
    // Before Initialize the adapter is selected for the query.
    EXPECT_STREQ(renderer_->GetDisplayModesText(0), "640x480, 800x600, 1024x768, 1280x720");
    ASSERT_TRUE(Initialize());
    EXPECT_TRUE(renderer_->IsDisplayModeSupported(0, 1024, 768));
    EXPECT_FALSE(renderer_->IsDisplayModeSupported(0, 1024, 600));
    EXPECT_FALSE(renderer_->IsDisplayModeSupported(1, 1024, 768));
    EXPECT_STREQ(renderer_->GetDisplayModesText(1), "");
}

TEST_P(RendererOutputs, ModesAddedBetweenTheTwoCallsAreLeftOutWithoutAReport)
{
    const DXGI_MODE_DESC modes[] = {Mode(800, 600), Mode(1024, 768)};
    SetTwoOutputs(modes, 2, 2);
    EXPECT_STREQ(renderer_->GetDisplayModesText(0), "800x600, 1024x768");
    EXPECT_FALSE(
        IsLogged("D3D11/12 DXGI error: failed to get output display modes (0x00030002, platform error "
                 "-2005270525)."));
}

TEST_P(RendererOutputs, AFailedModeListIsReportedAndEmpty)
{
    const DXGI_MODE_DESC modes[] = {Mode(800, 600)};
    SetTwoOutputs(modes, 1);
    HalvoD3D11_FailCall("IDXGIOutput::GetDisplayModeList", 2, E_FAIL);
    EXPECT_FALSE(renderer_->IsDisplayModeSupported(0, 800, 600));
    EXPECT_TRUE(
        IsLogged("D3D11/12 DXGI error: failed to get output display modes (0x00030002, platform error "
                 "-2147467259)."));
    EXPECT_TRUE(renderer_->IsDisplayModeSupported(0, 800, 600));
}

HALVO_RENDERER_BACKENDS(RendererOutputs);

}  // namespace
