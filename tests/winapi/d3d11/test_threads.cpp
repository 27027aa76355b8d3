// The device is free-threaded: threads that make and release resources,
// views and equal state objects at once find the same cached states and leave
// nothing alive.
#include "winapi/d3d11/d3d11_test_support.h"

#include <latch>
#include <thread>

#include "winapi/com/live_objects.h"

namespace {

using DeviceThreads = D3D11Test;

TEST_F(DeviceThreads, ConcurrentCreationsAndReleasesShareStatesAndLeaveNothing)
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 200;
    std::vector<ID3D11SamplerState*> first(kThreads, nullptr);
    std::vector<std::thread> threads;
    // All threads ask for the same sampler at once, and hold it until all have it.
    std::latch start(kThreads);
    std::latch allHaveIt(kThreads);
    for (int thread = 0; thread < kThreads; ++thread) {
        threads.emplace_back([this, thread, &first, &start, &allHaveIt] {
            start.arrive_and_wait();
            Ref<ID3D11SamplerState> kept = MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT);
            first[thread] = kept.get();
            allHaveIt.arrive_and_wait();
            for (int round = 0; round < kRounds; ++round) {
                // A view that outlives the last outside reference to its texture.
                Ref<ID3D11ShaderResourceView> view = ShaderView(
                    MakeTexture(8, 8, DXGI_FORMAT_R8G8B8A8_UNORM, D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET)
                        .get());
                D3D11_BLEND_DESC blend{};
                blend.RenderTarget[0].RenderTargetWriteMask = UINT8(round % 16);
                Ref<ID3D11BlendState> state;
                EXPECT_EQ(device_->CreateBlendState(&blend, state.Put()), S_OK);
                EXPECT_EQ(MakeSampler(D3D11_FILTER_MIN_MAG_MIP_POINT).get(), kept.get());
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int thread = 1; thread < kThreads; ++thread) EXPECT_EQ(first[thread], first[0]);
}

}  // namespace
