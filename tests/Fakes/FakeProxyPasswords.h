#pragma once

#include "Engine/ProxyPasswords.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"

#include <deque>
#include <map>
#include <string>

namespace cohortex::testing {

// A keyring of proxy passwords that answers as slowly as the test wants. Each read takes the password
// stored when it was asked and answers after the next delay of the list, or on the queue's next turn.
class FakeProxyPasswords final : public ProxyPasswords {
public:
    explicit FakeProxyPasswords(MainQueue& queue)
        : m_queue(queue)
    {
    }

    Task<std::optional<std::string>> proxyPassword(Uuid workspaceId) override
    {
        ++reads;
        std::optional<std::string> password;
        if (auto found = passwords.find(workspaceId); found != passwords.end())
            password = found->second;
        double seconds = 0;
        if (!delays.empty()) {
            seconds = delays.front();
            delays.pop_front();
        }
        co_await delay(m_queue, seconds);
        co_return password;
    }

    std::map<Uuid, std::string> passwords;
    std::deque<double> delays;
    int reads{ 0 };

private:
    MainQueue& m_queue;
};

} // namespace cohortex::testing
