#include "UI/Modals/WorkspaceSettingsSheet.h"

#include "Services/Authenticating.h"
#include "Services/Keychain.h"
#include "Services/SitePermissions.h"
#include "Services/WorkspaceSettingsSaving.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtkmm/scrolledwindow.h>
#include <gtkmm/stringlist.h>

namespace cohortex {

namespace {

constexpr int tallestBody = 560;

Gtk::Box* makeSection(const Glib::ustring& title)
{
    auto* section = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6);
    section->append(*makeLabel(title, { "heading" }));
    return section;
}

// A switch at the end of a row, named by the row's text.
Gtk::Box* makeSwitchRow(Gtk::Switch& toggle, const Glib::ustring& title)
{
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 12);
    auto* label = makeLabel(title);
    label->set_hexpand(true);
    label->set_mnemonic_widget(toggle);
    toggle.set_valign(Gtk::Align::CENTER);
    row->append(*label);
    row->append(toggle);
    return row;
}

Glib::RefPtr<Gtk::StringList> proxyTitles()
{
    std::vector<Glib::ustring> titles;
    for (const auto& choice : WorkspaceSettingsForm::proxyChoices)
        titles.push_back(toUString(_(choice.title)));
    return Gtk::StringList::create(titles);
}

} // namespace

WorkspaceSettingsSheet::WorkspaceSettingsSheet(
    Dependencies dependencies, std::optional<WorkspaceSession> workspace)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 14)
    , m_dependencies(std::move(dependencies))
{
    if (workspace) {
        m_form.emplace(*workspace);
        if (auto* permissions = m_dependencies.sitePermissions)
            m_form->hasSitePermissions = permissions->hasDecisions(workspace->id);
    }
    build();
    bind();
    render();
    // Last: a keyring that answers at once renders into the finished sheet.
    if (workspace)
        learnStoredPassword(this, m_alive, m_dependencies.keychain, proxyPasswordKey(workspace->id.string()));
}

Task<void> WorkspaceSettingsSheet::learnStoredPassword(
    WorkspaceSettingsSheet* self, std::weak_ptr<bool> alive, Keychain& keychain, std::string key)
{
    auto stored = co_await keychain.get(std::move(key));
    if (alive.expired())
        co_return;
    self->m_form->hasStoredPassword = stored.has_value();
    self->render();
}

void WorkspaceSettingsSheet::build()
{
    set_margin(20);
    set_size_request(440, -1);
    append(*makeLabel(_("Workspace Settings"), { "title-3" }));
    if (m_form) {
        auto* body = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 14);
        body->append(*makeCaptionFor(m_name, _("Name")));
        body->append(m_name);
        body->append(*makeMemorySection());
        body->append(*makePrivacySection());
        body->append(*makeDownloadsSection());
        if (m_dependencies.sitePermissions)
            body->append(*makeSitePermissionsSection());
        body->append(*makeProxySection());
        // The proxy's fields make the sheet tall; on a small screen the body scrolls and the buttons stay.
        auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
        scroller->set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
        scroller->set_propagate_natural_height(true);
        scroller->set_max_content_height(tallestBody);
        scroller->set_child(*body);
        append(*scroller);
    }
    append(*makeFooter());
}

Gtk::Box* WorkspaceSettingsSheet::makeMemorySection()
{
    auto* section = makeSection(_("Memory"));
    section->append(*makeSwitchRow(m_keepAwake, _("Keep awake (never hibernate)")));
    section->append(
        *makeLabel(_("Idle workspaces go to sleep to free memory. Turn this on for mail or chat you "
                     "want live in the background."),
            { "caption", "dim-label" }));
    return section;
}

Gtk::Box* WorkspaceSettingsSheet::makePrivacySection()
{
    m_canAuthenticate = m_dependencies.authenticator.isAvailable();
    auto* section = makeSection(_("Privacy"));
    section->append(*makeSwitchRow(m_requiresUnlock, _("Require your login password to open")));
    m_requiresUnlock.set_sensitive(m_canAuthenticate);
    m_lockCaption = makeLabel("", { "caption" });
    m_lockCaption->set_wrap(true);
    section->append(*m_lockCaption);
    return section;
}

