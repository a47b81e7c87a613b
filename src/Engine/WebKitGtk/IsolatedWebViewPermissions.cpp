#include "Engine/WebKitGtk/IsolatedWebViewCoordinator.h"
#include "Engine/WebKitGtk/PermissionPrompt.h"
#include "Models/SitePermission.h"
#include "Services/PageNotifications.h"
#include "Services/SitePermissions.h"
#include "Support/Translation.h"

// What a page may use, decided per workspace and site: the camera and microphone of a call, the screen,
// the location, notifications and the clipboard are asked for once and the answer kept (the screen each
// time); the device list a call shows follows the answer about the camera and microphone. WebKit's own
// answers stand for the rest: the pointer may be locked (a click starts it and Escape ends it), while
// protected media, a frame's access to its cookies on another site and installing media plugins are
// refused, since this browser offers none of them.
//
// Notifications go to the desktop, named after their workspace; a click brings the page forward.

namespace cohortex {

namespace {

struct OriginFree {
    void operator()(WebKitSecurityOrigin* origin) const { webkit_security_origin_unref(origin); }
};
using OriginPtr = std::unique_ptr<WebKitSecurityOrigin, OriginFree>;

struct Site {
    std::string origin;
    std::string host;
};

// Pages without a host of their own (a blank page, data and file addresses) have nothing to be allowed.
std::optional<Site> siteOf(WebKitWebView* view)
{
    const char* uri = webkit_web_view_get_uri(view);
    OriginPtr origin(uri ? webkit_security_origin_new_for_uri(uri) : nullptr);
    const char* host = origin ? webkit_security_origin_get_host(origin.get()) : nullptr;
    if (!host || !*host)
        return std::nullopt;
    GCharPtr text(webkit_security_origin_to_string(origin.get()));
    if (!text)
        return std::nullopt;
    return Site{ text.get(), host };
}

std::vector<SitePermission> permissionsAsked(WebKitPermissionRequest* request)
{
    using enum SitePermission;
    if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
        auto* media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
        if (webkit_user_media_permission_is_for_display_device(media))
            return { screen };
        std::vector<SitePermission> asked;
        if (webkit_user_media_permission_is_for_video_device(media))
            asked.push_back(camera);
        if (webkit_user_media_permission_is_for_audio_device(media))
            asked.push_back(microphone);
        return asked;
    }
    if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request))
        return { notifications };
    if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request))
        return { location };
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request))
        return { clipboard };
    return {};
}

void answer(WebKitPermissionRequest* request, bool allowed)
{
    if (allowed)
        webkit_permission_request_allow(request);
    else
        webkit_permission_request_deny(request);
}

struct OriginListFree {
    void operator()(GList* list) const
    {
        g_list_free_full(list, GDestroyNotify(webkit_security_origin_unref));
    }
};
using OriginList = std::unique_ptr<GList, OriginListFree>;

OriginList originList(const std::vector<std::string>& origins)
{
    GList* list = nullptr;
    for (const auto& origin : origins)
        list = g_list_prepend(list, webkit_security_origin_new_for_uri(origin.c_str()));
    return OriginList(list);
}

} // namespace

bool IsolatedWebView::Coordinator::decidePermission(WebKitWebView* view, WebKitPermissionRequest* request)
{
    auto* permissions = m_services.sitePermissions;
    if (!permissions)
        return false;
    const auto& workspaceId = m_configuration.workspaceId;
    auto site = siteOf(view);
    // Naming the camera and microphone is for a site that may use them.
    if (WEBKIT_IS_DEVICE_INFO_PERMISSION_REQUEST(request)) {
        answer(request,
            site
                && (permissions->decision(workspaceId, site->origin, SitePermission::camera) == true
                    || permissions->decision(workspaceId, site->origin, SitePermission::microphone) == true));
        return true;
    }
    auto asked = permissionsAsked(request);
    if (asked.empty())
        return false;
    if (!site) {
        answer(request, false);
        return true;
    }
    switch (permissions->answer(workspaceId, site->origin, asked)) {
    case SitePermissions::Answer::allow:
        answer(request, true);
        break;
    case SitePermissions::Answer::deny:
        answer(request, false);
        break;
    case SitePermissions::Answer::ask:
        askPermission(view, request, std::move(site->origin), site->host, std::move(asked));
        break;
    }
    return true;
}

