// DXGI: the factory, its adapter and outputs, display modes with the
// two-call count protocol, and swap chains without a display.
#include "winapi/d3d11/d3d11_test_support.h"

#include <cwchar>

namespace {

class Dxgi : public D3D11Test {
protected:
    Ref<IDXGIAdapter> FirstAdapter()
    {
        Ref<IDXGIFactory1> factory;
        EXPECT_EQ(CreateDXGIFactory1(IID_PPV_ARGS(factory.Put())), S_OK);
        Ref<IDXGIAdapter> adapter;
        EXPECT_EQ(factory->EnumAdapters(0, adapter.Put()), S_OK);
        return adapter;
    }

    Ref<IDXGIOutput> FirstOutput()
    {
        Ref<IDXGIOutput> output;
        EXPECT_EQ(FirstAdapter()->EnumOutputs(0, output.Put()), S_OK);
        return output;
    }

    Ref<IDXGISwapChain1> MakeSwapChain(HWND window)
    {
        return SwapChainOver(
            window, FlipSwapChainDesc(0, 0, DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH));
    }
};

TEST_F(Dxgi, TheFactoryHasOneAdapterWithOneAttachedOutput)
{
    Ref<IDXGIFactory1> factory;
    ASSERT_EQ(CreateDXGIFactory1(IID_PPV_ARGS(factory.Put())), S_OK);
    Ref<IDXGIAdapter> adapter;
    ASSERT_EQ(factory->EnumAdapters(0, adapter.Put()), S_OK);
    Ref<IDXGIAdapter> none;
    EXPECT_EQ(factory->EnumAdapters(1, none.Put()), DXGI_ERROR_NOT_FOUND);
    EXPECT_EQ(factory->EnumAdapters(0, nullptr), DXGI_ERROR_INVALID_CALL);
    DXGI_ADAPTER_DESC desc;
    ASSERT_EQ(adapter->GetDesc(&desc), S_OK);
    EXPECT_GT(std::wcslen(desc.Description), 0u);
    Ref<IDXGIOutput> output;
    ASSERT_EQ(adapter->EnumOutputs(0, output.Put()), S_OK);
    Ref<IDXGIOutput> noOutput;
    EXPECT_EQ(adapter->EnumOutputs(1, noOutput.Put()), DXGI_ERROR_NOT_FOUND);
    DXGI_OUTPUT_DESC outputDesc;
    ASSERT_EQ(output->GetDesc(&outputDesc), S_OK);
    EXPECT_EQ(outputDesc.AttachedToDesktop, TRUE);
    EXPECT_EQ(outputDesc.DesktopCoordinates.right - outputDesc.DesktopCoordinates.left, 1920);
}

TEST_F(Dxgi, DisplayModesFollowTheTwoCallProtocol)
{
    Ref<IDXGIOutput> output = FirstOutput();
    UINT count = 0;
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, nullptr), S_OK);
    ASSERT_EQ(count, 7u);
    std::vector<DXGI_MODE_DESC> modes(count);
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, modes.data()), S_OK);
    EXPECT_EQ(modes[3].Width, 1280u);
    EXPECT_EQ(modes[3].Height, 720u);
    EXPECT_EQ(modes[3].Format, DXGI_FORMAT_B8G8R8A8_UNORM);
    UINT fewer = 2;
    EXPECT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &fewer, modes.data()), DXGI_ERROR_MORE_DATA);
    EXPECT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, nullptr, nullptr), DXGI_ERROR_INVALID_CALL);
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_R16_FLOAT, 0, &count, nullptr), S_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(Dxgi, HookedOutputsListDuplicatesAndGrowBetweenTheCalls)
{
    const DXGI_MODE_DESC modes[] = {Mode(800, 600, 60, DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE),
                                    Mode(800, 600, 75, DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE),
                                    Mode(1024, 768, 60, DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE)};
    const HALVO_D3D11_OUTPUT growing{L"\\\\.\\DISPLAY1", {0, 0, 1024, 768}, TRUE, FALSE, modes, 3, 1};
    HalvoD3D11_SetOutputs(&growing, 1);
    Ref<IDXGIOutput> output = FirstOutput();
    UINT count = 0;
    ASSERT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, nullptr), S_OK);
    ASSERT_EQ(count, 3u);
    std::vector<DXGI_MODE_DESC> read(count);
    EXPECT_EQ(output->GetDisplayModeList(DXGI_FORMAT_B8G8R8A8_UNORM, 0, &count, read.data()), DXGI_ERROR_MORE_DATA);
    EXPECT_EQ(read[1].RefreshRate.Numerator, 75u) << "what fitted was written";
}

