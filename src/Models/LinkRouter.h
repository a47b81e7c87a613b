#pragma once

#include <string>
#include <string_view>

namespace cohortex {

// FIXME: stand-in holding only the pattern normalisation until the real LinkRouter lands; replace this
// file and LinkRouter.cpp with it at merge.
class LinkRouter {
public:
    // The form patterns are stored and compared in: trimmed, lower-cased, without one "https://", one
    // "http://", one leading "www." and any trailing "/".
    static std::string normalize(std::string_view pattern);
};

} // namespace cohortex
