#include "cli/settings_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "settings/memory_registry.h"
#include "settings/outside_entries.h"
#include "settings/settings_store.h"

namespace cindral::cli {
namespace {

using test::dword;
using test::MemoryRegistry;

const char kKey[] = "Software\\Quorvane\\Cindral";

std::string sz(const std::string& text) { return text + std::string(1, '\0'); }

std::string listing(MemoryRegistry& reg) {
    std::ostringstream out;
    writeSettingsListing(reg, out);
    return out.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

// The line of one value.
std::string lineOf(const std::string& text, const std::string& name) {
    for (const auto& line : lines(text))
        if (line.rfind(name + " = ", 0) == 0) return line;
    return "<missing " + name + ">";
}

TEST(SettingsListing, EmptyRegistryShowsEveryDefaultInTableOrder) {
    MemoryRegistry reg;
    const std::string expected =
        "InvisibleMode = 0 (default)\n"
        "StoreDate = 1 (default for start-up, Options dialog); 0 (default for run completion)\n"
        "StoreLog = 0 (default)\n"
        "ResultWindow = 1 (default)\n"
        "CloseIEBeforeErasing = 0 (default)\n"
        "HotKey1 = \"Shift+Ctrl+Alt+X\" (default)\n"
        "HotKey2 = \"Ctrl+Shift+U\" (default for start-up hotkey registration, Options dialog); "
        "\"Ctrl+U\" (default for start-up invisible-mode test, second-instance message, "
        "hotkey re-registration after the Options dialog)\n"
        "HotKey3 = \"Shift+Alt+B\" (default for start-up, Options dialog); \"Shift+B\" "
        "(default for hotkey re-registration after the Options dialog)\n"
        "Passess = 0 (default)\n"
        "MethodDestruction = 1 (default)\n"
        "SecureErasing = 0 (default)\n"
        "EraseEvery = 0 (default)\n"
        "EraseEveryTime = 0 (default)\n"
        "EraseStart = 0 (default)\n"
        "EraseWinStart = 0 (default)\n"
        "EraseWinShutdown = 0 (default)\n"
        "EraseIEShutDown = 0 (default)\n"
        "BossKey = 1 (default)\n"
        "LockHomePage = 0 (default)\n"
        "HomePage = \"about:blank\" (default)\n"
        "LogRefreshEnable = 0 (default)\n"
        "LogRefreshLines = 2500 (default)\n"
        "LastDate = \"\" (default)\n"
        "HomeFolder = (not set)\n"
        "PluginFolder = (not set)\n"
        "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral = (not set)\n"
        "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page = (not set)\n";
    EXPECT_EQ(listing(reg), expected);
}

TEST(SettingsListing, ListingCreatesAndWritesNothing) {
    MemoryRegistry reg;
    listing(reg);
    EXPECT_FALSE(reg.keyExists(kKey));
    EXPECT_FALSE(reg.keyExists(settings::kRunKeyPath));
    EXPECT_FALSE(reg.keyExists(settings::kBrowserMainKeyPath));
    EXPECT_EQ(reg.openHandles(), 0u);
}

TEST(SettingsListing, StoredValuesReplaceTheDefaults) {
    MemoryRegistry reg;
    {
        settings::SettingsStore store(reg);
        store.writeNumber(settings::kStoreDate, 0);
        store.writeNumber(settings::kPassess, 0xFFFFFFFFu);  // -1 after an empty pass list
        store.writeText(settings::kHotKey2, "");
        store.writeText(settings::kLastDate, "03.07.2007 at 14:05:09");
        store.writeText(settings::kHomeFolder, "C:\\Program Files\\Cindral\\");
    }
    settings::writeStartWithWindows(reg, "C:\\Program Files\\Cindral\\cindral.exe");
    settings::writeStartPage(reg, "http://a.test/");
    const std::string text = listing(reg);
    EXPECT_EQ(lines(text).size(), 27u);
    EXPECT_EQ(lineOf(text, "StoreDate"), "StoreDate = 0");
    EXPECT_EQ(lineOf(text, "Passess"), "Passess = 4294967295");
    EXPECT_EQ(lineOf(text, "HotKey2"), "HotKey2 = \"\"");
    EXPECT_EQ(lineOf(text, "LastDate"), "LastDate = \"03.07.2007 at 14:05:09\"");
    EXPECT_EQ(lineOf(text, "HomeFolder"), "HomeFolder = \"C:\\\\Program Files\\\\Cindral\\\\\"");
    EXPECT_EQ(lineOf(text, "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral"),
              "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral = "
              "\"\\\"C:\\\\Program Files\\\\Cindral\\\\cindral.exe\\\" -m -s\"");
    EXPECT_EQ(lineOf(text, "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page"),
              "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page = "
              "\"http://a.test/\"");
}

TEST(SettingsListing, WrongTypesShowTheDefaultsAndSaySo) {
    MemoryRegistry reg;
    reg.put(kKey, "BossKey", platform::kRegSz, sz("2"));
    reg.put(kKey, "StoreDate", platform::kRegDword, std::string("\x01\0", 2));
    reg.put(kKey, "HomePage", platform::kRegDword, dword(1));
    reg.put(kKey, "HomeFolder", platform::kRegBinary, "x");
    reg.put(settings::kRunKeyPath, "Cindral", platform::kRegDword, dword(1));
    const std::string text = listing(reg);
    EXPECT_EQ(lineOf(text, "BossKey"),
              "BossKey = 1 (default) [stored value is not a REG_DWORD of 4 bytes]");
    EXPECT_EQ(lineOf(text, "StoreDate"),
              "StoreDate = 1 (default for start-up, Options dialog); 0 (default for run "
              "completion) [stored value is not a REG_DWORD of 4 bytes]");
    EXPECT_EQ(lineOf(text, "HomePage"),
              "HomePage = \"about:blank\" (default) [stored value is not a REG_SZ]");
    EXPECT_EQ(lineOf(text, "HomeFolder"), "HomeFolder = (not set) [stored value is not a REG_SZ]");
    EXPECT_EQ(lineOf(text, "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral"),
              "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Cindral = (set) "
              "[stored value is not a REG_SZ]");
}

TEST(SettingsListing, TextsStayOnOneLine) {
    MemoryRegistry reg;
    reg.put(kKey, "HomePage", platform::kRegSz, sz("a\r\nb\t\"c\"\x01\x7F\xE9"));
    reg.put(kKey, "LastDate", platform::kRegSz, std::string("x\0y\0", 4));
    const std::string text = listing(reg);
    EXPECT_EQ(lines(text).size(), 27u);
    EXPECT_EQ(lineOf(text, "HomePage"), "HomePage = \"a\\r\\nb\\t\\\"c\\\"\\x01\\x7F\xE9\"");
    EXPECT_EQ(lineOf(text, "LastDate"), "LastDate = \"x\"");  // cut at the NUL as readers do
}

class FakeNative : public platform::NativePlatform {
public:
    explicit FakeNative(platform::Registry& reg) { platform_.registry = &reg; }
    platform::Platform& platform() override { return platform_; }

private:
    platform::Platform platform_;
};

TEST(SettingsCommand, RunsThroughTheDispatcher) {
    MemoryRegistry reg;
    reg.put(kKey, "StoreLog", platform::kRegDword, dword(1));
    std::string registryFile = "unset";
    CliApp app([&](const platform::NativeOptions& options) {
        registryFile = options.registryFile;
        return std::make_unique<FakeNative>(reg);
    });
    registerSettingsCommand(app);
    std::ostringstream out, err;
    EXPECT_EQ(app.run({"settings", "--registry", "/x/r.reg"}, out, err), kExitOk);
    EXPECT_EQ(registryFile, "/x/r.reg");
    EXPECT_EQ(out.str(), listing(reg));
    EXPECT_EQ(lineOf(out.str(), "StoreLog"), "StoreLog = 1");
    EXPECT_EQ(err.str(), "");

    std::ostringstream out2, err2;
    EXPECT_EQ(app.run({"settings", "extra"}, out2, err2), kExitUsage);
    EXPECT_EQ(out2.str(), "");
    EXPECT_NE(err2.str().find("settings takes no arguments"), std::string::npos);
}

}  // namespace
}  // namespace cindral::cli
