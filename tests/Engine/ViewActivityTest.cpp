#include "Engine/ViewActivity.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

using Kind = NavigationCommand::Kind;

// One re-render: whether the view is active, which of the scenario's requests the window passes
// (-1 for none), and what the view must do.
struct Render {
    bool isActive;
    int request;
    bool publishesFullState;
    std::optional<Kind> performs;
};

struct Scenario {
    std::string name;
    // Request 0 is the one present when the view is made, when hasInitialRequest.
    bool hasInitialRequest;
    std::vector<Kind> requests;
    std::vector<Render> renders;
};

void play(const Scenario& scenario)
{
    SCOPED_TRACE(scenario.name);
    std::vector<NavigationRequest> requests;
    for (auto kind : scenario.requests)
        requests.push_back(NavigationRequest::make(NavigationCommand::of(kind)));
    ViewActivity activity(
        scenario.hasInitialRequest ? std::optional(requests.front()) : std::optional<NavigationRequest>());
    for (std::size_t i = 0; i < scenario.renders.size(); ++i) {
        const auto& render = scenario.renders[i];
        auto request = render.request < 0 ? std::nullopt : std::optional(requests.at(render.request));
        auto step = activity.update(render.isActive, request);
        EXPECT_EQ(step.publishFullState, render.publishesFullState) << "render " << i;
        EXPECT_EQ(step.perform ? std::optional(step.perform->kind) : std::nullopt, render.performs)
            << "render " << i;
    }
}

TEST(ViewActivityTest, ActsOnEachRequestOnceAndOnlyWhileActive)
{
    for (const auto& scenario : { Scenario{ "TheInitialRequestIsNeverPerformed", true, { Kind::Reload },
                                      { { true, 0, true, {} }, { true, 0, false, {} } } },
             Scenario{ "ARequestWhileInactiveIsNotReplayedOnActivation", false, { Kind::Reload },
                 { { false, 0, false, {} }, { true, 0, true, {} }, { true, 0, false, {} } } },
             Scenario{ "TwoReloadsReloadTwice", false, { Kind::Reload, Kind::Reload },
                 { { true, 0, true, Kind::Reload }, { true, 0, false, {} },
                     { true, 1, false, Kind::Reload } } },
             Scenario{ "ARequestArrivingWithActivationIsPerformed", false, { Kind::GoBack },
                 { { false, -1, false, {} }, { true, 0, true, Kind::GoBack } } } })
        play(scenario);
}

} // namespace
} // namespace cohortex
