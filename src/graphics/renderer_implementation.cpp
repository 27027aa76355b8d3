#include "graphics/renderer_implementation.h"

#include <algorithm>
#include <cstring>

namespace {
RendererImplementation* g_renderer = nullptr;  // main thread only
}

RendererImplementation::~RendererImplementation() = default;

bool RendererImplementation::IsDisplayModeSupported(int32_t displayIndex, int32_t width, int32_t height)
{
    m_displayModes.Clear();
    EnumerateDisplayModes(displayIndex);
    for (const HV_DisplayMode& mode : m_displayModes) {
        if (mode.width == width && mode.height == height) return true;
    }
    return false;
}

const char* RendererImplementation::GetDisplayModesText(int32_t displayIndex)
{
    m_displayModes.Clear();
    EnumerateDisplayModes(displayIndex);
    std::sort(m_displayModes.begin(), m_displayModes.end(), [](const HV_DisplayMode& a, const HV_DisplayMode& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    m_displayModesText.Clear();
    for (const HV_DisplayMode& mode : m_displayModes) {
        if (!m_displayModesText.IsEmpty()) m_displayModesText.Append(", ");
        m_displayModesText.AppendFormat("%dx%d", mode.width, mode.height);
    }
    return m_displayModesText.GetText();
}

void RendererImplementation::AddDisplayMode(int32_t width, int32_t height)
{
    for (const HV_DisplayMode& mode : m_displayModes) {
        if (mode.width == width && mode.height == height) return;
    }
    m_displayModes.Add(HV_DisplayMode{width, height});
}

bool RendererImplementation::NeedsProjectionFlipY() { return false; }
void RendererImplementation::PostInitialize() {}
void RendererImplementation::AfterBeginFrame() {}
void RendererImplementation::AfterProgramDraw() {}

namespace {

template <typename Buffer, typename Lock, typename Unlock>
bool Upload(Buffer* buffer, const void* bytes, int64_t byteCount, Lock lock, Unlock unlock)
{
    void* memory = lock(buffer);
    if (memory == nullptr) return false;
    if (byteCount > 0) std::memcpy(memory, bytes, static_cast<size_t>(byteCount));
    unlock(buffer);
    return true;
}

}  // namespace

bool RendererImplementation::UploadVertexBuffer(RendererVertexBuffer* buffer, const void* bytes, int64_t byteCount)
{
    return Upload(
        buffer, bytes, byteCount, [this](RendererVertexBuffer* b) { return LockVertexBuffer(b); },
        [this](RendererVertexBuffer* b) { UnlockVertexBuffer(b); });
}

bool RendererImplementation::UploadIndexBuffer(RendererIndexBuffer* buffer, const void* bytes, int64_t byteCount)
{
    return Upload(
        buffer, bytes, byteCount, [this](RendererIndexBuffer* b) { return LockIndexBuffer(b); },
        [this](RendererIndexBuffer* b) { UnlockIndexBuffer(b); });
}

void RendererImplementation::GetPixelCenterOffset(float& x, float& y)
{
    x = 0.0f;
    y = 0.0f;
}

bool RendererImplementation::Unsupported67() { return false; }
void RendererImplementation::Unsupported68() {}
void RendererImplementation::SetTextureRegion(HV_Bitmap*, int32_t, int32_t, int32_t, int32_t) {}
int32_t RendererImplementation::Unsupported71() { return 0; }
int32_t RendererImplementation::Unsupported72() { return 0; }
int32_t RendererImplementation::Unsupported73() { return 0; }
int32_t RendererImplementation::Unsupported74() { return 0; }
int32_t RendererImplementation::Unsupported75() { return 0; }
int32_t RendererImplementation::Unsupported76() { return 0; }
int32_t RendererImplementation::Unsupported77() { return 0; }
int32_t RendererImplementation::Unsupported78() { return 0; }
int32_t RendererImplementation::Unsupported79() { return 0; }
int32_t RendererImplementation::Unsupported80() { return 0; }
int32_t RendererImplementation::Unsupported81() { return 0; }
int32_t RendererImplementation::Unsupported82() { return 0; }

void HVI_SetRenderer(RendererImplementation* renderer) { g_renderer = renderer; }

RendererImplementation* HVI_GetRenderer() { return g_renderer; }
