#include "Engine/DownloadGate.h"

#include <gtest/gtest.h>
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

} // namespace
} // namespace cohortex
