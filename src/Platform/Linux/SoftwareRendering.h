#pragma once

#include <filesystem>

namespace cohortex {

// GTK draws its windows with OpenGL where it can. Without a graphics device (a virtual machine, a virtual
// or remote display) that OpenGL is Mesa's software rasteriser, and GTK's Cairo renderer draws the
// browser's frames faster: a key in the quick switcher or a workspace switch in about half the time. It
// also spares the browser's own process the rasteriser's memory.

// Whether OpenGL would be drawn in software: the DRM folder has no render node ("renderD…") that a GPU
// driver could serve it from, or Mesa was told to rasterise in software (LIBGL_ALWAYS_SOFTWARE, given as
// its value or nullptr).
bool drawsInSoftware(const std::filesystem::path& driDirectory, const char* alwaysSoftware);

// Has GTK draw this process's windows with Cairo when OpenGL would be drawn in software, unless the user
// chose a renderer (GSK_RENDERER). Runs before GTK makes its first window.
void preferCairoWithoutGraphicsDevice();

} // namespace cohortex
