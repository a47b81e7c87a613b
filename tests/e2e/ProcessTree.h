#pragma once

#include <chrono>
#include <sys/types.h>
#include <vector>

namespace cohortex {

// A browser is more than its own process: WebKit's web and network processes (and the sandbox's helpers
// between them) are its descendants, so memory is summed over the whole tree.

// The root first, then every descendant found through the parent ids in /proc/<pid>/stat.
std::vector<pid_t> processTree(pid_t root);

// The sum of "Pss" over the tree, in MB; a process that ends while the tree is walked counts as 0.
double processTreePssMB(pid_t root);

// User and system time used so far; a process that ends takes its share with it.
std::chrono::milliseconds processTreeCpuTime(pid_t root);

// Descendants outlive their parent for a moment, and one run's leftovers must not count in the next.
bool waitUntilGone(const std::vector<pid_t>& processes, std::chrono::milliseconds limit);

} // namespace cohortex
