// The fixtures the tests stack: a SandboxTest holds the in-memory fakes and
// a sandbox (its own folder and scratch registry key) with every system
// folder inside it, reached through the fault-injecting decorators; a
// HomeTest adds the program's home folder with its data files
// and a settings store on the scratch key.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/data_paths.h"
#include "engine/builtin_items.h"
#include "platform/platform.h"
#include "settings/fake_settings.h"
#include "settings/settings_store.h"
#include "support/fake_services.h"
#include "support/fake_system.h"
#include "support/faulty_files.h"
#include "support/faulty_registry.h"
#include "support/sandbox.h"

namespace cindral::test {

using Lines = std::vector<std::string>;

inline Lines sorted(Lines v) {
    std::sort(v.begin(), v.end());
    return v;
}

class SandboxTest : public ::testing::Test {
protected:
    SandboxTest() {
        platform_ = box_.platform();
        platform_.files = &files_;
        platform_.system = &system_;
        platform_.shellFolders = &folders_;
        platform_.registry = &registry_;
        // Nothing a test runs may reach the system's own folders.
        files_.windows = at("Win");
        files_.temp = at("Temp\\");
        folders_.folders = {{platform::kCsidlAppData, at("AppData")},
                            {platform::kCsidlCookies, at("Cookies")},
                            {platform::kCsidlHistory, at("History")},
                            {platform::kCsidlInternetCache, at("Cache")},
                            {platform::kCsidlRecent, at("Recent")}};
    }

    std::string at(const std::string& relative) const { return box_.root() + relative; }
    // Writes a file, making its folder first.
    void write(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(box_.makeFolder(path.substr(0, path.rfind('\\')))) << path;
        ASSERT_TRUE(box_.writeFile(path, bytes)) << path;
    }
    void file(const std::string& relative, const std::string& bytes = "x") {
        write(at(relative), bytes);
    }
    void folder(const std::string& relative) { ASSERT_TRUE(box_.makeFolder(at(relative))); }
    bool exists(const std::string& relative) { return box_.exists(at(relative)); }
    std::string read(const std::string& path) {
        std::string bytes;
        return box_.platform().files->readFile(path, bytes) ? bytes : "<missing>";
    }

    // Registry keys by their path below HKEY_CURRENT_USER, past the decorator.
    std::string scratch(const std::string& sub) const {
        return box_.registryScratchPath() + "\\" + sub;
    }
    // A key below the scratch key as an entry text names it.
    std::string regKey(const std::string& sub) const {
        return "HKEY_CURRENT_USER\\" + scratch(sub);
    }
    void setRegText(const std::string& path, const std::string& name, const std::string& value) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(
            reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser, path));
        ASSERT_TRUE(platform::writeText(reg, key.get(), name, value)) << path;
    }
    // The key's value names, sorted; none when the key is missing.
    Lines regValues(const std::string& path) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder key(
            reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser, path));
        Lines names;
        if (key) reg.valueNames(key.get(), names);
        return sorted(names);
    }

    FakeSettings settings_;
    FakeServices fakes_;
    Sandbox box_;
    FaultyFiles files_{*box_.platform().files};
    FakeSystem system_{*box_.platform().system};
    FakeShellFolders folders_;
    FaultyRegistry registry_{*box_.platform().registry};
    platform::Platform platform_;
};

class HomeTest : public SandboxTest {
protected:
    HomeTest()
        : home_(at("Home\\")),
          paths_(app::DataPaths::forHome(home_)),
          settingsKey_(scratch("Settings\\")),
          store_(*box_.platform().registry, settingsKey_) {
        system_.exePath = home_ + "cindral.exe";
        box_.makeFolder(home_);
    }

    // Writes "SelItems.dat" with every built-in item at "0" but those at the
    // given positions, and the extra keys (plug-in titles) as given.
    void select(std::initializer_list<int> positions,
                const std::map<std::string, std::string>& extra = {}) {
        std::string text = "[Items]\r\n";
        for (int position = 1; position <= engine::kBuiltInItemCount; ++position) {
            const bool on = std::count(positions.begin(), positions.end(), position) > 0;
            text += std::string(engine::BuiltInItems()[position - 1].name) + "=" +
                    (on ? "1" : "0") + "\r\n";
        }
        for (const auto& [key, value] : extra) text += key + "=" + value + "\r\n";
        write(paths_.selItems, text);
    }

    std::string home_;
    app::DataPaths paths_;
    std::string settingsKey_;
    settings::SettingsStore store_;
};

}  // namespace cindral::test
