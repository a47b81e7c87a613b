#include "Models/StillRunningNotice.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

struct Closes {
    const char* label;
    // Whether a tray icon showed at each close of the window, in order.
    std::vector<bool> trayShown;
    // Whether each close sent the notice.
    std::vector<bool> notified;
};

class StillRunningNoticeTest : public ::testing::TestWithParam<Closes> { };

// Once per run, and only when nothing else on screen leads back to Cohortex.
TEST_P(StillRunningNoticeTest, TellsOnceWhenNoTrayIconLeadsBack)
{
    StillRunningNotice notice;
    std::vector<bool> notified;
    for (bool trayShown : GetParam().trayShown)
        notified.push_back(notice.windowClosed(trayShown));
    EXPECT_EQ(notified, GetParam().notified);
}

INSTANTIATE_TEST_SUITE_P(Runs, StillRunningNoticeTest,
    ::testing::Values(Closes{ "NoTray", { false, false, false }, { true, false, false } },
        Closes{ "Tray", { true, true }, { false, false } },
        // The panel with the tray went away during the run: the first close without it tells.
        Closes{ "TrayGoneLater", { true, false, false }, { false, true, false } }),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace cohortex
