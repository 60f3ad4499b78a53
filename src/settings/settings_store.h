// The settings store: the named values of the program's registry key of the
// current user. The key is opened once, with full access, and the handle is
// held for the life of the store; every reader and writer goes through it.
//
// Each reader passes its own default: a few values have different defaults in
// different readers (see settingsTable()), so the store keeps none itself.
//
// Thread safety: the store holds only its registry reference and the handle,
// both fixed at construction, so the engine's worker thread may read through
// it while the user-interface thread reads and writes; the registry backend
// serialises the calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace cindral::settings {

// Below HKEY_CURRENT_USER, written with its trailing backslash.
inline constexpr char kSettingsKeyPath[] = "Software\\Quorvane\\Cindral\\";

// Value names of the settings key ("Passess" is spelled as stored).
inline constexpr char kInvisibleMode[] = "InvisibleMode";
inline constexpr char kStoreDate[] = "StoreDate";
inline constexpr char kStoreLog[] = "StoreLog";
inline constexpr char kResultWindow[] = "ResultWindow";
inline constexpr char kCloseIEBeforeErasing[] = "CloseIEBeforeErasing";
inline constexpr char kHotKey1[] = "HotKey1";
inline constexpr char kHotKey2[] = "HotKey2";
inline constexpr char kHotKey3[] = "HotKey3";
inline constexpr char kPassess[] = "Passess";
inline constexpr char kMethodDestruction[] = "MethodDestruction";
inline constexpr char kSecureErasing[] = "SecureErasing";
inline constexpr char kEraseEvery[] = "EraseEvery";
inline constexpr char kEraseEveryTime[] = "EraseEveryTime";
inline constexpr char kEraseStart[] = "EraseStart";
inline constexpr char kEraseWinStart[] = "EraseWinStart";
inline constexpr char kEraseWinShutdown[] = "EraseWinShutdown";
inline constexpr char kEraseIEShutDown[] = "EraseIEShutDown";
inline constexpr char kBossKey[] = "BossKey";
inline constexpr char kLockHomePage[] = "LockHomePage";
inline constexpr char kHomePage[] = "HomePage";
inline constexpr char kLogRefreshEnable[] = "LogRefreshEnable";
inline constexpr char kLogRefreshLines[] = "LogRefreshLines";
inline constexpr char kLastDate[] = "LastDate";
inline constexpr char kHomeFolder[] = "HomeFolder";
inline constexpr char kPluginFolder[] = "PluginFolder";

class SettingsStore {
public:
    // Opens (creating if missing) the settings key with full access. The
    // key path (below HKEY_CURRENT_USER) is only ever changed by tests.
    explicit SettingsStore(platform::Registry& registry,
                           const std::string& keyPath = kSettingsKeyPath);
    // For inspection tools: opens the key for reading only and creates
    // nothing; every write then fails.
    static SettingsStore openForReading(platform::Registry& registry,
                                        const std::string& keyPath = kSettingsKeyPath);

    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    SettingsStore(SettingsStore&& other) noexcept;
    SettingsStore& operator=(SettingsStore&&) = delete;

    // False when no handle was obtained: reads give their defaults and
    // writes fail without touching anything.
    bool isOpen() const { return key_ != platform::kNoKey; }

    // The stored REG_DWORD; the default when absent, of another type, or not
    // exactly four bytes.
    std::uint32_t readNumber(const std::string& name, std::uint32_t def) const;
    // A switch is on when its number is not 0.
    bool readSwitch(const std::string& name, std::uint32_t def) const;
    // The stored REG_SZ up to its first NUL; the default when absent or of
    // another type.
    std::string readText(const std::string& name, const std::string& def) const;
    bool writeNumber(const std::string& name, std::uint32_t value) const;
    bool writeText(const std::string& name, const std::string& value) const;
    bool valueExists(const std::string& name) const;
    // The raw value, for tools that show what is stored; false when absent.
    bool queryRaw(const std::string& name, platform::RegValue& out) const;

private:
    SettingsStore(platform::Registry& registry, platform::RegKey key);

    platform::Registry* registry_;
    platform::RegKey key_;
};

// ---------------------------------------------------------------------------
// The table of every value of the settings key, in its documented order, with
// the default each reader uses. It documents the store and feeds the
// command-line "settings" listing; readers still pass their defaults at the
// call site.

enum class ValueType { Number, Text };

struct ReaderDefault {
    std::string readers;  // who reads with this default; empty: every reader
    std::uint32_t number = 0;
    std::string text;
};

struct SettingInfo {
    std::string name;
    ValueType type = ValueType::Number;
    // Empty for values the program writes but never reads.
    std::vector<ReaderDefault> defaults;
    std::string meaning;
};

const std::vector<SettingInfo>& settingsTable();

// The table entry of a value name (exact match), or nullptr.
const SettingInfo* findSetting(const std::string& name);

}  // namespace cindral::settings
