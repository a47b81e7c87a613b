#include "Models/StillRunningNotice.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

// Once per run, and only when nothing else on screen leads back to Cohortex.
TEST(StillRunningNotice, TellsOnceWhenNoTrayIconLeadsBack)
{
    struct Case {
        std::vector<bool> trayShownAtEachClose, notified;
    };
    // The last: the panel with the tray went away during the run, so the first close without it tells.
    for (const auto& [trayShown, expected] :
        { Case{ { false, false, false }, { true, false, false } }, Case{ { true, true }, { false, false } },
            Case{ { true, false, false }, { false, true, false } } }) {
        StillRunningNotice notice;
        std::vector<bool> notified;
        for (bool shown : trayShown)
            notified.push_back(notice.windowClosed(shown));
        EXPECT_EQ(notified, expected);
    }
}

} // namespace
} // namespace cohortex
