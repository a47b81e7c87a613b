#include "Platform/Linux/ProcMemory.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cohortex {
namespace {

struct SmapsCase {
    const char* name;
    const char* text;
    std::optional<double> expectedMB;
};

class PssParsingTest : public ::testing::TestWithParam<SmapsCase> { };

TEST_P(PssParsingTest, ReadsOnlyAWellFormedPssLine)
{
    EXPECT_EQ(pssMBFromSmapsRollup(GetParam().text), GetParam().expectedMB);
}

constexpr const char* rollup = "55e8dedd6000-7ffc88b71000 ---p 00000000 00:00 0    [rollup]\n"
                               "Rss:                1636 kB\n"
                               "Pss:                 262 kB\n"
                               "Pss_Dirty:           116 kB\n"
                               "Pss_Anon:            116 kB\n"
                               "SwapPss:               0 kB\n";

INSTANTIATE_TEST_SUITE_P(Texts, PssParsingTest,
    ::testing::Values(SmapsCase{ "Kernel", rollup, 262.0 / 1024 },
        SmapsCase{ "LastLineWithoutNewline", "Rss: 4 kB\nPss:\t1048576 kB", 1024.0 },
        SmapsCase{ "OnlyOtherPssFigures", "SwapPss: 8 kB\nPss_Anon: 8 kB\n", std::nullopt },
        SmapsCase{ "NoNumber", "Pss:  kB\n", std::nullopt },
        SmapsCase{ "OtherUnit", "Pss: 12 MB\n", std::nullopt },
        SmapsCase{ "Negative", "Pss: -12 kB\n", std::nullopt },
        SmapsCase{ "TrailingText", "Pss: 12 kB 3\n", std::nullopt },
        SmapsCase{ "Overflowing", "Pss: 184467440737095516160 kB\n", std::nullopt }),
    [](const auto& info) { return std::string(info.param.name); });

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
