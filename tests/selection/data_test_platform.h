// A sandboxed platform whose program folder, Windows folder and cookie folder
// lie inside the sandbox, and whose file reads and writes can be made to fail.
#pragma once

#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "platform/platform.h"
#include "support/forwarding_system.h"
#include "support/sandbox.h"

namespace cindral::test {

class RedirectedFiles : public engine::test::FilesDecorator {
public:
    using FilesDecorator::FilesDecorator;
    bool failWrites = false;
    std::vector<std::string> unreadable;  // readFile fails for these paths
    std::string windows;

    bool readFile(const std::string& p, std::string& b) override {
        for (const auto& u : unreadable)
            if (u == p) return false;
        return inner_.readFile(p, b);
    }
    bool writeFileAtomic(const std::string& p, const std::string& b) override {
        return !failWrites && inner_.writeFileAtomic(p, b);
    }
    bool writeFileAtomicFrom(const std::string& p, const ChunkSource& next) override {
        return !failWrites && inner_.writeFileAtomicFrom(p, next);
    }
    std::string windowsFolder() override { return windows; }
};

class RedirectedSystem : public ForwardingSystem {
public:
    using ForwardingSystem::ForwardingSystem;
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
