#include "UI/Modals/ColorSwatch.h"

#include "Models/WorkspaceSession.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <cmath>
#include <gtkmm/drawingarea.h>
#include <numbers>

namespace cohortex {

namespace {

constexpr int swatchSize = 22;

void drawSwatch(const Cairo::RefPtr<Cairo::Context>& cairo, int width, int height, RgbColor fill,
    const Gdk::RGBA& ring, bool isSelected)
{
    double centerX = width / 2.0;
    double centerY = height / 2.0;
    double radius = std::min(width, height) / 2.0 - 1;
    if (isSelected) {
        cairo->set_source_rgba(ring.get_red(), ring.get_green(), ring.get_blue(), ring.get_alpha());
        cairo->set_line_width(2);
        cairo->arc(centerX, centerY, radius, 0, 2 * std::numbers::pi);
        cairo->stroke();
        radius -= 4;
    }
    cairo->set_source_rgb(fill.red, fill.green, fill.blue);
    cairo->arc(centerX, centerY, radius, 0, 2 * std::numbers::pi);
    cairo->fill();
}

} // namespace

Gtk::ToggleButton* makeColorSwatch(std::string colorHex, const Glib::ustring& spokenName)
{
    auto* button = Gtk::make_managed<Gtk::ToggleButton>();
    auto* swatch = Gtk::make_managed<Gtk::DrawingArea>();
    swatch->set_content_width(swatchSize);
    swatch->set_content_height(swatchSize);
    RgbColor fill = parseHexColor(colorHex).value_or(standardBlue);
    swatch->set_draw_func(
        [button, swatch, fill](const Cairo::RefPtr<Cairo::Context>& cairo, int width, int height) {
            drawSwatch(
                cairo, width, height, fill, swatch->get_style_context()->get_color(), button->get_active());
        });
    button->set_child(*swatch);
    button->add_css_class("flat");
    button->add_css_class("circular");
    describeWidget(*button, spokenName);
    button->signal_toggled().connect([swatch] { swatch->queue_draw(); });
    return button;
}

} // namespace cohortex
