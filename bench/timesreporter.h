#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

// The console reporter of the benchmark programs: it keeps every run's real and CPU time
// (in the benchmark's own unit), so that a program can print its ratios against a
// baseline measured in the same run.
class CTimesReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred && run.iterations > 0) {
                m_real[run.benchmark_name()] = run.GetAdjustedRealTime();
                m_cpu[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
    }

protected:
    // The time of the first run, in name order, whose name begins with `prefix`; 0 when
    // none ran.
    double RealTime(const std::string& prefix) const { return Find(m_real, prefix); }
    double CpuTime(const std::string& prefix) const { return Find(m_cpu, prefix); }

private:
    static double Find(const std::map<std::string, double>& times, const std::string& prefix)
    {
        for (const auto& [name, time] : times)
            if (name.rfind(prefix, 0) == 0)
                return time;
        return 0;
    }

    std::map<std::string, double> m_real;
    std::map<std::string, double> m_cpu;
};
