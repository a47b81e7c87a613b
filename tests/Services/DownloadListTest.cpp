#include "Services/DownloadList.h"

#include "Fakes/RecordingLauncher.h"
#include "Support/ManualMainQueue.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>
#include <gtest/gtest.h>
#include <vector>

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
    State stateOf(DownloadId id) const { return list.item(id)->state; }

    TemporaryDirectory m_folder;
    ManualMainQueue queue;
    testing::RecordingLauncher launcher;
    int cancels{ 0 };
    DownloadList list{ queue, launcher };
    const Uuid mail = Uuid::random();
    const Uuid chat = Uuid::random();
};

enum class Event { Progress, Succeed, Fail, Cancel, Open, Reveal, DeleteFile };

struct Transitions {
    const char* label;
    std::vector<Event> events;
    State state;
    std::uint64_t receivedBytes;
    int cancels;
    std::size_t opened;
    std::size_t revealed;
};

class DownloadTransitionTest : public DownloadListTest, public ::testing::WithParamInterface<Transitions> { };

// Each event as the engine or the user sends it, on a download of 100 bytes that has 10 of them.
TEST_P(DownloadTransitionTest, MovesOnlyForwardAndActsOnlyWhereItsStateAllows)
{
    auto id = start(mail, "report.pdf");
    for (auto event : GetParam().events) {
        switch (event) {
        case Event::Progress:
            list.progressed(id, 10, 100);
            break;
        case Event::Succeed:
            list.succeeded(id);
            break;
        case Event::Fail:
            list.failed(id, "The connection was lost");
            break;
        case Event::Cancel:
            list.cancel(id);
            break;
        case Event::Open:
            list.open(id);
            break;
        case Event::Reveal:
            list.reveal(id);
            break;
        case Event::DeleteFile:
            std::filesystem::remove(list.item(id)->file);
            break;
        }
    }
    auto item = *list.item(id);
    EXPECT_EQ(item.state, GetParam().state);
    EXPECT_EQ(item.receivedBytes, GetParam().receivedBytes);
    EXPECT_EQ(item.failureReason, item.state == State::Failed ? "The connection was lost" : "");
    EXPECT_EQ(cancels, GetParam().cancels);
    EXPECT_EQ(launcher.openedFiles.size(), GetParam().opened);
    EXPECT_EQ(launcher.revealedFiles.size(), GetParam().revealed);
}

using enum Event;
INSTANTIATE_TEST_SUITE_P(Downloads, DownloadTransitionTest,
    ::testing::Values(Transitions{ "Progress", { Progress }, State::InProgress, 10, 0, 0, 0 },
        Transitions{ "FinishFillsTheSize", { Progress, Succeed }, State::Finished, 100, 0, 0, 0 },
        Transitions{ "FailKeepsWhatArrived", { Progress, Fail }, State::Failed, 10, 0, 0, 0 },
        Transitions{ "CancelStopsTheEngine", { Progress, Cancel }, State::Cancelled, 10, 1, 0, 0 },
        Transitions{ "CancelOnlyOnce", { Cancel, Cancel }, State::Cancelled, 0, 1, 0, 0 },
        Transitions{ "EngineReportsAfterCancelAreLate", { Cancel, Fail, Succeed, Progress }, State::Cancelled,
            0, 1, 0, 0 },
        Transitions{ "NoCancelAfterTheEnd", { Succeed, Cancel, Fail }, State::Finished, 0, 0, 0, 0 },
        Transitions{ "NoProgressAfterFailure", { Fail, Progress, Succeed }, State::Failed, 0, 0, 0, 0 },
        Transitions{ "NothingToOpenUntilFinished", { Open, Reveal }, State::InProgress, 0, 0, 0, 0 },
        Transitions{ "FinishedOpensAndShows", { Succeed, Open, Reveal }, State::Finished, 0, 0, 1, 1 },
        Transitions{
            "GoneFileIsMissing", { Succeed, DeleteFile, Reveal, Open }, State::Missing, 0, 0, 0, 0 }),
    [](const auto& info) { return std::string(info.param.label); });

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
    list.progressed(id, 50'000, 50'000);
    list.succeeded(id);
    EXPECT_EQ(published, 2);
    queue.advance(1);
    EXPECT_EQ(published, 2);
}

TEST_F(DownloadListTest, EachWorkspaceClearsOnlyItsOwnEndedDownloads)
{
    auto running = start(mail, "a.zip");
    auto done = start(mail, "b.zip");
    auto chats = start(chat, "c.zip");
    list.succeeded(done);
    list.succeeded(chats);
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
    EXPECT_EQ(stateOf(refused), State::Failed);
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
