#pragma once

#include "Services/Authenticating.h"

#include <deque>
#include <functional>

namespace cohortex::testing {

// Holds every prompt open until the test answers it, the way a person takes a while at the dialog.
class FakeAuthenticator final : public Authenticating {
public:
    bool isAvailable() const override { return true; }
    Task<Authentication> authenticate(std::string) override { return waitForAnswer(this); }

    // Answers the oldest prompt still open.
    void answer(bool succeeded) { answer(succeeded ? Authentication::Succeeded : Authentication::Failed); }
    void answer(Authentication answer)
    {
        auto resume = std::move(m_open.front());
        m_open.pop_front();
        resume(answer);
    }

    std::size_t openPrompts() const { return m_open.size(); }

private:
    static Task<Authentication> waitForAnswer(FakeAuthenticator* self)
    {
        co_return co_await awaitCallback<Authentication>(
            [self](auto resume) { self->m_open.push_back(std::move(resume)); });
    }

    std::deque<std::function<void(Authentication)>> m_open;
};

} // namespace cohortex::testing
