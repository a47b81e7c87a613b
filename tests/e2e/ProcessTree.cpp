#include "ProcessTree.h"

#include "Platform/Linux/ProcMemory.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace cohortex {

namespace {

struct ProcessStatus {
    char state{ 0 };
    pid_t parent{ 0 };
    unsigned long long userTicks{ 0 };
    unsigned long long systemTicks{ 0 };
};

// Fields 3, 4, 14 and 15 of /proc/<pid>/stat. The second one, the command name in parentheses, may
// itself hold spaces and parentheses, so fields are counted from the last ")".
std::optional<ProcessStatus> statusOf(const std::filesystem::path& statFile)
{
    std::ifstream stream(statFile);
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    auto close = text.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream rest(text.substr(close + 1));
    ProcessStatus status;
    if (!(rest >> status.state >> status.parent))
        return std::nullopt;
    std::string skipped;
    for (int field = 5; field <= 13; ++field)
        rest >> skipped;
    rest >> status.userTicks >> status.systemTicks;
    return status;
}

std::multimap<pid_t, pid_t> childrenByParent()
{
    std::multimap<pid_t, pid_t> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const auto name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (auto status = statusOf(entry.path() / "stat"))
            children.emplace(status->parent, static_cast<pid_t>(std::stol(name)));
    }
    return children;
}

// A zombie holds no memory any more; whether its new parent has reaped it yet does not matter here.
bool isAlive(pid_t process)
{
    auto status = statusOf("/proc/" + std::to_string(process) + "/stat");
    return status && status->state != 'Z';
}

} // namespace

std::vector<pid_t> processTree(pid_t root)
{
    // Parent id 0 would gather the kernel's own threads.
    if (root <= 0)
        return {};
    const auto children = childrenByParent();
    std::vector<pid_t> tree{ root };
    for (std::size_t next = 0; next < tree.size(); ++next) {
        auto [first, last] = children.equal_range(tree[next]);
        for (auto child = first; child != last; ++child)
            tree.push_back(child->second);
    }
    return tree;
}

double processTreePssMB(pid_t root)
{
    ProcMemory memory;
    double total = 0;
    for (pid_t process : processTree(root))
        total += memory.footprintMB(process).value_or(0);
    return total;
}

std::chrono::milliseconds processTreeCpuTime(pid_t root)
{
    static const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    unsigned long long ticks = 0;
    for (pid_t process : processTree(root))
        if (auto status = statusOf("/proc/" + std::to_string(process) + "/stat"))
            ticks += status->userTicks + status->systemTicks;
    return std::chrono::milliseconds(ticks * 1000 / static_cast<unsigned long long>(ticksPerSecond));
}

bool waitUntilGone(const std::vector<pid_t>& processes, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (pid_t process : processes) {
        while (isAlive(process)) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    return true;
}

} // namespace cohortex
