#include "Services/DownloadNotices.h"

#include "Fakes/FakeDesktopNotifier.h"
#include "Fakes/RecordingLauncher.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

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
    auto failed = downloads.started(chat.id, "/tmp/other.pdf", nullptr);
    downloads.failed(failed, "The connection was lost");
    ASSERT_EQ(notifier.sent.size(), 1u);
    auto notice = notifier.sent[0];
    EXPECT_EQ(notice.body, "report.pdf was downloaded in Chat.");
    EXPECT_EQ(notice.commandArgument, id);
    ASSERT_EQ(notice.buttonCommands.size(), 2u);
    // A name the command table does not know, or a command that ignores the number, would make a dead button.
    CommandTable table({ *manager, presentation, window, downloads, [] {} });
    for (const auto& name :
        { notice.buttonCommands[0], notice.buttonCommands[1], notice.defaultCommandName }) {
        const auto* command = table.find(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_TRUE(command->takesArgument) << name;
    }

    finish(vault);
    ASSERT_EQ(notifier.sent.size(), 2u);
    EXPECT_EQ(notifier.sent[1].body, "A download in Vault has finished.");
    EXPECT_TRUE(notifier.sent[1].buttonCommands.empty());
}

TEST_F(DownloadNoticesTest, ClearingADownloadTakesItsNoticeOffTheScreen)
{
    finish(chat);
    finish(mail);
    ASSERT_EQ(notifier.sent.size(), 2u);
    downloads.clearEnded(mail.id);
    EXPECT_EQ(notifier.withdrawn, std::vector<std::string>{ notifier.sent[1].id });
}

} // namespace
} // namespace cohortex
