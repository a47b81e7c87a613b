#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// A page Cohortex shows in a tab in place of a site's: what went wrong, and what the user can do. Every
// text is plain and escaped when the page is written, since hosts and error messages come from outside.
struct LocalPage {
    struct Button {
        std::string label;
        std::string href;
    };

    std::string title;
    std::string heading;
    std::vector<std::string> paragraphs;
    std::vector<Button> buttons;
    // Below the buttons, behind a "Details" disclosure: further text and a single, deliberately plain,
    // way on.
    std::vector<std::string> details;
    std::vector<Button> detailButtons;
};

// The addresses a local page's buttons lead to: "cohortex-page-action:<token>/<action>". The tab acts on
// them itself and loads none; the token, new for every page shown, keeps other pages from acting alike.
namespace PageAction {
inline constexpr std::string_view scheme = "cohortex-page-action";
inline constexpr std::string_view retry = "retry";
inline constexpr std::string_view goBack = "back";
inline constexpr std::string_view allowCertificate = "allow-certificate";
std::string href(std::string_view token, std::string_view action);
} // namespace PageAction

std::string escapeHtml(std::string_view);
std::string renderLocalPage(const LocalPage&);

} // namespace cohortex
