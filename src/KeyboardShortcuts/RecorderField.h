#pragma once

#include "KeyboardShortcuts/RecorderRules.h"
#include "KeyboardShortcuts/Shortcut.h"
#include "Support/ScopedConnection.h"
#include "Support/Translation.h"

#include <cstdint>
#include <optional>
#include <set>
#include <sigc++/signal.h>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class ShortcutStore;

// One recorder field of the settings, bound to a shortcut name: what it shows, and what a key pressed
// while it records does to the stored combination. The widget draws it and sounds the beep or shows the
// alert a key asks for. Main thread only.
class RecorderField {
public:
    static constexpr std::string_view emptyText = N_("Record Shortcut");
    static constexpr std::string_view recordingText = N_("Press Shortcut…");
    static std::string usedByCommandMessage(std::string_view commandTitle);
    static constexpr std::string_view reservedMessage
        = N_("This shortcut can't be used because the desktop already uses it.");
    static constexpr std::string_view reservedDetail
        = N_("Most desktop shortcuts can be changed in the keyboard settings of your desktop.");
    static constexpr std::string_view inactiveText
        = N_("Another application uses this combination, so it does nothing here.");

    struct Alert {
        std::string message;
        std::string detail;
    };

    // What a key press while recording asks of the widget.
    struct Reaction {
        // False: the key is not the recorder's (Tab), and goes on to move the focus.
        bool handled{ true };
        bool beep{ false };
        std::optional<Alert> alert;
    };

    RecorderField(ShortcutStore&, std::string name, std::vector<CommandKey> commandKeys,
        std::set<Shortcut> reservedBySystem);
    ~RecorderField();
    RecorderField(const RecorderField&) = delete;
    RecorderField& operator=(const RecorderField&) = delete;

    const std::string& name() const { return m_name; }
    bool isRecording() const { return m_isRecording; }
    // The combination, or the placeholder of an empty field or of one that records.
    std::string text() const;
    // Whether the clear button has something to clear.
    bool canClear() const;
    // Set when a combination is stored that the desktop did not let the application listen for.
    bool isInactive() const;

    void startRecording();
    void stopRecording();
    // keysym and state as the key event gives them; a modifier pressed on its own does nothing.
    Reaction keyPressed(std::uint32_t keysym, std::uint32_t state);
    // The clear button; an alert when the change could not be stored.
    std::optional<Alert> clear();

    // After any change of what the field shows, whoever made it.
    sigc::signal<void()>& changed() { return m_changed; }

private:
    std::optional<Alert> store(std::optional<Shortcut>);

    ShortcutStore& m_store;
    std::string m_name;
    std::vector<CommandKey> m_commandKeys;
    std::set<Shortcut> m_reservedBySystem;
    bool m_isRecording{ false };
    sigc::signal<void()> m_changed;
    ScopedConnection m_storeChanged;
};

} // namespace cohortex
