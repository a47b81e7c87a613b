#pragma once

#include "Services/Alerts.h"
#include "Support/Log.h"

namespace cohortex {

// For the end-to-end tests, which cannot click a dialog in another process: every question is answered
// with its confirming button and every message is logged instead of shown. Only the test program
// cohortex-auto-answering is built with it; the installed cohortex has no way to skip a confirmation.
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
