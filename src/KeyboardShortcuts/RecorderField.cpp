#include "KeyboardShortcuts/RecorderField.h"

#include "KeyboardShortcuts/KeyTable.h"
#include "KeyboardShortcuts/ShortcutStore.h"
#include "Services/Alerts.h"
#include "Support/Translation.h"

#include <utility>

namespace cohortex {

namespace {

RecorderField::Reaction notHandled()
{
    return { false, false, std::nullopt };
}

// Shift, Control, Alt, Super and the lock and level keys: pressed on the way to a combination.
bool isModifierKey(std::uint32_t keysym)
{
    return (keysym >= 0xffe1 && keysym <= 0xffee) || (keysym >= 0xfe01 && keysym <= 0xfe13)
        || keysym == 0xff7e || keysym == 0xff7f;
}

RecorderField::Reaction withAlert(RecorderField::Alert alert)
{
    return { true, false, std::move(alert) };
}

} // namespace

std::string RecorderField::usedByCommandMessage(std::string_view commandTitle)
{
    return fillIn(
        // TRANSLATORS: {} is the title of one of the window's commands, such as "New Tab".
        _("This shortcut can't be used because the window's command “{}” already uses it."), commandTitle);
}

RecorderField::RecorderField(ShortcutStore& store, std::string name, std::vector<CommandKey> commandKeys,
    std::set<Shortcut> reservedBySystem)
    : m_store(store)
    , m_name(std::move(name))
    , m_commandKeys(std::move(commandKeys))
    , m_reservedBySystem(std::move(reservedBySystem))
{
    // The same name may be changed elsewhere (another field, a relaunch of the settings).
    m_storeChanged = m_store.changed().connect([this](const std::string& changedName) {
        if (changedName == m_name)
            m_changed.emit();
    });
}

RecorderField::~RecorderField() = default;

std::string RecorderField::text() const
{
    if (m_isRecording)
        return _(recordingText);
    auto shortcut = m_store.shortcut(m_name);
    return shortcut ? KeyTable::displayName(*shortcut) : _(emptyText);
}

bool RecorderField::canClear() const
{
    return !m_isRecording && m_store.shortcut(m_name).has_value();
}

bool RecorderField::isInactive() const
{
    return m_store.shortcut(m_name).has_value() && !m_store.isActive(m_name);
}

void RecorderField::startRecording()
{
    if (std::exchange(m_isRecording, true))
        return;
    m_changed.emit();
}

void RecorderField::stopRecording()
{
    if (!std::exchange(m_isRecording, false))
        return;
    m_changed.emit();
}

RecorderField::Reaction RecorderField::keyPressed(std::uint32_t keysym, std::uint32_t state)
{
    if (!m_isRecording)
        return notHandled();
    if (isModifierKey(keysym))
        return {};
    using Outcome = RecorderDecision::Outcome;
    auto decision = decideRecording(keysym, state, m_commandKeys, m_reservedBySystem);
    switch (decision.outcome) {
    case Outcome::PassOn:
        return notHandled();
    case Outcome::Cancel:
        stopRecording();
        return {};
    case Outcome::Clear:
    case Outcome::Record: {
        m_isRecording = false;
        auto alert = store(decision.shortcut);
        // Shown even when storing failed: the field is no longer recording.
        m_changed.emit();
        return { true, false, std::move(alert) };
    }
    case Outcome::Beep:
        return { true, true, std::nullopt };
    case Outcome::UsedByCommand: {
        return withAlert({ usedByCommandMessage(decision.conflict), {} });
    }
    case Outcome::ReservedBySystem:
        return withAlert({ _(reservedMessage), _(reservedDetail) });
    }
    return {};
}

std::optional<RecorderField::Alert> RecorderField::clear()
{
    m_isRecording = false;
    auto alert = store(std::nullopt);
    m_changed.emit();
    return alert;
}

std::optional<RecorderField::Alert> RecorderField::store(std::optional<Shortcut> shortcut)
{
    if (m_store.setShortcut(m_name, shortcut))
        return std::nullopt;
    return Alert{ _(changeNotSavedMessage), _(settingsNotWritableDetails) };
}

} // namespace cohortex
