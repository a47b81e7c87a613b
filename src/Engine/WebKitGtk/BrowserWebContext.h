#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <filesystem>
#include <webkit/webkit.h>

namespace cohortex {

// Where WebKit finds the browser's web-process extension: the folder named by
// $COHORTEX_WEB_PROCESS_EXTENSIONS_DIR when set; else the installed folder, found from the running
// program's own location so that a relocated install still works; else the build tree's folder, so
// that tests and a program run from the build directory find the freshly built module.
std::filesystem::path webProcessExtensionDirectory();

// A web context whose web processes load that extension. Each data store's views share one while any of
// them lives (see WebKitStore::acquire()).
GObjectPtr<WebKitWebContext> makeBrowserWebContext();

} // namespace cohortex
