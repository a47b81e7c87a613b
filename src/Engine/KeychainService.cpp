#include "Engine/KeychainService.h"

#include "Support/Text.h"

#include <string_view>

namespace cohortex {

namespace {

// Free coroutines on the store rather than members: nothing after a suspension reaches the service.
Task<std::optional<std::string>> readText(SecretStore& store, std::string key)
{
    auto data = co_await store.read(std::move(key));
    if (!data || !*data)
        co_return std::nullopt;
    std::string text((*data)->begin(), (*data)->end());
    if (!isValidUtf8(text))
        co_return std::nullopt;
    co_return text;
}

Task<bool> replace(SecretStore& store, Bytes value, std::string key)
{
    // The delete's answer does not matter: the add below decides whether the write succeeded.
    co_await store.remove(key);
    co_return co_await store.store(std::move(key), std::move(value));
}

Task<bool> refuse()
{
    co_return false;
}

} // namespace

KeychainService::KeychainService(SecretStore& store)
    : m_store(store)
{
}

Task<Expected<std::optional<Bytes>>> KeychainService::getData(std::string key)
{
    return m_store.read(std::move(key));
}

Task<std::optional<std::string>> KeychainService::get(std::string key)
{
    return readText(m_store, std::move(key));
}

Task<bool> KeychainService::set(Bytes value, std::string key)
{
    return replace(m_store, std::move(value), std::move(key));
}

Task<bool> KeychainService::set(std::string value, std::string key)
{
    if (!isValidUtf8(value))
        return refuse();
    return set(Bytes(value.begin(), value.end()), std::move(key));
}

Task<bool> KeychainService::remove(std::string key)
{
    return m_store.remove(std::move(key));
}

void KeychainService::deleteItem(std::string_view key)
{
    remove(std::string(key));
}

Task<std::optional<std::string>> KeychainService::proxyPassword(Uuid workspaceId)
{
    return get(proxyPasswordKey(workspaceId.string()));
}

} // namespace cohortex
