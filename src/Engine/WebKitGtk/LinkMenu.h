#pragma once

#include <webkit/webkit.h>

namespace cohortex {

// Puts an entry that runs openInNewTab with the link's address where the page's context menu offers to
// open the link in a new window. Menus without that entry are left as they are.
void offerNewTabInstead(WebKitContextMenu*, GAction* openInNewTab, const char* linkURI);

} // namespace cohortex
