#include "Platform/Linux/SandboxedProcess.h"

#include "TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

// A /proc of its own: sandboxes with their own process 2, told apart only by their namespaces.
class SandboxedProcessTest : public ::testing::Test {
protected:
    void addProcess(int pid, std::uint64_t namespaceInode, const std::string& nspid)
    {
        auto directory = m_proc.path() / std::to_string(pid);
        std::filesystem::create_directories(directory / "ns");
        std::filesystem::create_symlink(
            "pid:[" + std::to_string(namespaceInode) + "]", directory / "ns" / "pid");
        std::ofstream(directory / "status")
            << "Name:\tWebKitWebProces\nNSpid:\t" << nspid << "\nNSpgid:\t1\n";
    }

    TemporaryDirectory m_proc;
};

TEST_F(SandboxedProcessTest, FindsTheProcessByItsNamespaceAndInnerId)
{
    addProcess(501, 111, "501\t2");
    addProcess(600, 222, "600\t2");
    addProcess(700, 333, "700\t40\t2");
    EXPECT_EQ(hostProcessId({ 2, 111 }, m_proc.path()), 501);
    EXPECT_EQ(hostProcessId({ 2, 222 }, m_proc.path()), 600);
    EXPECT_EQ(hostProcessId({ 2, 333 }, m_proc.path()), 700);
    EXPECT_EQ(hostProcessId({ 3, 111 }, m_proc.path()), std::nullopt);
}

} // namespace
} // namespace cohortex
