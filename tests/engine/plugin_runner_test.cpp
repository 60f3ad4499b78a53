#include "engine/plugin_runner.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class PluginRunner : public test::EngineTest {
protected:
    std::string key(const std::string& sub) {
        return "HKEY_CURRENT_USER\\" + box_.registryScratchPath() + "\\" + sub;
    }
    void value(const std::string& sub, const std::string& name, const std::string& data) {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder k(reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser,
                                                             box_.registryScratchPath() + "\\" + sub));
        ASSERT_TRUE(platform::writeText(reg, k.get(), name, data));
    }
    std::string plugin(const std::string& text) {
        file("p.cnp", text);
        return at("p.cnp");
    }
    void runPlugin(const std::string& path, bool erase) {
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        RunPlugin(ctx_, path);
    }
};

TEST_F(PluginRunner, RunsAtMost255EntriesOfASection) {
    value("K", "v", "data");
    std::string text = "[Registry]\r\n";
    for (int n = 1; n <= 300; ++n)
        text += "Item" + std::to_string(n) + "=" + key("K") + ",OnlyValues,none\r\n";
    runPlugin(plugin(text), false);
    EXPECT_EQ(run_.FoundRegistryEntries, 255);
}

TEST_F(PluginRunner, AGapOrAnEmptyValueEndsTheSection) {
    value("K", "v", "data");
    const std::string e = key("K") + ",OnlyValues,none";
    runPlugin(plugin("[Registry]\r\nItem1=" + e + "\r\nItem2=" + e + "\r\nItem4=" + e + "\r\n"),
              false);
    EXPECT_EQ(run_.FoundRegistryEntries, 2);
    run_.zeroCounters();
    runPlugin(plugin("[Registry]\r\nItem1=\r\nItem2=" + e + "\r\n"), false);
    EXPECT_EQ(run_.FoundRegistryEntries, 0);
}

TEST_F(PluginRunner, RegistryEntriesRunBeforeFilesWhateverTheFileOrder) {
    value("K", "v", "data");
    file("f\\a.log");
    runPlugin(plugin("[files]\r\nITEM1=  " + at("f\\*.log") + "  \r\n[REGISTRY]\r\nitem1=" +
                     key("K") + ",OnlyValues,none\r\n"),
              false);
    ASSERT_EQ(view_.lines.size(), 2u);
    EXPECT_EQ(view_.lines[0], "Test Mode: Cleaning Registry Value: data <OK>");
    EXPECT_EQ(view_.lines[1], "Test Mode: Removing File: " +
                                  platform_.system->upperCase(at("f\\")) + "a.log <OK>");
}

TEST_F(PluginRunner, NoKeeperListAppliesInsideAPlugin) {
    file("c\\cookie.txt");
    run_.KeeperMode = kKeeperCookies;
    run_.CookieKeepers = {platform_.system->upperCase(at("c\\")) + "cookie.txt"};
    runPlugin(plugin("[Files]\r\nItem1=" + at("c\\*.txt") + "\r\n"), true);
    EXPECT_FALSE(exists("c\\cookie.txt"));
    EXPECT_EQ(run_.JunkFileCount, 1);
}

TEST_F(PluginRunner, AFileThatIsNoProfileDoesNothing) {
    runPlugin(plugin(std::string("\x00\x01garbage\r\n=\r\n[", 15)), true);
    runPlugin(at("missing.cnp"), true);
    EXPECT_TRUE(view_.lines.empty());
}

TEST_F(PluginRunner, AStoppedRunStartsNoFurtherEntry) {
    value("K", "v", "data");
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    runPlugin(plugin("[Registry]\r\nItem1=" + key("K") + ",OnlyValues,none\r\n"), true);
    EXPECT_TRUE(view_.lines.empty());
}

}  // namespace
}  // namespace cindral::engine
