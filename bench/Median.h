#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace corvanta::bench {

// Runs prepare (untimed), the timed step, then finish (untimed), runs times; returns the median
// time of the step in milliseconds.
inline double medianMs(int runs, const std::function<void()> &prepare,
    const std::function<void()> &step, const std::function<void()> &finish = {})
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        step();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (finish)
            finish();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace corvanta::bench
