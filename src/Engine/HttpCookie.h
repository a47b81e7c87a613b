#pragma once

#include "Support/Date.h"

#include <optional>
#include <string>

namespace cohortex {

// A cookie as the engine's jar holds it, independent of the engine's own type.
struct HttpCookie {
    enum class SameSite { Unspecified, None, Lax, Strict };

    std::string name;
    std::string value;
    std::string domain;
    std::string path;
    // Absent for a session cookie, which the engine forgets at quit.
    std::optional<Date> expires;
    bool secure { false };
    bool httpOnly { false };
    SameSite sameSite { SameSite::Unspecified };

    bool isSessionOnly() const { return !expires; }
    bool operator==(const HttpCookie&) const = default;
};

} // namespace cohortex
