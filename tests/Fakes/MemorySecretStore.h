#pragma once

#include "Engine/SecretStore.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cohortex::testing {

// A keyring in memory that records every call, in order. Like the real one it may hold several items for
// one account: store adds, remove deletes them all. It can also hold its answers until the test releases
// them, to prove that callers wait for one call before making the next.
class MemorySecretStore final : public SecretStore {
public:
    Task<Expected<std::optional<Bytes>>> read(std::string account) override
    {
        calls.push_back("read " + account);
        co_await answer();
        if (!isAvailable)
            co_return makeError("the keyring is locked");
        auto found = items.find(account);
        if (found == items.end())
            co_return std::optional<Bytes>();
        co_return std::optional(found->second);
    }
    Task<bool> store(std::string account, Bytes secret) override
    {
        calls.push_back("store " + account);
        co_await answer();
        if (isAvailable)
            items.emplace(std::move(account), std::move(secret));
        co_return isAvailable;
    }
    Task<bool> remove(std::string account) override
    {
        calls.push_back("remove " + account);
        co_await answer();
        if (isAvailable)
            items.erase(account);
        co_return isAvailable;
    }

    // Answers the oldest call that is being held.
    void answerNext()
    {
        auto resume = std::move(m_held.front());
        m_held.pop_front();
        resume();
    }

    std::multimap<std::string, Bytes> items;
    std::vector<std::string> calls;
    bool isAvailable{ true };
    bool holdsAnswers{ false };

private:
    CallbackAwaitable<void> answer()
    {
        return awaitCallback([this](auto resume) {
            if (holdsAnswers)
                m_held.push_back(std::move(resume));
            else
                resume();
        });
    }

    std::deque<std::function<void()>> m_held;
};

} // namespace cohortex::testing
