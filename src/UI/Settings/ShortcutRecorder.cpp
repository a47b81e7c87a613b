#include "UI/Settings/ShortcutRecorder.h"

#include "KeyboardShortcuts/KeyTable.h"
#include "KeyboardShortcuts/RecorderField.h"
#include "Services/Alerts.h"
#include "Support/Translation.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtk/gtk.h>
#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/window.h>

namespace cohortex {

namespace {

// GTK's modifier bits as the key table reads them (X11's: Super is Mod4 there).
std::uint32_t keyTableState(Gdk::ModifierType state)
{
    auto bits = static_cast<unsigned>(state);
    std::uint32_t result = 0;
    if (bits & GDK_SHIFT_MASK)
        result |= KeyTable::shiftMask;
    if (bits & GDK_CONTROL_MASK)
        result |= KeyTable::controlMask;
    if (bits & GDK_ALT_MASK)
        result |= KeyTable::altMask;
    if (bits & GDK_SUPER_MASK)
        result |= KeyTable::superMask;
    return result;
}

// The key's own symbol, as if no modifier were held: Ctrl+Shift+1 is recorded as the 1 key with Shift,
// not as "!", which the table has no code for.
std::optional<unsigned> unshiftedKeyval(GtkEventController* controller, unsigned keycode)
{
    auto* event = gtk_event_controller_get_current_event(controller);
    if (!event)
        return std::nullopt;
    unsigned keyval = 0;
    if (!gdk_display_translate_key(gdk_event_get_display(event), keycode, GdkModifierType(0),
            static_cast<int>(gdk_key_event_get_layout(event)), &keyval, nullptr, nullptr, nullptr))
        return std::nullopt;
    return keyval;
}

} // namespace

ShortcutRecorder::ShortcutRecorder(std::unique_ptr<RecorderField> field, Alerts& alerts)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6)
    , m_ownedField(std::move(field))
    , m_field(*m_ownedField)
    , m_alerts(alerts)
{
    set_valign(Gtk::Align::CENTER);
    m_inactive.set_from_icon_name("dialog-warning-symbolic");
    m_inactive.set_tooltip_text(Glib::ustring(_(RecorderField::inactiveText)));
    m_inactive.add_css_class("warning");
    m_record.set_size_request(160, -1);
    m_clear.set_icon_name("edit-clear-symbolic");
    m_clear.add_css_class("flat");
    describeWidget(m_clear, _("Clear Shortcut"));
    append(m_inactive);
    append(m_record);
    append(m_clear);

    m_connections.emplace_back(m_record.signal_clicked().connect([this] { start(); }));
    m_connections.emplace_back(m_clear.signal_clicked().connect([this] {
        if (auto alert = m_field.clear())
            m_alerts.inform(alert->message, alert->detail);
    }));
    // Leaving the field (Tab, a click elsewhere, an alert taking the focus) ends the recording.
    auto focus = Gtk::EventControllerFocus::create();
    m_connections.emplace_back(focus->signal_leave().connect([this] { m_field.stopRecording(); }));
    m_record.add_controller(focus);
    m_connections.emplace_back(m_field.changed().connect([this] { refresh(); }));
    // On the window and in the capture phase, the only place that comes before the application's keys.
    m_keys = Gtk::EventControllerKey::create();
    m_keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    m_connections.emplace_back(m_keys->signal_key_pressed().connect(
        [this](unsigned, unsigned keycode, Gdk::ModifierType state) { return keyPressed(keycode, state); },
        false));
    m_connections.emplace_back(signal_realize().connect([this] {
        if (auto* window = dynamic_cast<Gtk::Window*>(get_root())) {
            window->add_controller(m_keys);
            m_keysWindow = window;
        }
    }));
    m_connections.emplace_back(signal_unrealize().connect([this] { stopListening(); }));
    refresh();
}

ShortcutRecorder::~ShortcutRecorder()
{
    m_connections.clear();
    stopListening();
}

void ShortcutRecorder::refresh()
{
    auto recording = m_field.isRecording();
    m_record.set_label(m_field.text());
    if (recording)
        m_record.add_css_class("suggested-action");
    else
        m_record.remove_css_class("suggested-action");
    m_clear.set_sensitive(m_field.canClear());
    m_inactive.set_visible(!recording && m_field.isInactive());
}

void ShortcutRecorder::start()
{
    m_record.grab_focus();
    m_field.startRecording();
}

void ShortcutRecorder::stopListening()
{
    if (m_keysWindow)
        m_keysWindow->remove_controller(m_keys);
    m_keysWindow = nullptr;
}

bool ShortcutRecorder::keyPressed(unsigned keycode, Gdk::ModifierType state)
{
    if (!m_field.isRecording())
        return false;
    auto keyval = unshiftedKeyval(GTK_EVENT_CONTROLLER(m_keys->gobj()), keycode);
    if (!keyval)
        return true;
    auto reaction = m_field.keyPressed(*keyval, keyTableState(state));
    if (reaction.beep)
        error_bell();
    if (reaction.alert)
        m_alerts.inform(reaction.alert->message, reaction.alert->detail);
    return reaction.handled;
}

} // namespace cohortex