Gtk::Box* WorkspaceSettingsSheet::makeDownloadsSection()
{
    auto* section = makeSection(_("Downloads"));
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
    m_folder.set_xalign(0);
    m_folder.set_hexpand(true);
    m_folder.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    m_folder.set_single_line_mode(true);
    m_choose.signal_clicked().connect([this] { chooseFolder(); });
    m_reset.signal_clicked().connect([this] {
        m_form->downloadFolderPath.clear();
        render();
    });
    row->append(m_folder);
    row->append(m_choose);
    row->append(m_reset);
    section->append(*row);
    return section;
}

Gtk::Box* WorkspaceSettingsSheet::makeSitePermissionsSection()
{
    auto* section = makeSection(_("Site Permissions"));
    m_sitePermissionsCaption.set_xalign(0);
    m_sitePermissionsCaption.set_wrap(true);
    m_sitePermissionsCaption.add_css_class("caption");
    m_sitePermissionsCaption.add_css_class("dim-label");
    m_forgetSitePermissions.set_halign(Gtk::Align::START);
    m_forgetSitePermissions.signal_clicked().connect([this] {
        m_form->forgetsSitePermissions = true;
        render();
    });
    section->append(m_sitePermissionsCaption);
    section->append(m_forgetSitePermissions);
    return section;
}

Gtk::Box* WorkspaceSettingsSheet::makeProxySection()
{
    auto* section = makeSection(_("Proxy"));
    m_proxyType.set_model(proxyTitles());
    section->append(*makeCaptionFor(m_proxyType, _("Route this workspace through")));
    section->append(m_proxyType);
    m_port.set_input_purpose(Gtk::InputPurpose::DIGITS);
    m_password.set_show_peek_icon(true);
    m_proxyFields.append(*makeCaptionFor(m_host, _("Host")));
    m_proxyFields.append(m_host);
    m_proxyFields.append(*makeCaptionFor(m_port, _("Port")));
    m_proxyFields.append(m_port);
    m_proxyFields.append(*makeCaptionFor(m_username, _("Username (optional)")));
    m_proxyFields.append(m_username);
    m_passwordLabel = makeCaptionFor(m_password, "");
    m_proxyFields.append(*m_passwordLabel);
    m_proxyFields.append(m_password);
    m_proxyMessage = makeLabel(_("Enter a host and a port between 1 and 65535."), { "caption", "error" });
    m_proxyFields.append(*m_proxyMessage);
    section->append(m_proxyFields);
    section->append(
        *makeLabel(_("Only this workspace's traffic uses the proxy. The password is kept in your keyring."),
            { "caption", "dim-label" }));
    return section;
}

Gtk::Box* WorkspaceSettingsSheet::makeFooter()
{
    auto* footer = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    footer->set_halign(Gtk::Align::END);
    auto* cancelButton = Gtk::make_managed<Gtk::Button>(_("Cancel"));
    cancelButton->signal_clicked().connect([this] { cancel(); });
    footer->append(*cancelButton);
    if (m_form) {
        m_save.add_css_class("suggested-action");
        m_save.signal_clicked().connect([this] { save(); });
        footer->append(m_save);
    }
    return footer;
}

void WorkspaceSettingsSheet::bind()
{
    if (!m_form)
        return;
    bindEntry(m_name, &WorkspaceSettingsForm::name);
    bindEntry(m_host, &WorkspaceSettingsForm::proxyHost);
    bindEntry(m_port, &WorkspaceSettingsForm::proxyPort);
    bindEntry(m_username, &WorkspaceSettingsForm::proxyUsername);
    bindEntry(m_password, &WorkspaceSettingsForm::proxyPassword);
    m_keepAwake.property_active().signal_changed().connect(
        [this] { m_form->keepAwake = m_keepAwake.get_active(); });
    m_requiresUnlock.property_active().signal_changed().connect([this] {
        if (m_isRendering)
            return;
        if (!m_requiresUnlock.get_active()) {
            m_form->requiresUnlock = false;
            m_form->lockCheck = WorkspaceSettingsForm::LockCheck::none;
        } else if (m_form->startLockCheck()) {
            confirmLock(this, m_alive);
        }
        render();
    });
    m_proxyType.property_selected().signal_changed().connect([this] {
        auto selected = m_proxyType.get_selected();
        if (!m_isRendering && selected < WorkspaceSettingsForm::proxyChoices.size())
            m_form->proxyType = WorkspaceSettingsForm::proxyChoices[selected].value;
        render();
    });
    for (auto* entry : { &m_name, &m_host, &m_port, &m_username })
        entry->set_activates_default(true);
    m_password.property_activates_default() = true;
}

