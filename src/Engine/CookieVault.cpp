#include "Engine/CookieVault.h"

namespace cohortex {

Task<Expected<std::optional<Bytes>>> MemoryCookieVault::load(Uuid storage)
{
    auto found = m_items.find(storage);
    if (found == m_items.end())
        co_return std::optional<Bytes>();
    co_return std::optional(found->second);
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
