#include "Platform/Linux/ProcMemory.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace cohortex {
namespace {

TEST(ProcMemoryTest, ReadsOnlyAWellFormedPssLine)
{
    EXPECT_EQ(
        pssMBFromSmapsRollup("Rss: 1636 kB\nPss_Dirty: 116 kB\nPss:\t262 kB\nSwapPss: 0 kB\n"), 262.0 / 1024);
    for (const char* text : { "SwapPss: 8 kB\nPss_Anon: 8 kB\n", "Pss:  kB\n", "Pss: 12 MB\n",
             "Pss: -12 kB\n", "Pss: 184467440737095516160 kB\n" })
        EXPECT_EQ(pssMBFromSmapsRollup(text), std::nullopt) << text;
}

char* volatile escapedBlock = nullptr;

// Written private pages count in full, so the growth shows the unit is really MB.
TEST(ProcMemoryTest, TheFootprintGrowsByTheMemoryTouchedAndAReapedChildHasNone)
{
    ProcMemory memory;
    double before = memory.ownMB();
    constexpr std::size_t size = 64 * 1024 * 1024;
    auto block = std::make_unique<char[]>(size);
    // Publishing the address keeps the compiler from dropping writes that nothing seems to read.
    escapedBlock = block.get();
    std::memset(block.get(), 1, size);
    EXPECT_GT(memory.ownMB() - before, 60.0);
    EXPECT_LT(memory.ownMB() - before, 72.0);

    const char* arguments[] = { "/bin/sleep", "5", nullptr };
    pid_t child = 0;
    ASSERT_EQ(
        ::posix_spawn(&child, "/bin/sleep", nullptr, nullptr, const_cast<char**>(arguments), environ), 0);
    auto alive = memory.footprintMB(child);
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    EXPECT_GT(alive.value_or(0), 0);
    EXPECT_FALSE(memory.footprintMB(child));
}

} // namespace
} // namespace cohortex
