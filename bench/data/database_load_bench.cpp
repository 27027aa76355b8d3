// Loading XML databases through the data manager beside a bare pugixml parse
// of the same text, and the scrambled container beside the plain file.
// Prints, per database, the processor time and peak heap memory of each and
// their ratio; the times are medians of rounds that load the text each way
// in turn, so that a busy machine slows every way alike.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "allocation_counter.h"
#include "data/database_loader.h"
#include "data/scrambled_container.h"
#include "foundation/byte_buffer.h"

namespace {

// The options the data manager's reader parses with.
constexpr unsigned int kParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol |
                                       pugi::parse_wconv_attribute | pugi::parse_ws_pcdata_single;

struct Sample {
    const char* name;
    std::string text;
    ByteBuffer scrambled;
};

// A score list: one array of 100,000 nodes of five attributes each.
std::string ScoreDatabase()
{
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<database>\n\t<array id=\"SCORES\" kind=\"daily\">\n";
    char line[256];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(
            line, sizeof line,
            "\t\t<node id=\"entry_%d\" player=\"Player %d\" points=\"%d\" date=\"2026-12-%02d\" rank=\"%d\"/>\n", i,
            i * 7 % 100003, (i * 7919) % 1000000, i % 28 + 1, i + 1);
        text += line;
    }
    text += "\t</array>\n</database>\n";
    return text;
}

// About 10 MB in the shape of descriptions: 460 arrays with attributes, each
// of 100 nodes with a few attributes and a text, every fourth with CDATA.
std::string MixedDatabase()
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<database>\n";
    char line[512];
    for (int a = 0; a < 460; ++a) {
        std::snprintf(line, sizeof line, "\t<array id=\"SET_%d\" version=\"%d\" owner=\"tools\">\n", a, a % 9);
        text += line;
        for (int n = 0; n < 100; ++n) {
            std::snprintf(line, sizeof line,
                          "\t\t<node id=\"item_%d_%d\" kind=\"%s\" weight=\"%d.%d\">The item %d of set %d &amp; its "
                          "description, long enough to stand for a typical paragraph of help text in a file.",
                          a, n, n % 3 ? "texture" : "shader", n, a % 10, n, a);
            text += line;
            if (n % 4 == 0) {
                text +=
                    "<![CDATA[float4 main(float4 position : POSITION) : SV_Position { return position * "
                    "2.0; } // a few lines of source, the kind of text that CDATA holds in descriptions ]]>";
            }
            text += "</node>\n";
        }
        text += "\t</array>\n";
    }
    text += "</database>\n";
    return text;
}

Sample g_samples[] = {{"100,000 nodes", ScoreDatabase(), {}}, {"mixed", MixedDatabase(), {}}};
constexpr int kSampleCount = sizeof g_samples / sizeof g_samples[0];

enum Way { kPugixml, kDataManager, kScrambled, kWayCount };
const char* const kWayNames[] = {"pugixml parse", "data manager load", "data manager load, scrambled"};

constexpr int kRounds = 15;

// Loads the sample the given way and returns the processor seconds of the
// load alone; what was built is destroyed after the clock stops. With fresh
// memory, freed memory goes back to the system first, so that the load takes
// new pages as the first load of a program does; otherwise it reuses what
// the loads before it freed.
double LoadOnce(const Sample& sample, Way way, bool freshMemory)
{
    if (freshMemory) malloc_trim(0);
    const auto* plain = reinterpret_cast<const uint8_t*>(sample.text.data());
    // Processor time: the machine may be busy with other work.
    const std::clock_t start = std::clock();
    if (way == kPugixml) {
        pugi::xml_document document;
        benchmark::DoNotOptimize(document.load_buffer(plain, sample.text.size(), kParseOptions, pugi::encoding_auto));
        return double(std::clock() - start) / CLOCKS_PER_SEC;
    }
    DMDatabase database("bench");
    const bool scrambled = way == kScrambled;
    benchmark::DoNotOptimize(
        HVI_LoadDatabaseFromBytes("bench", sample.name, scrambled ? sample.scrambled.GetData() : plain,
                                  scrambled ? sample.scrambled.GetSize() : int64_t(sample.text.size()), database));
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

void Load(benchmark::State& state, int sampleIndex, Way way)
{
    for (auto _ : state) LoadOnce(g_samples[sampleIndex], way, false);
}

// The median processor seconds of each way over rounds of one load each.
void MedianSeconds(const Sample& sample, bool freshMemory, double (&seconds)[kWayCount])
{
    double times[kWayCount][kRounds];
    for (int round = 0; round < kRounds; ++round) {
        for (int way = 0; way < kWayCount; ++way) times[way][round] = LoadOnce(sample, Way(way), freshMemory);
    }
    for (int way = 0; way < kWayCount; ++way) {
        std::sort(times[way], times[way] + kRounds);
        seconds[way] = times[way][kRounds / 2];
    }
}

// Peak heap bytes taken during the load; the text itself is not counted.
int64_t PeakBytesOfLoad(const Sample& sample, Way way)
{
    HVB_StartCountingAllocations();
    LoadOnce(sample, way, false);
    HVB_StopCountingAllocations();
    return HVB_PeakBytes();
}

}  // namespace

int main(int argc, char** argv)
{
    for (Sample& sample : g_samples) {
        HVI_ScrambleIntoContainer(reinterpret_cast<const uint8_t*>(sample.text.data()), int(sample.text.size()),
                                  sample.scrambled);
    }
    for (int s = 0; s < kSampleCount; ++s) {
        for (int way = 0; way < kWayCount; ++way) {
            const std::string name = std::string(kWayNames[way]) + " / " + g_samples[s].name;
            benchmark::RegisterBenchmark(name.c_str(), Load, s, Way(way))->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    for (int s = 0; s < kSampleCount; ++s) {
        const Sample& sample = g_samples[s];
        std::printf("%s (%.1f MB), medians of %d rounds:\n", sample.name, double(sample.text.size()) / 1e6, kRounds);
        for (const bool freshMemory : {false, true}) {
            double seconds[kWayCount];
            MedianSeconds(sample, freshMemory, seconds);
            const char* memory = freshMemory ? "fresh memory" : "reused memory";
            std::printf("  time, %s: pugixml %.2f ms, data manager %.2f ms, data manager / pugixml = %.2f\n", memory,
                        seconds[kPugixml] * 1e3, seconds[kDataManager] * 1e3,
                        seconds[kDataManager] / seconds[kPugixml]);
            std::printf("  time, %s: scrambled %.2f ms, scrambled / plain = %.3f\n", memory, seconds[kScrambled] * 1e3,
                        seconds[kScrambled] / seconds[kDataManager]);
        }
        if (HVB_AllocationCounterAvailable()) {
            const int64_t pugixml = PeakBytesOfLoad(sample, kPugixml);
            const int64_t manager = PeakBytesOfLoad(sample, kDataManager);
            HVB_StartCountingAllocations();
            DMDatabase database("bench");
            HVI_LoadDatabaseFromBytes("bench", sample.name, reinterpret_cast<const uint8_t*>(sample.text.data()),
                                      int64_t(sample.text.size()), database);
            HVB_StopCountingAllocations();
            const int64_t kept = HVB_LiveBytes();
            std::printf(
                "  peak heap: pugixml %.1f MB, data manager %.1f MB, data manager / pugixml = %.2f; "
                "the loaded database keeps %.1f MB\n",
                double(pugixml) / 1e6, double(manager) / 1e6, double(manager) / double(pugixml), double(kept) / 1e6);
        }
    }
    return 0;
}
