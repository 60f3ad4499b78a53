#include "selection/selection_store.h"

#include <gtest/gtest.h>

#include "selection/plugin_list.h"
#include "support/fixtures.h"

using namespace cindral::selection;

class SelectionStoreTest : public cindral::test::HomeTest {
protected:
    SelectionStoreTest() { box_.makeFolder(paths_.dataFolder); }
    SelectionStore store() {
        return SelectionStore(*platform_.profiles, *platform_.files, paths_.selItems);
    }
    void plugin(const std::string& name, const std::string& body) {
        write(paths_.pluginFolder + name, body);
    }
    std::string stored(const std::string& key) {
        return platform_.profiles->readString(paths_.selItems, "Items", key, "<none>");
    }
};

TEST_F(SelectionStoreTest, TextRuleAndNumberRuleDifferOnlyWhereTheyShould) {
    write(paths_.selItems, "[Items]\r\nzero=0\r\ndouble=00\r\nword=no\r\none=1\r\nleading=1x\r\n");
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

    // A file that is there but cannot be read selects nothing and gets
    // nothing recorded: its defaults would run what the user switched off.
    files_.failOn(cindral::test::FileOp::Read, paths_.selItems);
    auto unreadable = store();
    EXPECT_FALSE(unreadable.IsSelected("missing") || unreadable.IsChecked("one") ||
                 unreadable.KeepSelected("new"));
    files_.fails = nullptr;
    EXPECT_EQ(stored("new"), "<none>");

    ASSERT_TRUE(s.SetSelected("One", false));  // keys match without regard to case
    EXPECT_EQ(stored("one"), "0");
}

TEST_F(SelectionStoreTest, PluginsAreTheCnpFilesOfTheFolderAndLoseOnlyTheirLastExtension) {
    plugin("zeta.cnp", "[Plugin]\r\nTitle=Zeta Tool\r\n");
    plugin("Alpha.CNP", "[Plugin]\r\nAuthor=Someone\r\n");
    plugin("beta.v2.cnp", "");
    plugin("readme.txt", "[Plugin]\r\nTitle=Not a plug-in\r\n");
    folder("Home\\Plug-Ins\\folder.cnp");  // a folder is no plug-in
    const auto list = ListPlugins(platform_, home_);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].fileName, "Alpha.CNP");
    // Title or file name as the key, sorted: met through the queue in startup_test.
    EXPECT_EQ(list[1].key, "beta.v2");  // only the last extension goes
    EXPECT_EQ(ReadPluginAuthor(*platform_.profiles, list[0].path), "Someone");
    EXPECT_EQ(PluginKeyFromFileName(".cnp"), ".cnp");
    EXPECT_TRUE(ListPlugins(platform_, at("Nowhere\\")).empty());
}

TEST_F(SelectionStoreTest, TitlesWithProfileSyntaxCanBeSwitchedOffAndAreStoredOnce) {
    const std::vector<std::string> titles = {"a=b", "[x]y", "[z", "c==d"};
    for (std::size_t i = 0; i < titles.size(); ++i)
        plugin(std::to_string(i) + ".cnp", "[Plugin]\r\nTitle=" + titles[i] + "\r\n");
    auto s = store();
    auto state = FillSelectionDialog(platform_, s, home_, {});
    const std::string bytes = read(paths_.selItems);
    ASSERT_NE(bytes, "<missing>");
    for (int i = 0; i < 100; ++i) FillSelectionDialog(platform_, s, home_, {});
    EXPECT_EQ(read(paths_.selItems), bytes);

    ASSERT_EQ(state.plugins.size(), titles.size());
    for (auto& row : state.plugins) row.checked = false;
    ASSERT_TRUE(SaveSelectionDialog(s, state));
    for (const auto& title : titles) EXPECT_FALSE(s.IsSelected(title)) << title;
    // A file name (the key of a plug-in without a title) may hold a line break on Linux.
    for (const char* key : {"line\nbreak", "carriage\rreturn"}) {
        ASSERT_TRUE(s.SetSelected(key, false));
        EXPECT_FALSE(s.IsSelected(key)) << key;
    }
    state = FillSelectionDialog(platform_, s, home_, {});
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(state.plugins[i].caption, titles[i]);  // shown as the plug-in names itself
        EXPECT_FALSE(state.plugins[i].checked) << titles[i];
    }
}
