#pragma once

#include "Models/LocalPage.h"

#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// Why a page could not be loaded, as far as the user can do something about it.
enum class LoadFailure {
    Offline,
    UnknownHost,
    Refused,
    TimedOut,
    Other,
};

// What is wrong with a certificate a site sent.
enum class CertificateProblem {
    UnknownAuthority,
    WrongSite,
    NotYetValid,
    Expired,
    Revoked,
    Insecure,
    Invalid,
};

// Each page's buttons lead to its PageAction addresses under the token given.

// The page shown where a load failed: what failed, for which host, and Try Again. detail is the engine's
// own message, shown under Details.
LocalPage loadFailedPage(LoadFailure, std::string_view host, std::string_view detail, std::string_view token);

// The page shown where a site's certificate cannot be trusted. Going back is offered first; the way past
// it, for this host in this workspace only, is a plain link under Details.
LocalPage certificatePage(
    std::string_view host, const std::vector<CertificateProblem>&, std::string_view token);

// The page shown where the process that rendered a page ended without being asked to.
LocalPage stoppedPage(std::string_view host, bool ranOutOfMemory, std::string_view token);

} // namespace cohortex
