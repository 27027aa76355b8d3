#include "ratio_reporter.h"

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
            m_cpuTimes[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::Ratio(const std::string& numerator, const std::string& denominator) const
{
    const auto top = m_cpuTimes.find(numerator);
    const auto bottom = m_cpuTimes.find(denominator);
    if (top == m_cpuTimes.end() || bottom == m_cpuTimes.end() || bottom->second <= 0.0) {
        return 0.0;
    }
    return top->second / bottom->second;
}
