#pragma once
// The median wall-clock time of a piece of work over a number of runs, for the benchmarks.
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MedianSeconds(const std::function<void()>& work, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
