#include "ratio_reporter.h"

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        // With repetitions, the median of a benchmark's runs stands for it.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if ((run.run_type == Run::RT_Iteration || median) && !run.error_occurred) {
            m_cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
            m_wallTimes[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

namespace {

double TimeRatio(const std::map<std::string, double>& times, const std::string& numerator,
                 const std::string& denominator)
{
    const auto top = times.find(numerator);
    const auto bottom = times.find(denominator);
    if (top == times.end() || bottom == times.end() || bottom->second <= 0.0) {
        return 0.0;
    }
    return top->second / bottom->second;
}

}  // namespace

double RatioReporter::Ratio(const std::string& numerator, const std::string& denominator) const
{
    return TimeRatio(m_cpuTimes, numerator, denominator);
}

double RatioReporter::WallTimeRatio(const std::string& numerator, const std::string& denominator) const
{
    return TimeRatio(m_wallTimes, numerator, denominator);
}

double RatioReporter::WallTime(const std::string& name) const
{
    const auto found = m_wallTimes.find(name);
    return found != m_wallTimes.end() ? found->second : 0.0;
}
