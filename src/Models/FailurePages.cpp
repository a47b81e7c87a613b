#include "Models/FailurePages.h"

#include "Support/Translation.h"

namespace cohortex {

namespace {

std::string siteName(std::string_view host)
{
    // TRANSLATORS: stands in for a site's host name ("example.com") in the sentences of the pages shown
    // where a page could not be loaded, for an address that names no host.
    return host.empty() ? std::string(_("the site")) : std::string(host);
}

std::string reasonOf(CertificateProblem problem)
{
    switch (problem) {
    case CertificateProblem::UnknownAuthority:
        return _("It is not signed by an authority this computer trusts.");
    case CertificateProblem::WrongSite:
        return _("It belongs to a different site.");
    case CertificateProblem::NotYetValid:
        return _("It is not valid yet.");
    case CertificateProblem::Expired:
        return _("It has expired.");
    case CertificateProblem::Revoked:
        return _("It has been revoked by the authority that signed it.");
    case CertificateProblem::Insecure:
        return _("It uses cryptography that is no longer safe.");
    case CertificateProblem::Invalid:
        break;
    }
    return _("It is not valid.");
}

} // namespace

LocalPage loadFailedPage(
    LoadFailure failure, std::string_view host, std::string_view detail, std::string_view token)
{
    auto site = siteName(host);
    LocalPage page;
    switch (failure) {
    case LoadFailure::Offline:
        page.heading = _("You're offline");
        page.paragraphs = {
            // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
            fillIn(_("Cohortex can't reach {} because this computer is not connected to a network."), site),
            _("Check the network connection, then try again."),
        };
        break;
    case LoadFailure::UnknownHost:
        page.heading = _("Can't find the server");
        page.paragraphs = {
            // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
            fillIn(_("Cohortex can't find the server at {}."), site),
            _("Check the address for typing errors. If it is right, check the network connection, or the "
              "site may no longer exist."),
        };
        break;
    case LoadFailure::Refused:
        page.heading = _("Can't connect to the server");
        page.paragraphs = {
            // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
            fillIn(_("{} refused the connection."), site),
            _("The site may be down, or it may not take connections on this address. If this workspace "
              "uses a proxy, check that the proxy is running."),
        };
        break;
    case LoadFailure::TimedOut:
        page.heading = _("The server didn't answer");
        page.paragraphs = {
            // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
            fillIn(_("{} took too long to respond."), site),
            _("The site may be busy. Try again in a moment."),
        };
        break;
    case LoadFailure::Other:
        page.heading = _("Can't open this page");
        // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
        page.paragraphs = { fillIn(_("Cohortex couldn't load the page from {}."), site) };
        break;
    }
    page.title = page.heading;
    page.buttons.push_back({ _("Try Again"), PageAction::href(token, PageAction::retry) });
    if (!detail.empty())
        page.details = { std::string(detail) };
    return page;
}

LocalPage certificatePage(
    std::string_view host, const std::vector<CertificateProblem>& problems, std::string_view token)
{
    auto site = siteName(host);
    LocalPage page;
    page.title = _("Connection isn't private");
    page.heading = _("This connection isn't private");
    page.paragraphs = {
        fillIn(
            // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
            _("The certificate {} sent can't be trusted, so someone may be pretending to be the site to read "
              "what you send it."),
            site),
        _("Cohortex loaded nothing from it."),
    };
    page.buttons.push_back({ _("Go Back"), PageAction::href(token, PageAction::goBack) });
    for (auto problem : problems)
        page.details.push_back(reasonOf(problem));
    if (problems.empty())
        page.details.push_back(reasonOf(CertificateProblem::Invalid));
    page.details.push_back(fillIn(
        // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
        _("Only continue if you know why {} sends this certificate, for example a test server of your own. "
          "The exception holds for this host in this workspace only, until Cohortex quits."),
        site));
    page.detailButtons.push_back({
        // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
        fillIn(_("Continue to {} anyway"), site),
        PageAction::href(token, PageAction::allowCertificate),
    });
    return page;
}

LocalPage stoppedPage(std::string_view host, bool ranOutOfMemory, std::string_view token)
{
    LocalPage page;
    page.title = _("This page stopped");
    page.heading = _("This page stopped");
    const char* what = ranOutOfMemory
        // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
        ? _("The page from {} used too much memory, so it was stopped.")
        // TRANSLATORS: {} is the site's host name ("example.com"), or "the site".
        : _("The process showing the page from {} stopped unexpectedly.");
    page.paragraphs = { fillIn(what, siteName(host)) };
    page.paragraphs.push_back(_("Reload to open it again. What you typed into the page may be lost."));
    page.buttons.push_back({ _("Reload"), PageAction::href(token, PageAction::retry) });
    return page;
}

} // namespace cohortex
