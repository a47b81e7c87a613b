#include "Platform/Linux/LaunchTrace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

namespace cohortex {

namespace {

bool isTracing()
{
    static const bool tracing = [] {
        const char* debug = std::getenv("COHORTEX_DEBUG");
        return debug && std::strstr(debug, "launch") != nullptr;
    }();
    return tracing;
}

// Field 22 of /proc/self/stat: when the process started, in clock ticks since boot. The command name
// before it may hold spaces and parentheses, so the fields are counted from its closing parenthesis.
double processStartSeconds()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    auto end = line.rfind(')');
    if (end == std::string::npos)
        return 0;
    std::istringstream fields(line.substr(end + 2));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
        if (index == 22)
            return std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    return 0;
}

double secondsSinceBoot()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

} // namespace

void traceLaunch(std::string_view step)
{
    if (!isTracing())
        return;
    static const double start = processStartSeconds();
    static std::set<std::string, std::less<>> reached;
    if (reached.contains(step))
        return;
    reached.emplace(step);
    std::fprintf(stderr, "launch: %.0f %.*s\n", (secondsSinceBoot() - start) * 1000.0,
        static_cast<int>(step.size()), step.data());
}

} // namespace cohortex