void WorkspaceSettingsSheet::bindEntry(Gtk::Editable& entry, std::string WorkspaceSettingsForm::*field)
{
    entry.signal_changed().connect([this, &entry, field] {
        if (m_isRendering)
            return;
        m_form.value().*field = entry.get_text().raw();
        render();
    });
}

void WorkspaceSettingsSheet::render()
{
    if (!m_form || m_isRendering)
        return;
    m_isRendering = true;
    const auto& form = *m_form;
    using Field = std::pair<Gtk::Editable*, const std::string*>;
    const Field fields[]
        = { { &m_name, &form.name }, { &m_host, &form.proxyHost }, { &m_port, &form.proxyPort },
              { &m_username, &form.proxyUsername }, { &m_password, &form.proxyPassword } };
    for (const auto& [entry, value] : fields) {
        if (entry->get_text().raw() != *value)
            entry->set_text(*value);
    }
    m_keepAwake.set_active(form.keepAwake);
    m_requiresUnlock.set_active(form.requiresUnlock);
    bool isAsking = form.lockCheck == WorkspaceSettingsForm::LockCheck::asking;
    m_requiresUnlock.set_sensitive(m_canAuthenticate && !isAsking);
    auto caption = form.lockCaption(m_canAuthenticate);
    m_lockCaption->set_text(toUString(_(caption.text)));
    m_lockCaption->set_css_classes({ "caption", caption.isWarning ? "warning" : "dim-label" });
    bool hasFolder = !form.downloadFolderPath.empty();
    m_folder.set_text(hasFolder ? form.downloadFolderPath : _("Downloads folder"));
    setTooltip(m_folder, hasFolder ? form.downloadFolderPath : "");
    m_folder.set_css_classes(
        hasFolder ? std::vector<Glib::ustring>{} : std::vector<Glib::ustring>{ "dim-label" });
    m_reset.set_visible(hasFolder);
    m_sitePermissionsCaption.set_text(toUString(_(form.sitePermissionsCaption())));
    m_forgetSitePermissions.set_sensitive(form.canForgetSitePermissions());
    for (std::size_t index = 0; index < WorkspaceSettingsForm::proxyChoices.size(); ++index) {
        if (WorkspaceSettingsForm::proxyChoices[index].value == form.proxyType)
            m_proxyType.set_selected(index);
    }
    m_proxyFields.set_visible(form.usesProxy());
    m_passwordLabel->set_text(toUString(_(form.passwordLabel())));
    m_proxyMessage->set_visible(!form.proxyIsValid());
    m_save.set_sensitive(form.canSave());
    m_isRendering = false;
}

void WorkspaceSettingsSheet::chooseFolder()
{
    if (!m_form)
        return;
    m_dependencies.chooseFolder(*this, [this, alive = std::weak_ptr<bool>(m_alive)](std::string path) {
        if (alive.expired())
            return;
        m_form->downloadFolderPath = std::move(path);
        render();
    });
}

void WorkspaceSettingsSheet::save()
{
    // Return reaches here too, so the rule of the disabled button is checked again.
    if (!m_form || !m_form->canSave())
        return;
    auto change = m_form->change();
    if (change.forgetSitePermissions && m_dependencies.sitePermissions)
        m_dependencies.sitePermissions->forget(change.record.id);
    saveWorkspaceSettings(
        m_dependencies.sessions, m_dependencies.keychain, m_dependencies.alerts, std::move(change));
    m_dependencies.dismiss();
}

Task<void> WorkspaceSettingsSheet::confirmLock(WorkspaceSettingsSheet* sheet, std::weak_ptr<bool> alive)
{
    auto name = sheet->m_form->workspace().name;
    auto answer
        = co_await sheet->m_dependencies.authenticator.authenticate(fillIn(_("Lock {} in Cohortex"), name));
    if (alive.expired() || !sheet->m_form)
        co_return;
    sheet->m_form->lockAnswered(answer);
    sheet->render();
}

} // namespace cohortex
