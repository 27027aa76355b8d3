#include "grown_jobs.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

#include "fastest_runs.h"
#include "shadertool/driver/front_end.h"
#include "shadertool/translators/translate_tree.h"
#include "shadertool/translators/translator_factory.h"

using namespace ShaderTool;

namespace {

constexpr int kSizes[] = {100, 1000, 10000, 20000};
enum class Growth { Functions, Declarations, Statements };
constexpr Growth kGrowths[] = {Growth::Functions, Growth::Declarations, Growth::Statements};
const char* const kGrowthNames[] = {"functions", "declarations", "statements"};
const char* const kFrontEnd = "front end";

const char* GrowthName(Growth growth) { return kGrowthNames[static_cast<int>(growth)]; }

// A pixel shader with one output, "color", grown in one direction: N
// functions each calling the one before, N local declarations each reading
// the one before, or N statements.
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

std::string PartJob(Growth growth, int count, const char* part)
{
    return std::string("grown ") + GrowthName(growth) + " " + std::to_string(count) + " " + part;
}

void BM_TranslateGrownShader(benchmark::State& state, Growth growth, int count)
{
    ShaderDescription description;
    description.version = 0x20004;
    description.pixelOutput.Add("color");
    const std::string text = GrownShader(growth, count);
    ShaderSource source;
    source.path = "grown.hvsl";
    source.text = text.c_str();
    source.firstLine = 1;
    source.targetMask = TARGET_MASK_ALL;
    source.stage = STAGE_PIXEL;
    FrontEnd frontEnd;
    std::unique_ptr<Translator> translators[TARGET_COUNT];
    for (int slot = 0; slot < TARGET_COUNT; ++slot)
        translators[slot].reset(CreateTranslator(1u << slot, &frontEnd.stepLog));
    const Array<String> definitions;
    bool translated = true;
    for (auto _ : state) {
        frontEnd.stepLog.Clear();
        KeepFastest(PartJob(growth, count, kFrontEnd), TimeCall([&] {
                        translated = RunFrontEnd(frontEnd, description, source, TARGET_HLSL11, definitions);
                    }));
        for (int slot = 0; slot < TARGET_COUNT && translated; ++slot) {
            const uint32_t bit = 1u << slot;
            String output;
            KeepFastest(PartJob(growth, count, GetTargetName(bit)), TimeCall([&] {
                            translated = TranslateTree(*translators[slot], description, frontEnd.parse.root,
                                                       FEATURE_LEVEL_HLSL11_DEFAULT, bit, STAGE_PIXEL, output);
                        }));
            benchmark::DoNotOptimize(output);
        }
        if (!translated) break;
    }
    if (!translated) state.SkipWithError(frontEnd.stepLog.text.GetText());
}

double GrowthExponent(Growth growth, const std::string& part)
{
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    const double points = std::size(kSizes);
    for (int count : kSizes) {
        const double fastest = g_fastest[PartJob(growth, count, part.c_str())];
        if (fastest <= 0) return 0;
        const double x = std::log(static_cast<double>(count));
        const double y = std::log(fastest);
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    return (points * sumXY - sumX * sumY) / (points * sumXX - sumX * sumX);
}

std::vector<std::string> Parts()
{
    std::vector<std::string> parts = {kFrontEnd};
    for (int slot = 0; slot < TARGET_COUNT; ++slot) parts.push_back(GetTargetName(1u << slot));
    return parts;
}

}  // namespace

double WorstGrowthExponent(const std::string& part, std::string& shape)
{
    double worst = 0;
    for (Growth growth : kGrowths) {
        const double exponent = GrowthExponent(growth, part);
        if (exponent > worst) {
            worst = exponent;
            shape = GrowthName(growth);
        }
    }
    return worst;
}

double WorstGrowthExponent(std::string& where)
{
    double worst = 0;
    for (const std::string& part : Parts()) {
        std::string shape;
        const double exponent = WorstGrowthExponent(part, shape);
        if (exponent > worst) {
            worst = exponent;
            where = part + ", " + shape;
        }
    }
    return worst;
}

void RegisterGrownJobs()
{
    for (Growth growth : kGrowths) {
        for (int count : kSizes) {
            const std::string name = std::string("Grown/") + GrowthName(growth) + "/" + std::to_string(count);
            benchmark::RegisterBenchmark(name.c_str(), BM_TranslateGrownShader, growth, count)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

void PrintGrowthTable()
{
    std::printf("  %-12s %-9s", "shape", "part");
    for (int count : kSizes) std::printf(" %8d", count);
    std::printf("  fitted  exponent of each step\n");
    for (Growth growth : kGrowths) {
        for (const std::string& part : Parts()) {
            const double exponent = GrowthExponent(growth, part);
            if (exponent == 0) continue;
            std::printf("  %-12s %-9s", GrowthName(growth), part.c_str());
            for (int count : kSizes) {
                std::printf(" %8.3f", g_fastest[PartJob(growth, count, part.c_str())] * 1000.0);
            }
            std::printf("  %5.2f  ", exponent);
            // The exponent from each size to the next: where the growth departs from linear.
            for (size_t step = 1; step < std::size(kSizes); ++step) {
                const double before = g_fastest[PartJob(growth, kSizes[step - 1], part.c_str())];
                const double after = g_fastest[PartJob(growth, kSizes[step], part.c_str())];
                std::printf(" %5.2f", std::log(after / before) / std::log(double(kSizes[step]) / kSizes[step - 1]));
            }
            std::printf("\n");
        }
    }
}
