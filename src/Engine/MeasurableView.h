#pragma once

#include <cstdint>
#include <optional>

namespace cohortex {

// What the web view registry needs of a live web view; the WebKit view implements it.
class MeasurableView {
public:
    virtual ~MeasurableView() = default;

    // The web-content process behind the view; absent until the view's process has reported it.
    virtual std::optional<std::int32_t> webProcessIdentifier() const = 0;
};

} // namespace cohortex
