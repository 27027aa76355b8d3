// Our compiler's SPIR-V made ready for Vulkan shader modules, judged by
// spirv-val: the pixel stage's resources in their own descriptor set, and
// the HLSL decorations left out for a device without their extensions.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "support/temporary_folder.h"
#include "winapi/d3d11/d3d11_test_support.h"
#include "winapi/d3d11/vulkan/vulkan_spirv.h"

namespace {

using halvo::d3d11::ShaderStage;
using halvo::d3d11::vulkan::PrepareModule;

constexpr char kPixelSource[] =
    "Texture2D image : register(t2);\nSamplerState imageSampler : register(s1);\n"
    "float4 main(float4 position : SV_POSITION, float2 uv : TEXCOORD3) : SV_TARGET0 {\n"
    "  return image.Sample(imageSampler, uv);\n"
    "}\n";

class PreparedModules : public D3D11Test {
protected:
    std::vector<uint32_t> PixelWords(const char* source = kPixelSource)
    {
        const std::vector<uint8_t> code = Compile(source, "ps_4_0");
        std::vector<uint32_t> words((code.size() - 24) / 4);
        if (code.size() > 24) std::memcpy(words.data(), code.data() + 24, words.size() * 4);
        return words;
    }

    // spirv-val's verdict on the module as Vulkan 1.1 code.
    bool Valid(const std::vector<uint32_t>& module, std::string* log)
    {
        const std::filesystem::path path = folder_.Path() / "module.spv";
        const std::filesystem::path output = folder_.Path() / "log.txt";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(module.data()), module.size() * 4);
        const std::string command =
            "spirv-val --target-env vulkan1.1 " + path.string() + " > " + output.string() + " 2>&1";
        const bool valid = std::system(command.c_str()) == 0;
        std::stringstream text;
        text << std::ifstream(output).rdbuf();
        *log = text.str();
        return valid;
    }

    // Every (opcode, operand words) of the module's instructions after its header.
    static std::vector<std::vector<uint32_t>> Instructions(const std::vector<uint32_t>& module)
    {
        std::vector<std::vector<uint32_t>> instructions;
        for (size_t at = 5; at < module.size();) {
            const size_t length = module[at] >> 16;
            instructions.emplace_back(module.begin() + at, module.begin() + at + length);
            at += length;
        }
        return instructions;
    }

    TemporaryFolder folder_{"halvo-vulkan-spirv"};
};

TEST_F(PreparedModules, PixelResourcesMoveToTheirOwnSetAndTheHlslDecorationsGo)
{
    const std::vector<uint32_t> words = PixelWords();
    ASSERT_FALSE(words.empty());
    const std::vector<uint32_t> module = PrepareModule(words.data(), words.size(), ShaderStage::kPixel, false);
    std::string log;
    EXPECT_TRUE(Valid(module, &log)) << log;
    int sets = 0;
    for (const std::vector<uint32_t>& instruction : Instructions(module)) {
        const uint32_t opcode = instruction[0] & 0xffff;
        EXPECT_NE(opcode, 5632u) << "OpDecorateString is left out";
        EXPECT_NE(opcode, 10u) << "no extension is needed";
        if (opcode == 71 && instruction[2] == 34) {  // OpDecorate DescriptorSet
            EXPECT_EQ(instruction[3], 1u);
            ++sets;
        }
    }
    EXPECT_EQ(sets, 2) << "the texture and the sampler";
}

TEST_F(PreparedModules, ADeviceWithTheExtensionsKeepsTheSemantics)
{
    const std::vector<uint32_t> words = PixelWords();
    ASSERT_FALSE(words.empty());
    const std::vector<uint32_t> module = PrepareModule(words.data(), words.size(), ShaderStage::kVertex, true);
    EXPECT_EQ(module, words) << "a vertex stage keeps set 0, and the decorations stay";
    std::string log;
    EXPECT_TRUE(Valid(module, &log)) << log;
}

TEST_F(PreparedModules, TheKindOfEachDeclaredTextureIsReadByItsBinding)
{
    const std::vector<uint32_t> words = PixelWords(
        "Texture2D flat : register(t0);\nTexture2DArray layers : register(t1);\n"
        "TextureCube sky : register(t2);\nTexture3D volume : register(t3);\n"
        "TextureCubeArray skies : register(t5);\nSamplerState pointSampler : register(s0);\n"
        "float4 main(float4 position : SV_POSITION) : SV_TARGET0 {\n"
        "  return flat.Sample(pointSampler, position.xy) + layers.Sample(pointSampler, position.xyz)\n"
        "       + sky.Sample(pointSampler, position.xyz) + volume.Sample(pointSampler, position.xyz)\n"
        "       + skies.Sample(pointSampler, position);\n"
        "}\n");
    ASSERT_FALSE(words.empty());
    const auto images = halvo::d3d11::vulkan::DeclaredImages(words.data(), words.size());
    // SPIR-V dimensions: 1 for 2D, 2 for 3D, 3 for cube.
    ASSERT_EQ(images.size(), 5u);
    const std::pair<uint32_t, bool> expected[] = {{1, false}, {1, true}, {3, false}, {2, false}, {3, true}};
    const uint32_t bindings[] = {0, 1, 2, 3, 5};
    for (int index = 0; index < 5; ++index) {
        ASSERT_TRUE(images.count(bindings[index])) << "t" << bindings[index];
        EXPECT_EQ(images.at(bindings[index]).dimension, expected[index].first) << "t" << bindings[index];
        EXPECT_EQ(images.at(bindings[index]).arrayed, expected[index].second) << "t" << bindings[index];
    }
}

}  // namespace
