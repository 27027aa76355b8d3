// The shader translator's speed. After the Google Benchmark table it prints
// the three figures the translator is held to, from the fastest run of each
// job, followed by the numbers they come from:
// - translation / compilation: the corpus translated for HLSL11 beside the
//   compiling of its HLSL11 texts through the HLSL compiler binding (at most 3%);
// - growth: the exponent of the time over the source size, fitted over
//   shaders grown to N = 100, 1,000, 10,000 and 20,000, for the front end and every
//   translator; the worst one (1 is linear);
// - nine targets / one: the files that translate for every target, for all
//   nine at once beside HLSL11 alone (at most 2).
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "corpus_jobs.h"
#include "fastest_runs.h"
#include "filesystem/scheme_roots.h"
#include "grown_jobs.h"
#include "shadertool/driver/driver.h"

using namespace ShaderTool;

namespace {

// Pixel textures of the corpus name their bitmaps; any name is one here.
void* AnyBitmap(const char* /*name*/)
{
    static int bitmap;
    return &bitmap;
}

double Ratio(const std::string& numerator, const std::string& denominator)
{
    const double bottom = g_fastest[denominator];
    return bottom > 0 ? g_fastest[numerator] / bottom : 0;
}

double Milliseconds(const std::string& job) { return g_fastest[job] * 1000.0; }

void PrintReport(const Corpus& corpus)
{
    std::string worstPart;
    const double exponent = WorstGrowthExponent(worstPart);
    std::printf("\nShader translation figures (limits in brackets):\n");
    std::printf("  translation / compilation, HLSL11:        %6.2f%%  [at most 3%%]\n",
                100.0 * Ratio(kTranslateHLSL11, kCompileHLSL11));
    std::printf("  growth exponent over source size, worst:  %6.2f   [1 is linear] (%s)\n", exponent,
                worstPart.c_str());
    std::printf("  nine targets / one target (HLSL11):       %6.2f   [at most 2]\n",
                Ratio(kNineTargets, OneTargetJob(TARGET_HLSL11)));

    std::printf(
        "\nTranslation / compilation: %zu files, %zu stages for HLSL11: translation %.3f ms, compilation "
        "%.3f ms\n",
        corpus.hlsl11Files.size(), corpus.hlsl11Texts.size(), Milliseconds(kTranslateHLSL11),
        Milliseconds(kCompileHLSL11));
    std::printf("Nine targets / one: %zu files translate for every target:", corpus.nineTargetFiles.size());
    for (const std::string& path : corpus.nineTargetFiles) std::printf(" %s", path.c_str());
    std::printf("\n  all nine at once %.3f ms; alone:", Milliseconds(kNineTargets));
    double sum = 0;
    for (uint32_t bit = 1; bit <= TARGET_SPIRV; bit <<= 1) {
        std::printf(" %s %.3f", GetTargetName(bit), Milliseconds(OneTargetJob(bit)));
        sum += g_fastest[OneTargetJob(bit)];
    }
    std::printf(" ms (sum %.3f ms)\n", sum * 1000.0);
    std::printf("Growth, fastest time in ms for N functions, declarations or statements:\n");
    PrintGrowthTable();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "halvo-bench-shadertool";
    HVI_SetSchemeRoot(HV_PATH_SCHEME_RES, folder.string().c_str());
    GetGlobalState().reader.SetBitmapGetter(AnyBitmap);
    if (GetEnvironmentVariableA("HALVO_LIBRARY_PATH", nullptr, 0) == 0) {
        SetEnvironmentVariableA("HALVO_LIBRARY_PATH", HALVO_MODULE_DIR);
    }
    const Corpus corpus = PrepareCorpus(HALVO_SHADERXML_DIR, folder);
    RegisterCorpusJobs(corpus);
    RegisterGrownJobs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    PrintReport(corpus);
    std::filesystem::remove_all(folder);
    return 0;
}
