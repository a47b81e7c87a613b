#pragma once

#include <filesystem>

namespace cohortex {

// Saves the whole X display the tests run on (DISPLAY) as a PNG file. The program under test is another
// process, so its window is read back from the X server's root window rather than from the toolkit.
// False when there is no display or the image cannot be read or written.
bool saveScreenshot(const std::filesystem::path& pngFile);

} // namespace cohortex
