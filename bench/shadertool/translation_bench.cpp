// Translation of the Shader XML corpus to HLSL11 beside compiling the same
// texts through the HLSL compiler binding; prints how much longer the
// compile takes than the translation.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/compilers/hlsl_compiler.h"
#include "shadertool/driver/driver.h"

using namespace ShaderTool;

namespace {

const char* const kCorpus[] = {"res://sprite_v22.xml", "res://lit_v24.xml", "res://skinned_v23.xml",
                               "res://quad_v23.xml"};

// Pixel textures of the corpus name their bitmaps; any name is one here.
void* AnyBitmap(const char* /*name*/)
{
    static int bitmap;
    return &bitmap;
}

double g_translateSeconds = 0;
double g_compileSeconds = 0;
int64_t g_translateRuns = 0;
int64_t g_compileRuns = 0;

struct StageText {
    uint32_t stage;
    String text;
};

TranslationSettings Hlsl11Settings()
{
    TranslationSettings settings;
    settings.targetMask = TARGET_HLSL11;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
    return settings;
}

// The HLSL11 text of every stage of the corpus, as the driver writes it.
std::vector<StageText> TranslatedTexts(const std::filesystem::path& folder)
{
    std::vector<StageText> texts;
    Initialize(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false);
    for (const char* path : kCorpus) {
        TranslationSettings settings = Hlsl11Settings();
        settings.inputRoot = "res://";
        TranslateShaderXML(path, settings, false);
        Reset();
        const std::string base = std::filesystem::path(path + 6).stem().string();
        for (uint32_t stage : {0u, 1u}) {
            ByteBuffer bytes;
            const std::filesystem::path file = folder / "out" / (base + (stage == 0 ? ".vertex" : ".pixel"));
            FILE* handle = std::fopen(file.string().c_str(), "rb");
            if (handle == nullptr) continue;
            std::string text;
            char chunk[4096];
            size_t read = 0;
            while ((read = std::fread(chunk, 1, sizeof chunk, handle)) > 0) text.append(chunk, read);
            std::fclose(handle);
            texts.push_back({stage, String(text.c_str())});
        }
    }
    Initialize(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "", false);
    return texts;
}

void BM_TranslateCorpusToHLSL11(benchmark::State& state)
{
    const TranslationSettings settings = Hlsl11Settings();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const char* path : kCorpus) {
            benchmark::DoNotOptimize(TranslateShaderXML(path, settings, false));
            Reset();
        }
        g_translateSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++g_translateRuns;
    }
}

void BM_CompileCorpusThroughTheBinding(benchmark::State& state, const std::vector<StageText>* texts)
{
    Log log;
    HLSLCompiler compiler(&log);
    if (!compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT)) {
        state.SkipWithError("no HLSL compiler library");
        return;
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const StageText& text : *texts) {
            CompiledCode out;
            benchmark::DoNotOptimize(
                compiler.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, text.stage, text.text, false, out));
        }
        g_compileSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++g_compileRuns;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "halvo-bench-shadertool";
    std::filesystem::remove_all(folder);
    std::filesystem::copy(HALVO_SHADERXML_DIR, folder, std::filesystem::copy_options::recursive);
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, folder.string().c_str());
    GetGlobalState().reader.SetBitmapGetter(AnyBitmap);
    if (GetEnvironmentVariableA("HALVO_LIBRARY_PATH", nullptr, 0) == 0) {
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
    }
    const std::vector<StageText> texts = TranslatedTexts(folder);

    benchmark::RegisterBenchmark("TranslateCorpusToHLSL11", BM_TranslateCorpusToHLSL11);
    benchmark::RegisterBenchmark("CompileCorpusThroughTheBinding", BM_CompileCorpusThroughTheBinding, &texts);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (g_translateRuns > 0 && g_compileRuns > 0 && g_translateSeconds > 0) {
        const double translate = g_translateSeconds / static_cast<double>(g_translateRuns);
        const double compile = g_compileSeconds / static_cast<double>(g_compileRuns);
        std::printf("Corpus of %zu stages: translation %.3f ms, compilation %.3f ms, compile / translate = %.1f\n",
                    texts.size(), translate * 1000.0, compile * 1000.0, compile / translate);
    }
    std::filesystem::remove_all(folder);
    return 0;
}
