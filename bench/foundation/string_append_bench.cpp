// Building a long text by appending, to String beside std::string doing the
// same appends. Prints, per length, String's time over std::string's and the
// exponent of String's time fitted across the lengths (1 is linear).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/string.h"

namespace {

const int64_t kLengths[] = {10000, 100000, 1000000};
constexpr int kLengthCount = sizeof kLengths / sizeof kLengths[0];

// Seconds per built text, summed over the runs the benchmark library made.
struct Timing {
    double seconds = 0;
    int64_t runs = 0;
    double PerRun() const { return runs > 0 ? seconds / double(runs) : 0; }
};
Timing g_ours[kLengthCount];
Timing g_reference[kLengthCount];

// A text built as the translators build theirs: words, punctuation and
// indentation a character at a time.
template <class Text, class AppendWord, class AppendChar>
void BuildText(int64_t length, Text& text, AppendWord appendWord, AppendChar appendChar)
{
    int64_t built = 0;
    while (built < length) {
        for (int indent = 0; indent < 4; ++indent) appendChar(text, ' ');
        appendWord(text, "float4 position = mul(matrix, input);");
        appendChar(text, '\n');
        built += 4 + 37 + 1;
    }
}

template <class Text, class AppendWord, class AppendChar>
void Measure(benchmark::State& state, Timing* timings, AppendWord appendWord, AppendChar appendChar)
{
    const int index = int(state.range(0));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Text text;
        BuildText(kLengths[index], text, appendWord, appendChar);
        benchmark::DoNotOptimize(text);
        timings[index].seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++timings[index].runs;
    }
    state.counters["length"] = double(kLengths[index]);
}

void AppendToString(benchmark::State& state)
{
    Measure<String>(
        state, g_ours, [](String& text, const char* word) { text.Append(word); },
        [](String& text, char character) { text.AppendChar(character); });
}

void AppendToStdString(benchmark::State& state)
{
    Measure<std::string>(
        state, g_reference, [](std::string& text, const char* word) { text.append(word); },
        [](std::string& text, char character) { text.push_back(character); });
}

// Least-squares slope of log(time) over log(length).
double FittedExponent(const Timing* timings)
{
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (int i = 0; i < kLengthCount; ++i) {
        const double x = std::log(double(kLengths[i]));
        const double y = std::log(timings[i].PerRun());
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    return (kLengthCount * sumXY - sumX * sumY) / (kLengthCount * sumXX - sumX * sumX);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("AppendToString", AppendToString)->DenseRange(0, kLengthCount - 1);
    benchmark::RegisterBenchmark("AppendToStdString", AppendToStdString)->DenseRange(0, kLengthCount - 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    bool complete = true;
    for (int i = 0; i < kLengthCount; ++i) {
        complete = complete && g_ours[i].runs > 0 && g_reference[i].runs > 0;
        if (g_ours[i].runs > 0 && g_reference[i].runs > 0) {
            std::printf("text of %lld characters: String %.3f ms, std::string %.3f ms, String / std::string = %.2f\n",
                        static_cast<long long>(kLengths[i]), g_ours[i].PerRun() * 1000.0,
                        g_reference[i].PerRun() * 1000.0, g_ours[i].PerRun() / g_reference[i].PerRun());
        }
    }
    if (complete) {
        std::printf("fitted exponent of time over length: String %.2f, std::string %.2f\n", FittedExponent(g_ours),
                    FittedExponent(g_reference));
    }
    return 0;
}
