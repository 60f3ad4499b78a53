// Shared pieces of the run tests: fake run services, a home folder in a
// sandbox with helpers for its data files, and a recorder of everything a
// run tells its view.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/data_paths.h"
#include "app/item_queue.h"
#include "app/log_book.h"
#include "engine/builtin_items.h"
#include "platform/registry.h"
#include "platform/run_services.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

namespace cindral::test {

class FakeRecycleBin : public platform::RecycleBin {
public:
    bool queryOk = true, emptyOk = true;
    platform::RecycleBinContents contents;
    int emptied = 0;
    bool query(platform::RecycleBinContents& out) override {
        out = queryOk ? contents : platform::RecycleBinContents{};
        return queryOk;
    }
    bool empty() override {
        ++emptied;
        if (emptyOk) contents = {};
        return emptyOk;
    }
};

class FakeClipboard : public platform::Clipboard {
public:
    int emptied = 0;
    bool empty() override {
        ++emptied;
        return true;
    }
};

class FakeUrlCache : public platform::UrlCache {
public:
    std::vector<std::string> calls;  // "cache", "history"
    void clearCache() override { calls.push_back("cache"); }
    bool clearHistory() override {
        calls.push_back("history");
        return true;
    }
};

// `open` browser windows; closing asks them all, and they all go.
class FakeBrowserWindows : public platform::BrowserWindows {
public:
    int calls = 0, open = 0;
    std::vector<bool> shown;  // each showAll's argument
    int closeAll() override {
        ++calls;
        return std::exchange(open, 0);
    }
    bool anyOpen() override { return open > 0; }
    void showAll(bool show) override { shown.push_back(show); }
};

struct FakeServices {
    FakeRecycleBin bin;
    FakeClipboard clipboard;
    FakeUrlCache urlCache;
    FakeBrowserWindows browsers;
    platform::RunServices services{&urlCache, &bin, &clipboard, &browsers};
};

class FakeNativeServices : public platform::NativeRunServices {
public:
    explicit FakeNativeServices(FakeServices& fakes) : fakes_(fakes) {}
    platform::RunServices& services() override { return fakes_.services; }

private:
    FakeServices& fakes_;
};

// A home folder inside a sandbox, with every built-in item deselected unless
// a test selects it, and a settings store on a scratch key.
class HomeFixture : public ::testing::Test {
protected:
    HomeFixture()
        : platform_(box_.platform()),
          home_(box_.root() + "Home\\"),
          paths_(app::DataPaths::forHome(home_)),
          settingsKey_(box_.registryScratchPath() + "\\Settings\\"),
          store_(*box_.platform().registry, settingsKey_) {
        box_.makeFolder(home_ + "Data");
        box_.makeFolder(home_ + "Plug-Ins");
    }

    // Writes "SelItems.dat" with every built-in item at "0" but the given
    // positions, and the given extra keys (plug-in titles) as they are.
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

    void write(const std::string& path, const std::string& bytes) {
        const auto slash = path.rfind('\\');
        ASSERT_TRUE(box_.makeFolder(path.substr(0, slash))) << path;
        ASSERT_TRUE(box_.writeFile(path, bytes)) << path;
    }
    // A file below the sandbox root.
    std::string file(const std::string& relative, const std::string& bytes = "x") {
        write(box_.root() + relative, bytes);
        return box_.root() + relative;
    }
    bool exists(const std::string& relative) { return box_.exists(box_.root() + relative); }

    // A registry key below the scratch key, as an entry text's key part.
    std::string regKey(const std::string& sub) {
        return "HKEY_CURRENT_USER\\" + box_.registryScratchPath() + "\\" + sub;
    }
    void setRegText(const std::string& sub, const std::string& name, const std::string& value) {
        platform::Registry& reg = *platform_.registry;
        platform::KeyHolder key(reg,
                                platform::openOrCreateKey(reg, platform::RootKey::CurrentUser,
                                                          box_.registryScratchPath() + "\\" + sub));
        ASSERT_TRUE(key);
        ASSERT_TRUE(platform::writeText(reg, key.get(), name, value));
    }
    bool regValueExists(const std::string& sub, const std::string& name) {
        platform::Registry& reg = *platform_.registry;
        platform::KeyHolder key(
            reg, platform::openKeyForReading(reg, platform::RootKey::CurrentUser,
                                             box_.registryScratchPath() + "\\" + sub));
        return key && platform::valueExists(reg, key.get(), name);
    }

    Sandbox box_;
    platform::Platform platform_;
    std::string home_;
    app::DataPaths paths_;
    std::string settingsKey_;
    settings::SettingsStore store_;
    FakeServices fakes_;
};

}  // namespace cindral::test
