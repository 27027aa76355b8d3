// Draws interleaved with clears, copies, updates, maps, mip generation,
// read-backs, presents and changes of target come out on Vulkan exactly as the memory
// back end leaves the same work with each draw replaced by what it paints (a
// rectangle of one colour written by UpdateSubresource): a back end that
// keeps draws of one target in one render pass must still order every other
// piece of work between the draws it came between.
#include <cstring>

#include "winapi/d3d11/backend_test_support.h"

namespace {

constexpr UINT kSide = 8;

struct Box {
    UINT left, top, right, bottom;
};
constexpr Box kWhole{0, 0, kSide, kSide};
constexpr Box kLeft{0, 0, kSide / 2, kSide};
constexpr Box kRight{kSide / 2, 0, kSide, kSide};
constexpr Box kTop{0, 0, kSide, kSide / 2};
constexpr Box kBottom{0, kSide / 2, kSide, kSide};
constexpr Box kBottomLeft{0, kSide / 2, kSide / 2, kSide};
constexpr Box kCentre{2, 2, 6, 6};
constexpr Box kCorner{0, 0, 2, 2};
constexpr Box kFarCorner{6, 6, 8, 8};
constexpr Box kTopEdge{2, 0, 6, 2};
constexpr Box kTopRight{6, 0, 8, 2};

// Distinct colours whose channels are whole multiples of 1/5, so that a float colour and its 8-bit texel are exact.
uint32_t Colour(int index)
{
    return Rgba(uint8_t(51 * (index % 6)), uint8_t(51 * (index / 6 % 6)), uint8_t(51 * (index * 5 % 6)), 255);
}

class PassOrdering : public BackendTest {
protected:
    // How the script paints: by drawing, or (the reference) by writing what the draw would leave.
    enum class Painting { kDraw, kWrite };

    // Paints the box of a target of kSide x kSide; a draw the depth test will hide paints nothing written.
    void Paint(ID3D11Texture2D* target, const Box& box, int colour, bool hidden = false, UINT subresource = 0)
    {
        if (painting_ == Painting::kWrite) {
            if (hidden) return;
            const std::vector<uint32_t> texels(size_t(box.right - box.left) * (box.bottom - box.top), Colour(colour));
            const D3D11_BOX region{box.left, box.top, 0, box.right, box.bottom, 1};
            context_->UpdateSubresource(target, subresource, &region, texels.data(), (box.right - box.left) * 4, 0);
            return;
        }
        // Vertices and colour through discard maps of one buffer each, as the renderer uploads them.
        const UINT side = kSide >> subresource;
        auto x = [&](UINT at) { return -1.0f + 2.0f * float(at) / float(side); };
        auto y = [&](UINT at) { return 1.0f - 2.0f * float(at) / float(side); };
        const std::vector<float> corners = Rectangle(x(box.left), y(box.top), x(box.right), y(box.bottom), 0.5f);
        const uint32_t texel = Colour(colour);
        const float rgba[4] = {float(texel & 0xff) / 255.0f, float((texel >> 8) & 0xff) / 255.0f,
                               float((texel >> 16) & 0xff) / 255.0f, 1.0f};
        Upload(vertices_.get(), corners.data(), corners.size() * sizeof(float));
        Upload(colour_.get(), rgba, sizeof rgba);
        UseColourProgram();
        ID3D11Buffer* vertexBuffers[] = {vertices_.get()};
        const UINT stride = 12, offset = 0;
        context_->IASetVertexBuffers(0, 1, vertexBuffers, &stride, &offset);
        ID3D11Buffer* constants[] = {colour_.get()};
        context_->PSSetConstantBuffers(0, 1, constants);
        context_->Draw(6, 0);
    }

