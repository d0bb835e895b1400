// Timing of the register's hot paths: each bench measures with the same clock and prints its
// figures the same way, so runs of different benches compare.
#pragma once

#include <chrono>
#include <functional>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start);

// The time of each of `times` runs of `step(i)`, in milliseconds, shortest first.
std::vector<double> times_ms(int times, const std::function<void(int)>& step);

// Runs `step` `times` times and prints the median and the 90th percentile in milliseconds.
void time_it(const char* what, int times, const std::function<void(int)>& step);

} // namespace bench
