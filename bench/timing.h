#pragma once
// The clock and the summary line the benchmarks share.

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace tavrel::bench {

inline double ticksPerMicrosecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1e6;
}

inline long long now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

// "<what> median … p99 … max … (<count> <noun>)", samples in microseconds.
inline void printStats(const char* what, std::vector<double>& samples, const char* noun = "events") {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<std::size_t>(q * (samples.size() - 1))]; };
    std::printf("%-48s median %7.2f us   p99 %7.2f us   max %8.2f us   (%zu %s)\n", what, at(0.5), at(0.99),
                samples.back(), samples.size(), noun);
}

}  // namespace tavrel::bench