void IsolatedWebView::Coordinator::askPermission(WebKitWebView* view, WebKitPermissionRequest* request,
    std::string origin, const std::string& host, std::vector<SitePermission> asked)
{
    auto name = m_configuration.workspaceName ? m_configuration.workspaceName()
                                              // TRANSLATORS: stands in for the workspace's name in the
                                              // question "Allow {} to use your camera on example.com?".
                                              : std::string(_("this workspace"));
    PermissionPrompt::Question question{ permissionQuestion(name, host, asked),
        _(permissionQuestionDetail(asked)) };
    // A page that asks again before the user has answered gets the same answer, not a second dialog.
    for (const auto& [key, prompt] : m_prompts) {
        auto* waiting = dynamic_cast<PermissionPrompt*>(prompt.get());
        if (waiting && waiting->heading() == question.heading) {
            waiting->join(request);
            return;
        }
    }
    auto remember
        = [weak = weak_from_this(), origin = std::move(origin), asked](PermissionPrompt::Answer answer) {
              auto self = weak.lock();
              if (!self || answer == PermissionPrompt::Answer::dismiss)
                  return;
              self->m_services.sitePermissions->remember(self->m_configuration.workspaceId, origin, asked,
                  answer == PermissionPrompt::Answer::allow);
          };
    auto prompt = std::make_unique<PermissionPrompt>(view, request, question, remember, dropWhenAnswered());
    m_prompts.emplace(prompt.get(), std::move(prompt));
}

// Scripts ask navigator.permissions before they ask for anything, and show their own hints from it.
bool IsolatedWebView::Coordinator::answerPermissionQuery(
    WebKitWebView* view, WebKitPermissionStateQuery* query)
{
    auto permission = permissionNamed(webkit_permission_state_query_get_name(query));
    auto site = siteOf(view);
    if (!m_services.sitePermissions || !permission || !site)
        return false;
    auto decided
        = m_services.sitePermissions->decision(m_configuration.workspaceId, site->origin, *permission);
    webkit_permission_state_query_finish(query,
        !decided       ? WEBKIT_PERMISSION_STATE_PROMPT
            : *decided ? WEBKIT_PERMISSION_STATE_GRANTED
                       : WEBKIT_PERMISSION_STATE_DENIED);
    return true;
}

// Pages read Notification.permission without asking, before they decide whether to notify at all: each new
// web process of the workspace starts out knowing the sites' answers.
void IsolatedWebView::Coordinator::watchNotificationPermissions(WebKitWebContext* context)
{
    if (!m_services.sitePermissions)
        return;
    m_connections.push_back(connectSignal(context, "initialize-notification-permissions",
        G_CALLBACK(+[](WebKitWebContext* context, Coordinator* self) {
            const auto& permissions = *self->m_services.sitePermissions;
            const auto& workspaceId = self->m_configuration.workspaceId;
            auto allowed = originList(permissions.sites(workspaceId, SitePermission::notifications, true));
            auto refused = originList(permissions.sites(workspaceId, SitePermission::notifications, false));
            webkit_web_context_initialize_notification_permissions(context, allowed.get(), refused.get());
        }),
        this));
}

bool IsolatedWebView::Coordinator::showNotification(WebKitNotification* notification)
{
    auto* notifications = m_services.pageNotifications;
    if (!notifications)
        return false;
    const char* title = webkit_notification_get_title(notification);
    const char* pageTitle = webkit_web_view_get_title(m_view.get());
    const char* body = webkit_notification_get_body(notification);
    auto number = notifications->show({ .workspaceId = m_configuration.workspaceId,
        .tabId = m_configuration.tabId,
        .pageTitle = pageTitle ? pageTitle : "",
        .title = title ? title : "",
        .body = body ? body : "",
        .clicked = [weak = weak_from_this(), notification] {
            if (auto self = weak.lock())
                self->notificationClicked(notification);
        } });
    auto& shown = m_notifications[notification];
    shown.notification = GObjectPtr<WebKitNotification>::retain(notification);
    shown.number = number;
    // The page took it back, or showed another with the same tag in its place.
    shown.closed = connectSignal(notification, "closed",
        G_CALLBACK(+[](WebKitNotification* closed, Coordinator* self) {
            auto found = self->m_notifications.find(closed);
            if (found == self->m_notifications.end())
                return;
            auto number = found->second.number;
            self->m_notifications.erase(found);
            self->m_services.pageNotifications->withdraw(number);
        }),
        this);
    return true;
}

void IsolatedWebView::Coordinator::notificationClicked(WebKitNotification* notification)
{
    auto found = m_notifications.find(notification);
    if (found == m_notifications.end())
        return;
    auto clicked = std::move(found->second.notification);
    m_notifications.erase(found);
    webkit_notification_clicked(clicked.get());
}

// What the page said stays on the desktop after the page has gone; a click then shows the workspace.
void IsolatedWebView::Coordinator::releaseNotifications()
{
    auto notifications = std::exchange(m_notifications, {});
    for (const auto& [notification, shown] : notifications)
        m_services.pageNotifications->release(shown.number);
}

} // namespace cohortex
