#include "settings/settings_store.h"

#include <utility>

namespace cindral::settings {

using platform::kNoKey;

SettingsStore::SettingsStore(platform::Registry& registry, const std::string& keyPath)
    : registry_(&registry),
      key_(platform::openOrCreateKey(registry, platform::RootKey::CurrentUser, keyPath)) {}

SettingsStore::SettingsStore(platform::Registry& registry, platform::RegKey key)
    : registry_(&registry), key_(key) {}

SettingsStore SettingsStore::openForReading(platform::Registry& registry,
                                            const std::string& keyPath) {
    return SettingsStore(
        registry, platform::openKeyForReading(registry, platform::RootKey::CurrentUser, keyPath));
}

SettingsStore::SettingsStore(SettingsStore&& other) noexcept
    : registry_(other.registry_), key_(other.key_) {
    other.key_ = kNoKey;
}

SettingsStore::~SettingsStore() {
    if (key_ != kNoKey) registry_->closeKey(key_);
}

std::uint32_t SettingsStore::readNumber(const std::string& name, std::uint32_t def) const {
    return platform::readNumber(*registry_, key_, name, def);
}

std::string SettingsStore::readText(const std::string& name, const std::string& def) const {
    return platform::readText(*registry_, key_, name, def);
}

bool SettingsStore::writeNumber(const std::string& name, std::uint32_t value) {
    return platform::writeNumber(*registry_, key_, name, value);
}

bool SettingsStore::writeText(const std::string& name, const std::string& value) {
    return platform::writeText(*registry_, key_, name, value);
}

bool SettingsStore::valueExists(const std::string& name) const {
    return platform::valueExists(*registry_, key_, name);
}

bool SettingsStore::queryRaw(const std::string& name, platform::RegValue& out) const {
    if (key_ == kNoKey) return false;
    return registry_->queryValue(key_, name, out);
}

namespace {

ReaderDefault number(std::uint32_t value, std::string readers = {}) {
    ReaderDefault d;
    d.readers = std::move(readers);
    d.number = value;
    return d;
}

ReaderDefault text(std::string value, std::string readers = {}) {
    ReaderDefault d;
    d.readers = std::move(readers);
    d.text = std::move(value);
    return d;
}

SettingInfo row(const NumberSetting& s, const char* meaning) {
    return SettingInfo{s.name, ValueType::Number, {number(s.byDefault)}, meaning};
}

SettingInfo row(const TextSetting& s, const char* meaning) {
    return SettingInfo{s.name, ValueType::Text, {text(s.byDefault)}, meaning};
}

// A value whose readers do not all use the same default.
SettingInfo row(const NumberSetting& s, std::vector<ReaderDefault> perReader, const char* meaning) {
    return SettingInfo{s.name, ValueType::Number, std::move(perReader), meaning};
}

SettingInfo row(const TextSetting& s, std::vector<ReaderDefault> perReader, const char* meaning) {
    return SettingInfo{s.name, ValueType::Text, std::move(perReader), meaning};
}

std::vector<SettingInfo> buildTable() {
    return {
        row(kInvisibleMode, "start without tray icon and main window (only while HotKey2 is set)"),
        row(kStoreDate,
            {number(kStoreDate.byDefault, "start-up, Options dialog"), number(0, "run completion")},
            "record LastDate after a cleaning run and show it at start"),
        row(kStoreLog, "save the log file after a run"),
        row(kResultWindow, "show the result window after a run"),
        row(kCloseIEBeforeErasing, "close all browser windows before a cleaning run"),
        row(kHotKey1, "hotkey for the Clean Now command"),
        row(kHotKey2, "invisible-mode hotkey"),
        row(kHotKey3, "boss key"),
        row(kPassess, "overwriting passes minus one (0 to 9)"),
        row(kMethodDestruction,
            "overwriting method: 1 zero, 2 zero + reverse, 3 zero + reverse + random"),
        row(kSecureErasing, "overwrite files before deleting them"),
        row(kEraseEvery, "periodic cleaning on"),
        row(kEraseEveryTime, "period: 0 15 minutes, 1 one hour, 2 eight hours, 3 one day"),
        row(kEraseStart, "clean when the program starts"),
        row(kEraseWinStart, "clean when the program is started with the system"),
        row(kEraseWinShutdown, "clean when the system session ends"),
        row(kEraseIEShutDown, "clean when the last browser window closes"),
        row(kBossKey, "boss-key action: 1 hide or show, 2 close, 3 close and clean quietly"),
        row(kLockHomePage, "keep the browser's start page at HomePage"),
        row(kHomePage, "the locked start page"),
        row(kLogRefreshEnable, "empty the log view automatically"),
        row(kLogRefreshLines, "line count at which the log view is emptied"),
        row(kLastDate, "start of the last completed cleaning run"),
        row(kHomeFolder, {text(kHomeFolder.byDefault, "the plug-in editor")},
            "the program's folder (written at start; the program itself never reads it)"),
        row(kPluginFolder, {text(kPluginFolder.byDefault, "the plug-in editor")},
            "the plug-in folder (written at start; the program itself never reads it)"),
    };
}

}  // namespace

const std::vector<SettingInfo>& settingsTable() {
    static const std::vector<SettingInfo> table = buildTable();
    return table;
}

}  // namespace cindral::settings
