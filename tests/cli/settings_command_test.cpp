#include "cli/settings_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "settings/outside_entries.h"
#include "settings/scratch_registry.h"
#include "settings/settings_store.h"
#include "support/fake_services.h"

namespace cindral::cli {
namespace {

using test::ScratchRegistry;

const char kKey[] = "Software\\Quorvane\\Cindral";
const char kRunLine[] = "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral = ";
const char kPageLine[] = "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page = ";

// The listing has one line per value and holds every expected line.
void expectListing(ScratchRegistry& reg, const std::vector<std::string>& expected) {
    std::ostringstream out;
    writeSettingsListing(reg, out);
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    EXPECT_EQ(lines.size(), 27u);
    for (const auto& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
}

TEST(SettingsListing, AbsentValuesShowTheirDefaultsCreatingNothingAndStoredOnesAsStored) {
    ScratchRegistry reg;
    expectListing(
        reg,
        {
            "StoreDate = 1 (default for start-up, Options dialog); 0 (default for run completion)",
            std::string(kRunLine) + "(not set)",
        });
    EXPECT_FALSE(reg.keyExists(kKey));
    EXPECT_FALSE(reg.keyExists(settings::kRunKeyPath));
    EXPECT_FALSE(reg.keyExists(settings::kBrowserMainKeyPath));
    EXPECT_EQ(reg.openHandles(), 0u);

    // Stored values are shown escaped on one line, wrong types as defaults.
    reg.put(kKey, "Passess", platform::kRegDword, std::string(4, '\xFF'));
    reg.put(kKey, "HomePage", platform::kRegSz, std::string("a\r\nb\t\"c\"\x01\x7F\xC3\xA9\0", 13));
    reg.put(kKey, "LogRefreshLines", platform::kRegDword, std::string("\x01\0", 2));
    reg.put(kKey, "HotKey1", platform::kRegDword, std::string(4, '\1'));
    reg.put(kKey, "PluginFolder", platform::kRegBinary, "x");
    settings::writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe");
    reg.put(settings::kBrowserMainKeyPath, "Start Page", platform::kRegDword, std::string(4, '\1'));
    expectListing(
        reg,
        {
            "Passess = 4294967295",
            "HomePage = \"a\\r\\nb\\t\\\"c\\\"\\x01\\x7F\xC3\xA9\"",
            "LogRefreshLines = 2500 (default) [stored value is not a REG_DWORD of 4 bytes]",
            "HotKey1 = \"Shift+Ctrl+Alt+X\" (default) [stored value is not a REG_SZ]",
            "PluginFolder = \"\" (default for the plug-in editor) [stored value is not a REG_SZ]",
            std::string(kRunLine) +
                "\"\\\"C:\\\\Program Files\\\\Cindral\\\\cindral.exe\\\" -m -s\"",
            std::string(kPageLine) + "(set) [stored value is not a REG_SZ]",
        });

    // The settings command lists the registry of the platform it is given.
    CliApp app([&](const platform::NativeOptions&) {
        platform::Platform services;
        services.registry = &reg;
        return std::make_unique<test::FakeNativePlatform>(services);
    });
    registerSettingsCommand(app);
    std::ostringstream out, err;
    EXPECT_EQ(app.run({"settings"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("\nPassess = 4294967295\n"), std::string::npos);
}

}  // namespace
}  // namespace cindral::cli
