#include "Engine/ViewActivity.h"

namespace cohortex {

ViewActivity::ViewActivity(const std::optional<NavigationRequest>& initialRequest)
{
    if (initialRequest)
        m_lastRequestID = initialRequest->id;
}

ViewActivity::Step ViewActivity::update(bool isActive, const std::optional<NavigationRequest>& request)
{
    Step step;
    step.publishFullState = isActive && !m_isActive;
    m_isActive = isActive;
    if (request && request->id != m_lastRequestID) {
        m_lastRequestID = request->id;
        if (isActive)
            step.perform = request->command;
    }
    return step;
}

} // namespace cohortex
