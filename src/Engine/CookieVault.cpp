#include "Engine/CookieVault.h"

namespace cohortex {

Task<std::optional<Bytes>> MemoryCookieVault::load(Uuid storage)
{
    auto found = m_items.find(storage);
    if (found == m_items.end())
        co_return std::nullopt;
    co_return found->second;
}

Task<void> MemoryCookieVault::save(std::optional<Bytes> blob, Uuid storage)
{
    if (blob)
        m_items[storage] = std::move(*blob);
    else
        m_items.erase(storage);
    co_return;
}

} // namespace cohortex
