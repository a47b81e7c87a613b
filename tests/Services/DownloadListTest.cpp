#include "Services/DownloadList.h"

#include "Fakes/FakeDesktopNotifier.h"
#include "Fakes/RecordingLauncher.h"
#include "Services/DownloadNotices.h"
#include "Services/SessionManagerFixture.h"
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
    for (auto [events, state, receivedBytes, cancelled, opened] : { Case{ "ps", State::Finished, 100, 0, 0 },
             Case{ "pf", State::Failed, 10, 0, 0 }, Case{ "pcc", State::Cancelled, 10, 1, 0 },
             Case{ "cfsp", State::Cancelled, 0, 1, 0 }, Case{ "or", State::InProgress, 0, 0, 0 },
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
    {
        DownloadList shortLived{ queue, launcher };
        shortLived.started(mail, "/tmp/running", std::make_unique<CountingTransfer>(cancels));
        auto done = shortLived.started(mail, "/tmp/done", std::make_unique<CountingTransfer>(cancels));
        shortLived.succeeded(done);
    }
    EXPECT_EQ(cancels, 1);
}

class DownloadNoticesTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        notices = std::make_unique<DownloadNotices>(downloads, *manager, window, notifier);
    }

    DownloadId finish(const WorkspaceSession& workspace)
    {
        auto id = downloads.started(workspace.id, "/tmp/report.pdf", nullptr);
        downloads.succeeded(id);
        return id;
    }

    testing::RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    testing::FakeDesktopNotifier notifier;
    std::unique_ptr<DownloadNotices> notices;
};

TEST_F(DownloadNoticesTest, TellsOnlyWhileTheWindowLooksElsewhereAndNamesNothingOfALockedWorkspace)
{
    manager->showMainWindow();
    finish(mail);
    EXPECT_TRUE(notifier.sent.empty());

    window.deactivate();
    auto id = finish(chat);
    ASSERT_EQ(notifier.sent.size(), 1u);
    auto notice = notifier.sent[0];
    EXPECT_EQ(notice.body, "report.pdf was downloaded in Chat.");
    EXPECT_EQ(notice.commandArgument, id);
    EXPECT_EQ(notice.buttonCommands.size(), 2u);

    finish(vault);
    ASSERT_EQ(notifier.sent.size(), 2u);
    EXPECT_EQ(notifier.sent[1].body, "A download in Vault has finished.");
    EXPECT_TRUE(notifier.sent[1].buttonCommands.empty());
}

} // namespace
} // namespace cohortex
