// What code from our D3DCompile computes, run on the Vulkan back end of our
// Direct3D 11 layer and read back: each probe is a pixel shader whose float4
// result lands in a one-pixel R32G32B32A32_FLOAT target. The expected values
// are HLSL's rules worked by hand; the operands come from a constant buffer
// so that the code computes them, except where folding is what is checked.
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "winapi/d3d11/backend_test_support.h"

namespace {

// The constants every probe sees: p = (1, 2, 3, 4), q = (5, 6, 7, 8),
// i = (-7, 3, 7, -3), f = (-7.5, 2, 7.5, -2), and M holding 1 to 16 in
// memory order.
struct ProbeConstants {
    float p[4] = {1, 2, 3, 4};
    float q[4] = {5, 6, 7, 8};
    int i[4] = {-7, 3, 7, -3};
    float f[4] = {-7.5f, 2, 7.5f, -2};
    float m[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
};

constexpr char kProbeDeclarations[] =
    "cbuffer Constants : register(b0) { float4 p; float4 q; int4 i; float4 f; float4x4 M; };\n"
    "float4 main(float4 position : SV_POSITION) : SV_TARGET0 {\n"
    "  float2x2 A = float2x2(p.x, p.y, p.z, p.w);\n"  // rows (1, 2) and (3, 4)
    "  float2x2 B = float2x2(q.x, q.y, q.z, q.w);\n"  // rows (5, 6) and (7, 8)
    "  int a = i.x; int b = i.y; int c = i.z; int d = i.w;\n";

constexpr char kPositionShader[] =
    "float4 main(float3 position : POSITION) : SV_POSITION { return float4(position, 1.0); }\n";

class HlslMeaning : public BackendTest {
protected:
    // The float4 that the probe's body (statements ending in a return) gives.
    std::array<float, 4> Run(const std::string& body)
    {
        const std::string source = kProbeDeclarations + body + "\n}\n";
        const Program program =
            MakeProgram(kPositionShader, source, {Element("POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0)});
        std::array<float, 4> result{};
        if (!program.pixel) return result;
        UseProgram(program);
        const ProbeConstants constants;
        SetPixelConstants(&constants, sizeof constants);
        const Ref<ID3D11Texture2D> target = BoundTarget(1, 1, DXGI_FORMAT_R32G32B32A32_FLOAT);
        SetVertices(Rectangle(-1, 1, 1, -1), 12);
        context_->Draw(6, 0);
        const std::vector<uint8_t> bytes = ReadBytes(target.get(), sizeof result);
        if (bytes.size() == sizeof result) std::memcpy(result.data(), bytes.data(), sizeof result);
        return result;
    }
};

using Values = std::array<float, 4>;

TEST_P(HlslMeaning, IntegerDivisionAndRemainderTruncateTowardZero)
{
    EXPECT_EQ(Run("return float4(a % b, c % d, a / 2, c / d);"), (Values{-1, 1, -3, -2}));
    EXPECT_EQ(Run("int x = a; x %= b; int y = c; y %= d; int z = a; z /= 2;\n"
                  "return float4(x, y, z, (-a) % d);"),
              (Values{-1, 1, -3, 1}));
    // Folded by the compiler, the same rule.
    EXPECT_EQ(Run("return float4(-7 % 3, 7 % -3, -7 / 2, 7 / -2);"), (Values{-1, 1, -3, -3}));
}

TEST_P(HlslMeaning, FloatRemainderAndFmodKeepTheSignOfTheDividend)
{
    EXPECT_EQ(Run("float x = f.x; x %= f.y;\nreturn float4(f.x % f.y, fmod(f.z, f.w), fmod(f.x, f.w), x);"),
              (Values{-1.5f, 1.5f, -1.5f, -1.5f}));
}

TEST_P(HlslMeaning, StarBetweenMatricesMultipliesPerComponentAndMulIsTheProduct)
{
    EXPECT_EQ(Run("float2x2 P = A * B; return float4(P[0], P[1]);"), (Values{5, 12, 21, 32}));
    EXPECT_EQ(Run("float2x2 C = A; C *= B; return float4(C[0], C[1]);"), (Values{5, 12, 21, 32}));
    // Rows (1, 2) and (3, 4) times rows (5, 6) and (7, 8).
    EXPECT_EQ(Run("float2x2 P = mul(A, B); return float4(P[0], P[1]);"), (Values{19, 22, 43, 50}));
    EXPECT_EQ(Run("return float4(mul(float2(1, 10), A), mul(A, float2(1, 10)));"), (Values{31, 42, 21, 43}));
    // Scalars scale every component.
    EXPECT_EQ(Run("float2x2 P = 2.0 * A * 3.0; return float4(P[0], P[1]);"), (Values{6, 12, 18, 24}));
}

// The default packing of a constant buffer is column_major: the 16 floats
// of M in memory are its columns, one after the other.
TEST_P(HlslMeaning, ConstantMatricesReadTheBytesColumnByColumn)
{
    EXPECT_EQ(Run("return M[1];"), (Values{2, 6, 10, 14}));
    EXPECT_EQ(Run("return mul(float4(1, 0, 0, 0), M);"), (Values{1, 5, 9, 13}));
    EXPECT_EQ(Run("return mul(M, float4(1, 0, 0, 0));"), (Values{1, 2, 3, 4}));
    EXPECT_EQ(Run("return float4(M[0][3], M[3][0], M._m12, M._m21);"), (Values{13, 4, 10, 7}));
}

TEST_P(HlslMeaning, VectorComparisonsArePerComponent)
{
    EXPECT_EQ(Run("float4 w = float4(1, 0, 3, 0);\nreturn float4(p == w);"), (Values{1, 0, 1, 0}));
    EXPECT_EQ(Run("float4 w = float4(1, 0, 3, 0);\nreturn float4(p != w);"), (Values{0, 1, 0, 1}));
    EXPECT_EQ(Run("float4 w = float4(1, 0, 3, 0);\n"
                  "return float4(all(p == w), any(p == w), all(p == p), any(p != p));"),
              (Values{0, 1, 1, 0}));
}

TEST_P(HlslMeaning, MatrixComparisonsReducedByAllAndAnyComparePerComponent)
{
    EXPECT_EQ(Run("float2x2 C = float2x2(1, 2, 3, 5);\n"
                  "return float4(all(A == A), all(A == C), any(A != C), any(A != A));"),
              (Values{1, 0, 1, 0}));
    EXPECT_EQ(Run("return float4(all(float2x2(1, 2, 3, 4) == A), any(float2x2(1, 2, 3, 4) != float2x2(1, 2, 3, 5)), "
                  "all(float2x2(1, 2, 3, 4) == float2x2(1, 2, 3, 4)), any(float2x2(1, 2, 3, 4) != A));"),
              (Values{1, 1, 1, 0}));
    // Of a scalar, all() and any() are the scalar.
    EXPECT_EQ(Run("return float4(all(p.x == 1.0), any(p.x != 1.0), all(p.y), any(p.x > 5.0));"), (Values{1, 0, 1, 0}));
}

// glslang folds operations on two constants while it parses; they get the
// same meanings as on values computed when the shader runs.
TEST_P(HlslMeaning, OperationsOnConstantsKeepThePlatformsMeanings)
{
    // Rows (1, 2) and (3, 4) times rows (5, 6) and (7, 8), per component.
    EXPECT_EQ(Run("float2x2 P = float2x2(1, 2, 3, 4) * float2x2(5, 6, 7, 8); return float4(P[0], P[1]);"),
              (Values{5, 12, 21, 32}));
    // (1, 1) times rows (5, 12) and (21, 32); mul() of constants stays the product.
    EXPECT_EQ(Run("return float4(mul(float2(1, 1), float2x2(1, 2, 3, 4) * float2x2(5, 6, 7, 8)),\n"
                  "              mul(float2(1, 1), mul(float2x2(1, 2, 3, 4), float2x2(5, 6, 7, 8))));"),
              (Values{26, 44, 62, 72}));
    EXPECT_EQ(Run("static const float2x2 C = float2x2(1, 2, 3, 4) * float2x2(2, 2, 2, 2);\n"
                  "return float4(C[0], C[1]);"),
              (Values{2, 4, 6, 8}));
    EXPECT_EQ(Run("return float4(-7.5 % 2.0, 7.5 % -2.0, fmod(-7.5, 2.0), fmod(7.5, -2.0));"),
              (Values{-1.5f, 1.5f, -1.5f, 1.5f}));
    // Comparisons of vectors are per component; template arguments are no comparisons.
    EXPECT_EQ(Run("return float4(float3(1, 2, 3) < 2, 1);"), (Values{1, 0, 0, 1}));
    EXPECT_EQ(Run("vector<float, 2> w = float2(1, 2);\n"
                  "return float4(w, float2(1, 2) >= float2(2, 2) || float2(1, 2) > float2(1.5, 1.5));"),
              (Values{1, 2, 0, 1}));
    // Integer constants still fold where a constant is required.
    EXPECT_EQ(Run("static const int m = max(2, 3); float u[m]; float w[min(4, 5)]; u[2] = 1; w[3] = 2;\n"
                  "return float4(u[2], w[3], max(float2(1, 5), float2(3, 2)));"),
              (Values{1, 2, 3, 5}));
    EXPECT_EQ(
        Run("static const float k = 2.0 * 2.0; float s[(int)k]; s[3] = 5;\n"
            "float2x2 P = float2x2(1, 2, 3, 4) * float2x2(5, 6, 7, 8); return float4(P[0][0], P[1][1], s[3], k);"),
        (Values{5, 32, 5, 4}));
    EXPECT_EQ(Run("static const int n = 2 * 2; float s[n]; int t[7 % 4];\n"
                  "s[3] = 5; t[2] = 6; return float4(s[3], t[2], 7 % 4, -7 % 4);"),
              (Values{5, 6, 3, -3}));
}

TEST_P(HlslMeaning, AllAndAnyOfConstantsReadEveryComponent)
{
    EXPECT_EQ(
        Run("return float4(any(float3(0, 0, 1)), all(float4(1, 2, 3, 4)), any(int3(0, -1, 0)), all(float2(1, 0)));"),
        (Values{1, 1, 1, 0}));
    EXPECT_EQ(Run("static const float3 k = float3(0.5, 0, 2);\n"
                  "return float4(all(k), any(k), any(k.yy), all(k.xz));"),
              (Values{0, 1, 0, 1}));
    EXPECT_EQ(Run("return float4(all(float2(1, 2) == float2(1, 2)), any(float2(1, 2) != float2(1, 2)), any(0.5), "
                  "all(0));"),
              (Values{1, 0, 1, 0}));
}

INSTANTIATE_TEST_SUITE_P(Vulkan, HlslMeaning, ::testing::Values("vulkan"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
