#pragma once

#include "Services/Authenticating.h"

#include <deque>
#include <string>
#include <vector>

namespace cohortex::testing {

// Holds every prompt open until the test answers it, the way a person takes a while at the dialog.
class FakeAuthenticator final : public Authenticating {
public:
    bool isAvailable() const override { return canAuthenticate; }

    Task<bool> authenticate(std::string reason) override
    {
        reasons.push_back(reason);
        return waitForAnswer(this);
    }

    // Answers the oldest prompt still open.
    void answer(bool succeeded)
    {
        auto resume = std::move(m_open.front());
        m_open.pop_front();
        resume(succeeded);
    }

    std::size_t openPrompts() const { return m_open.size(); }

    std::vector<std::string> reasons;
    // What isAvailable answers: false stands for a machine where polkit cannot ask.
    bool canAuthenticate{ true };

private:
    static Task<bool> waitForAnswer(FakeAuthenticator* self)
    {
        co_return co_await awaitCallback<bool>(
            [self](auto resume) { self->m_open.push_back(std::move(resume)); });
    }

    std::deque<std::function<void(bool)>> m_open;
};

} // namespace cohortex::testing
