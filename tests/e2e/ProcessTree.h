#pragma once

#include <chrono>
#include <sys/types.h>
#include <vector>

namespace cohortex {

// A browser is more than its own process: WebKit's web and network processes (and the sandbox's helpers
// between them) are its descendants, so memory is summed over the whole tree.

// The root first, then every descendant found through the parent ids in /proc/<pid>/stat; empty for a
// root that is no process id.
std::vector<pid_t> processTree(pid_t root);

// The sum of "Pss" in /proc/<pid>/smaps_rollup over the tree, in MB. A process that ends or cannot be
// read while the tree is walked counts as 0, since it no longer holds memory.
double processTreePssMB(pid_t root);

// The processor time the tree's processes have used so far, user and system. A process that ends takes
// its share with it, so compare two readings only over a time in which the tree kept its processes.
std::chrono::milliseconds processTreeCpuTime(pid_t root);

// Waits, without a main loop, until none of the processes exists any more; false when the limit passed.
// Descendants outlive their parent for a moment, and a benchmark must not measure one run's leftovers
// in the next.
bool waitUntilGone(const std::vector<pid_t>& processes, std::chrono::milliseconds limit);

} // namespace cohortex
