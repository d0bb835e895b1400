// The machine's load average as the benches print it beside their figures: the machine may be
// shared, and wall time suffers first.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string loadAverage() {
    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) != 3) {
        return "unknown";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %.2f %.2f", load[0], load[1], load[2]);
    return text;
}
