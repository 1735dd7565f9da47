// SPDX-License-Identifier: MIT
// CPU time of a process, read from /proc, for the whole-process benchmark drivers.
#pragma once

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace pelorix::bench {

// CPU seconds (user + system) that process `pid` ("self" for this one) has used; 0 when unknown.
inline double cpuSeconds(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/stat");
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name in parentheses may hold blanks; the fields start after its closing one.
    const auto close = all.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(all.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace pelorix::bench
