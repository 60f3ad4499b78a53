#include "engine/plugin_runner.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class PluginRunner : public test::EngineTest {
protected:
    PluginRunner() {
        platform::Registry& reg = *box_.platform().registry;
        platform::KeyHolder k(reg, platform::openOrCreateKey(reg, platform::RootKey::CurrentUser,
                                                             box_.registryScratchPath() + "\\K"));
        EXPECT_TRUE(platform::writeText(reg, k.get(), "v", "data"));
    }
    // An entry that finds the one value "data".
    std::string entry() const {
        return "HKEY_CURRENT_USER\\" + box_.registryScratchPath() + "\\K,OnlyValues,none";
    }
    void runPlugin(const std::string& text, bool erase) {
        file("p.cnp", text);
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        RunPlugin(ctx_, at("p.cnp"));
    }
};

TEST_F(PluginRunner, ASectionEndsAfter255EntriesAtAGapOrAtAnEmptyValue) {
    std::string text = "[Registry]\r\n";
    for (int n = 1; n <= 300; ++n) text += "Item" + std::to_string(n) + "=" + entry() + "\r\n";
    runPlugin(text, false);
    EXPECT_EQ(run_.FoundRegistryEntries, 255);

    const std::string e = entry();
    struct Case {
        std::string text;
        int found;
    } cases[] = {{"[Registry]\r\nItem1=" + e + "\r\nItem2=" + e + "\r\nItem4=" + e + "\r\n", 2},
                 {"[Registry]\r\nItem1=\r\nItem2=" + e + "\r\n", 0}};
    for (const Case& c : cases) {
        run_.zeroCounters();
        runPlugin(c.text, false);
        EXPECT_EQ(run_.FoundRegistryEntries, c.found) << c.text;
    }
}

TEST_F(PluginRunner, RegistryEntriesRunBeforeFilesWhateverTheFileOrder) {
    file("f\\a.log");
    runPlugin("[files]\r\nITEM1=  " + at("f\\*.log") + "  \r\n[REGISTRY]\r\nitem1=" + entry() + "\r\n",
              false);
    EXPECT_EQ(view_.lines, (std::vector<std::string>{
                               "Test Mode: Cleaning Registry Value: data <OK>",
                               "Test Mode: Removing File: " + platform_.system->upperCase(at("f\\")) +
                                   "a.log <OK>"}));
}

TEST_F(PluginRunner, NoKeeperListAppliesInsideAPlugin) {
    file("c\\cookie.txt");
    run_.KeeperMode = kKeeperCookies;
    run_.CookieKeepers = {platform_.system->upperCase(at("c\\")) + "cookie.txt"};
    runPlugin("[Files]\r\nItem1=" + at("c\\*.txt") + "\r\n", true);
    EXPECT_FALSE(exists("c\\cookie.txt"));
    EXPECT_EQ(run_.JunkFileCount, 1);
}

TEST_F(PluginRunner, GarbageAMissingFileOrAStoppedRunDoNothing) {
    runPlugin(std::string("\x00\x01garbage\r\n=\r\n[", 15), true);
    RunPlugin(ctx_, at("missing.cnp"));
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    runPlugin("[Registry]\r\nItem1=" + entry() + "\r\n", true);
    EXPECT_TRUE(view_.lines.empty());
    EXPECT_EQ(run_.FoundRegistryEntries, 0);
}

}  // namespace
}  // namespace cindral::engine
