#include "Engine/KeychainCookieVault.h"

#include "Engine/KeychainService.h"

namespace cohortex {

namespace {

Task<void> saveBlob(KeychainService& keychain, std::optional<Bytes> blob, std::string key)
{
    if (blob)
        co_await keychain.set(std::move(*blob), std::move(key));
    else
        co_await keychain.remove(std::move(key));
}

} // namespace

KeychainCookieVault::KeychainCookieVault(KeychainService& keychain)
    : m_keychain(keychain)
{
}

Task<Expected<std::optional<Bytes>>> KeychainCookieVault::load(Uuid storage)
{
    return m_keychain.getData(key(storage));
}

Task<void> KeychainCookieVault::save(std::optional<Bytes> blob, Uuid storage)
{
    return saveBlob(m_keychain, std::move(blob), key(storage));
}

std::string KeychainCookieVault::key(const Uuid& storage)
{
    return "session_cookies_" + storage.string();
}

} // namespace cohortex
