// The fastest run of each measured job, in seconds, by name. Wall time,
// because the compiler does its work in a child process; the fastest run,
// because on a shared machine it is the one least disturbed by other work.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <string>

inline std::map<std::string, double> g_fastest;

inline void KeepFastest(const std::string& name, double seconds)
{
    double& fastest = g_fastest[name];
    if (fastest == 0 || seconds < fastest) fastest = seconds;
}

// Seconds one call of the job takes.
template <typename Job>
double TimeCall(Job job)
{
    const auto start = std::chrono::steady_clock::now();
    job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs the job once per benchmark iteration, keeping its fastest run under the name.
template <typename Job>
void Measure(benchmark::State& state, const std::string& name, Job job)
{
    for (auto _ : state) KeepFastest(name, TimeCall(job));
}
