// The program's settings: the named values of its registry key of the current
// user, each with the default its readers use, and the store that holds the
// key. Every reader and writer goes through the Settings interface with the
// constants below, so names and defaults are written once, here.
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

// A value of the settings key and the default its readers use when it is
// absent. A few readers have a default of their own (see settingsTable());
// they pass it when they read.
struct NumberSetting {
    const char* name;
    std::uint32_t byDefault;
};
struct TextSetting {
    const char* name;
    const char* byDefault;
};

// Switches hold 0 or 1; a reader takes any number but 0 as on.
inline constexpr NumberSetting kInvisibleMode{"InvisibleMode", 0};
inline constexpr NumberSetting kStoreDate{"StoreDate", 1};  // run completion: 0
inline constexpr NumberSetting kStoreLog{"StoreLog", 0};
inline constexpr NumberSetting kResultWindow{"ResultWindow", 1};
inline constexpr NumberSetting kCloseIEBeforeErasing{"CloseIEBeforeErasing", 0};
inline constexpr TextSetting kHotKey1{"HotKey1", "Shift+Ctrl+Alt+X"};
inline constexpr TextSetting kHotKey2{"HotKey2", "Ctrl+Shift+U"};
inline constexpr TextSetting kHotKey3{"HotKey3", "Shift+Alt+B"};
inline constexpr NumberSetting kPassess{"Passess", 0};  // spelled as stored
inline constexpr NumberSetting kMethodDestruction{"MethodDestruction", 1};
inline constexpr NumberSetting kSecureErasing{"SecureErasing", 0};
inline constexpr NumberSetting kEraseEvery{"EraseEvery", 0};
inline constexpr NumberSetting kEraseEveryTime{"EraseEveryTime", 0};
inline constexpr NumberSetting kEraseStart{"EraseStart", 0};
inline constexpr NumberSetting kEraseWinStart{"EraseWinStart", 0};
inline constexpr NumberSetting kEraseWinShutdown{"EraseWinShutdown", 0};
inline constexpr NumberSetting kEraseIEShutDown{"EraseIEShutDown", 0};
inline constexpr NumberSetting kBossKey{"BossKey", 1};
inline constexpr NumberSetting kLockHomePage{"LockHomePage", 0};
inline constexpr TextSetting kHomePage{"HomePage", "about:blank"};
inline constexpr NumberSetting kLogRefreshEnable{"LogRefreshEnable", 0};
inline constexpr NumberSetting kLogRefreshLines{"LogRefreshLines", 2500};
inline constexpr TextSetting kLastDate{"LastDate", ""};
// Written at every start; only the plug-in editor reads them.
inline constexpr TextSetting kHomeFolder{"HomeFolder", ""};
inline constexpr TextSetting kPluginFolder{"PluginFolder", ""};

// The settings as the program reads and writes them. Reading never fails: a
// value that is absent or of the wrong type reads as the default. Writing
// reports success; the program's writers do not look at it.
class Settings {
public:
    virtual ~Settings() = default;

    std::uint32_t read(const NumberSetting& s) const { return readNumber(s.name, s.byDefault); }
    std::uint32_t read(const NumberSetting& s, std::uint32_t readerDefault) const {
        return readNumber(s.name, readerDefault);
    }
    bool isOn(const NumberSetting& s) const { return read(s) != 0; }
    std::string read(const TextSetting& s) const { return readText(s.name, s.byDefault); }
    std::string read(const TextSetting& s, const std::string& readerDefault) const {
        return readText(s.name, readerDefault);
    }
    bool write(const NumberSetting& s, std::uint32_t value) { return writeNumber(s.name, value); }
    bool write(const TextSetting& s, const std::string& value) { return writeText(s.name, value); }

protected:
    virtual std::uint32_t readNumber(const std::string& name, std::uint32_t def) const = 0;
    virtual std::string readText(const std::string& name, const std::string& def) const = 0;
    virtual bool writeNumber(const std::string& name, std::uint32_t value) = 0;
    virtual bool writeText(const std::string& name, const std::string& value) = 0;
};

// The settings key in the registry. The key is opened once, with full
// access, and the handle is held for the life of the store.
class SettingsStore : public Settings {
public:
    // Opens (creating if missing) the settings key with full access. The
    // key path (below HKEY_CURRENT_USER) is only ever changed by tests.
    explicit SettingsStore(platform::Registry& registry,
                           const std::string& keyPath = kSettingsKeyPath);
    // For inspection tools and test runs: opens the key for reading only and
    // creates nothing; every write then fails.
    static SettingsStore openForReading(platform::Registry& registry,
                                        const std::string& keyPath = kSettingsKeyPath);

    ~SettingsStore() override;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    SettingsStore(SettingsStore&& other) noexcept;
    SettingsStore& operator=(SettingsStore&&) = delete;

    // False when no handle was obtained: reads give their defaults and
    // writes fail without touching anything.
    bool isOpen() const { return key_ != platform::kNoKey; }

    bool valueExists(const std::string& name) const;
    // The raw value, for tools that show what is stored; false when absent.
    bool queryRaw(const std::string& name, platform::RegValue& out) const;

protected:
    // The stored REG_DWORD; the default when absent, of another type, or not
    // exactly four bytes.
    std::uint32_t readNumber(const std::string& name, std::uint32_t def) const override;
    // The stored REG_SZ up to its first NUL; the default when absent or of
    // another type.
    std::string readText(const std::string& name, const std::string& def) const override;
    bool writeNumber(const std::string& name, std::uint32_t value) override;
    bool writeText(const std::string& name, const std::string& value) override;

private:
    SettingsStore(platform::Registry& registry, platform::RegKey key);

    platform::Registry* registry_;
    platform::RegKey key_;
};

// ---------------------------------------------------------------------------
// The table of every value of the settings key, in its documented order, with
// the default each reader uses: the constants' defaults, and the readers'
// own where they have one. It feeds the command-line "settings" listing.

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

}  // namespace cindral::settings
