#pragma once

#include "Services/Console.h"

#include <deque>
#include <optional>
#include <string>

namespace cohortex::testing {

// Keeps what a command printed on each stream and answers its questions from a script; once the script
// is used up, input has ended.
class RecordingConsole final : public Console {
public:
    void out(std::string_view text) override { output += text; }
    void error(std::string_view text) override { errors += text; }
    Task<std::optional<std::string>> readLine() override
    {
        ++questions;
        if (answers.empty())
            co_return std::nullopt;
        auto answer = std::move(answers.front());
        answers.pop_front();
        co_return answer;
    }

    std::deque<std::string> answers;
    std::string output;
    std::string errors;
    int questions{ 0 };
};

} // namespace cohortex::testing
