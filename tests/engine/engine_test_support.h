// Shared pieces of the engine tests: a recording log view, Files decorators
// for fault injection, and a fixture with a sandbox, a run state and an
// engine context over them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_context.h"
#include "support/sandbox.h"

namespace cindral::engine::test {

using Lines = std::vector<std::string>;

inline Lines sorted(Lines v) {
    std::sort(v.begin(), v.end());
    return v;
}

// Registry helpers on key paths below HKEY_CURRENT_USER.
inline void setText(platform::Registry& reg, const std::string& path, const std::string& name,
                    const std::string& data) {
    using platform::RootKey;
    platform::KeyHolder key(reg, platform::openOrCreateKey(reg, RootKey::CurrentUser, path));
    ASSERT_TRUE(platform::writeText(reg, key.get(), name, data)) << path;
}
// The key's value names, sorted; none when the key is missing.
inline Lines valueNames(platform::Registry& reg, const std::string& path) {
    Lines names;
    using platform::RootKey;
    platform::KeyHolder key(reg, platform::openKeyForReading(reg, RootKey::CurrentUser, path));
    if (key) reg.valueNames(key.get(), names);
    return sorted(names);
}

class RecordingView : public LogView {
public:
    std::vector<std::string> lines;
    void addLine(const std::string& text) override { lines.push_back(text); }
    void replaceLastLine(const std::string& text) override {
        if (lines.empty()) lines.emplace_back();
        lines.back() = text;
    }
    void deleteLastLine() override {
        if (!lines.empty()) lines.pop_back();
    }
};

// Passes every call through to another Files; tests override what they break.
class FilesDecorator : public platform::Files {
public:
    using Entries = std::vector<platform::DirEntry>;
    explicit FilesDecorator(platform::Files& inner) : inner_(inner) {}
    bool listFolder(const std::string& f, Entries& e) override { return inner_.listFolder(f, e); }
    bool deleteFile(const std::string& p) override { return inner_.deleteFile(p); }
    bool createFolder(const std::string& p) override { return inner_.createFolder(p); }
    bool fileExists(const std::string& p) override { return inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return inner_.folderExists(p); }
    bool readFile(const std::string& p, std::string& b) override { return inner_.readFile(p, b); }
    std::string storedText(std::string b) override { return inner_.storedText(std::move(b)); }
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
    std::string toWindowsPath(const std::string& h) const override {
        return inner_.toWindowsPath(h);
    }

protected:
    platform::Files& inner_;
};

// Records listings and deletions; a hook returning false fails its call
// without reaching the file system. The Windows and temp folders can be
// moved elsewhere.
class HookedFiles : public FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    std::function<bool(const std::string&)> beforeList, beforeDelete, beforeRead;
    std::vector<std::string> listed, deleted;
    std::string windows, temp;

    std::string windowsFolder() override {
        return windows.empty() ? inner_.windowsFolder() : windows;
    }
    std::string tempPath() override { return temp.empty() ? inner_.tempPath() : temp; }

    bool listFolder(const std::string& f, Entries& e) override {
        listed.push_back(f);
        return (!beforeList || beforeList(f)) && inner_.listFolder(f, e);
    }
    bool readFile(const std::string& p, std::string& b) override {
        return (!beforeRead || beforeRead(p)) && inner_.readFile(p, b);
    }
    bool deleteFile(const std::string& p) override {
        deleted.push_back(p);
        return (!beforeDelete || beforeDelete(p)) && inner_.deleteFile(p);
    }
};

class EngineTest : public ::testing::Test {
protected:
    EngineTest()
        : platform_(box_.platform()),
          hooked_(*box_.platform().files),
          ctx_{platform_, run_, view_, [this] { return wipe_; }} {
        platform_.files = &hooked_;
    }

    // A file below the sandbox root; parent folders are created.
    void file(const std::string& relative, const std::string& bytes = "x") {
        const std::string path = at(relative);
        ASSERT_TRUE(box_.makeFolder(path.substr(0, path.rfind('\\')))) << path;
        ASSERT_TRUE(box_.writeFile(path, bytes)) << path;
    }
    void folder(const std::string& relative) { ASSERT_TRUE(box_.makeFolder(at(relative))); }
    bool exists(const std::string& relative) { return box_.exists(at(relative)); }
    std::string at(const std::string& relative) const { return box_.root() + relative; }
    Lines sortedLines() const { return sorted(view_.lines); }

    cindral::test::Sandbox box_;
    platform::Platform platform_;
    HookedFiles hooked_;
    WipeSettings wipe_;
    RunState run_;
    RecordingView view_;
    EngineContext ctx_;
};

}  // namespace cindral::engine::test
