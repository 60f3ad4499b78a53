// Carrying out a built-in item's action: the registry entries and path
// templates it hands to the cleaners, the keeper list it consults, and the
// system services a few items call.
#pragma once

#include <string>

#include "engine/builtin_items.h"
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

// Performs an item's action with the run's Erase flag. Sets KeeperMode when
// the item's keeper file exists. A keeper file that exists but cannot be read
// stops the item before it touches anything:
// "Keeper list cannot be read: " + path + " <SKIPPED>".
void PerformBuiltInItem(EngineContext& ctx, platform::RunServices& services,
                        const CatalogueFiles& files, const BuiltInItem& item);

// The Opera folder of items 17 to 19: "Last Directory" under
// HKEY_CURRENT_USER\Software\Opera Software\, else "C:\Program Files\Opera";
// trimmed, with a trailing "\".
std::string OperaFolder(platform::Platform& platform);

}  // namespace cindral::engine
