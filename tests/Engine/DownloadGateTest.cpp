#include "Engine/DownloadGate.h"

#include "Engine/DownloadNaming.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace cohortex {
namespace {

using Decision = DownloadGate::Decision;

// Steps: 'u' a download the user started, 'a' one the page started by itself, 'Y'/'N' the user's answer,
// 'f' a download finished (the result says whether it is shown), 'p' a new page.
std::string play(std::string_view steps)
{
    DownloadGate gate;
    std::string outcome;
    for (char step : steps) {
        switch (step) {
        case 'u':
        case 'a': {
            auto decision = gate.downloadStarting(step == 'u');
            outcome += decision == Decision::Start ? "S"
                : decision == Decision::Ask        ? "?"
                : decision == Decision::Wait       ? "w"
                                                   : "x";
            break;
        }
        case 'Y':
        case 'N':
            gate.answered(step == 'Y');
            break;
        case 'f':
            outcome += gate.shouldReveal() ? "R" : "-";
            break;
        case 'p':
            gate.pageChanged();
            break;
        }
    }
    return outcome;
}

TEST(DownloadGateTest, AsksOnceForAPagesFurtherDownloadsAndShowsOneFilePerBatch)
{
    EXPECT_EQ(play("af"), "SR") << "the first automatic download goes ahead";
    EXPECT_EQ(play("aaaaYffff"), "S?wwR---") << "a flood asks once and shows one file";
    EXPECT_EQ(play("aaNaf"), "S?xR") << "a refusal holds for the page";
    EXPECT_EQ(play("aaNpaa"), "S?S?") << "a new page asks afresh";
    EXPECT_EQ(play("ufufuf"), "SRSRSR") << "downloads the user starts always go and each shows its file";
    EXPECT_EQ(play("uaYff"), "S?R-") << "automatic downloads join the user's batch";
}

TEST(DownloadNamingTest, KeepsAPlainNameInsideTheFolder)
{
    for (auto [suggested, expected] : std::initializer_list<std::pair<const char*, const char*>>{
             { "../../.bashrc", "bashrc" }, { "/etc/passwd", "passwd" }, { "..\\..\\evil.exe", "evil.exe" },
             { "bad\nname\x01.txt\x7f", "badname.txt" }, { "", "download" }, { "..", "download" },
             { "a/..", "download" } })
        EXPECT_EQ(DownloadNaming::safeFileName(suggested), expected) << suggested;

    std::string longBase;
    for (int i = 0; i < 150; ++i)
        longBase += "é"; // two bytes each
    auto name = DownloadNaming::safeFileName(longBase + ".pdf");
    EXPECT_LE(name.size(), 200u);
    EXPECT_TRUE(name.ends_with("é.pdf")) << name;
}

TEST(DownloadNamingTest, NumbersTheNameUntilItIsFree)
{
    struct Case {
        std::string suggested;
        std::set<std::string> existing;
        std::string expected;
    };
    const std::filesystem::path folder = "/downloads";
    for (const auto& [suggested, existing, expected] : { Case{ "report.pdf", {}, "report.pdf" },
             Case{ "report.pdf", { "report.pdf", "report (1).pdf" }, "report (2).pdf" },
             Case{ "notes", { "notes" }, "notes (1)" },
             Case{ "../../report.pdf", { "report.pdf" }, "report (1).pdf" } }) {
        auto taken = [&](const std::filesystem::path& path) {
            return path.parent_path() == folder && existing.contains(path.filename().string());
        };
        EXPECT_EQ(DownloadNaming::uniqueDestination(folder, suggested, taken), folder / expected)
            << suggested;
    }
}

TEST(DownloadNamingTest, CreatesTheWorkspaceFolderOrFallsBackWhenItIsUnusable)
{
    TemporaryDirectory home;
    auto fallback = home.path() / "Downloads";
    auto folder = home.path() / "work" / "client" / "files";
    EXPECT_EQ(DownloadNaming::chooseFolder(folder, fallback), folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    auto file = home.path() / "a-file";
    writeFile(file, { 'x' });
    for (const auto& unusable :
        { std::optional<std::filesystem::path>(), std::optional<std::filesystem::path>(file / "below"),
            std::optional<std::filesystem::path>("relative/folder") })
        EXPECT_EQ(DownloadNaming::chooseFolder(unusable, fallback), fallback);
    EXPECT_TRUE(std::filesystem::is_directory(fallback));
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

} // namespace
} // namespace cohortex
