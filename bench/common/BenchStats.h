#pragma once
// The statistics every benchmark prints: medians and percentiles of repeated, interleaved
// measurements, and the processor time of the calling thread.

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <vector>

namespace BenchStats {

inline double Percentile(std::vector<double> samples, double fraction) {
    std::sort(samples.begin(), samples.end());
    const auto rank =
        static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1) + 0.5);
    return samples[rank];
}

// The middle value; of an even count, the upper of the two middle ones.
inline double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

inline double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The figures over their targets, each named on standard error; the process's exit status.
class Targets {
public:
    void Check(bool within, const char* figure) {
        if (!within) {
            std::fprintf(stderr, "over target: %s\n", figure);
            met_ = false;
        }
    }
    int ExitCode() const { return met_ ? 0 : 1; }

private:
    bool met_ = true;
};

} // namespace BenchStats
