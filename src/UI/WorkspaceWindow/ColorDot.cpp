#include "UI/WorkspaceWindow/ColorDot.h"

#include <numbers>

namespace cohortex {

ColorDot::ColorDot(int diameter)
{
    set_content_width(diameter);
    set_content_height(diameter);
    set_valign(Gtk::Align::CENTER);
    set_draw_func([this](const Cairo::RefPtr<Cairo::Context>& cairo, int width, int height) {
        double radius = std::min(width, height) / 2.0;
        cairo->arc(width / 2.0, height / 2.0, radius, 0, 2 * std::numbers::pi);
        cairo->set_source_rgb(m_color.red, m_color.green, m_color.blue);
        cairo->fill();
    });
}

void ColorDot::setColor(RgbColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    queue_draw();
}

} // namespace cohortex
