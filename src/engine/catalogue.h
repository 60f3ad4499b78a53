// The action of each of the 24 built-in items: the registry entries and path
// templates it hands to the cleaners, the keeper list it consults, and the
// few items that call system services.
#pragma once

#include <string>

#include "engine/engine_context.h"
#include "platform/run_services.h"

namespace cindral::engine {

// The data files the catalogue reads (full paths).
struct CatalogueFiles {
    std::string addressesKept;  // item 1
    std::string cookieKept;     // item 2
    std::string openSaveKept;   // item 6
    std::string driveScan;      // item 24
};

// Performs the action of the item at `position` (1 to 24, catalogue order)
// with the run's Erase flag; any other position does nothing. Sets
// KeeperMode for the items that have a keeper list. A keeper file that
// exists but cannot be read stops that item before it touches anything:
// "Keeper list cannot be read: " + path + " <SKIPPED>".
void PerformBuiltInItem(EngineContext& ctx, platform::RunServices& services,
                        const CatalogueFiles& files, int position);

// The Opera folder of items 17 to 19: "Last Directory" under
// HKEY_CURRENT_USER\Software\Opera Software\, else "C:\Program Files\Opera";
// trimmed, with a trailing "\".
std::string OperaFolder(platform::Platform& platform);

}  // namespace cindral::engine
