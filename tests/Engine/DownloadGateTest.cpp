#include "Engine/DownloadGate.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace cohortex {
namespace {

using Decision = DownloadGate::Decision;

// Steps: 'u' a download the user started, 'a' one the page started by itself, 'Y'/'N' the user's answer,
// 'f' a download finished (the result says whether it is shown), 'p' a new page.
struct Story {
    const char* name;
    std::string steps;
    std::string outcome;
};

class DownloadGateTest : public ::testing::TestWithParam<Story> { };

TEST_P(DownloadGateTest, AsksOnceForAPagesFurtherDownloadsAndShowsOneFilePerBatch)
{
    DownloadGate gate;
    std::string outcome;
    for (char step : GetParam().steps) {
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
    EXPECT_EQ(outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Stories, DownloadGateTest,
    ::testing::Values(Story{ "FirstAutomaticDownloadGoesAhead", "af", "SR" },
        Story{ "AFloodAsksOnceAndShowsOneFile", "aaaaYffff", "S?wwR---" },
        Story{ "ARefusalHoldsForThePage", "aaNaf", "S?xR" }, Story{ "ANewPageAsksAfresh", "aaNpaa", "S?S?" },
        Story{ "DownloadsTheUserStartsAlwaysGoAndEachShowsItsFile", "ufufuf", "SRSRSR" },
        Story{ "AutomaticDownloadsJoinTheUsersBatch", "uaYff", "S?R-" }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cohortex
