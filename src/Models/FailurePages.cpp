#include "Models/FailurePages.h"

namespace cohortex {

namespace {

std::string siteName(std::string_view host)
{
    return host.empty() ? std::string("the site") : std::string(host);
}

std::string reasonOf(CertificateProblem problem)
{
    switch (problem) {
    case CertificateProblem::UnknownAuthority:
        return "It is not signed by an authority this computer trusts.";
    case CertificateProblem::WrongSite:
        return "It belongs to a different site.";
    case CertificateProblem::NotYetValid:
        return "It is not valid yet.";
    case CertificateProblem::Expired:
        return "It has expired.";
    case CertificateProblem::Revoked:
        return "It has been revoked by the authority that signed it.";
    case CertificateProblem::Insecure:
        return "It uses cryptography that is no longer safe.";
    case CertificateProblem::Invalid:
        break;
    }
    return "It is not valid.";
}

} // namespace

LocalPage loadFailedPage(
    LoadFailure failure, std::string_view host, std::string_view detail, std::string_view token)
{
    auto site = siteName(host);
    LocalPage page;
    switch (failure) {
    case LoadFailure::Offline:
        page.heading = "You're offline";
        page.paragraphs = { "Cohortex can't reach " + site
                + " because this computer is not connected to a "
                  "network.",
            "Check the network connection, then try again." };
        break;
    case LoadFailure::UnknownHost:
        page.heading = "Can't find the server";
        page.paragraphs = { "Cohortex can't find the server at " + site + ".",
            "Check the address for typing errors. If it is right, check the network connection, or the "
            "site may no longer exist." };
        break;
    case LoadFailure::Refused:
        page.heading = "Can't connect to the server";
        page.paragraphs = { site + " refused the connection.",
            "The site may be down, or it may not take connections on this address. If this workspace "
            "uses a proxy, check that the proxy is running." };
        break;
    case LoadFailure::TimedOut:
        page.heading = "The server didn't answer";
        page.paragraphs
            = { site + " took too long to respond.", "The site may be busy. Try again in a moment." };
        break;
    case LoadFailure::Other:
        page.heading = "Can't open this page";
        page.paragraphs = { "Cohortex couldn't load the page from " + site + "." };
        break;
    }
    page.title = page.heading;
    page.buttons.push_back({ "Try Again", PageAction::href(token, PageAction::retry) });
    if (!detail.empty())
        page.details = { std::string(detail) };
    return page;
}

LocalPage certificatePage(
    std::string_view host, const std::vector<CertificateProblem>& problems, std::string_view token)
{
    auto site = siteName(host);
    LocalPage page;
    page.title = "Connection isn't private";
    page.heading = "This connection isn't private";
    page.paragraphs = { "The certificate " + site
            + " sent can't be trusted, so someone may be pretending to "
              "be the site to read what you send it.",
        "Cohortex loaded nothing from it." };
    page.buttons.push_back({ "Go Back", PageAction::href(token, PageAction::goBack) });
    for (auto problem : problems)
        page.details.push_back(reasonOf(problem));
    if (problems.empty())
        page.details.push_back(reasonOf(CertificateProblem::Invalid));
    page.details.push_back("Only continue if you know why " + site
        + " sends this certificate, for example a test server of your own. The exception holds for this "
          "host in this workspace only, until Cohortex quits.");
    page.detailButtons.push_back(
        { "Continue to " + site + " anyway", PageAction::href(token, PageAction::allowCertificate) });
    return page;
}

LocalPage stoppedPage(std::string_view host, bool ranOutOfMemory, std::string_view token)
{
    LocalPage page;
    page.title = "This page stopped";
    page.heading = "This page stopped";
    page.paragraphs = { ranOutOfMemory
            ? "The page from " + siteName(host) + " used too much memory, so it was stopped."
            : "The process showing the page from " + siteName(host) + " stopped unexpectedly." };
    page.paragraphs.push_back("Reload to open it again. What you typed into the page may be lost.");
    page.buttons.push_back({ "Reload", PageAction::href(token, PageAction::retry) });
    return page;
}

} // namespace cohortex
