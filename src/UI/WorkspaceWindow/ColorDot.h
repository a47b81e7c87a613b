#pragma once

#include "Models/WorkspaceSession.h"

#include <gtkmm/drawingarea.h>

namespace cohortex {

// The small filled circle in a workspace's colour that marks it wherever it appears.
class ColorDot : public Gtk::DrawingArea {
public:
    explicit ColorDot(int diameter = 10);

    void setColor(RgbColor);

private:
    RgbColor m_color;
};

} // namespace cohortex
