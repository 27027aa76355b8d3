// Shader programs made, replaced and released on another thread while the
// main thread draws, as GetThreadingCapabilities allows on a device with
// concurrent creation: a draw uses the program its record holds when it
// draws, never one that is gone. ThreadSanitizer runs these on the memory
// back end.
#include <atomic>
#include <thread>

#include "renderer/d3d11/buffers.h"
#include "renderer/d3d11/renderer_test_support.h"
#include "renderer/d3d11/shader_program.h"

namespace {

constexpr const char* kNoProgram = "DrawTriangles: no shader program is bound.";

class ProgramThreads : public StateTest {
protected:
    void SetUp() override
    {
        StateTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(MakeColourProgram());
        ASSERT_EQ(renderer_->GetThreadingCapabilities(), 6u) << "the layer's devices create concurrently";
        renderer_->BeginFrame();
        // One triangle of vertex format 3 (position, colour).
        const float vertices[3][4] = {{-1, -1, 0, 0}, {0, 1, 0, 0}, {1, -1, 0, 0}};
        const uint16_t indices[3] = {0, 1, 2};
        vertices_ = renderer_->CreateVertexBuffer(3, 3, kBufferUsageDynamic);
        indices_ = renderer_->CreateIndexBuffer(3, kBufferUsageDynamic);
        ASSERT_TRUE(renderer_->UploadVertexBuffer(vertices_, vertices, sizeof vertices));
        ASSERT_TRUE(renderer_->UploadIndexBuffer(indices_, indices, sizeof indices));
    }
    void TearDown() override
    {
        if (vertices_ != nullptr) renderer_->ReleaseVertexBuffer(vertices_);
        if (indices_ != nullptr) renderer_->ReleaseIndexBuffer(indices_);
        StateTest::TearDown();
    }

    // Whether the draw reached the layer.
    bool Draw()
    {
        const UINT64 before = HalvoD3D11_DrawCount(device_.get());
        renderer_->DrawTriangles(vertices_, 3, indices_, 1);
        return HalvoD3D11_DrawCount(device_.get()) == before + 1;
    }
    bool MakeProgram() { return renderer_->CreateShaderProgram(&shader_, nullptr, colourProgramCode_); }
    Ref<ID3D11VertexShader> BoundVertexShader()
    {
        Ref<ID3D11VertexShader> bound;
        context_->VSGetShader(bound.Put(), nullptr, nullptr);
        return bound;
    }

    RendererVertexBuffer* vertices_ = nullptr;
    RendererIndexBuffer* indices_ = nullptr;
};

TEST_P(ProgramThreads, AReplacedProgramIsTheOneTheNextDrawUses)
{
    Ref<ID3D11VertexShader> first;
    *first.Put() = shader_.program->vertexShader;
    first->AddRef();
    ASSERT_TRUE(MakeProgram());
    EXPECT_TRUE(Draw()) << "the record stays current with its new program";
    EXPECT_EQ(BoundVertexShader().get(), shader_.program->vertexShader);
    EXPECT_NE(BoundVertexShader().get(), first.get());

    renderer_->ReleaseShaderProgram(&shader_);
    EXPECT_FALSE(Draw());
    EXPECT_EQ(CountLogged(kNoProgram), 1);
}

TEST_P(ProgramThreads, DrawsNeverUseAProgramAnotherThreadReleasedOrReplaced)
{
    constexpr int kRounds = 300;
    // A few draws a round: enough to meet every state of the record, few
    // enough that the refusals stay inside the log's kept history.
    constexpr int kDrawsPerRound = 4;
    std::atomic<int> roundsMade{0};
    std::thread maker([&] {
        for (int round = 0; round < kRounds; ++round) {
            if (round % 4 == 3) renderer_->ReleaseShaderProgram(&shader_);
            EXPECT_TRUE(MakeProgram());
            ++roundsMade;
        }
    });
    int refused = 0;
    int drawnRound = -1;
    int drawsThisRound = 0;
    for (int round = roundsMade; round < kRounds; round = roundsMade) {
        if (round != drawnRound) {
            drawnRound = round;
            drawsThisRound = 0;
        }
        if (drawsThisRound == kDrawsPerRound) {
            std::this_thread::yield();
            continue;
        }
        ++drawsThisRound;
        renderer_->BindShaderProgram(&shader_);
        if (!Draw()) ++refused;  // between a release and the next program
    }
    maker.join();
    EXPECT_EQ(CountLogged(kNoProgram), refused);
    renderer_->BindShaderProgram(&shader_);
    EXPECT_TRUE(Draw());
    EXPECT_EQ(BoundVertexShader().get(), shader_.program->vertexShader);
}

INSTANTIATE_TEST_SUITE_P(Backends, ProgramThreads, ::testing::Values("memory"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
