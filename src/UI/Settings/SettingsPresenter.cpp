#include "UI/Settings/SettingsPresenter.h"

#include "Services/Presentation.h"
#include "Support/MainQueue.h"

namespace cohortex {

SettingsPresenter::SettingsPresenter(Dependencies dependencies)
    : m_dependencies(std::move(dependencies))
{
    m_showingChanged = m_dependencies.presentation.showingSettings().changed().connect(
        [this](bool shown) { update(shown); });
    update(m_dependencies.presentation.showingSettings().get());
}

SettingsPresenter::~SettingsPresenter()
{
    m_showingChanged.disconnect();
    m_shown.reset();
    m_closing.reset();
}

Gtk::Window* SettingsPresenter::shownWindow() const
{
    return m_shown ? &m_shown->window() : nullptr;
}

void SettingsPresenter::update(bool shown)
{
    if (shown && !m_shown)
        open();
    else if (!shown && m_shown)
        close();
}

void SettingsPresenter::open()
{
    auto* parent = m_dependencies.parent ? m_dependencies.parent() : nullptr;
    m_shown = std::make_unique<SettingsWindow>(
        m_dependencies.window, parent, [this] { m_dependencies.presentation.setShowingSettings(false); });
    m_shown->window().present();
}

void SettingsPresenter::close()
{
    // The window may be closing from inside one of its own handlers: it is hidden now and destroyed once
    // that handler has returned.
    m_closing = std::move(m_shown);
    m_closing->window().set_visible(false);
    m_dependencies.window.queue.post([this, alive = std::weak_ptr<bool>(m_alive)] {
        if (!alive.expired())
            m_closing.reset();
    });
}

} // namespace cohortex
