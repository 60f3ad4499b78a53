#include "selection/selection_store.h"

#include <gtest/gtest.h>

#include "selection/data_test_platform.h"
#include "selection/plugin_list.h"

using namespace cindral::selection;

class SelectionStoreTest : public ::testing::Test {
protected:
    cindral::test::DataTestPlatform env;
    std::string selItems() { return env.home() + "Data\\SelItems.dat"; }
    std::string pluginFolder() { return env.home() + "Plug-Ins\\"; }
    SelectionStore store() { return SelectionStore(*env.platform.profiles, selItems()); }
    void SetUp() override {
        env.sandbox.makeFolder(env.home() + "Data");
        env.sandbox.makeFolder(pluginFolder());
    }
    void plugin(const std::string& name, const std::string& body) {
        ASSERT_TRUE(env.sandbox.writeFile(pluginFolder() + name, body));
    }
    std::string stored(const std::string& key) {
        return env.platform.profiles->readString(selItems(), "Items", key, "<none>");
    }
};

TEST_F(SelectionStoreTest, TextRuleAndNumberRuleDifferOnlyWhereTheyShould) {
    ASSERT_TRUE(env.sandbox.writeFile(
        selItems(),
        "[Items]\r\nzero=0\r\ndouble=00\r\nword=no\r\nempty=\r\none=1\r\nleading=1x\r\n"));
    auto s = store();
    const struct {
        const char* key;
        bool selected, checked;
    } cases[] = {{"zero", false, false}, {"double", true, false}, {"word", true, false},
                 {"one", true, true},    {"leading", true, true}, {"missing", true, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(s.IsSelected(c.key), c.selected) << c.key;
        EXPECT_EQ(s.IsChecked(c.key), c.checked) << c.key;
    }
    // An empty value is selected by the text rule; the number rule leaves it to
    // the platform's profile reader.
    EXPECT_TRUE(s.IsSelected("empty"));

    ASSERT_TRUE(s.SetSelected("One", false));  // keys match without regard to case
    EXPECT_EQ(stored("one"), "0");
    ASSERT_TRUE(s.SetSelected("missing", true));
    EXPECT_EQ(stored("missing"), "1");
}

TEST_F(SelectionStoreTest, PluginsAreListedSortedWithTitleOrFileNameAsKey) {
    plugin("zeta.cnp", "[Plugin]\r\nTitle=Zeta Tool\r\n");
    plugin("Alpha.CNP", "[Plugin]\r\nAuthor=Someone\r\n");
    plugin("beta.v2.cnp", "");
    plugin("readme.txt", "[Plugin]\r\nTitle=Not a plug-in\r\n");
    env.sandbox.makeFolder(pluginFolder() + "folder.cnp");  // a folder is no plug-in
    const auto list = ListPlugins(env.platform, env.home());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].fileName, "Alpha.CNP");
    EXPECT_EQ(list[0].key, "Alpha");
    EXPECT_EQ(list[0].path, env.home() + "Plug-ins\\Alpha.CNP");
    EXPECT_EQ(list[1].key, "beta.v2");  // only the last extension goes
    EXPECT_EQ(list[2].key, "Zeta Tool");
    EXPECT_EQ(ReadPluginAuthor(*env.platform.profiles, list[0].path), "Someone");
    EXPECT_EQ(PluginKeyFromFileName(".cnp"), ".cnp");
    EXPECT_TRUE(ListPlugins(env.platform, env.sandbox.root() + "Nowhere\\").empty());
}

TEST_F(SelectionStoreTest, TitlesWithProfileSyntaxCanBeSwitchedOffAndAreStoredOnce) {
    const std::vector<std::string> titles = {"a=b", "[x]y", "[z", "c==d"};
    for (std::size_t i = 0; i < titles.size(); ++i)
        plugin(std::to_string(i) + ".cnp", "[Plugin]\r\nTitle=" + titles[i] + "\r\n");
    auto s = store();
    auto state = FillSelectionDialog(env.platform, s, env.home(), {});
    std::string bytes;
    ASSERT_TRUE(env.platform.files->readFile(selItems(), bytes));
    for (int i = 0; i < 100; ++i) FillSelectionDialog(env.platform, s, env.home(), {});
    std::string after;
    ASSERT_TRUE(env.platform.files->readFile(selItems(), after));
    EXPECT_EQ(after, bytes);

    ASSERT_EQ(state.plugins.size(), titles.size());
    for (auto& row : state.plugins) row.checked = false;
    ASSERT_TRUE(SaveSelectionDialog(s, state));
    for (const auto& title : titles) EXPECT_FALSE(s.IsSelected(title)) << title;
    state = FillSelectionDialog(env.platform, s, env.home(), {});
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(state.plugins[i].caption, titles[i]);  // shown as the plug-in names itself
        EXPECT_FALSE(state.plugins[i].checked) << titles[i];
    }
}
