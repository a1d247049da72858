#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace sundrel::bench {

// Best of a few runs, in milliseconds: the least disturbed by the machine.
inline double bestMs(const std::function<void()>& work, int runs = 5) {
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

}  // namespace sundrel::bench
