#include "Platform/Linux/PolkitAuthenticator.h"

#include "Platform/Linux/GLibAsync.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Support/Error.h"
#include "Support/Log.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <polkit/polkit.h>
#include <sstream>
#include <unistd.h>
#include <utility>

namespace cohortex {

namespace {

using Clock = std::chrono::steady_clock;
using AuthorityAnswer = Expected<GObjectPtr<PolkitAuthority>>;

double secondsUntil(Clock::time_point deadline)
{
    return std::chrono::duration<double>(deadline - Clock::now()).count();
}

Error noAnswer()
{
    std::ostringstream message;
    message << "the polkit authority did not answer within " << PolkitAuthenticator::probeTimeout
            << " seconds";
    return Error{ message.str() };
}

// polkit keeps one authority per process and creates it on a GLib worker thread, under a global lock,
// connecting to the system bus. A request that timed out may still hold that lock: a new request would
// block the main thread until it lets go, and would then be handed the old request's failed authority.
// So there is never more than one request at a time in the whole process.
bool s_isRequestingAuthority = false;

CallbackAwaitable<AuthorityAnswer> requestAuthority(double seconds)
{
    if (s_isRequestingAuthority) {
        return awaitCallback<AuthorityAnswer>([](auto resume) {
            resume(std::unexpected(Error{ "an earlier request for the polkit authority has not finished" }));
        });
    }
    s_isRequestingAuthority = true;
    return awaitWithin<AuthorityAnswer>(
        seconds, std::unexpected(noAnswer()), [](GCancellable* cancellable, auto resume) {
            auto ready = asyncReady([resume](GObject*, GAsyncResult* result) {
                s_isRequestingAuthority = false;
                GErrorPtr error;
                GObjectPtr<PolkitAuthority> authority(polkit_authority_get_finish(result, error.out()));
                if (authority)
                    resume(std::move(authority));
                else
                    resume(std::unexpected(error.toError()));
            });
            polkit_authority_get_async(cancellable, ready.callback, ready.userData);
        });
}

// Listing the actions is the only way polkit offers to learn whether one is registered. It also
// proves that a daemon answers: without one the call fails, after starting it by bus activation
// where the system can.
CallbackAwaitable<Expected<bool>> isRegistered(
    const GObjectPtr<PolkitAuthority>& authority, const std::string& actionId, double seconds)
{
    return awaitWithin<Expected<bool>>(
        seconds, std::unexpected(noAnswer()), [authority, actionId](GCancellable* cancellable, auto resume) {
            auto ready = asyncReady([authority, actionId, resume](GObject*, GAsyncResult* result) {
                GErrorPtr error;
                auto* list = polkit_authority_enumerate_actions_finish(authority.get(), result, error.out());
                // An empty list is NULL too, so only the error tells a failure.
                if (error)
                    return resume(std::unexpected(error.toError()));
                auto actions = adoptObjectList<PolkitActionDescription>(list);
                resume(std::ranges::any_of(actions, [&](const auto& action) {
                    return actionId == polkit_action_description_get_action_id(action.get());
                }));
            });
            polkit_authority_enumerate_actions(authority.get(), cancellable, ready.callback, ready.userData);
        });
}

Authentication authorizationFinished(PolkitAuthority* authority, GAsyncResult* result)
{
    GErrorPtr error;
    GObjectPtr<PolkitAuthorizationResult> answer(
        polkit_authority_check_authorization_finish(authority, result, error.out()));
    if (!answer) {
        if (!error.matches(G_IO_ERROR, G_IO_ERROR_CANCELLED))
            logWarning("polkit could not check the permission to unlock a workspace: " + error.message());
        return Authentication::Failed;
    }
    if (polkit_authorization_result_get_is_authorized(answer.get()))
        return Authentication::Succeeded;
    // User interaction was allowed, so "a challenge is still needed" means no agent took it.
    if (polkit_authorization_result_get_is_challenge(answer.get())) {
        log(LogLevel::Info,
            "No polkit authentication agent is running, so no password prompt could be shown");
        return Authentication::NoAgent;
    }
    return Authentication::Failed;
}

// No timeout here: the agent's prompt waits for the user, for as long as the user takes.
//
// The subject is this process, owned by the user running it; polkitd accepts such a check from an
// unprivileged caller only when it carries no details, so the reason cannot travel along (neither as
// "polkit.message" nor as a detail of our own) and the agent shows the message of our policy file.
CallbackAwaitable<Authentication> checkAuthorization(const GObjectPtr<PolkitAuthority>& authority,
    const std::string& actionId, const GObjectPtr<GCancellable>& cancellable)
{
    return awaitCallback<Authentication>([authority, actionId, cancellable](auto resume) {
        GObjectPtr<PolkitSubject> subject(polkit_unix_process_new_for_owner(getpid(), 0, getuid()));
        auto ready = asyncReady([authority, resume](GObject*, GAsyncResult* result) {
            resume(authorizationFinished(authority.get(), result));
        });
        polkit_authority_check_authorization(authority.get(), subject.get(), actionId.c_str(), nullptr,
            POLKIT_CHECK_AUTHORIZATION_FLAGS_ALLOW_USER_INTERACTION, cancellable.get(), ready.callback,
            ready.userData);
    });
}

} // namespace

// Shared with the coroutines and GLib callbacks still running, so it outlives the authenticator when
// they do.
class PolkitAuthenticator::State : public std::enable_shared_from_this<State> {
public:
    explicit State(std::string actionId)
        : m_actionId(std::move(actionId))
        , m_prompts(g_cancellable_new())
    {
    }

