#include "Services/TimeSettingsTab.h"

#include "Services/SessionManagerFixture.h"

#include <fstream>
#include <sstream>

namespace cohortex {
namespace {

const Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
// 2025-03-05 10:00 in Berlin.
const Date morning = Date::fromUnixTime(1741165200);
constexpr double day = 86400;

class TimeSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        tab = std::make_unique<TimeSettingsTab>(queue, *manager, timeTracker, alerts);
    }

    void work(const WorkspaceSession& workspace, int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
            timeTracker.tick(workspace.id, true, true, 0, queue.now(), Calendar::current());
    }

    std::unique_ptr<TimeSettingsTab> tab;
};

TEST_F(TimeSettingsTabTest, OneRowPerWorkspaceInListOrderWithTodayAndTheSevenDaysEndingToday)
{
    TimeLedger ledger;
    ledger.add(65, mail.id, morning, berlin);
    ledger.add(3600, mail.id, morning.adding(-6 * day), berlin);
    ledger.add(3600, chat.id, morning.adding(-7 * day), berlin);
    ledger.add(600, Uuid::random(), morning, berlin);

    auto rows = TimeSettingsTab::rows(list(), ledger, morning, berlin);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Mail");
    EXPECT_EQ(rows[0].today, "1m");
    EXPECT_EQ(rows[0].lastSevenDays, "1h 1m");
    // Time older than the seven days reads as nothing.
    EXPECT_EQ(rows[1].lastSevenDays, "0m");
}

TEST_F(TimeSettingsTabTest, TheExportStoresThePendingTimeAndWritesItWithTodaysNames)
{
    work(mail, 2);
    ASSERT_FALSE(defaults.contains(keys::timeLedger));
    tab->prepareExport();
    EXPECT_TRUE(defaults.contains(keys::timeLedger));

    auto renamed = mail;
    renamed.name = "Post";
    ASSERT_TRUE(manager->updateWorkspace(renamed));
    auto file
        = std::filesystem::temp_directory_path() / ("cohortex-time-" + Uuid::random().string() + ".csv");
    tab->exportCsv(file);
    queue.runPending();
    std::stringstream written;
    written << std::ifstream(file).rdbuf();
    std::filesystem::remove(file);
    EXPECT_NE(written.str().find(",Post,"), std::string::npos);
}

TEST_F(TimeSettingsTabTest, ClearingAsksFirstAndSaysWhenTheEmptyHistoryCannotBeStored)
{
    work(mail, 1);
    alerts.answer = false;
    tab->clearHistory();
    queue.runPending();
    EXPECT_FALSE(timeTracker.ledger()->days().empty());

    alerts.answer = true;
    defaults.setFailWrites(true);
    tab->clearHistory();
    queue.runPending();
    EXPECT_FALSE(timeTracker.ledger()->days().empty());
    EXPECT_EQ(alerts.shown.back().substr(0, alerts.shown.back().find('|')), changeNotSavedMessage);

    defaults.setFailWrites(false);
    tab->clearHistory();
    queue.runPending();
    EXPECT_TRUE(timeTracker.ledger()->days().empty());
}

} // namespace
} // namespace cohortex
