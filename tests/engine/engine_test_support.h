// Shared pieces of the engine tests: a recording log view, Files decorators
// for fault injection, and a fixture that gives each test a sandbox, a run
// state and an engine context over them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "settings/settings_store.h"
#include "support/sandbox.h"

namespace cindral::engine::test {

class RecordingView : public LogView {
public:
    std::vector<std::string> lines;
    void addLine(const std::string& text) override { lines.push_back(text); }
    void replaceLastLine(const std::string& text) override {
        if (lines.empty())
            lines.push_back(text);
        else
            lines.back() = text;
    }
    void deleteLastLine() override {
        if (!lines.empty()) lines.pop_back();
    }
    std::size_t lineCount() override { return lines.size(); }
};

// Passes every call through to another Files; tests override what they break.
class FilesDecorator : public platform::Files {
public:
    explicit FilesDecorator(platform::Files& inner) : inner_(inner) {}
    bool listFolder(const std::string& f, std::vector<platform::DirEntry>& e) override {
        return inner_.listFolder(f, e);
    }
    bool deleteFile(const std::string& p) override { return inner_.deleteFile(p); }
    bool createFolder(const std::string& p) override { return inner_.createFolder(p); }
    bool fileExists(const std::string& p) override { return inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return inner_.folderExists(p); }
    bool readFile(const std::string& p, std::string& b) override { return inner_.readFile(p, b); }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return inner_.writeFileAtomic(p, b);
    }
    bool fileSize(const std::string& p, std::uint64_t& s) override { return inner_.fileSize(p, s); }
    bool renameFile(const std::string& a, const std::string& b) override {
        return inner_.renameFile(a, b);
    }
    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        return inner_.openForOverwrite(p);
    }
    std::uint32_t logicalDrives() override { return inner_.logicalDrives(); }
    std::uint32_t driveType(const std::string& r) override { return inner_.driveType(r); }
    std::string windowsFolder() override { return inner_.windowsFolder(); }
    std::string tempPath() override { return inner_.tempPath(); }

protected:
    platform::Files& inner_;
};

// Hooks on the calls the fault-injection tests care about.
class HookedFiles : public FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    // Return false to make the call fail without reaching the file system.
    std::function<bool(const std::string&)> beforeList;
    std::function<bool(const std::string&)> beforeDelete;
    std::vector<std::string> deleted;   // paths handed to deleteFile
    std::vector<std::string> listed;    // folders handed to listFolder

    bool listFolder(const std::string& f, std::vector<platform::DirEntry>& e) override {
        listed.push_back(f);
        if (beforeList && !beforeList(f)) return false;
        return inner_.listFolder(f, e);
    }
    bool deleteFile(const std::string& p) override {
        deleted.push_back(p);
        if (beforeDelete && !beforeDelete(p)) return false;
        return inner_.deleteFile(p);
    }
};

// A sandbox with an engine context whose Files can be decorated.
class EngineTest : public ::testing::Test {
protected:
    EngineTest()
        : platform_(box_.platform()),
          hooked_(*box_.platform().files),
          store_(*box_.platform().registry),
          ctx_{platform_, run_, view_, store_} {
        platform_.files = &hooked_;
    }
    ~EngineTest() override {
        // The settings key is shared with the rest of the suite under Wine.
        for (const char* name :
             {settings::kSecureErasing, settings::kPassess, settings::kMethodDestruction}) {
            if (wroteSetting_.count(name)) {
                platform::KeyHolder key(*box_.platform().registry,
                                        platform::openOrCreateKey(*box_.platform().registry,
                                                                  platform::RootKey::CurrentUser,
                                                                  settings::kSettingsKeyPath));
                box_.platform().registry->deleteValue(key.get(), name);
            }
        }
    }

    void setSetting(const char* name, std::uint32_t value) {
        wroteSetting_.insert(name);
        ASSERT_TRUE(store_.writeNumber(name, value));
    }

    // A file below the sandbox root; parent folders are created.
    void file(const std::string& relative, const std::string& bytes = "x") {
        const std::string path = box_.root() + relative;
        const auto slash = path.rfind('\\');
        ASSERT_TRUE(box_.makeFolder(path.substr(0, slash))) << path;
        ASSERT_TRUE(box_.writeFile(path, bytes)) << path;
    }
    void folder(const std::string& relative) { ASSERT_TRUE(box_.makeFolder(box_.root() + relative)); }
    bool exists(const std::string& relative) { return box_.exists(box_.root() + relative); }
    std::string at(const std::string& relative) const { return box_.root() + relative; }

    cindral::test::Sandbox box_;
    platform::Platform platform_;
    HookedFiles hooked_;
    settings::SettingsStore store_;
    RunState run_;
    RecordingView view_;
    EngineContext ctx_;
    std::set<std::string> wroteSetting_;
};

}  // namespace cindral::engine::test
