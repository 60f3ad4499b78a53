#include "engine/plugin_runner.h"

#include <gtest/gtest.h>

#include "engine_test_support.h"

namespace cindral::engine {
namespace {

class PluginRunner : public test::EngineTest {
protected:
    PluginRunner() { setRegText(scratch("K"), "v", "data"); }
    // An entry that finds the one value "data".
    std::string entry() const { return regKey("K") + ",OnlyValues,none"; }
    void runPlugin(const std::string& text, bool erase) {
        file("p.cnp", text);
        run_.Erase = erase;
        run_.LinePrefix = erase ? "" : "Test Mode: ";
        RunPlugin(ctx_, at("p.cnp"));
    }
};

TEST_F(PluginRunner, ASectionEndsAfter255EntriesAtAGapOrAtAnEmptyValue) {
    std::string all = "[Registry]\r\n";
    for (int n = 1; n <= 300; ++n) all += "Item" + std::to_string(n) + "=" + entry() + "\r\n";
    const std::string e = entry();
    const std::pair<std::string, int> cases[] = {
        {all, 255},
        {"[Registry]\r\nItem1=" + e + "\r\nItem2=" + e + "\r\nItem4=" + e + "\r\n", 2},
        {"[Registry]\r\nItem1=\r\nItem2=" + e + "\r\n", 0}};
    for (const auto& [text, found] : cases) {
        run_.counters = {};
        runPlugin(text, false);
        EXPECT_EQ(run_.counters.FoundRegistryEntries, found) << text.substr(0, 80);
    }
}

TEST_F(PluginRunner, GarbageAMissingFileOrAStoppedRunDoNothing) {
    runPlugin(std::string("\x00\x01garbage\r\n=\r\n[", 15), true);
    RunPlugin(ctx_, at("missing.cnp"));
    std::atomic<bool> stop{true};
    run_.StopRequested = &stop;
    runPlugin("[Registry]\r\nItem1=" + entry() + "\r\n", true);
    EXPECT_TRUE(view_.lines.empty());
}

}  // namespace
}  // namespace cindral::engine
