#pragma once

#include "Services/DefaultBrowser.h"

#include <string>
#include <string_view>

namespace cohortex {

// The default web browser as GIO keeps it: the default application of the x-scheme-handler/http and
// x-scheme-handler/https content types, recorded in the user's mimeapps.list. Every desktop that
// follows the freedesktop.org MIME application rules, and xdg-open, reads the same file.
class GioDefaultBrowser final : public DefaultBrowser {
public:
    static constexpr std::string_view applicationDesktopId = "com.kestrelwick.Cohortex.desktop";

    GioDefaultBrowser();
    // Another installed desktop file than ours; tests use one that does not exist.
    explicit GioDefaultBrowser(std::string desktopId);

    bool isDefaultBrowser() const override;
    // Writing mimeapps.list is a small local file write with no asynchronous form in GIO, like a
    // defaults write, so it happens on the main thread and the task is done when it returns. The
    // desktop shows no confirmation of its own for it.
    Task<std::optional<std::string>> makeDefault() override;

private:
    std::string m_desktopId;
};

} // namespace cohortex
