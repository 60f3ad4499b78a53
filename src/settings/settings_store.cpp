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

bool SettingsStore::readSwitch(const std::string& name, std::uint32_t def) const {
    return readNumber(name, def) != 0;
}

std::string SettingsStore::readText(const std::string& name, const std::string& def) const {
    return platform::readText(*registry_, key_, name, def);
}

bool SettingsStore::writeNumber(const std::string& name, std::uint32_t value) const {
    return platform::writeNumber(*registry_, key_, name, value);
}

bool SettingsStore::writeText(const std::string& name, const std::string& value) const {
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

SettingInfo numberSetting(const char* name, std::vector<ReaderDefault> defaults,
                          const char* meaning) {
    return SettingInfo{name, ValueType::Number, std::move(defaults), meaning};
}

SettingInfo textSetting(const char* name, std::vector<ReaderDefault> defaults,
                        const char* meaning) {
    return SettingInfo{name, ValueType::Text, std::move(defaults), meaning};
}

std::vector<SettingInfo> buildTable() {
    return {
        numberSetting(kInvisibleMode, {number(0)},
                      "start without tray icon and main window (only while HotKey2 is set)"),
        numberSetting(kStoreDate,
                      {number(1, "start-up, Options dialog"), number(0, "run completion")},
                      "record LastDate after a cleaning run and show it at start"),
        numberSetting(kStoreLog, {number(0)}, "save the log file after a run"),
        numberSetting(kResultWindow, {number(1)}, "show the result window after a run"),
        numberSetting(kCloseIEBeforeErasing, {number(0)},
                      "close all browser windows before a cleaning run"),
        textSetting(kHotKey1, {text("Shift+Ctrl+Alt+X")}, "hotkey for the Clean Now command"),
        textSetting(kHotKey2,
                    {text("Ctrl+Shift+U", "start-up hotkey registration, Options dialog"),
                     text("Ctrl+U",
                          "start-up invisible-mode test, second-instance message, "
                          "hotkey re-registration after the Options dialog")},
                    "invisible-mode hotkey"),
        textSetting(kHotKey3,
                    {text("Shift+Alt+B", "start-up, Options dialog"),
                     text("Shift+B", "hotkey re-registration after the Options dialog")},
                    "boss key"),
        numberSetting(kPassess, {number(0)}, "overwriting passes minus one (0 to 9)"),
        numberSetting(kMethodDestruction, {number(1)},
                      "overwriting method: 1 zero, 2 zero + reverse, 3 zero + reverse + random"),
        numberSetting(kSecureErasing, {number(0)}, "overwrite files before deleting them"),
        numberSetting(kEraseEvery, {number(0)}, "periodic cleaning on"),
        numberSetting(kEraseEveryTime, {number(0)},
                      "period: 0 15 minutes, 1 one hour, 2 eight hours, 3 one day"),
        numberSetting(kEraseStart, {number(0)}, "clean when the program starts"),
        numberSetting(kEraseWinStart, {number(0)},
                      "clean when the program is started with the system"),
        numberSetting(kEraseWinShutdown, {number(0)}, "clean when the system session ends"),
        numberSetting(kEraseIEShutDown, {number(0)}, "clean when the last browser window closes"),
        numberSetting(kBossKey, {number(1)},
                      "boss-key action: 1 hide or show, 2 close, 3 close and clean quietly"),
        numberSetting(kLockHomePage, {number(0)}, "keep the browser's start page at HomePage"),
        textSetting(kHomePage, {text("about:blank")}, "the locked start page"),
        numberSetting(kLogRefreshEnable, {number(0)}, "empty the log view automatically"),
        numberSetting(kLogRefreshLines, {number(2500)},
                      "line count at which the log view is emptied"),
        textSetting(kLastDate, {text("")}, "start of the last completed cleaning run"),
        textSetting(kHomeFolder, {}, "the program's folder (written at start, never read)"),
        textSetting(kPluginFolder, {}, "the plug-in folder (written at start, never read)"),
    };
}

}  // namespace

const std::vector<SettingInfo>& settingsTable() {
    static const std::vector<SettingInfo> table = buildTable();
    return table;
}

const SettingInfo* findSetting(const std::string& name) {
    for (const auto& info : settingsTable())
        if (info.name == name) return &info;
    return nullptr;
}

}  // namespace cindral::settings
