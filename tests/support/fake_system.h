// The system of the build's backend with the clock, the version and the
// program's own path chosen by the test (the text rules stay the backend's),
// and special folders chosen by the test.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/shell_folders.h"
#include "platform/system.h"

namespace cindral::test {

class FakeSystem : public platform::System {
public:
    explicit FakeSystem(platform::System& inner) : inner_(inner) {}

    std::string exePath;  // empty: the backend's
    std::optional<platform::SystemTime> now;
    std::optional<platform::SystemVersion> ver;

    platform::SystemTime localTime() override { return now ? *now : inner_.localTime(); }
    platform::SystemVersion version() override { return ver ? *ver : inner_.version(); }
    std::string executablePath() override {
        return exePath.empty() ? inner_.executablePath() : exePath;
    }
    std::string upperCase(const std::string& t) override { return inner_.upperCase(t); }
    std::string lowerCase(const std::string& t) override { return inner_.lowerCase(t); }
    int compareNoCase(const std::string& a, const std::string& b) override {
        return inner_.compareNoCase(a, b);
    }
    std::string decimalSeparator() override { return inner_.decimalSeparator(); }

private:
    platform::System& inner_;
};

// A folder missing from the map is one the system cannot provide (empty).
class FakeShellFolders : public platform::ShellFolders {
public:
    std::map<int, std::string> folders;
    std::string specialFolder(int csidl) override {
        const auto it = folders.find(csidl);
        return it == folders.end() ? std::string() : it->second;
    }
};

}  // namespace cindral::test
