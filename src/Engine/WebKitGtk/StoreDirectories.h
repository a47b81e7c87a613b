#pragma once

#include "Support/Uuid.h"

#include <filesystem>

namespace cohortex {

// Where one store keeps its files: website data under the user's data directory, caches under the
// cache directory, each in a folder named by the store's identifier in upper case.
struct StoreDirectories {
    std::filesystem::path data;
    std::filesystem::path cache;

    // $XDG_DATA_HOME/cohortex/stores/<UUID> and $XDG_CACHE_HOME/cohortex/stores/<UUID>. An unset, empty
    // or relative variable is ignored, as the XDG rules say, for ~/.local/share and ~/.cache.
    static StoreDirectories forStorage(const Uuid&);
};

} // namespace cohortex
