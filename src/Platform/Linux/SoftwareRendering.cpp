#include "Platform/Linux/SoftwareRendering.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>

namespace cohortex {

namespace {

// Mesa reads its boolean variables this way.
bool isTrue(const char* value)
{
    std::string text = value ? value : "";
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text == "1" || text == "true" || text == "y" || text == "yes";
}

bool hasRenderNode(const std::filesystem::path& driDirectory)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(driDirectory, error);
    if (error)
        return false;
    // A card without a render node (a firmware frame buffer, for one) can show pixels but draw nothing.
    for (const auto& entry : entries) {
        if (entry.path().filename().string().starts_with("renderD"))
            return true;
    }
    return false;
}

} // namespace

bool drawsInSoftware(const std::filesystem::path& driDirectory, const char* alwaysSoftware)
{
    return isTrue(alwaysSoftware) || !hasRenderNode(driDirectory);
}

void preferCairoWithoutGraphicsDevice()
{
    const char* chosen = std::getenv("GSK_RENDERER");
    if (chosen && *chosen)
        return;
    if (drawsInSoftware("/dev/dri", std::getenv("LIBGL_ALWAYS_SOFTWARE")))
        ::setenv("GSK_RENDERER", "cairo", 1);
}

} // namespace cohortex
