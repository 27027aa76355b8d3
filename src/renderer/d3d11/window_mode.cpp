// Quick re-initialisation to a new window mode, and leaving and re-entering
// fullscreen when the main window loses and regains activity.
#include "core/engine_state.h"
#include "renderer/d3d11/rend_imp_direct3d11.h"

bool RendImpDirect3D11::QuickReinitialize(int32_t displayIndex, int32_t width, int32_t height, bool windowed)
{
    if (m_swapChain == nullptr) return false;
    ReleaseBackBufferViews();
    return ApplyWindowMode(displayIndex, width, height, windowed) && CreateBackBufferViews();
}

bool RendImpDirect3D11::ApplyWindowMode(int32_t displayIndex, int32_t width, int32_t height, bool windowed)
{
    IDXGIOutput* output = GetOutput(displayIndex, "ApplyWindowMode");
    if (output == nullptr) return false;
    BOOL fullscreen = FALSE;
    if (FAILED(m_swapChain->GetFullscreenState(&fullscreen, nullptr))) return false;
    // Windowed asked while fullscreen, or fullscreen asked while windowed.
    const bool switches = windowed == (fullscreen != FALSE);
    if (switches && FAILED(ResizeSwapChainBuffers(UINT(width), UINT(height)))) return false;

    DXGI_OUTPUT_DESC outputDescription{};
    UINT finalWidth = 0;  // 0 x 0: the window's client size
    UINT finalHeight = 0;
    if (windowed) {
        if (switches && FAILED(m_swapChain->SetFullscreenState(FALSE, nullptr))) return false;
        if (FAILED(output->GetDesc(&outputDescription))) return false;
        if (m_engineState->setWindowStyle != nullptr) {
            m_engineState->setWindowStyle(m_engineState->window, outputDescription.DesktopCoordinates, width, height,
                                          true);
        }
    } else {
        DXGI_MODE_DESC wanted{};
        wanted.Width = UINT(width);
        wanted.Height = UINT(height);
        wanted.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
        DXGI_MODE_DESC closest{};
        if (FAILED(output->FindClosestMatchingMode(&wanted, &closest, m_device))) closest = DXGI_MODE_DESC{};
        if (closest.Format == DXGI_FORMAT_UNKNOWN) return false;
        if (FAILED(output->GetDesc(&outputDescription))) return false;
        // A new fullscreen size: leave fullscreen, then enter it again at the
        // new size below, so that the program does not end up windowed with
        // the fullscreen style.
        if (!switches) m_swapChain->SetFullscreenState(FALSE, nullptr);
        if (m_engineState->setWindowStyle != nullptr) {
            m_engineState->setWindowStyle(m_engineState->window, outputDescription.DesktopCoordinates, width, height,
                                          false);
        }
        if (FAILED(m_swapChain->SetFullscreenState(TRUE, nullptr))) return false;
        finalWidth = closest.Width;
        finalHeight = closest.Height;
    }
    return SUCCEEDED(ResizeSwapChainBuffers(finalWidth, finalHeight));
}

void RendImpDirect3D11::SetActive(bool active)
{
    if (m_swapChain == nullptr) return;
    if (active && !m_wasDeactivated) return;
    const HV_VideoParameters& video = m_engineState->program->video;
    if (!active && video.windowed) return;
    ReleaseBackBufferViews();
    if (SUCCEEDED(m_swapChain->SetFullscreenState(active ? TRUE : FALSE, nullptr)) &&
        SUCCEEDED(ResizeSwapChainBuffers(UINT(video.width), UINT(video.height)))) {
        if (CreateBackBufferViews()) m_wasDeactivated = !active;
        return;
    }
    // Refused: the buffers are as they were, so their views can be made again.
    CreateBackBufferViews();
}
