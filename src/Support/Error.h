#pragma once

#include <expected>
#include <string>

namespace cohortex {

// A failure that crosses a layer boundary. Library error codes are turned into this once, at the edge.
struct Error {
    std::string message;

    bool operator==(const Error&) const = default;
};

template <typename T>
using Expected = std::expected<T, Error>;

inline std::unexpected<Error> makeError(std::string message)
{
    return std::unexpected(Error{ std::move(message) });
}

} // namespace cohortex
