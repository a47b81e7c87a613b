#pragma once

#include <string>
#include <string_view>

// The decisions a web view takes about navigations, windows and dialogs, apart from the engine. Pure
// and stateless.
namespace cohortex::NavigationPolicy {

// Mail and telephone links go to the desktop's handler instead of the page: the scheme, in any letter
// case, is "mailto" or "tel".
bool opensInSystem(std::string_view uri);

// A link for another application (zoommtg:, msteams:, webcal:, slack:): its scheme in lower case, when the
// scheme is none the browser shows itself (http, https, about, data, blob, file, javascript) and not mail
// or telephone. Empty for every other link, and for text with no valid scheme.
std::string otherApplicationScheme(std::string_view uri);

// A response whose Content-Disposition header begins with "attachment", in any letter case, is saved
// rather than shown, whatever its MIME type.
bool isAttachment(std::string_view contentDisposition);

// A pop-up window is named after the host it opens; a sign-in window opened on a blank page has none.
std::string popupTitle(std::string_view uri);

// An alert, confirm or prompt of a page is headed by the host that asks.
std::string scriptDialogTitle(std::string_view uri);

} // namespace cohortex::NavigationPolicy
