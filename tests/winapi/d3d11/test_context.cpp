// The immediate context on resources: maps per usage, mips of cubes, read
// back exactly; bindings and what they hold.
#include "winapi/d3d11/d3d11_test_support.h"

#include "winapi/com/live_objects.h"

namespace {

using Maps = D3D11Test;

TEST_F(Maps, EachUsageAllowsOnlyItsMapKinds)
{
    D3D11_MAPPED_SUBRESOURCE mapped;
    Ref<ID3D11Buffer> dynamic = MakeBuffer(64, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE);
    EXPECT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_READ, 0, &mapped), E_INVALIDARG);
    EXPECT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_WRITE, 0, &mapped), E_INVALIDARG);
    ASSERT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), S_OK);
    EXPECT_NE(mapped.pData, nullptr);
    EXPECT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), E_INVALIDARG) << "mapped twice";
    context_->Unmap(dynamic.get(), 0);
    EXPECT_EQ(context_->Map(dynamic.get(), 0, D3D11_MAP_WRITE_NO_OVERWRITE, 0, &mapped), S_OK);
    context_->Unmap(dynamic.get(), 0);

    Ref<ID3D11Buffer> constants =
        MakeBuffer(64, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE);
    EXPECT_EQ(context_->Map(constants.get(), 0, D3D11_MAP_WRITE_NO_OVERWRITE, 0, &mapped), S_OK)
        << "allowed on constant buffers from 11_1 on";
    context_->Unmap(constants.get(), 0);

    Ref<ID3D11Buffer> plain = MakeBuffer(64, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER, 0);
    EXPECT_EQ(context_->Map(plain.get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &mapped), E_INVALIDARG);
    Ref<ID3D11Buffer> readOnly = MakeBuffer(64, D3D11_USAGE_STAGING, 0, D3D11_CPU_ACCESS_READ);
    EXPECT_EQ(context_->Map(readOnly.get(), 0, D3D11_MAP_WRITE, 0, &mapped), E_INVALIDARG);
    EXPECT_EQ(context_->Map(readOnly.get(), 0, D3D11_MAP_READ_WRITE, 0, &mapped), E_INVALIDARG);
    EXPECT_EQ(context_->Map(readOnly.get(), 1, D3D11_MAP_READ, 0, &mapped), E_INVALIDARG) << "no subresource 1";
    EXPECT_EQ(context_->Map(readOnly.get(), 0, D3D11_MAP_READ, 0x1, &mapped), E_INVALIDARG) << "unknown flag";
    EXPECT_EQ(context_->Map(readOnly.get(), 0, D3D11_MAP_READ, D3D11_MAP_FLAG_DO_NOT_WAIT, &mapped), S_OK);
    context_->Unmap(readOnly.get(), 0);
    EXPECT_EQ(context_->Map(nullptr, 0, D3D11_MAP_READ, 0, &mapped), E_INVALIDARG);
}

TEST_F(Maps, UnmappingWhatIsNotMappedIsLoggedAndChangesNothing)
{
    Ref<ID3D11Buffer> staging = MakeBuffer(16, D3D11_USAGE_STAGING, 0, D3D11_CPU_ACCESS_READ);
    context_->Unmap(staging.get(), 0);
    context_->Unmap(staging.get(), 5);
    context_->Unmap(nullptr, 0);
    const std::vector<std::string> messages = NewMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].rfind("D3D11 ERROR: ID3D11DeviceContext::Unmap:", 0), 0u) << messages[0];
    D3D11_MAPPED_SUBRESOURCE mapped;
    EXPECT_EQ(context_->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped), S_OK);
    context_->Unmap(staging.get(), 0);
}

using Mips = D3D11Test;

// Averaging is checked on every back end; cubes and refusals only here.
TEST_F(Mips, GenerateMipsFillsEveryFaceOfACubeAndNeedsTheResourceToAllowIt)
{
    Ref<ID3D11Texture2D> cube =
        MakeTexture(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE, 2, 6,
                    D3D11_RESOURCE_MISC_GENERATE_MIPS | D3D11_RESOURCE_MISC_TEXTURECUBE);
    ASSERT_TRUE(cube);
    for (UINT face = 0; face < 6; ++face) {
        const uint32_t texels[4] = {Rgba(uint8_t(face), 0, 0, 255), Rgba(uint8_t(face + 1), 0, 0, 255),
                                    Rgba(uint8_t(face + 2), 0, 0, 255), Rgba(uint8_t(face + 4), 0, 0, 255)};
        context_->UpdateSubresource(cube.get(), D3D11CalcSubresource(0, face, 2), nullptr, texels, 8, 0);
    }
    context_->GenerateMips(ShaderView(cube.get()).get());
    for (UINT face = 0; face < 6; ++face) {
        // (f + f + 1 + f + 2 + f + 4 + 2) / 4 = f + 2.
        ExpectPixels("CubeMipFace" + std::to_string(face), ReadBack(cube.get(), D3D11CalcSubresource(1, face, 2)),
                     {Rgba(uint8_t(face + 2), 0, 0, 255)}, false);
    }
    EXPECT_TRUE(NewMessages().empty());

    Ref<ID3D11Texture2D> plain = MakeTexture(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE, 3);
    context_->GenerateMips(ShaderView(plain.get()).get());
    EXPECT_EQ(NewMessages().size(), 1u) << "mips of a texture made without GENERATE_MIPS";
}

