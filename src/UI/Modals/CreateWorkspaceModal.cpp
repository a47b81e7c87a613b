#include "UI/Modals/CreateWorkspaceModal.h"

#include "Services/Alerts.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/Modals/ColorSwatch.h"
#include "UI/Modals/FormParts.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/flowbox.h>

namespace cohortex {

CreateWorkspaceModal::CreateWorkspaceModal(
    SessionManager& sessions, Alerts& alerts, std::function<void()> dismiss)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 10)
    , m_sessions(sessions)
    , m_alerts(alerts)
    , m_dismiss(std::move(dismiss))
{
    build();
    bind();
    render();
}

void CreateWorkspaceModal::build()
{
    set_margin(20);
    set_size_request(460, -1);
    m_name.set_placeholder_text(_("e.g. Client Alpha, Personal Google, Staging"));
    m_address.set_placeholder_text("https://...");
    m_name.set_activates_default(true);
    m_address.set_activates_default(true);
    m_address.set_input_purpose(Gtk::InputPurpose::URL);
    m_create.add_css_class("suggested-action");

    append(*makeHeader());
    append(*makeLabel(_("QUICK TEMPLATES"), { "caption-heading", "dim-label" }));
    append(*makeTemplateRow());
    append(*makeCaptionFor(m_name, _("Workspace Name")));
    append(m_name);
    append(*makeCaptionFor(m_address, _("Starting URL")));
    append(m_address);
    append(*makeLabel(_("Icon"), { "caption" }));
    append(*makeSymbolRow());
    append(*makeLabel(_("Badge Color"), { "caption" }));
    append(*makeColorRow());
    append(*makeFooter());
}

Gtk::Box* CreateWorkspaceModal::makeHeader()
{
    auto* header = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* titles = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 2);
    titles->set_hexpand(true);
    titles->append(*makeLabel(_("New Container Workspace"), { "title-3" }));
    titles->append(*makeLabel(
        _("Creates a separate browser profile with its own cookies and logins."), { "dim-label" }));
    auto* close = makeIconButton(iconNameForSymbol("xmark.circle.fill"), _("Close"));
    close->set_valign(Gtk::Align::START);
    close->add_css_class("circular");
    close->signal_clicked().connect([this] { m_dismiss(); });
    header->append(*titles);
    header->append(*close);
    return header;
}

Gtk::Widget* CreateWorkspaceModal::makeTemplateRow()
{
    // The templates wrap onto as many lines as the sheet's width needs: cut off at its edge, the later
    // ones could not be reached.
    auto* row = Gtk::make_managed<Gtk::FlowBox>();
    row->set_selection_mode(Gtk::SelectionMode::NONE);
    row->set_column_spacing(6);
    row->set_row_spacing(6);
    row->set_max_children_per_line(static_cast<guint>(workspaceTemplates().size()));
    row->set_homogeneous(false);
    for (const auto& preset : workspaceTemplates()) {
        auto* button = Gtk::make_managed<Gtk::Button>(toUString(_(preset.name)));
        button->signal_clicked().connect([this, &preset] {
            m_form.apply(preset);
            render();
        });
        row->append(*button);
    }
    return row;
}

Gtk::Box* CreateWorkspaceModal::makeSymbolRow()
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    for (const auto& choice : workspaceSymbolChoices()) {
        auto* button = Gtk::make_managed<Gtk::ToggleButton>();
        button->set_icon_name(iconNameForSymbol(choice.value));
        button->add_css_class("flat");
        // TRANSLATORS: what a screen reader says for an icon choice; {} is the icon's name ("Briefcase").
        describeWidget(*button, toUString(fillIn(_("{} icon"), _(choice.spokenName))));
        button->signal_toggled().connect([this, button, symbol = std::string(choice.value)] {
            if (!m_isRendering && button->get_active())
                m_form.selectedSymbol = symbol;
            render();
        });
        m_symbolButtons.push_back(button);
        row->append(*button);
    }
    return row;
}

Gtk::Box* CreateWorkspaceModal::makeColorRow()
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    for (const auto& choice : workspaceColorChoices()) {
        auto* button = makeColorSwatch(std::string(choice.value), toUString(_(choice.spokenName)));
        button->signal_toggled().connect([this, button, color = std::string(choice.value)] {
            if (!m_isRendering && button->get_active())
                m_form.selectedColorHex = color;
            render();
        });
        m_colorButtons.push_back(button);
        row->append(*button);
    }
    return row;
}

Gtk::Box* CreateWorkspaceModal::makeFooter()
{
    auto* footer = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    footer->set_halign(Gtk::Align::END);
    footer->set_margin_top(10);
    auto* cancel = Gtk::make_managed<Gtk::Button>(_("Cancel"));
    cancel->add_css_class("flat");
    cancel->signal_clicked().connect([this] { m_dismiss(); });
    footer->append(*cancel);
    footer->append(m_create);
    return footer;
}

void CreateWorkspaceModal::bind()
{
    m_name.signal_changed().connect([this] {
        if (!m_isRendering)
            m_form.name = m_name.get_text().raw();
        render();
    });
    m_address.signal_changed().connect([this] {
        if (!m_isRendering)
            m_form.initialURLString = m_address.get_text().raw();
    });
    m_create.signal_clicked().connect([this] { createWorkspace(); });
}

void CreateWorkspaceModal::render()
{
    if (m_isRendering)
        return;
    m_isRendering = true;
    if (m_name.get_text().raw() != m_form.name)
        m_name.set_text(m_form.name);
    if (m_address.get_text().raw() != m_form.initialURLString)
        m_address.set_text(m_form.initialURLString);
    auto symbols = workspaceSymbolChoices();
    for (std::size_t index = 0; index < m_symbolButtons.size(); ++index) {
        bool isSelected = symbols[index].value == m_form.selectedSymbol;
        m_symbolButtons[index]->set_active(isSelected);
        // The theme's accent marks the choice more plainly than a flat button's checked shade; a flat accent
        // button only tints its icon, so the chosen one loses flat to show the accent fill.
        m_symbolButtons[index]->set_css_classes(isSelected ? std::vector<Glib::ustring>{ "suggested-action" }
                                                           : std::vector<Glib::ustring>{ "flat" });
    }
    auto colors = workspaceColorChoices();
    for (std::size_t index = 0; index < m_colorButtons.size(); ++index)
        m_colorButtons[index]->set_active(colors[index].value == m_form.selectedColorHex);
    m_create.set_sensitive(m_form.canCreate());
    m_isRendering = false;
}

void CreateWorkspaceModal::createWorkspace()
{
    // Return reaches here too, so the rule of the disabled button is checked again.
    auto created = m_form.canCreate() ? m_form.workspaceToCreate() : std::nullopt;
    if (!created)
        return;
    if (!m_sessions.addWorkspace(std::move(created->name), std::move(created->initialURL),
            created->iconSymbol, created->colorHex)) {
        m_alerts.inform(_(changeNotSavedMessage), _(settingsNotWritableDetails));
        return;
    }
    m_dismiss();
}

} // namespace cohortex
