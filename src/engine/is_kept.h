// Keeper lists: entries the user protects from erasure (cookies by full path,
// typed addresses and open/save history by value data).
#pragma once

#include <string>
#include <vector>

#include "platform/system.h"

namespace cindral::engine {

using KeeperList = std::vector<std::string>;

// True when some entry of the list equals the text without regard to case
// (both sides lower-cased by the system's rules, whole text, no trimming).
// False when there is no list.
bool IsKept(const KeeperList* list, const std::string& text, platform::System& sys);

}  // namespace cindral::engine
