#include "Services/WorkspaceSettingsSaving.h"

#include "Engine/KeychainService.h"
#include "Fakes/MemorySecretStore.h"
#include "SessionManagerFixture.h"

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WorkspaceSettingsSavingTest : public ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        secrets.holdsAnswers = true;
    }
    std::string passwordKey() const { return "proxy_password_" + chat.id.string(); }

    MemorySecretStore secrets;
    KeychainService keyring{ secrets };
};

TEST_F(WorkspaceSettingsSavingTest, ANewPasswordIsInTheKeyringBeforeTheProxyIsReapplied)
{
    WorkspaceSettingsForm form(chat);
    form.proxyType = "http";
    form.proxyHost = "127.0.0.1";
    form.proxyPort = "3128";
    form.proxyUsername = "ann";
    form.proxyPassword = "s3cret";
    log.clear();
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    queue.runPending();
    EXPECT_THAT(log.calls, IsEmpty());

    secrets.answerNext();
    queue.runPending();
    secrets.answerNext();
    queue.runPending();
    EXPECT_THAT(secrets.calls, ElementsAre("remove " + passwordKey(), "store " + passwordKey()));
    EXPECT_THAT(log.calls, ElementsAre("stores.refreshProxy " + chat.name));
    EXPECT_EQ(manager->workspace(chat.id)->proxyUsername, "ann");
    EXPECT_EQ(storedList()[1].proxyPort, 3128);
    EXPECT_FALSE(manager->proxyPasswordChanged());
}

TEST_F(WorkspaceSettingsSavingTest, TurningTheProxyOffRemovesThePasswordAndReappliesEvenIfNothingElseChanged)
{
    WorkspaceSettingsForm form(chat);
    form.hasStoredPassword = true;
    log.clear();
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    secrets.answerNext();
    queue.runPending();
    EXPECT_THAT(secrets.calls, ElementsAre("remove " + passwordKey()));
    EXPECT_THAT(log.calls, ElementsAre("stores.refreshProxy " + chat.name));
}

TEST_F(WorkspaceSettingsSavingTest, AFailedKeyringWriteStillSavesTheRecord)
{
    secrets.holdsAnswers = false;
    secrets.isAvailable = false;
    WorkspaceSettingsForm form(chat);
    form.name = "Chat Renamed";
    form.proxyType = "socks5";
    form.proxyHost = "127.0.0.1";
    form.proxyPort = "1080";
    form.proxyUsername = "ann";
    form.proxyPassword = "s3cret";
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    queue.runPending();
    EXPECT_EQ(storedList()[1].name, "Chat Renamed");
    EXPECT_TRUE(secrets.items.empty());
}

} // namespace
} // namespace cohortex::testing
