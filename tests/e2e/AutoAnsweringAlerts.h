#pragma once

#include "Services/Alerts.h"
#include "Support/Log.h"

namespace cohortex {

// Confirms every question and logs every message, for tests that cannot click a dialog in another
// process. Only the test program is built with it; the installed cohortex cannot skip a confirmation.
class AutoAnsweringAlerts final : public Alerts {
public:
    Task<bool> confirm(std::string message, std::string, std::string, std::string) override
    {
        log(LogLevel::Info, "Answered for the test: " + message);
        co_return true;
    }
    Task<void> inform(std::string message, std::string details) override
    {
        log(LogLevel::Info, "Shown to the test: " + message + " " + details);
        co_return;
    }
};

} // namespace cohortex
