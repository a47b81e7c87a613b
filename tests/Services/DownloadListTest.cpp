#include "Services/DownloadList.h"

#include "Fakes/RecordingLauncher.h"
#include "Support/ManualMainQueue.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace cohortex {
namespace {

using State = DownloadItem::State;

class CountingTransfer final : public DownloadList::Transfer {
public:
    explicit CountingTransfer(int& cancels)
        : m_cancels(cancels)
    {
    }
    void cancel() override { ++m_cancels; }

private:
    int& m_cancels;
};

class DownloadListTest : public ::testing::Test {
protected:
    DownloadId start(const Uuid& workspace, const std::string& name)
    {
        auto file = m_folder.path() / name;
        std::ofstream(file) << "partial";
        return list.started(workspace, file, std::make_unique<CountingTransfer>(cancels));
    }

    TemporaryDirectory m_folder;
    ManualMainQueue queue;
    testing::RecordingLauncher launcher;
    int cancels{ 0 };
    DownloadList list{ queue, launcher };
    const Uuid mail = Uuid::random();
    const Uuid chat = Uuid::random();
};

// Events as the engine or the user sends them, on a download of 100 bytes that has 10 of them: 'p'
// progress, 's' success, 'f' failure, 'c' cancel, 'o' open, 'r' reveal, 'd' the file deleted.
TEST_F(DownloadListTest, MovesOnlyForwardAndActsOnlyWhereItsStateAllows)
{
    struct Case {
        const char* events;
        State state;
        std::uint64_t receivedBytes;
        int cancels;
        std::size_t opened;
    };
    const std::map<char, std::function<void(DownloadId)>> act{
        { 'p', [&](DownloadId id) { list.progressed(id, 10, 100); } },
        { 's', [&](DownloadId id) { list.succeeded(id); } },
        { 'f', [&](DownloadId id) { list.failed(id, "The connection was lost"); } },
        { 'c', [&](DownloadId id) { list.cancel(id); } }, { 'o', [&](DownloadId id) { list.open(id); } },
        { 'r', [&](DownloadId id) { list.reveal(id); } },
        { 'd', [&](DownloadId id) { std::filesystem::remove(list.item(id)->file); } }
    };
    for (auto [events, state, receivedBytes, cancelled, opened] : { Case{ "p", State::InProgress, 10, 0, 0 },
             Case{ "ps", State::Finished, 100, 0, 0 }, Case{ "pf", State::Failed, 10, 0, 0 },
             Case{ "pc", State::Cancelled, 10, 1, 0 }, Case{ "cc", State::Cancelled, 0, 1, 0 },
             Case{ "cfsp", State::Cancelled, 0, 1, 0 }, Case{ "scf", State::Finished, 0, 0, 0 },
             Case{ "fps", State::Failed, 0, 0, 0 }, Case{ "or", State::InProgress, 0, 0, 0 },
             Case{ "sor", State::Finished, 0, 0, 1 }, Case{ "sdro", State::Missing, 0, 0, 0 } }) {
        cancels = 0;
        launcher.openedFiles.clear();
        launcher.revealedFiles.clear();
        auto id = start(mail, "report.pdf");
        for (char event : std::string_view(events))
            act.at(event)(id);
        SCOPED_TRACE(events);
        auto item = *list.item(id);
        EXPECT_EQ(item.state, state);
        EXPECT_EQ(item.receivedBytes, receivedBytes);
        EXPECT_EQ(item.failureReason, item.state == State::Failed ? "The connection was lost" : "");
        EXPECT_EQ(cancels, cancelled);
        EXPECT_EQ(launcher.openedFiles.size(), opened);
        EXPECT_EQ(launcher.revealedFiles.size(), opened);
    }
}

TEST_F(DownloadListTest, ProgressShowsAFewTimesASecondAndEverythingElseAtOnce)
{
    auto id = start(mail, "big.iso");
    int published = 0;
    ScopedConnection counting = list.items().changed().connect([&](const auto&) { ++published; });
    for (std::uint64_t bytes = 1; bytes <= 50; ++bytes)
        list.progressed(id, bytes * 1000, 50'000);
    EXPECT_EQ(published, 0);
    queue.advance(DownloadList::progressInterval);
    EXPECT_EQ(published, 1);
    EXPECT_EQ(list.items()->front().receivedBytes, 50'000u);
    list.succeeded(id);
    EXPECT_EQ(published, 2);
}

TEST_F(DownloadListTest, EachWorkspaceClearsOnlyItsOwnEndedDownloads)
{
    auto running = start(mail, "a.zip");
    auto done = start(mail, "b.zip");
    auto chats = start(chat, "c.zip");
    list.succeeded(done);
    list.succeeded(chats);
    // A name still being written is not handed to the next download.
    EXPECT_TRUE(list.isWriting(list.item(running)->file));
    EXPECT_FALSE(list.isWriting(list.item(done)->file));
    list.clearEnded(mail);
    EXPECT_TRUE(list.item(running));
    EXPECT_FALSE(list.item(done));
    EXPECT_TRUE(list.item(chats));
}

TEST_F(DownloadListTest, RefusedOnesFailWithoutAFileAndRunningOnesStopWithTheList)
{
    auto refused = list.refused(mail, "report.pdf", "The server answered 404 Not Found");
    EXPECT_EQ(list.item(refused)->state, State::Failed);
    EXPECT_TRUE(list.item(refused)->file.empty());
    {
        DownloadList shortLived{ queue, launcher };
        shortLived.started(mail, "/tmp/running", std::make_unique<CountingTransfer>(cancels));
        auto done = shortLived.started(mail, "/tmp/done", std::make_unique<CountingTransfer>(cancels));
        shortLived.succeeded(done);
    }
    EXPECT_EQ(cancels, 1);
}

} // namespace
} // namespace cohortex
