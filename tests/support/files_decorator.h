// Files decorators for fault injection: the faults go through the real
// backend and the real callers, not through mocks of either.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

namespace cindral::test {

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
    std::string lastErrorText() override { return inner_.lastErrorText(); }
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

// Fails the n-th call (counting from 1) of any operation, as a failing
// disk, a full one or a file locked for a moment would; every other call
// goes through. `calls` counts them, so a test can loop n over every call an
// operation makes: once calls < n, nothing failed.
class FaultyFiles : public FilesDecorator {
public:
    FaultyFiles(platform::Files& inner, int failAt) : FilesDecorator(inner), failAt_(failAt) {}
    int calls = 0;

    bool listFolder(const std::string& f, Entries& e) override {
        return !fails() && inner_.listFolder(f, e);
    }
    bool deleteFile(const std::string& p) override { return !fails() && inner_.deleteFile(p); }
    bool createFolder(const std::string& p) override { return !fails() && inner_.createFolder(p); }
    bool fileExists(const std::string& p) override { return !fails() && inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return !fails() && inner_.folderExists(p); }
    bool readFile(const std::string& p, std::string& b) override {
        b.clear();
        return !fails() && inner_.readFile(p, b);
    }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return !fails() && inner_.writeFileAtomic(p, b);
    }
    bool fileSize(const std::string& p, std::uint64_t& s) override {
        return !fails() && inner_.fileSize(p, s);
    }
    bool renameFile(const std::string& a, const std::string& b) override {
        return !fails() && inner_.renameFile(a, b);
    }
    std::unique_ptr<platform::OverwriteFile> openForOverwrite(const std::string& p) override {
        return fails() ? nullptr : inner_.openForOverwrite(p);
    }

private:
    bool fails() { return ++calls == failAt_; }
    int failAt_;
};

}  // namespace cindral::test
