#include "Platform/Linux/SecretServiceStore.h"

#include "Platform/Linux/GLibAsync.h"
#include "Platform/Linux/GLibPtr.h"
#include "Support/CallbackAwaitable.h"
#include "Support/Log.h"
#include "Support/Text.h"

#include <libsecret/secret.h>
#include <memory>
#include <string_view>
#include <utility>

namespace cohortex {

namespace {

constexpr const char* serviceName = "com.kestrelwick.cohortex.keychain";

const SecretSchema* schema()
{
    static const SecretSchema schema = [] {
        SecretSchema schema{};
        schema.name = "com.kestrelwick.cohortex.Secret";
        schema.flags = SECRET_SCHEMA_NONE;
        schema.attributes[0] = { "service", SECRET_SCHEMA_ATTRIBUTE_STRING };
        schema.attributes[1] = { "account", SECRET_SCHEMA_ATTRIBUTE_STRING };
        return schema;
    }();
    return &schema;
}

struct SecretValueUnref {
    void operator()(SecretValue* value) const { secret_value_unref(value); }
};
using SecretValuePtr = std::unique_ptr<SecretValue, SecretValueUnref>;

// Once per process: without a keyring every save would fail again, and a warning each time says nothing new.
void warnOnce(std::string_view message)
{
    static bool hasWarned = false;
    if (std::exchange(hasWarned, true))
        return;
    logWarning(
        std::string("The keyring did not answer, so session cookies and proxy passwords are not kept: ")
        + std::string(message));
}

// Starts a libsecret call through `start(callback, userData)` and waits for what `finish` reads from its
// result. The callback's state belongs to GLib until libsecret completes the call, which it always does,
// failed or not.
template <typename T, typename Start>
CallbackAwaitable<T> awaitSecretCall(T (*finish)(GAsyncResult*), Start start)
{
    return awaitCallback<T>([finish, start = std::move(start)](std::function<void(T)> resume) {
        auto ready = asyncReady(
            [finish, resume = std::move(resume)](GObject*, GAsyncResult* result) { resume(finish(result)); });
        start(ready.callback, ready.userData);
    });
}

// On a worker thread: touches nothing but libsecret, which guards what it shares between threads.
Expected<std::optional<Bytes>> lookupNow(const std::string& account)
{
    GErrorPtr error;
    SecretValuePtr value(secret_password_lookup_binary_sync(
        schema(), nullptr, error.out(), "service", serviceName, "account", account.c_str(), nullptr));
    if (error)
        return std::unexpected(error.toError());
    if (!value)
        return std::optional<Bytes>();
    gsize length = 0;
    auto* bytes = reinterpret_cast<const std::uint8_t*>(secret_value_get(value.get(), &length));
    return std::optional(Bytes(bytes, bytes + length));
}

bool finishStore(GAsyncResult* result)
{
    GErrorPtr error;
    bool stored = secret_password_store_finish(result, error.out());
    if (error)
        warnOnce(error.message());
    return stored && !error;
}

// Clearing answers false without an error when nothing matched, which is success for us.
bool finishClear(GAsyncResult* result)
{
    GErrorPtr error;
    secret_password_clear_finish(result, error.out());
    if (error)
        warnOnce(error.message());
    return !error;
}

// A read is several round trips to the keyring. Made from the main thread, each waits for the main loop,
// which at launch is busy making the window and the link's page while the page waits for the read; a
// worker makes them one after another in a main context of its own.
CallbackAwaitable<Expected<std::optional<Bytes>>> lookupOnWorker(const std::string& account)
{
    using Answer = Expected<std::optional<Bytes>>;
    return awaitCallback<Answer>([account](std::function<void(Answer)> resume) {
        auto answer = std::make_shared<Answer>();
        MainQueue::requireCurrent().runOffMainThread([account, answer] { *answer = lookupNow(account); },
            [answer, resume = std::move(resume)] { resume(std::move(*answer)); });
    });
}

Task<Expected<std::optional<Bytes>>> lookup(std::string account)
{
    auto answer = co_await lookupOnWorker(account);
    if (!answer)
        warnOnce(answer.error().message);
    co_return answer;
}

Task<bool> storeItem(std::string account, Bytes secret)
{
    // Text is marked as such, so that keyring managers show a password rather than a blob.
    std::string_view text(reinterpret_cast<const char*>(secret.data()), secret.size());
    SecretValuePtr value(secret_value_new(text.data(), static_cast<gssize>(text.size()),
        isValidUtf8(text) ? "text/plain" : "application/octet-stream"));
    std::string label = "Cohortex: " + account;
    co_return co_await awaitSecretCall(&finishStore, [&](GAsyncReadyCallback callback, gpointer data) {
        secret_password_store_binary(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), value.get(), nullptr,
            callback, data, "service", serviceName, "account", account.c_str(), nullptr);
    });
}

Task<bool> clear(std::string account)
{
    co_return co_await awaitSecretCall(&finishClear, [&account](GAsyncReadyCallback callback, gpointer data) {
        secret_password_clear(
            schema(), nullptr, callback, data, "service", serviceName, "account", account.c_str(), nullptr);
    });
}

} // namespace

Task<Expected<std::optional<Bytes>>> SecretServiceStore::read(std::string account)
{
    return lookup(std::move(account));
}

Task<bool> SecretServiceStore::store(std::string account, Bytes secret)
{
    return storeItem(std::move(account), std::move(secret));
}

Task<bool> SecretServiceStore::remove(std::string account)
{
    return clear(std::move(account));
}

} // namespace cohortex
