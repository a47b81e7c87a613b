#include "Screenshot.h"

#include "Platform/Linux/GLibPtr.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <bit>
#include <cstdint>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <memory>
#include <vector>

namespace cohortex {

namespace {

struct DisplayClose {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ImageDestroy {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// One colour channel of a true-colour pixel, scaled to eight bits whatever the visual's depth.
std::uint8_t channel(unsigned long pixel, unsigned long mask)
{
    if (!mask)
        return 0;
    unsigned long value = (pixel & mask) >> std::countr_zero(mask);
    unsigned long maximum = mask >> std::countr_zero(mask);
    return static_cast<std::uint8_t>(value * 255 / maximum);
}

std::vector<std::uint8_t> rgbPixels(XImage& image)
{
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            unsigned long pixel = XGetPixel(&image, x, y);
            pixels.push_back(channel(pixel, image.red_mask));
            pixels.push_back(channel(pixel, image.green_mask));
            pixels.push_back(channel(pixel, image.blue_mask));
        }
    }
    return pixels;
}

} // namespace

bool saveScreenshot(const std::filesystem::path& pngFile)
{
    std::unique_ptr<Display, DisplayClose> display(XOpenDisplay(nullptr));
    if (!display)
        return false;
    Window root = DefaultRootWindow(display.get());
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display.get(), root, &attributes))
        return false;
    std::unique_ptr<XImage, ImageDestroy> image(
        XGetImage(display.get(), root, 0, 0, static_cast<unsigned>(attributes.width),
            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap));
    if (!image)
        return false;
    auto pixels = rgbPixels(*image);
    GObjectPtr<GdkPixbuf> pixbuf(gdk_pixbuf_new_from_data(pixels.data(), GDK_COLORSPACE_RGB, false, 8,
        image->width, image->height, image->width * 3, nullptr, nullptr));
    std::filesystem::create_directories(pngFile.parent_path());
    return gdk_pixbuf_save(pixbuf.get(), pngFile.c_str(), "png", nullptr, nullptr);
}

} // namespace cohortex
