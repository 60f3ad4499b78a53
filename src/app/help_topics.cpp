#include "app/help_topics.h"

namespace cindral::app {

namespace {

constexpr int kAnyInnerPage = -1;

struct TopicRow {
    Dialog dialog;
    int page;
    int innerPage;  // kAnyInnerPage: the page has no inner pages
    const char* topic;
};

const TopicRow kTopics[] = {
    {Dialog::EraseItems, 0, kAnyInnerPage, "windows_tab.htm"},
    {Dialog::EraseItems, 1, 0, "ie_tab.htm"},
    {Dialog::EraseItems, 1, 1, "netscape_tab.htm"},
    {Dialog::EraseItems, 1, 2, "opera_tab.htm"},
    {Dialog::EraseItems, 1, 3, "aol_tab.htm"},
    {Dialog::EraseItems, 2, kAnyInnerPage, "applications_tab.htm"},
    {Dialog::EraseItems, 3, kAnyInnerPage, "registry_tab.htm"},
    {Dialog::EraseItems, 4, kAnyInnerPage, "folder_tab.htm"},
    {Dialog::EraseItems, 5, kAnyInnerPage, "drivescan_tab.htm"},
    {Dialog::Options, 0, kAnyInnerPage, "general_tab.htm"},
    {Dialog::Options, 1, kAnyInnerPage, "security_tab.htm"},
    {Dialog::Options, 2, kAnyInnerPage, "schedule_tab.htm"},
    {Dialog::Options, 3, kAnyInnerPage, "bosskey_tab.htm"},
    {Dialog::Options, 4, kAnyInnerPage, "protecthome_tab.htm"},
    {Dialog::Options, 5, kAnyInnerPage, "logrefresh_tab.htm"},
    {Dialog::Keeper, 0, kAnyInnerPage, "cookie_tab.htm"},
    {Dialog::Keeper, 1, kAnyInnerPage, "addresslist_tab.htm"},
    {Dialog::Keeper, 2, kAnyInnerPage, "opensave_tab.htm"},
    {Dialog::PluginEditor, 0, kAnyInnerPage, "plugin_files.htm"},
};

}  // namespace

std::string helpTopic(Dialog dialog, int page, int innerPage) {
    for (const TopicRow& row : kTopics) {
        if (row.dialog == dialog && row.page == page &&
            (row.innerPage == kAnyInnerPage || row.innerPage == innerPage)) {
            return row.topic;
        }
    }
    return "";
}

}  // namespace cindral::app
