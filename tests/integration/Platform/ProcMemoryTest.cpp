#include "Platform/Linux/ProcMemory.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cohortex {
namespace {

TEST(ProcMemoryTest, ReadsOnlyAWellFormedPssLine)
{
    constexpr const char* rollup
        = "55e8dedd6000-7ffc88b71000 ---p 00000000 00:00 0    [rollup]\n"
          "Rss:                1636 kB\nPss:                 262 kB\n"
          "Pss_Dirty:           116 kB\nPss_Anon:            116 kB\nSwapPss:               0 kB\n";
    EXPECT_EQ(pssMBFromSmapsRollup(rollup), 262.0 / 1024);
    EXPECT_EQ(pssMBFromSmapsRollup("Rss: 4 kB\nPss:\t1048576 kB"), 1024.0);
    for (const char* text : { "SwapPss: 8 kB\nPss_Anon: 8 kB\n", "Pss:  kB\n", "Pss: 12 MB\n",
             "Pss: -12 kB\n", "Pss: 12 kB 3\n", "Pss: 184467440737095516160 kB\n" })
        EXPECT_EQ(pssMBFromSmapsRollup(text), std::nullopt) << text;
}

char* volatile escapedBlock = nullptr;

TEST(ProcMemoryTest, OwnFootprintGrowsByTheMemoryThisProcessTouches)
{
    ProcMemory memory;
    double before = memory.ownMB();
    EXPECT_GT(before, 0);

    // Private pages that are written count in full, so the figure shows the unit is really MB.
    constexpr std::size_t size = 64 * 1024 * 1024;
    auto block = std::make_unique<char[]>(size);
    // Publishing the address keeps the compiler from dropping writes that nothing seems to read.
    escapedBlock = block.get();
    std::memset(block.get(), 1, size);
    double after = memory.ownMB();
    EXPECT_GT(after - before, 60.0);
    EXPECT_LT(after - before, 72.0);
}

TEST(ProcMemoryTest, ChildIsReadableWhileAliveAndAbsentOnceReaped)
{
    ProcMemory memory;
    const char* arguments[] = { "/bin/sleep", "5", nullptr };
    pid_t child = 0;
    ASSERT_EQ(
        ::posix_spawn(&child, "/bin/sleep", nullptr, nullptr, const_cast<char**>(arguments), environ), 0);
    auto alive = memory.footprintMB(child);

    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    ASSERT_TRUE(alive);
    EXPECT_GT(*alive, 0);
    EXPECT_FALSE(memory.footprintMB(child));
    EXPECT_FALSE(memory.footprintMB(0));
    EXPECT_FALSE(memory.footprintMB(-1));
}

} // namespace
} // namespace cohortex
