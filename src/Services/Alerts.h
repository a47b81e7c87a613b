#pragma once

#include "Support/Task.h"
#include "Support/Translation.h"

#include <string>
#include <string_view>
#include <utility>

namespace cohortex {

// What the user is told when a change they made could not be stored; nothing of it was kept.
inline constexpr std::string_view changeNotSavedMessage = N_("Couldn't save the change");
inline constexpr std::string_view settingsNotWritableDetails
    = N_("Cohortex could not write to its settings database. Check that the disk has room and that no other "
         "program holds the database, then try again.");

// The application's modal questions and answers, shown over the main window.
class Alerts {
public:
    virtual ~Alerts() = default;

    // True only when the user chose the confirming button (the default one).
    virtual Task<bool> confirm(
        std::string message, std::string details, std::string confirmLabel, std::string cancelLabel)
        = 0;
    // The same question before an action that destroys data: the confirming button is marked as
    // destructive and is not the default, so a stray Enter destroys nothing.
    virtual Task<bool> confirmDestructive(
        std::string message, std::string details, std::string confirmLabel, std::string cancelLabel)
    {
        return confirm(
            std::move(message), std::move(details), std::move(confirmLabel), std::move(cancelLabel));
    }
    // A message with a single default button; finishes when the user dismissed it.
    virtual Task<void> inform(std::string message, std::string details) = 0;
};

} // namespace cohortex
