// The registry cleaner: one registry entry "ROOT\key path,Action,ValueName"
// is logged and counted (test run) or also erased (clean run).
#pragma once

#include <string>

#include "engine/engine_context.h"
#include "engine/is_kept.h"
#include "platform/registry.h"

namespace cindral::engine {

// The parsed entry. KeyPath is lower-cased, starts with "\" and ends in "\"
// ("\software\x\"); Action and ValueName are lower-cased.
struct TRegObject {
    platform::RootKey RootKey = platform::RootKey::CurrentUser;
    std::string KeyPath;
    std::string ValueName;
    std::string Action;
};

// The five roots an entry may name, exactly as written (case matters).
bool RegistryRootByName(const std::string& name, platform::RootKey& root);

// The actions, as the parsed entry holds them (lower case).
inline constexpr const char* kRegistryActions[] = {"onlyvalues", "allvalues", "onlysubkeys",
                                                   "onevalue"};

// False when the entry names no known root (case matters: "HKEY_CURRENT_USER"
// and the other four exactly), lacks its two commas, or names the root key
// itself, whose whole contents no entry may erase. The entry ends at a NUL,
// as the registry calls read names.
bool ParseRegistryEntry(const std::string& entry, platform::System& sys, TRegObject& out);

// Runs one entry with the actions "onlyvalues", "allvalues", "onlysubkeys"
// and "onevalue"; any other action, and an entry that does not parse, does
// nothing. `keepers` protects value data while KeeperMode is 1 or 6.
void CleanRegistryEntry(EngineContext& ctx, const std::string& entry, const KeeperList* keepers);

}  // namespace cindral::engine
