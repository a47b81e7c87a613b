#include "Engine/WebKitGtk/StoreDirectories.h"

#include "Platform/Linux/XdgDirectories.h"

namespace cohortex {

StoreDirectories StoreDirectories::forStorage(const Uuid& storage)
{
    auto folder = std::filesystem::path("cohortex") / "stores" / storage.string();
    return { xdgDataHome() / folder, xdgCacheHome() / folder };
}

} // namespace cohortex