    void Upload(ID3D11Buffer* buffer, const void* data, size_t bytes)
    {
        D3D11_MAPPED_SUBRESOURCE mapped{};
        ASSERT_EQ(context_->Map(buffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
        std::memcpy(mapped.pData, data, bytes);
        context_->Unmap(buffer, 0);
    }

    void Clear(ID3D11RenderTargetView* view, int colour)
    {
        const uint32_t texel = Colour(colour);
        const FLOAT rgba[4] = {float(texel & 0xff) / 255.0f, float((texel >> 8) & 0xff) / 255.0f,
                               float((texel >> 16) & 0xff) / 255.0f, 1.0f};
        context_->ClearRenderTargetView(view, rgba);
    }

    // The script: every read-back it takes, in order.
    std::vector<Pixels> Run(Painting painting)
    {
        painting_ = painting;
        vertices_ = MakeBuffer(6 * 12, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE);
        colour_ = MakeBuffer(16, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE);
        const UINT bind = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
        Ref<ID3D11Texture2D> a = MakeTexture(kSide, kSide, DXGI_FORMAT_R8G8B8A8_UNORM, bind);
        Ref<ID3D11Texture2D> b = MakeTexture(kSide, kSide, DXGI_FORMAT_R8G8B8A8_UNORM, bind);
        Ref<ID3D11Texture2D> copy = MakeTexture(kSide, kSide, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE);
        Ref<ID3D11Texture2D> depth = MakeTexture(kSide, kSide, DXGI_FORMAT_D32_FLOAT, D3D11_BIND_DEPTH_STENCIL);
        Ref<ID3D11Texture2D> mips =
            MakeTexture(kSide, kSide, DXGI_FORMAT_R8G8B8A8_UNORM, bind, 2, 1, D3D11_RESOURCE_MISC_GENERATE_MIPS);
        Ref<ID3D11RenderTargetView> aView = TargetView(a.get());
        Ref<ID3D11RenderTargetView> bView = TargetView(b.get());
        Ref<ID3D11RenderTargetView> mipsView = TargetView(mips.get());
        Ref<ID3D11DepthStencilView> depthView = DepthView(depth.get());
        Ref<IDXGISwapChain1> chain = SwapChainOver(MakeWindow(kSide, kSide), FlipSwapChainDesc(kSide, kSide));
        std::vector<Pixels> seen;

        // A clear before the first draw, then draws; a clear between draws; a copy of the target between draws.
        SetTarget(aView.get(), kSide, kSide, depthView.get());
        SetDepthState(FALSE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS);  // until the part on depth
        Clear(aView.get(), 1);
        context_->ClearDepthStencilView(depthView.get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
        Paint(a.get(), kLeft, 2);
        Paint(a.get(), kTop, 3);
        Clear(aView.get(), 4);
        Paint(a.get(), kBottomLeft, 5);
        Paint(a.get(), kRight, 6);
        context_->CopyResource(copy.get(), a.get());
        Paint(a.get(), kLeft, 7);
        // An update of the target between draws, and of the texture copied before.
        const std::vector<uint32_t> patch(16, Colour(8));
        const D3D11_BOX centre{kCentre.left, kCentre.top, 0, kCentre.right, kCentre.bottom, 1};
        context_->UpdateSubresource(a.get(), 0, &centre, patch.data(), 16, 0);
        context_->UpdateSubresource(copy.get(), 0, &centre, patch.data(), 16, 0);
        Paint(a.get(), kCorner, 9);
        seen.push_back(ReadBack(copy.get()));

        // A present between draws: the draws after it write the same buffers anew while the frame may still run.
        EXPECT_EQ(chain->Present(0, 0), S_OK);
        Paint(a.get(), kTopRight, 12);
        // Another target and back; a clear of the other while this one is drawn into.
        SetTarget(bView.get(), kSide, kSide);
        Clear(bView.get(), 2);
        Paint(b.get(), kTop, 3);
        SetTarget(aView.get(), kSide, kSide, depthView.get());
        Paint(a.get(), kFarCorner, 1);
        Clear(bView.get(), 5);
        Paint(a.get(), kBottom, 10);
        SetTarget(bView.get(), kSide, kSide);
        Paint(b.get(), kBottom, 6);
        // A read-back between draws.
        SetTarget(aView.get(), kSide, kSide, depthView.get());
        Paint(a.get(), kTopEdge, 11);
        seen.push_back(ReadBack(a.get()));

        // Depth: a clear between draws decides which of them pass.
        SetDepthState(TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS);
        Paint(a.get(), kWhole, 2);  // at 0.5, nearer than the cleared 1.0
        context_->ClearDepthStencilView(depthView.get(), D3D11_CLEAR_DEPTH, 0.25f, 0);
        Paint(a.get(), kLeft, 3, true);  // farther than 0.25: hidden
        context_->ClearDepthStencilView(depthView.get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
        Paint(a.get(), kRight, 4);
        SetDepthState(FALSE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS);

        // Mips made from what was drawn, then the top drawn over again.
        SetTarget(mipsView.get(), kSide, kSide);
        Clear(mipsView.get(), 7);
        Paint(mips.get(), kWhole, 6);
        context_->GenerateMips(ShaderView(mips.get()).get());
        Paint(mips.get(), kCorner, 5);
        seen.push_back(ReadBack(mips.get(), 1));
        seen.push_back(ReadBack(mips.get(), 0));
        seen.push_back(ReadBack(a.get()));
        seen.push_back(ReadBack(b.get()));
        context_->ClearState();
        vertices_ = {};
        colour_ = {};
        return seen;
    }

    // The memory back end's device while the script runs on it.
    Ref<ID3D11Device> reference_;
    Ref<ID3D11DeviceContext> referenceContext_;

private:
    Painting painting_ = Painting::kDraw;
    Ref<ID3D11Buffer> vertices_;
    Ref<ID3D11Buffer> colour_;
};

TEST_P(PassOrdering, InterleavedWorkLeavesWhatTheMemoryBackEndLeaves)
{
    const std::vector<Pixels> drawn = Run(Painting::kDraw);
    // The same script on the memory back end, with each draw written instead.
    std::swap(device_, reference_);
    std::swap(context_, referenceContext_);
    setenv("HALVO_D3D11_BACKEND", "memory", 1);
    const HRESULT made = MakeDevice();
    unsetenv("HALVO_D3D11_BACKEND");
    ASSERT_EQ(made, S_OK);
    const std::vector<Pixels> written = Run(Painting::kWrite);
    std::swap(device_, reference_);
    std::swap(context_, referenceContext_);
    reference_ = {};
    referenceContext_ = {};
    ASSERT_EQ(drawn.size(), written.size());
    for (size_t index = 0; index < drawn.size(); ++index) {
        std::vector<uint32_t> expected;
        for (UINT y = 0; y < written[index].height; ++y) {
            for (UINT x = 0; x < written[index].width; ++x) expected.push_back(written[index].At(x, y));
        }
        ExpectPixels(Named("PassOrdering" + std::to_string(index)), drawn[index], expected, false);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, PassOrdering, ::testing::Values("vulkan"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