TEST_F(Dxgi, TheClosestModeIsTheNearestSizeAtTheNearestRate)
{
    Ref<IDXGIOutput> output = FirstOutput();
    DXGI_MODE_DESC wanted = Mode(1270, 730, 0);
    DXGI_MODE_DESC closest{};
    ASSERT_EQ(output->FindClosestMatchingMode(&wanted, &closest, device_.get()), S_OK);
    EXPECT_EQ(closest.Width, 1280u);
    EXPECT_EQ(closest.Height, 720u);
    EXPECT_EQ(closest.RefreshRate.Numerator, 60u);
    wanted.Height = 0;
    EXPECT_EQ(output->FindClosestMatchingMode(&wanted, &closest, device_.get()), DXGI_ERROR_INVALID_CALL)
        << "width without height";
    wanted = {};
    EXPECT_EQ(output->FindClosestMatchingMode(&wanted, &closest, nullptr), DXGI_ERROR_INVALID_CALL)
        << "no format and no device";
    const DXGI_MODE_DESC answer{
        0, 0, {0, 0}, DXGI_FORMAT_UNKNOWN, DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED, DXGI_MODE_SCALING_UNSPECIFIED};
    HalvoD3D11_SetClosestMode(S_OK, &answer);
    wanted.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    ASSERT_EQ(output->FindClosestMatchingMode(&wanted, &closest, device_.get()), S_OK);
    EXPECT_EQ(closest.Format, DXGI_FORMAT_UNKNOWN);
}

TEST_F(Dxgi, ASwapChainHandsOutItsBuffersInItsFormatWithoutShowingItsOwnHold)
{
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(MakeWindow(320, 200));
    ASSERT_TRUE(swapChain);
    Ref<ID3D11Texture2D> buffer;
    ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
    D3D11_TEXTURE2D_DESC texture;
    buffer->GetDesc(&texture);
    EXPECT_EQ(texture.Format, DXGI_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(buffer.ReleaseAndCount(), 0u) << "the swap chain's own hold does not show";
    EXPECT_EQ(swapChain->GetBuffer(2, IID_PPV_ARGS(buffer.Put())), DXGI_ERROR_INVALID_CALL);
}

TEST_F(Dxgi, TheNewestLiveSwapChainOfAWindowIsFoundUntilItIsReleased)
{
    HWND window = MakeWindow(64, 32);
    HWND other = MakeWindow(16, 16);
    EXPECT_EQ(HalvoD3D11_SwapChainOfWindow(window), nullptr);
    Ref<IDXGISwapChain1> first = MakeSwapChain(window);
    Ref<IDXGISwapChain1> second = MakeSwapChain(window);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(HalvoD3D11_SwapChainOfWindow(window), static_cast<IDXGISwapChain*>(second.get()));
    EXPECT_EQ(HalvoD3D11_SwapChainOfWindow(other), nullptr);
    EXPECT_EQ(second.ReleaseAndCount(), 0u) << "the lookup holds no reference";
    EXPECT_EQ(HalvoD3D11_SwapChainOfWindow(window), static_cast<IDXGISwapChain*>(first.get()));
    first.Reset();
    EXPECT_EQ(HalvoD3D11_SwapChainOfWindow(window), nullptr);
}

TEST_F(Dxgi, PresentRefusesAnUnknownSyncIntervalAndATestPresentShowsNothing)
{
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(MakeWindow(64, 64));
    EXPECT_EQ(swapChain->Present(5, 0), DXGI_ERROR_INVALID_CALL);
    EXPECT_EQ(swapChain->Present(0, DXGI_PRESENT_TEST), S_OK);
    EXPECT_EQ(HalvoD3D11_PresentCount(swapChain.get()), 0u);
}

TEST_F(Dxgi, ResizeBuffersIsRefusedWhileTheOldBuffersAreReferencedViewedOrBound)
{
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(MakeWindow(64, 64));
    Ref<ID3D11Texture2D> buffer;
    ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
    EXPECT_EQ(swapChain->ResizeBuffers(2, 128, 96, DXGI_FORMAT_B8G8R8A8_UNORM, 0), DXGI_ERROR_INVALID_CALL);
    Ref<ID3D11RenderTargetView> view;
    ASSERT_EQ(device_->CreateRenderTargetView(buffer.get(), nullptr, view.Put()), S_OK);
    buffer.Reset();
    EXPECT_EQ(swapChain->ResizeBuffers(2, 128, 96, DXGI_FORMAT_B8G8R8A8_UNORM, 0), DXGI_ERROR_INVALID_CALL);
    ID3D11RenderTargetView* raw = view.get();
    context_->OMSetRenderTargets(1, &raw, nullptr);
    view.Reset();
    EXPECT_EQ(swapChain->ResizeBuffers(2, 128, 96, DXGI_FORMAT_B8G8R8A8_UNORM, 0), DXGI_ERROR_INVALID_CALL)
        << "still bound";
    context_->OMSetRenderTargets(0, nullptr, nullptr);
    ASSERT_EQ(swapChain->ResizeBuffers(2, 128, 96, DXGI_FORMAT_B8G8R8A8_UNORM, 0), S_OK);
    ASSERT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
    D3D11_TEXTURE2D_DESC desc;
    buffer->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 128u);
    EXPECT_EQ(desc.Height, 96u);
    buffer.Reset();
    EXPECT_EQ(swapChain->ResizeBuffers(1, 0, 0, DXGI_FORMAT_UNKNOWN, 0), DXGI_ERROR_INVALID_CALL)
        << "the flip model needs two buffers";
}

