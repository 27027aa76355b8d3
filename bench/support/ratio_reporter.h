#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// The console report, keeping each benchmark's CPU and wall-clock time per
// iteration (the median of its repetitions when it was repeated) so that the
// program can print how the measured parts compare.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // The first benchmark's CPU time over the second's; 0 when either did not run.
    double Ratio(const std::string& numerator, const std::string& denominator) const;
    // The same of wall-clock times, for work done beside the calling thread (a GPU's).
    double WallTimeRatio(const std::string& numerator, const std::string& denominator) const;
    // A benchmark's wall-clock time per iteration, in its time unit; 0 when it did not run.
    double WallTime(const std::string& name) const;

private:
    std::map<std::string, double> m_cpuTimes;
    std::map<std::string, double> m_wallTimes;
};
