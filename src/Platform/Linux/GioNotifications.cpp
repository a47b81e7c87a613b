#include "Platform/Linux/GioNotifications.h"

#include "Models/DesktopNotice.h"
#include "Platform/Linux/GLibPtr.h"

#include <string>

namespace cohortex {

namespace {

std::string applicationAction(std::string_view commandName)
{
    return "app." + std::string(commandName);
}

// A new floating reference for each use: the notification sinks the one it is given.
GVariant* targetOf(const DesktopNotice& notice)
{
    return notice.commandArgument ? g_variant_new_int32(*notice.commandArgument) : nullptr;
}

} // namespace

GioNotifications::GioNotifications(GApplication* application)
    : m_application(application)
{
}

void GioNotifications::send(const DesktopNotice& notice)
{
    if (!m_application)
        return;
    GObjectPtr<GNotification> notification(g_notification_new(std::string(notice.title).c_str()));
    g_notification_set_body(notification.get(), std::string(notice.body).c_str());
    for (const auto& button : notice.buttons) {
        g_notification_add_button_with_target_value(notification.get(), std::string(button.label).c_str(),
            applicationAction(button.commandName).c_str(), targetOf(notice));
    }
    if (!notice.defaultCommandName.empty())
        g_notification_set_default_action_and_target_value(
            notification.get(), applicationAction(notice.defaultCommandName).c_str(), targetOf(notice));
    g_application_send_notification(m_application, std::string(notice.id).c_str(), notification.get());
}

void GioNotifications::withdraw(std::string_view id)
{
    if (m_application)
        g_application_withdraw_notification(m_application, std::string(id).c_str());
}

} // namespace cohortex