TEST_F(Dxgi, TheFullscreenStateNamesItsOutputUntilItIsLeft)
{
    Ref<IDXGISwapChain1> swapChain = MakeSwapChain(MakeWindow(64, 64));
    BOOL fullscreen = FALSE;
    Ref<IDXGIOutput> target;
    ASSERT_EQ(swapChain->SetFullscreenState(TRUE, nullptr), S_OK);
    ASSERT_EQ(swapChain->GetFullscreenState(&fullscreen, target.Put()), S_OK);
    EXPECT_EQ(fullscreen, TRUE);
    EXPECT_TRUE(target);
    ASSERT_EQ(swapChain->SetFullscreenState(FALSE, nullptr), S_OK);
    ASSERT_EQ(swapChain->GetFullscreenState(&fullscreen, target.Put()), S_OK);
    EXPECT_EQ(fullscreen, FALSE);
    EXPECT_FALSE(target);
}

TEST_F(Dxgi, BadSwapChainDescriptionsAreRefused)
{
    HWND window = MakeWindow(64, 64);
    Ref<IDXGIFactory2> factory;
    ASSERT_EQ(CreateDXGIFactory1(IID_PPV_ARGS(factory.Put())), S_OK);
    DXGI_SWAP_CHAIN_DESC1 desc = FlipSwapChainDesc(0, 0, DXGI_FORMAT_B8G8R8A8_UNORM_SRGB);
    Ref<IDXGISwapChain1> swapChain;
    EXPECT_EQ(factory->CreateSwapChainForHwnd(device_.get(), window, &desc, nullptr, nullptr, swapChain.Put()),
              DXGI_ERROR_INVALID_CALL)
        << "the flip model has no sRGB buffers";
    desc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
    desc.BufferCount = 1;
    EXPECT_EQ(factory->CreateSwapChainForHwnd(device_.get(), window, &desc, nullptr, nullptr, swapChain.Put()),
              DXGI_ERROR_INVALID_CALL);
    desc.BufferCount = 2;
    EXPECT_EQ(factory->CreateSwapChainForHwnd(nullptr, window, &desc, nullptr, nullptr, swapChain.Put()),
              DXGI_ERROR_INVALID_CALL);
    EXPECT_EQ(factory->CreateSwapChainForHwnd(device_.get(), nullptr, &desc, nullptr, nullptr, swapChain.Put()),
              DXGI_ERROR_INVALID_CALL);
    EXPECT_FALSE(swapChain);
    EXPECT_EQ(factory->MakeWindowAssociation(window, 0x8), DXGI_ERROR_INVALID_CALL);
    EXPECT_EQ(factory->MakeWindowAssociation(window, DXGI_MWA_NO_WINDOW_CHANGES | DXGI_MWA_NO_ALT_ENTER), S_OK);
}

TEST_F(Dxgi, TheOlderFactoryMakesADiscardSwapChainReachingOnlyItsBackBuffer)
{
    Ref<IDXGIFactory1> factory;
    ASSERT_EQ(CreateDXGIFactory1(IID_PPV_ARGS(factory.Put())), S_OK);
    DXGI_SWAP_CHAIN_DESC desc = DiscardSwapChainDesc(MakeWindow(100, 50));
    Ref<IDXGISwapChain> swapChain;
    ASSERT_EQ(factory->CreateSwapChain(device_.get(), &desc, swapChain.Put()), S_OK);
    DXGI_SWAP_CHAIN_DESC read;
    ASSERT_EQ(swapChain->GetDesc(&read), S_OK);
    EXPECT_EQ(read.Windowed, TRUE);
    Ref<ID3D11Texture2D> buffer;
    EXPECT_EQ(swapChain->GetBuffer(1, IID_PPV_ARGS(buffer.Put())), DXGI_ERROR_INVALID_CALL);
    EXPECT_EQ(swapChain->GetBuffer(0, IID_PPV_ARGS(buffer.Put())), S_OK);
}

}  // namespace
