// The shader translator's speed, printed after the Google Benchmark table as
// the fastest run of each job:
// - the Shader XML corpus translated for one target (HLSL11) beside every
//   target that has a translator at once, and beside compiling the HLSL11
//   texts through the HLSL compiler binding;
// - a shader grown to N = 100, 1,000 and 10,000 functions, declarations or
//   statements, translated for HLSL11, with the exponent of the time's growth
//   fitted over the three sizes (1 is linear).
#include <benchmark/benchmark.h>
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/data_manager.h"
#include "filesystem/scheme_roots.h"
#include "shadertool/compilers/hlsl_compiler.h"
#include "shadertool/driver/driver.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

using namespace ShaderTool;

namespace {

const char* const kCorpus[] = {"res://sprite_v22.xml", "res://lit_v24.xml", "res://skinned_v23.xml",
                               "res://quad_v23.xml"};
constexpr int kSizes[] = {100, 1000, 10000};

// Pixel textures of the corpus name their bitmaps; any name is one here.
void* AnyBitmap(const char* /*name*/)
{
    static int bitmap;
    return &bitmap;
}

// The fastest run of each measured job, in seconds, by name. Wall time,
// because the compiler does its work in a child process; the fastest run,
// because on a shared machine it is the one least disturbed by other work.
std::map<std::string, double> g_fastest;

template <typename Job>
void Measure(benchmark::State& state, const std::string& name, Job job)
{
    double& fastest = g_fastest[name];
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        job();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (fastest == 0 || seconds < fastest) fastest = seconds;
    }
}

struct StageText {
    uint32_t stage;
    String text;
};

// Every target that the factory makes a translator for.
uint32_t TranslatedTargets()
{
    uint32_t mask = 0;
    Log log;
    for (int slot = 0; slot < TARGET_COUNT; ++slot) {
        std::unique_ptr<Translator> translator(CreateTranslator(1u << slot, &log));
        if (translator != nullptr) mask |= 1u << slot;
    }
    return mask;
}

TranslationSettings CorpusSettings(uint32_t targetMask)
{
    TranslationSettings settings;
    settings.targetMask = targetMask;
    settings.featureLevel = FEATURE_LEVEL_HLSL11_DEFAULT;
    return settings;
}

