#include "timing.h"

#include <algorithm>
#include <cstdio>

namespace bench {

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<double> times_ms(int times, const std::function<void(int)>& step) {
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        step(i);
        ms.push_back(1000 * seconds_since(start));
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

void time_it(const char* what, int times, const std::function<void(int)>& step) {
    const std::vector<double> ms = times_ms(times, step);
    std::printf("%-52s median %8.3f ms   90%% %8.3f ms   (%d runs)\n", what, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], times);
}

} // namespace bench
