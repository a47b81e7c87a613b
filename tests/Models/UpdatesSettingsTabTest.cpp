#include "Models/UpdatesSettingsTab.h"

#include <gtest/gtest.h>
#include <tuple>

namespace cohortex {
namespace {

using VersionCase = std::tuple<const char*, const char*, const char*>;

class UpdatesSettingsTabVersion : public ::testing::TestWithParam<VersionCase> { };

TEST_P(UpdatesSettingsTabVersion, NamesTheVersionAndBuildOrWhatStandsInForThem)
{
    auto [version, build, expected] = GetParam();
    EXPECT_EQ(UpdatesSettingsTab::versionString(version, build), expected);
}

INSTANTIATE_TEST_SUITE_P(Versions, UpdatesSettingsTabVersion,
    ::testing::Values(VersionCase{ "0.1.0", "42", "Cohortex v0.1.0 (Build 42)" },
        VersionCase{ "", "42", "Cohortex vdev (Build 42)" },
        VersionCase{ "0.1.0", "", "Cohortex v0.1.0 (Build 0)" },
        VersionCase{ "", "", "Cohortex vdev (Build 0)" }));

} // namespace
} // namespace cohortex
