#include "app/help_topics.h"

#include <gtest/gtest.h>

namespace cindral::app {
namespace {

TEST(HelpTopics, EveryPageOfTheThreeDialogsHasItsTopic) {
    struct Row {
        Dialog dialog;
        int page, innerPage;
        const char* topic;
    };
    const Row rows[] = {
        {Dialog::EraseItems, 0, -1, "windows_tab.htm"},
        {Dialog::EraseItems, 1, 0, "ie_tab.htm"},
        {Dialog::EraseItems, 1, 1, "netscape_tab.htm"},
        {Dialog::EraseItems, 1, 2, "opera_tab.htm"},
        {Dialog::EraseItems, 1, 3, "aol_tab.htm"},
        {Dialog::EraseItems, 2, -1, "applications_tab.htm"},
        {Dialog::EraseItems, 3, -1, "registry_tab.htm"},
        {Dialog::EraseItems, 4, -1, "folder_tab.htm"},
        {Dialog::EraseItems, 5, -1, "drivescan_tab.htm"},
        {Dialog::Options, 0, -1, "general_tab.htm"},
        {Dialog::Options, 1, -1, "security_tab.htm"},
        {Dialog::Options, 2, -1, "schedule_tab.htm"},
        {Dialog::Options, 3, -1, "bosskey_tab.htm"},
        {Dialog::Options, 4, -1, "protecthome_tab.htm"},
        {Dialog::Options, 5, -1, "logrefresh_tab.htm"},
        {Dialog::Keeper, 0, -1, "cookie_tab.htm"},
        {Dialog::Keeper, 1, -1, "addresslist_tab.htm"},
        {Dialog::Keeper, 2, -1, "opensave_tab.htm"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(helpTopic(row.dialog, row.page, row.innerPage), row.topic)
            << static_cast<int>(row.dialog) << " page " << row.page << " inner " << row.innerPage;
    }
}

TEST(HelpTopics, PagesOutsideTheTableHaveNoTopic) {
    EXPECT_EQ(helpTopic(Dialog::EraseItems, 6), "");
    EXPECT_EQ(helpTopic(Dialog::Options, -1), "");
    EXPECT_EQ(helpTopic(Dialog::Keeper, 3), "");
    EXPECT_EQ(helpTopic(Dialog::EraseItems, 1, 4), "");  // no fifth browser
    EXPECT_EQ(helpTopic(Dialog::About, 0), "");
}

}  // namespace
}  // namespace cindral::app
