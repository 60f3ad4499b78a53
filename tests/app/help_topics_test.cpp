#include "app/help_topics.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace cindral::app {
namespace {

// Every page of the three dialogs (the Erase Items dialog's browser page by
// its inner page) opens a topic of its own; other pages open none.
TEST(HelpTopics, EachPageHasATopicOfItsOwnAndNoOtherPageHasOne) {
    std::set<std::string> topics;
    auto page = [&](Dialog d, int p, int inner = -1) {
        const std::string topic = helpTopic(d, p, inner);
        EXPECT_TRUE(topic.size() > 4 && topic.substr(topic.size() - 4) == ".htm") << topic;
        EXPECT_TRUE(topics.insert(topic).second) << topic << " twice";
    };
    for (int p : {0, 2, 3, 4, 5}) page(Dialog::EraseItems, p);
    for (int inner = 0; inner < 4; ++inner) page(Dialog::EraseItems, 1, inner);
    for (int p = 0; p < 6; ++p) page(Dialog::Options, p);
    for (int p = 0; p < 3; ++p) page(Dialog::Keeper, p);
    // The window tests pin which page opens which topic where they press
    // Help; these are the pages they leave out.
    for (const auto& [d, p, inner, topic] :
         {std::tuple{Dialog::PluginEditor, 0, -1, "plugin_files.htm"},
          {Dialog::EraseItems, 1, 1, "netscape_tab.htm"},
          {Dialog::EraseItems, 1, 2, "opera_tab.htm"},
          {Dialog::EraseItems, 2, -1, "applications_tab.htm"},
          {Dialog::EraseItems, 4, -1, "folder_tab.htm"},
          {Dialog::Keeper, 0, -1, "cookie_tab.htm"},
          {Dialog::Keeper, 1, -1, "addresslist_tab.htm"},
          {Dialog::EraseItems, 1, 4, ""},
          {Dialog::About, 0, -1, ""}})
        EXPECT_EQ(helpTopic(d, p, inner), topic) << static_cast<int>(d) << " " << p << " " << inner;
}

}  // namespace
}  // namespace cindral::app
