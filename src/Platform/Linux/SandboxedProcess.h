#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// Where a process sandboxed in a PID namespace of its own really is. A process inside such a namespace
// knows only its own view: its id there (getpid) and the namespace's inode (the link /proc/self/ns/pid,
// "pid:[<inode>]"). This process finds it among its own /proc entries by both: the entry whose ns/pid
// names the same inode and whose "NSpid:" line in status ends with the inner id. Namespaces nest, and
// several sandboxes each have their own process 2, so the inner id alone is ambiguous.
struct NamespacedProcess {
    std::int32_t innerPid{ 0 };
    std::uint64_t pidNamespaceInode{ 0 };
};

// This process's id for it, absent when no live process matches. Reads the directory given, so tests
// can pass a tree of their own; the real one is /proc.
std::optional<std::int32_t> hostProcessId(
    const NamespacedProcess&, const std::filesystem::path& procRoot = "/proc");

// The inode of a namespace link's text "pid:[4026531836]"; absent for anything else.
std::optional<std::uint64_t> namespaceInode(std::string_view linkText);

} // namespace cohortex
