#pragma once

#include "Support/Task.h"

#include <string>

namespace cohortex {

// The application's modal questions and answers, shown over the main window.
class Alerts {
public:
    virtual ~Alerts() = default;

    // True only when the user chose the confirming button (the default one).
    virtual Task<bool> confirm(
        std::string message, std::string details, std::string confirmLabel, std::string cancelLabel)
        = 0;
    // A message with a single default button; finishes when the user dismissed it.
    virtual Task<void> inform(std::string message, std::string details) = 0;
};

} // namespace cohortex
