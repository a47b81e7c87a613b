#include "Engine/WebKitGtk/BrowserWebContext.h"

#include <cstdlib>
#include <system_error>

// Both folders come from the build: where the module is built, and where it is installed relative to
// the installed program's folder.
#ifndef COHORTEX_BUILD_WEB_PROCESS_EXTENSIONS_DIR
#error "COHORTEX_BUILD_WEB_PROCESS_EXTENSIONS_DIR must name the build tree's extension folder"
#endif
#ifndef COHORTEX_INSTALLED_WEB_PROCESS_EXTENSIONS_DIR
#error "COHORTEX_INSTALLED_WEB_PROCESS_EXTENSIONS_DIR must name the installed extension folder"
#endif

namespace cohortex {

namespace {

std::filesystem::path installedDirectory()
{
    std::error_code error;
    auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return (program.parent_path() / COHORTEX_INSTALLED_WEB_PROCESS_EXTENSIONS_DIR).lexically_normal();
}

} // namespace

std::filesystem::path webProcessExtensionDirectory()
{
    if (const char* overridden = std::getenv("COHORTEX_WEB_PROCESS_EXTENSIONS_DIR");
        overridden && *overridden)
        return overridden;
    std::error_code error;
    if (auto installed = installedDirectory();
        !installed.empty() && std::filesystem::is_directory(installed, error))
        return installed;
    return COHORTEX_BUILD_WEB_PROCESS_EXTENSIONS_DIR;
}

GObjectPtr<WebKitWebContext> makeBrowserWebContext()
{
    GObjectPtr<WebKitWebContext> context(webkit_web_context_new());
    auto directory = webProcessExtensionDirectory();
    webkit_web_context_set_web_process_extensions_directory(context.get(), directory.c_str());
    // The sandbox shows a web process the system's own folders only; an extension anywhere else (a build
    // tree, an install under /opt or a home directory) must be let in explicitly.
    if (!directory.string().starts_with("/usr/"))
        webkit_web_context_add_path_to_sandbox(context.get(), directory.c_str(), true);
    return context;
}

} // namespace cohortex
