// A throw-away world for one test: an empty folder and a scratch registry
// key, reached through the backend of the build. On Linux the whole platform
// (drives, registry store, shell folders, temp folder) lives inside a fresh
// temporary directory; under Wine the real Win32 calls are used on a fresh
// folder below the temp path and a scratch key below HKCU\Software.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace cindral::test {

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    platform::Platform& platform();

    // Windows path of an empty folder owned by this sandbox, with a trailing "\".
    std::string root() const;
    // Path, below HKEY_CURRENT_USER, of an empty scratch key (no leading or
    // trailing "\"); deleted with everything below it when the sandbox goes.
    std::string registryScratchPath() const;
    // For a test that fills keys of the system's own, which the engine reads
    // at fixed paths: no other test holding them runs until this sandbox
    // goes. Under Wine every test process shares the prefix's registry, and
    // one test's clean-up would empty the values another is about to read;
    // on Linux each sandbox has a store of its own and this does nothing.
    void holdSystemKeys();

    // Test set-up helpers that bypass the backend under test.
    bool writeFile(const std::string& windowsPath, const std::string& bytes);
    bool makeFolder(const std::string& windowsPath);
    // Creates a symbolic link at linkPath pointing at targetPath (a folder
    // or a file). False when the system cannot make links.
    bool makeSymlink(const std::string& linkPath, const std::string& targetPath, bool isFolder);
    bool exists(const std::string& windowsPath);
    // Sets or clears the read-only attribute (on Linux: the owner's write
    // permission, which the posix backend reports as read-only).
    bool setReadOnly(const std::string& windowsPath, bool readOnly);
    // Creates a file of `size` bytes without writing them (sparse where the
    // file system can).
    bool makeSizedFile(const std::string& windowsPath, std::uint64_t size);

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace cindral::test
