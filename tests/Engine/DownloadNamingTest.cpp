#include "Engine/DownloadNaming.h"

#include "integration/Platform/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <set>

namespace cohortex {
namespace {

struct NameCase {
    std::string suggested;
    std::string expected;
};

class SafeFileNameTest : public ::testing::TestWithParam<NameCase> { };

TEST_P(SafeFileNameTest, KeepsAPlainNameInsideTheFolder)
{
    EXPECT_EQ(DownloadNaming::safeFileName(GetParam().suggested), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(SuggestedNames, SafeFileNameTest,
    ::testing::Values(NameCase{ "report.pdf", "report.pdf" }, NameCase{ "../../.bashrc", "bashrc" },
        NameCase{ ". .. .profile", "profile" }, NameCase{ "/etc/passwd", "passwd" },
        NameCase{ "..\\..\\evil.exe", "evil.exe" }, NameCase{ "bad\nname\x01.txt\x7f", "badname.txt" },
        NameCase{ "  spaced.txt\t", "spaced.txt" }, NameCase{ "", "download" }, NameCase{ ".", "download" },
        NameCase{ "..", "download" }, NameCase{ "folder/", "download" }, NameCase{ "a/..", "download" },
        NameCase{ "\r\n", "download" }));

TEST(SafeFileName, ShortensALongNameKeepingItsExtensionAndWholeCharacters)
{
    std::string longBase;
    for (int i = 0; i < 150; ++i)
        longBase += "é"; // two bytes each
    auto name = DownloadNaming::safeFileName(longBase + ".pdf");
    EXPECT_LE(name.size(), 200u);
    EXPECT_TRUE(name.ends_with("é.pdf")) << name;
}

struct NumberingCase {
    std::string suggested;
    std::set<std::string> existing;
    std::string expected;
};

class UniqueDestinationTest : public ::testing::TestWithParam<NumberingCase> { };

TEST_P(UniqueDestinationTest, NumbersTheNameUntilItIsFree)
{
    const std::filesystem::path folder = "/downloads";
    auto taken = [&](const std::filesystem::path& path) {
        return path.parent_path() == folder && GetParam().existing.contains(path.filename().string());
    };
    EXPECT_EQ(
        DownloadNaming::uniqueDestination(folder, GetParam().suggested, taken), folder / GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Collisions, UniqueDestinationTest,
    ::testing::Values(NumberingCase{ "report.pdf", {}, "report.pdf" },
        NumberingCase{ "report.pdf", { "report.pdf" }, "report (1).pdf" },
        NumberingCase{ "report.pdf", { "report.pdf", "report (1).pdf" }, "report (2).pdf" },
        NumberingCase{ "notes", { "notes" }, "notes (1)" },
        NumberingCase{ "archive.tar.gz", { "archive.tar.gz" }, "archive.tar (1).gz" },
        NumberingCase{ ".bashrc", { "bashrc" }, "bashrc (1)" },
        NumberingCase{ "../../report.pdf", { "report.pdf" }, "report (1).pdf" }));

class ChooseFolderTest : public ::testing::Test {
protected:
    TemporaryDirectory m_home;
    std::filesystem::path m_fallback = m_home.path() / "Downloads";
};

TEST_F(ChooseFolderTest, CreatesTheWorkspaceFolderWithItsParents)
{
    auto folder = m_home.path() / "work" / "client" / "files";
    EXPECT_EQ(DownloadNaming::chooseFolder(folder, m_fallback), folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(ChooseFolderTest, FallsBackWhenTheWorkspaceFolderIsUnusable)
{
    auto file = m_home.path() / "a-file";
    writeFile(file, { 'x' });
    for (const auto& folder : { std::optional<std::filesystem::path>(),
             std::optional<std::filesystem::path>(file), std::optional<std::filesystem::path>(file / "below"),
             std::optional<std::filesystem::path>("relative/folder") }) {
        EXPECT_EQ(DownloadNaming::chooseFolder(folder, m_fallback), m_fallback);
    }
    EXPECT_TRUE(std::filesystem::is_directory(m_fallback));
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

} // namespace
} // namespace cohortex
