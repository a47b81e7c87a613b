#pragma once

#include <cstdint>
#include <optional>

namespace cohortex {

// What the web view registry needs of a live web view; the WebKit view implements it.
class MeasurableView {
public:
    virtual ~MeasurableView() = default;

    // The web-content process behind the view, as this process sees it; absent until it is known.
    // WebKit's sandbox runs web processes in their own PID namespace, so the id a web process finds
    // for itself with getpid() is not this one and must be translated before it is reported here.
    virtual std::optional<std::int32_t> webProcessIdentifier() const = 0;
};

} // namespace cohortex