// The HLSL11 text of every stage of the corpus, as the driver writes it.
std::vector<StageText> TranslatedTexts(const std::filesystem::path& folder)
{
    std::vector<StageText> texts;
    Initialize(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, "res://out", false);
    for (const char* path : kCorpus) {
        TranslationSettings settings = CorpusSettings(TARGET_HLSL11);
        settings.inputRoot = "res://";
        TranslateShaderXML(path, settings, false);
        Reset();
        const std::string base = std::filesystem::path(path + 6).stem().string();
        for (uint32_t stage : {0u, 1u}) {
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
    Initialize(TranslatedTargets(), FEATURE_LEVEL_HLSL11_DEFAULT, "", false);
    return texts;
}

void BM_TranslateCorpus(benchmark::State& state, const char* name, uint32_t targetMask)
{
    const TranslationSettings settings = CorpusSettings(targetMask);
    Measure(state, name, [&] {
        for (const char* path : kCorpus) {
            benchmark::DoNotOptimize(TranslateShaderXML(path, settings, false));
            Reset();
        }
    });
}

void BM_CompileCorpus(benchmark::State& state, const std::vector<StageText>* texts)
{
    Log log;
    HLSLCompiler compiler(&log);
    if (!compiler.Initialize(FEATURE_LEVEL_HLSL11_DEFAULT)) {
        state.SkipWithError("no HLSL compiler library");
        return;
    }
    Measure(state, "compile HLSL11", [&] {
        for (const StageText& text : *texts) {
            CompiledCode out;
            benchmark::DoNotOptimize(
                compiler.Compile(TARGET_HLSL11, FEATURE_LEVEL_HLSL11_DEFAULT, text.stage, text.text, false, out));
        }
    });
}

// A pixel shader of a description with one output, "color", grown in one
// direction: N functions each calling the one before, N local declarations
// each reading the one before, or N statements.
enum class Growth { Functions, Declarations, Statements };
const char* const kGrowthNames[] = {"functions", "declarations", "statements"};

std::string GrownShader(Growth growth, int count)
{
    std::string text;
    switch (growth) {
    case Growth::Functions:
        text += "float f0(float x)\n{\n\treturn x + 1.0;\n}\n";
        for (int i = 1; i < count; ++i) {
            text += "float f" + std::to_string(i) + "(float x)\n{\n\treturn f" + std::to_string(i - 1) +
                    "(x) * 0.5 + 1.0;\n}\n";
        }
        text += "void main()\n{\n\toutput.color = float4(f" + std::to_string(count - 1) + "(1.0));\n}\n";
        break;
    case Growth::Declarations:
        text += "void main()\n{\n\tfloat v0 = 1.0;\n";
        for (int i = 1; i < count; ++i) {
            text += "\tfloat v" + std::to_string(i) + " = v" + std::to_string(i - 1) + " * 0.5 + 1.0;\n";
        }
        text += "\toutput.color = float4(v" + std::to_string(count - 1) + ");\n}\n";
        break;
    case Growth::Statements:
        text += "void main()\n{\n\tfloat x = 1.0;\n";
        for (int i = 0; i < count; ++i) text += "\tx = x * 0.5 + 1.0;\n";
        text += "\toutput.color = float4(x);\n}\n";
        break;
    }
    return text;
}

ShaderDescription ColorOutputDescription()
{
    ShaderDescription description;
    description.version = 0x20004;
    description.pixelOutput.Add("color");
    return description;
}

void BM_TranslateGrownShader(benchmark::State& state, Growth growth, int count, const std::string& name)
{
    const ShaderDescription description = ColorOutputDescription();
    const std::string text = GrownShader(growth, count);
    ShaderSource source;
    source.path = "grown.hvsl";
    source.text = text.c_str();
    source.firstLine = 1;
    source.targetMask = TARGET_MASK_ALL;
    source.stage = STAGE_PIXEL;
    FrontEnd frontEnd;
    std::unique_ptr<Translator> translator(CreateTranslator(TARGET_HLSL11, &frontEnd.stepLog));
    const Array<String> definitions;
    bool translated = true;
    Measure(state, name, [&] {
        frontEnd.stepLog.Clear();
        String output;
        translated = RunFrontEnd(frontEnd, description, source, TARGET_HLSL11, definitions) &&
                     TranslateTree(*translator, description, frontEnd.parse.root, FEATURE_LEVEL_HLSL11_DEFAULT,
                                   TARGET_HLSL11, STAGE_PIXEL, output);
        benchmark::DoNotOptimize(output);
    });
    if (!translated) state.SkipWithError(frontEnd.stepLog.text.GetText());
}

std::string GrownName(Growth growth, int count)
{
    return std::string("grown ") + kGrowthNames[static_cast<int>(growth)] + " " + std::to_string(count);
}

// The least-squares slope of log(time) over log(N).
double FittedExponent(Growth growth)
{
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    int points = 0;
    for (int count : kSizes) {
        const double fastest = g_fastest[GrownName(growth, count)];
        if (fastest <= 0) return 0;
        const double x = std::log(static_cast<double>(count));
        const double y = std::log(fastest);
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
        ++points;
    }
    return (points * sumXY - sumX * sumY) / (points * sumXX - sumX * sumX);
}

void PrintReport(size_t stageCount, uint32_t allTargets)
{
    const double one = g_fastest["translate HLSL11"];
    const double all = g_fastest["translate all"];
    const double compile = g_fastest["compile HLSL11"];
    if (one > 0 && all > 0) {
        int targetCount = 0;
        for (int slot = 0; slot < TARGET_COUNT; ++slot) targetCount += (allTargets >> slot) & 1;
        std::printf("Corpus of %zu stages: HLSL11 %.3f ms, all %d translated targets %.3f ms, all / one = %.2f\n",
                    stageCount, one * 1000.0, targetCount, all * 1000.0, all / one);
    }
    if (one > 0 && compile > 0) {
        std::printf("Corpus for HLSL11: translation %.3f ms, compilation %.3f ms, translation / compilation = %.2f%%\n",
                    one * 1000.0, compile * 1000.0, 100.0 * one / compile);
    }
    for (Growth growth : {Growth::Functions, Growth::Declarations, Growth::Statements}) {
        if (FittedExponent(growth) == 0) continue;
        std::printf("Grown %-12s", kGrowthNames[static_cast<int>(growth)]);
        for (int count : kSizes) {
            std::printf("  N=%-5d %9.3f ms", count, g_fastest[GrownName(growth, count)] * 1000.0);
        }
        std::printf("  exponent %.2f\n", FittedExponent(growth));
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
    const uint32_t allTargets = TranslatedTargets();

    benchmark::RegisterBenchmark("TranslateCorpus/HLSL11", BM_TranslateCorpus, "translate HLSL11", TARGET_HLSL11);
    benchmark::RegisterBenchmark("TranslateCorpus/AllTranslatedTargets", BM_TranslateCorpus, "translate all",
                                 allTargets);
    benchmark::RegisterBenchmark("CompileCorpus/HLSL11", BM_CompileCorpus, &texts);
    for (Growth growth : {Growth::Functions, Growth::Declarations, Growth::Statements}) {
        for (int count : kSizes) {
            const std::string name = GrownName(growth, count);
            benchmark::RegisterBenchmark(
                ("TranslateGrown/" + std::string(kGrowthNames[static_cast<int>(growth)]) + "/" + std::to_string(count))
                    .c_str(),
                BM_TranslateGrownShader, growth, count, name)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    PrintReport(texts.size(), allTargets);
    std::filesystem::remove_all(folder);
    return 0;
}
