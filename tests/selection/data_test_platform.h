// A sandboxed platform whose program folder, Windows folder and cookie folder
// lie inside the sandbox, and whose file writes can be made to fail.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/sandbox.h"
#include "support/forwarding_system.h"

namespace cindral::test {

class RedirectedFiles : public platform::Files {
public:
    explicit RedirectedFiles(platform::Files& inner) : inner_(inner) {}
    bool failWrites = false;
    std::vector<std::string> unreadable;  // readFile fails for these paths
    std::string windows;

    bool listFolder(const std::string& f, std::vector<platform::DirEntry>& e) override {
        return inner_.listFolder(f, e);
    }
    bool deleteFile(const std::string& p) override { return inner_.deleteFile(p); }
    bool createFolder(const std::string& p) override { return inner_.createFolder(p); }
    bool fileExists(const std::string& p) override { return inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return inner_.folderExists(p); }
    bool readFile(const std::string& p, std::string& b) override {
        for (const auto& u : unreadable)
            if (u == p) return false;
        return inner_.readFile(p, b);
    }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return !failWrites && inner_.writeFileAtomic(p, b);
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
    std::string windowsFolder() override { return windows; }
    std::string tempPath() override { return inner_.tempPath(); }

private:
    platform::Files& inner_;
};

class RedirectedSystem : public cindral::test::ForwardingSystem {
public:
    explicit RedirectedSystem(platform::System& inner) : ForwardingSystem(inner) {}
    std::string exePath;
    platform::SystemVersion ver{platform::kPlatformNt, 5, 1};
    platform::SystemTime now{2006, 3, 0, 5, 9, 4, 7, 0};

    platform::SystemTime localTime() override { return now; }
    platform::SystemVersion version() override { return ver; }
    std::string executablePath() override { return exePath; }
};

class RedirectedShellFolders : public platform::ShellFolders {
public:
    std::string cookies;
    std::string specialFolder(int csidl) override {
        return csidl == platform::kCsidlCookies ? cookies : std::string();
    }
};

// The program lives in <sandbox>\Prog\ (cindral.exe), Windows in
// <sandbox>\Win, cookies in <sandbox>\Cookies.
struct DataTestPlatform {
    Sandbox sandbox;
    RedirectedFiles files{*sandbox.platform().files};
    RedirectedSystem system{*sandbox.platform().system};
    RedirectedShellFolders shellFolders;
    platform::Platform platform;

    DataTestPlatform() {
        platform = sandbox.platform();
        platform.files = &files;
        platform.system = &system;
        platform.shellFolders = &shellFolders;
        system.exePath = home() + "cindral.exe";
        files.windows = sandbox.root() + "Win";
        shellFolders.cookies = sandbox.root() + "Cookies";
        sandbox.makeFolder(sandbox.root() + "Prog");
    }
    std::string home() const { return sandbox.root() + "Prog\\"; }
    std::string read(const std::string& path) {
        std::string bytes;
        if (!sandbox.platform().files->readFile(path, bytes)) return "<missing>";
        return bytes;
    }
};

}  // namespace cindral::test
