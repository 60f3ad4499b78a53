#include "settings/outside_entries.h"

namespace cindral::settings {

using platform::KeyHolder;
using platform::RootKey;

namespace {

KeyHolder createKey(platform::Registry& reg, const char* path) {
    return KeyHolder(reg, platform::openOrCreateKey(reg, RootKey::CurrentUser, path));
}

KeyHolder readKey(platform::Registry& reg, const char* path) {
    return KeyHolder(reg, platform::openKeyForReading(reg, RootKey::CurrentUser, path));
}

bool readRaw(platform::Registry& reg, const char* path, const char* name, platform::RegValue& out) {
    KeyHolder key = readKey(reg, path);
    return key && reg.queryValue(key.get(), name, out);
}

}  // namespace

std::string startWithWindowsCommand(const std::string& exePath) {
    return "\"" + exePath + "\" -m -s";
}

bool writeStartWithWindows(platform::Registry& reg, const std::string& exePath) {
    if (exePath.empty()) return false;
    KeyHolder key = createKey(reg, kRunKeyPath);
    return platform::writeText(reg, key.get(), kRunValueName, startWithWindowsCommand(exePath));
}

bool deleteStartWithWindows(platform::Registry& reg) {
    KeyHolder key = createKey(reg, kRunKeyPath);
    if (!key) return false;
    reg.deleteValue(key.get(), kRunValueName);
    return !platform::valueExists(reg, key.get(), kRunValueName);
}

bool startWithWindowsExists(platform::Registry& reg) {
    KeyHolder key = readKey(reg, kRunKeyPath);
    return platform::valueExists(reg, key.get(), kRunValueName);
}

bool readStartWithWindows(platform::Registry& reg, platform::RegValue& out) {
    return readRaw(reg, kRunKeyPath, kRunValueName, out);
}

bool writeStartPage(platform::Registry& reg, const std::string& text) {
    KeyHolder key = createKey(reg, kBrowserMainKeyPath);
    return platform::writeText(reg, key.get(), kStartPageValueName, text);
}

bool readStartPage(platform::Registry& reg, platform::RegValue& out) {
    return readRaw(reg, kBrowserMainKeyPath, kStartPageValueName, out);
}

}  // namespace cindral::settings
