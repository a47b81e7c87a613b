#include "Fakes/MemoryDefaults.h"
#include "Services/SitePermissions.h"
#include "Services/StoredKeys.h"
#include "Support/ManualMainQueue.h"
#include "Support/Observable.h"
#include "integration/Platform/LogCapture.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using enum SitePermission;
using Answer = SitePermissions::Answer;

constexpr std::string_view meet = "https://meet.example.com";
constexpr std::array callDevices{ camera, microphone };

Bytes bytes(std::string_view text)
{
    return { text.begin(), text.end() };
}

class SitePermissionsTest : public testing::Test {
protected:
    SitePermissions relaunched() { return SitePermissions(defaults, queue); }
    const std::string backupKey = std::string(keys::sitePermissionsBackupPrefix) + "800000000";

    ManualMainQueue queue{ Date(800000000.5) };
    MemoryDefaults defaults;
    Uuid work = Uuid::random();
    Uuid home = Uuid::random();
};

TEST_F(SitePermissionsTest, AnAnswerHoldsForItsWorkspaceAndSiteOnlyAndOutlivesARelaunch)
{
    {
        SitePermissions permissions(defaults, queue);
        permissions.remember(work, std::string(meet), callDevices, true);
        permissions.remember(work, "https://chat.example.com", std::array{ notifications }, false);
    }
    auto permissions = relaunched();
    EXPECT_EQ(permissions.answer(work, meet, std::array{ camera }), Answer::allow);
    EXPECT_EQ(permissions.answer(home, meet, callDevices), Answer::ask);
    EXPECT_EQ(permissions.answer(work, "http://meet.example.com", callDevices), Answer::ask);
    // Allowed devices do not carry over to what was never asked, and one refusal refuses the whole request.
    EXPECT_EQ(permissions.answer(work, meet, std::array{ camera, location }), Answer::ask);
    EXPECT_EQ(permissions.answer(work, "https://chat.example.com", std::array{ notifications, location }),
        Answer::deny);
    EXPECT_EQ(permissions.sites(work, notifications, false),
        std::vector<std::string>{ "https://chat.example.com" });
}

TEST_F(SitePermissionsTest, NothingIsWrittenUntilTheUserAnswers)
{
    auto permissions = relaunched();
    permissions.answer(work, meet, callDevices);
    // The screen is asked for each time, so answering about it is no decision to keep either.
    permissions.remember(work, std::string(meet), std::array{ screen }, true);
    EXPECT_EQ(permissions.answer(work, meet, std::array{ screen }), Answer::ask);
    EXPECT_EQ(defaults.writeCount(), 0);
    EXPECT_FALSE(defaults.contains(keys::sitePermissions));
}

TEST_F(SitePermissionsTest, ForgettingAndRemovingAWorkspaceLeaveTheOthersAnswers)
{
    auto permissions = relaunched();
    auto workRecord = WorkspaceSession(work, "Work", *Url::parse("https://meet.example.com"), std::nullopt,
        "briefcase", "#007AFF", 1, Uuid::random(), Date(0), Date(0));
    auto homeRecord = workRecord;
    homeRecord.id = home;
    Observable<std::vector<WorkspaceSession>> list{ std::vector{ workRecord, homeRecord } };
    permissions.followWorkspaces(list);
    for (const auto& id : { work, home })
        permissions.remember(id, std::string(meet), callDevices, true);

    permissions.forget(work);
    EXPECT_EQ(relaunched().answer(work, meet, callDevices), Answer::ask);
    permissions.remember(work, std::string(meet), callDevices, true);
    list.set({ workRecord });
    EXPECT_FALSE(relaunched().hasDecisions(home));
    EXPECT_TRUE(relaunched().hasDecisions(work));
}

TEST_F(SitePermissionsTest, ADamagedRecordIsNoAnswersWithOneWarningAndIsKeptAsideBeforeTheFirstAnswer)
{
    for (auto text : { "{\"version\":1,\"workspaces\":",
             "{\"version\":1,\"workspaces\":{\"6F9619FF-8B86-D011-B42D-00C04FC964FF\":{\"https://"
             "a.example\":{\"teleport\":true}}}}" }) {
        SCOPED_TRACE(text);
        auto damaged = bytes(text);
        defaults.remove(backupKey);
        defaults.setData(keys::sitePermissions, damaged);
        LogCapture log;
        auto permissions = relaunched();
        EXPECT_EQ(log.messages().size(), 1u);
        EXPECT_EQ(permissions.answer(work, meet, callDevices), Answer::ask);
        EXPECT_EQ(defaults.data(keys::sitePermissions), damaged);

        // While the copy cannot be made the record stays as it is; the answer holds for this run.
        defaults.setFailWritesOf(backupKey);
        permissions.remember(work, std::string(meet), callDevices, true);
        EXPECT_EQ(defaults.data(keys::sitePermissions), damaged);

        defaults.setFailWritesOf("");
        permissions.remember(home, std::string(meet), callDevices, false);
        EXPECT_EQ(defaults.data(backupKey), damaged);
        auto reread = relaunched();
        EXPECT_EQ(reread.answer(work, meet, callDevices), Answer::allow);
        EXPECT_EQ(reread.answer(home, meet, callDevices), Answer::deny);
    }
}

} // namespace
} // namespace cohortex
