// Speed of the containers that every table lookup and translation leans on.
#include <benchmark/benchmark.h>

#include "foundation/array.h"
#include "foundation/byte_buffer.h"
#include "foundation/string.h"
#include "foundation/string_map.h"
#include "foundation/text.h"

namespace {

void ArrayAddInts(benchmark::State& state)
{
    for (auto _ : state) {
        Array<int> values;
        for (int i = 0; i < state.range(0); ++i) values.Add(i);
        benchmark::DoNotOptimize(values.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ArrayAddInts)->Arg(1000)->Arg(100000);

void StringMapFindInInsertionOrder(benchmark::State& state)
{
    StringMap<int> map;
    for (int i = 0; i < state.range(0); ++i) map.GetOrAdd(String::Formatted("keyword_%d", i).GetText()) = i;
    const String last = String::Formatted("keyword_%d", int(state.range(0)) - 1);
    for (auto _ : state) benchmark::DoNotOptimize(map.Find(last.GetText()));
}
BENCHMARK(StringMapFindInInsertionOrder)->Arg(16)->Arg(256);

void HashNames(benchmark::State& state)
{
    const char* name = "textures/characters/hero_diffuse.png";
    for (auto _ : state) benchmark::DoNotOptimize(HVI_HashName(name));
}
BENCHMARK(HashNames);

void ByteBufferWriteAndReadStrings(benchmark::State& state)
{
    for (auto _ : state) {
        ByteBuffer buffer;
        for (int i = 0; i < 1000; ++i) buffer.WriteString("a shader constant name");
        String text;
        while (buffer.ReadString(text)) {}
        benchmark::DoNotOptimize(text.GetText());
    }
}
BENCHMARK(ByteBufferWriteAndReadStrings);

}  // namespace
