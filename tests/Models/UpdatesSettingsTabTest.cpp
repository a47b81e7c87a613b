#include "Models/UpdatesSettingsTab.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(UpdatesSettingsTab, NamesTheVersionAndBuildOrWhatStandsInForThem)
{
    EXPECT_EQ(UpdatesSettingsTab::versionString("0.1.0", "42"), "Cohortex v0.1.0 (Build 42)");
    EXPECT_EQ(UpdatesSettingsTab::versionString("", ""), "Cohortex vdev (Build 0)");
}

} // namespace
} // namespace cohortex