    bool isAvailable()
    {
        if (!isFresh())
            probe();
        return m_answer.value_or(false);
    }

    Task<bool> probe()
    {
        if (!m_probe.isValid() || m_probe.isDone())
            m_probe = runProbe(shared_from_this());
        return m_probe;
    }

    static Task<Authentication> authenticate(std::shared_ptr<State> self)
    {
        bool isAvailable = self->isFresh() && *self->m_answer;
        if (!isAvailable)
            isAvailable = co_await self->probe();
        if (!isAvailable || self->m_isShutDown)
            co_return Authentication::Failed;
        co_return co_await checkAuthorization(self->m_authority, self->m_actionId, self->m_prompts);
    }

    void shutDown()
    {
        m_isShutDown = true;
        g_cancellable_cancel(m_prompts.get());
        m_changed.disconnect();
        m_ownerChanged.disconnect();
    }

private:
    bool isFresh() const
    {
        return m_answer && m_answeredAt
            && Clock::now() - *m_answeredAt < std::chrono::duration<double>(availabilityLifetime);
    }

    static Task<bool> runProbe(std::shared_ptr<State> self)
    {
        auto deadline = Clock::now()
            + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(probeTimeout));
        if (!self->m_authority) {
            auto authority = co_await requestAuthority(secondsUntil(deadline));
            if (!authority)
                co_return self->remember(std::unexpected(authority.error()));
            self->adopt(std::move(*authority));
        }
        co_return self->remember(
            co_await isRegistered(self->m_authority, self->m_actionId, secondsUntil(deadline)));
    }

    void adopt(GObjectPtr<PolkitAuthority> authority)
    {
        m_authority = std::move(authority);
        if (m_isShutDown)
            return;
        m_changed = { m_authority,
            g_signal_connect(m_authority.get(), "changed", G_CALLBACK(authorityChanged), this) };
        m_ownerChanged = { m_authority,
            g_signal_connect(m_authority.get(), "notify::owner", G_CALLBACK(authorityOwnerChanged), this) };
    }

    bool remember(const Expected<bool>& answer)
    {
        bool isAvailable = answer.value_or(false);
        if (m_answer != isAvailable) {
            auto why = answer
                ? "polkit does not know the action " + m_actionId + " (is its policy file installed?)"
                : answer.error().message;
            log(LogLevel::Info,
                isAvailable ? "polkit can prompt to unlock workspaces"
                            : "Workspace locks cannot prompt: " + why);
        }
        m_answer = isAvailable;
        // A change announced while this probe ran may have come too late for it to see.
        m_answeredAt = std::exchange(m_isOutdated, false) ? std::nullopt : std::optional(Clock::now());
        return isAvailable;
    }

    // Actions come and go as policy files are installed, and a daemon that starts or stops changes
    // everything, so the next question gets a new probe.
    static void authorityChanged(PolkitAuthority*, gpointer state)
    {
        static_cast<State*>(state)->forgetAnswer();
    }
    static void authorityOwnerChanged(GObject*, GParamSpec*, gpointer state)
    {
        static_cast<State*>(state)->forgetAnswer();
    }
    void forgetAnswer()
    {
        m_answeredAt.reset();
        m_isOutdated = m_probe.isValid() && !m_probe.isDone();
        probe();
    }

    std::string m_actionId;
    GObjectPtr<GCancellable> m_prompts;
    GObjectPtr<PolkitAuthority> m_authority;
    GSignalConnection m_changed;
    GSignalConnection m_ownerChanged;
    bool m_isShutDown{ false };
    bool m_isOutdated{ false };
    std::optional<bool> m_answer;
    // Empty once the answer is known to be out of date.
    std::optional<Clock::time_point> m_answeredAt;
    Task<bool> m_probe;
};

PolkitAuthenticator::PolkitAuthenticator(FirstProbe firstProbe)
    : m_state(std::make_shared<State>(std::string(actionId)))
{
    if (firstProbe == FirstProbe::AtOnce)
        m_state->probe();
}

PolkitAuthenticator::PolkitAuthenticator(std::string checkedActionId)
    : m_state(std::make_shared<State>(std::move(checkedActionId)))
{
    m_state->probe();
}

PolkitAuthenticator::~PolkitAuthenticator()
{
    m_state->shutDown();
}

bool PolkitAuthenticator::isAvailable() const
{
    return m_state->isAvailable();
}

// The reason is not passed on: see checkAuthorization.
Task<Authentication> PolkitAuthenticator::authenticate(std::string)
{
    return State::authenticate(m_state);
}

Task<bool> PolkitAuthenticator::refreshAvailability() const
{
    return m_state->probe();
}

} // namespace cohortex