using Bindings = D3D11Test;

TEST_F(Bindings, BoundObjectsStayAliveUntilUnboundAndGetsHandThemBack)
{
    const int64_t before = halvo::com::LiveObjectCount();
    Ref<ID3D11Buffer> buffer = MakeBuffer(48, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER, 0);
    ID3D11Buffer* raw = buffer.get();
    const UINT stride = 12;
    const UINT offset = 0;
    context_->IASetVertexBuffers(3, 1, &raw, &stride, &offset);
    EXPECT_EQ(References(raw), 1u);
    EXPECT_EQ(buffer.ReleaseAndCount(), 0u);
    EXPECT_EQ(halvo::com::LiveObjectCount(), before + 1);
    Ref<ID3D11Buffer> got;
    context_->IAGetVertexBuffers(3, 1, got.Put(), nullptr, nullptr);
    EXPECT_EQ(got.get(), raw);
    got.Reset();
    context_->ClearState();
    EXPECT_EQ(halvo::com::LiveObjectCount(), before);
}

TEST_F(Bindings, WrongBindFlagsOrSlotsChangeNothing)
{
    Ref<ID3D11Buffer> vertices = MakeBuffer(48, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER, 0);
    ID3D11Buffer* raw = vertices.get();
    context_->VSSetConstantBuffers(0, 1, &raw);
    context_->IASetIndexBuffer(raw, DXGI_FORMAT_R16_UINT, 0);
    context_->PSSetConstantBuffers(14, 1, &raw);
    Ref<ID3D11Buffer> got;
    context_->VSGetConstantBuffers(0, 1, got.Put());
    EXPECT_FALSE(got);
    DXGI_FORMAT format = DXGI_FORMAT_R32_UINT;
    context_->IAGetIndexBuffer(got.Put(), &format, nullptr);
    EXPECT_FALSE(got);
    EXPECT_EQ(format, DXGI_FORMAT_UNKNOWN);
    context_->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY(6));
    D3D11_PRIMITIVE_TOPOLOGY topology = D3D11_PRIMITIVE_TOPOLOGY_POINTLIST;
    context_->IAGetPrimitiveTopology(&topology);
    EXPECT_EQ(topology, D3D11_PRIMITIVE_TOPOLOGY_UNDEFINED);
    EXPECT_EQ(NewMessages().size(), 4u);
}

TEST_F(Bindings, BindingAResourceAsTargetUnbindsItAsShaderInput)
{
    Ref<ID3D11Texture2D> texture =
        MakeTexture(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE);
    Ref<ID3D11ShaderResourceView> input = ShaderView(texture.get());
    ID3D11ShaderResourceView* rawInput = input.get();
    context_->PSSetShaderResources(2, 1, &rawInput);
    Ref<ID3D11RenderTargetView> target = TargetView(texture.get());
    ID3D11RenderTargetView* rawTarget = target.get();
    context_->OMSetRenderTargets(1, &rawTarget, nullptr);
    Ref<ID3D11ShaderResourceView> got;
    context_->PSGetShaderResources(2, 1, got.Put());
    EXPECT_FALSE(got);
    context_->PSSetShaderResources(2, 1, &rawInput);
    context_->PSGetShaderResources(2, 1, got.Put());
    EXPECT_FALSE(got) << "still the render target";
    EXPECT_EQ(NewMessages().size(), 2u);
    Ref<ID3D11RenderTargetView> gotTarget;
    context_->OMGetRenderTargets(1, gotTarget.Put(), nullptr);
    EXPECT_EQ(gotTarget.get(), rawTarget);
}

TEST_F(Bindings, TargetsOfDifferentSizesAreRefused)
{
    Ref<ID3D11Texture2D> a = MakeTexture(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11Texture2D> b = MakeTexture(8, 4, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_RENDER_TARGET);
    Ref<ID3D11RenderTargetView> viewA = TargetView(a.get());
    Ref<ID3D11RenderTargetView> viewB = TargetView(b.get());
    ID3D11RenderTargetView* views[2] = {viewA.get(), viewB.get()};
    context_->OMSetRenderTargets(2, views, nullptr);
    Ref<ID3D11RenderTargetView> got;
    context_->OMGetRenderTargets(1, got.Put(), nullptr);
    EXPECT_FALSE(got);
}

TEST_F(Bindings, ViewportsAreKeptAsGivenAndABadOneChangesNothing)
{
    const D3D11_VIEWPORT viewports[2] = {{0, 0, 640, 480, 0, 1}, {10, 20, 30, 40, 0.25f, 0.5f}};
    context_->RSSetViewports(2, viewports);
    UINT count = 0;
    context_->RSGetViewports(&count, nullptr);
    EXPECT_EQ(count, 2u);
    D3D11_VIEWPORT read[2];
    context_->RSGetViewports(&count, read);
    EXPECT_EQ(read[1].TopLeftY, 20.0f);
    EXPECT_EQ(read[1].MaxDepth, 0.5f);
    const D3D11_VIEWPORT bad{0, 0, 10, -10, 0, 1};
    context_->RSSetViewports(1, &bad);
    context_->RSGetViewports(&count, nullptr);
    EXPECT_EQ(count, 2u);
}

}  // namespace
