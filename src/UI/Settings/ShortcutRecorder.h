#pragma once

#include "Support/ScopedConnection.h"

#include <gdkmm/enums.h>
#include <glibmm/refptr.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <memory>
#include <vector>

namespace Gtk {
class EventControllerKey;
class Window;
} // namespace Gtk

namespace cohortex {

class Alerts;
class RecorderField;

// A recorder field: a button showing the combination, which records the next one typed once clicked
// (or activated from the keyboard), a clear button, and a warning sign while the desktop does not let
// the combination reach Cohortex. While it records, it reads keys before the window does, so that the
// window's own keys (Ctrl+Q, Escape) are recorded or refused instead of run.
class ShortcutRecorder : public Gtk::Box {
public:
    // Owns the field, so that nothing the widget still receives while it is torn down reaches a field gone.
    ShortcutRecorder(std::unique_ptr<RecorderField>, Alerts&);
    ~ShortcutRecorder() override;

private:
    void refresh();
    void start();
    void stopListening();
    bool keyPressed(unsigned keycode, Gdk::ModifierType);

    std::unique_ptr<RecorderField> m_ownedField;
    RecorderField& m_field;
    Alerts& m_alerts;
    Gtk::Button m_record;
    Gtk::Button m_clear;
    Gtk::Image m_inactive;
    // On the window while the field is realized; it only acts while the field records.
    Glib::RefPtr<Gtk::EventControllerKey> m_keys;
    Gtk::Window* m_keysWindow{ nullptr };
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
