// Loading XML databases through the data manager beside a bare pugixml parse
// of the same text, and the scrambled container beside the plain file.
// Prints, per database, the processor time and peak heap memory of each and
// their ratio.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

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
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<database>\n\t<array id=\"SCORES\" kind=\"daily\">\n";
    char line[256];
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(line, sizeof line,
                      "\t\t<node id=\"entry_%d\" player=\"Player %d\" points=\"%d\" date=\"2026-12-%02d\" rank=\"%d\"/>\n",
                      i, i * 7 % 100003, (i * 7919) % 1000000, i % 28 + 1, i + 1);
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
                text += "<![CDATA[float4 main(float4 position : POSITION) : SV_Position { return position * "
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

struct Timing {
    double seconds = 0;
    int64_t runs = 0;
    double PerRun() const { return runs > 0 ? seconds / double(runs) : 0; }
};
Timing g_timings[kSampleCount][kWayCount];

// Loads the sample the given way and returns the processor seconds of the
// load alone; what was built is destroyed after the clock stops.
double LoadOnce(const Sample& sample, Way way)
{
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
    benchmark::DoNotOptimize(HVI_LoadDatabaseFromBytes(
        "bench", sample.name, scrambled ? sample.scrambled.GetData() : plain,
        scrambled ? sample.scrambled.GetSize() : int64_t(sample.text.size()), database));
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

void Load(benchmark::State& state, int sampleIndex, Way way)
{
    for (auto _ : state) {
        Timing& timing = g_timings[sampleIndex][way];
        timing.seconds += LoadOnce(g_samples[sampleIndex], way);
        ++timing.runs;
    }
}

// Peak heap bytes taken during the load; the text itself is not counted.
int64_t PeakBytesOfLoad(const Sample& sample, Way way)
{
    HVB_StartCountingAllocations();
    LoadOnce(sample, way);
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
        const Timing* timing = g_timings[s];
        std::printf("%s (%.1f MB):\n", sample.name, double(sample.text.size()) / 1e6);
        if (timing[kPugixml].runs > 0 && timing[kDataManager].runs > 0) {
            std::printf("  time: pugixml %.2f ms, data manager %.2f ms, data manager / pugixml = %.2f\n",
                        timing[kPugixml].PerRun() * 1e3, timing[kDataManager].PerRun() * 1e3,
                        timing[kDataManager].PerRun() / timing[kPugixml].PerRun());
        }
        if (timing[kDataManager].runs > 0 && timing[kScrambled].runs > 0) {
            std::printf("  time: scrambled %.2f ms, scrambled / plain = %.3f\n", timing[kScrambled].PerRun() * 1e3,
                        timing[kScrambled].PerRun() / timing[kDataManager].PerRun());
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
            std::printf("  peak heap: pugixml %.1f MB, data manager %.1f MB, data manager / pugixml = %.2f; "
                        "the loaded database keeps %.1f MB\n",
                        double(pugixml) / 1e6, double(manager) / 1e6, double(manager) / double(pugixml),
                        double(kept) / 1e6);
        }
    }
    return 0;
}
