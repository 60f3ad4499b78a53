#include "shell/erase_items_dialog.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "shell/shell_test_support.h"

namespace cindral::shell::test {
namespace {

using D = EraseItemsDialog;

class EraseItemsDialogTest : public cindral::test::SandboxTest {};

// What a click on tab n of `pages` sends.
void clickTab(TabbedPages& pages, int n) {
    const RECT r = pages.tabRect(n);
    SendMessageA(pages.strip(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

// The dialog over a sandbox home: a click on a tab shows its page alone, the
// Help button opens the page's topic; keys, Browse and check marks reach the
// data files.
TEST_F(EraseItemsDialogTest, EveryPageOpensItsHelpTopicAndKeysBrowseAndCheckMarksReachTheFiles) {
    folder("Plug-Ins");
    file("help.chm", "help");
    file("Data\\CustomFolder.dat", "T;C:\\A;0;;1;\r\n");
    file("Data\\DriveScan.dat", "*.tmp\r\n");
    RecordingDesktop desktop;
    const std::string home = box_.root();
    auto d = std::make_unique<D>(DialogContext{desktop, *box_.platform().files, home},
                                 box_.platform(), app::DataPaths::forHome(home));
    ASSERT_TRUE(d->create(nullptr, 0, 0));
    ShowWindow(d->hwnd(), SW_SHOWNA);
    TabbedPages& pages = *d->pageSet(D::kPagesId);
    const struct {
        int page, inner;
        HWND shown;  // a control that only this page shows
        const char* topic;
    } cases[] = {
        {0, -1, d->control(D::boxId(1)), "windows_tab.htm"},
        {1, 0, d->control(D::boxId(8)), "ie_tab.htm"},
        {1, 3, d->control(D::boxId(20)), "aol_tab.htm"},
        {3, -1, d->control(D::kRegeditId), "registry_tab.htm"},
        {5, -1, d->control(D::boxId(24)), "drivescan_tab.htm"},
    };
    HWND before = d->control(D::boxId(20));  // on an inner page not yet on view
    for (const auto& c : cases) {
        clickTab(pages, c.page);
        if (c.inner >= 0) clickTab(*d->pageSet(D::kBrowserPagesId), c.inner);
        EXPECT_TRUE(IsWindowVisible(c.shown)) << c.topic;
        EXPECT_FALSE(IsWindowVisible(before)) << c.topic;
        before = c.shown;
        desktop.opened.clear();
        press(GetDlgItem(d->hwnd(), SkinnedDialog::kTopHelpId));
        ASSERT_EQ(desktop.opened.size(), 1u) << c.topic;
        EXPECT_EQ(desktop.opened[0].parameters, home + "help.chm::/" + c.topic);
    }
    pages.step(1);  // Ctrl+Tab's step goes round
    EXPECT_TRUE(IsWindowVisible(cases[0].shown));

    // Delete in the mask list asks (Return in a field is the hosted test's).
    d->pageSet(D::kPagesId)->select(5);
    HWND masks = d->control(D::kMaskListId);
    SetFocus(masks);
    SendMessageA(masks, WM_KEYDOWN, VK_DOWN, 0);
    desktop.answer = IDNO;
    EXPECT_TRUE(d->translateKey(MSG{masks, WM_KEYDOWN, VK_DELETE, 0, 0, {}}));
    EXPECT_EQ(desktop.messages,
              std::vector<std::string>{"Are you sure you want to delete mask \"*.tmp\"?"});

    d->pageSet(D::kPagesId)->select(4);
    desktop.folder = "C:\\Chosen";
    press(d->control(D::kBrowseId));
    EXPECT_EQ(SkinnedWindow::textOf(d->control(D::editId(5))), "C:\\Chosen");
    // A check mark changed without a click (the Space key) is written too.
    ListView_SetCheckState(d->control(D::kFolderListId), 0, FALSE);
    pumpQueued();
    EXPECT_EQ(read(at("Data\\CustomFolder.dat")), "T;C:\\A;0;;0;\r\n");
}

// The dialog as the main window hosts it: a folder record added through the
// Folder page and confirmed with OK. What a run makes of the record is the
// run's and the custom records' tests'.
TEST_F(MainWindowTest, AFolderRecordAddedInTheHostedEraseItemsDialogIsWrittenAndQueued) {
    select({});
    start();
    whenShown<D>("TForm1", [&](D& d) {
        d.pageSet(D::kPagesId)->select(4);
        SetWindowTextA(d.control(D::editId(3)), "Junk files");
        SetWindowTextA(d.control(D::editId(5)), (home_ + "Junk").c_str());
        MSG enter{d.control(D::editId(5)), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
        d.translateKey(enter);
        SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    click(app::Command::EraseItems);
    EXPECT_EQ(read(paths_.customFolder), "Junk files;" + home_ + "Junk;0;;1;\r\n");
    EXPECT_EQ(rowsOf(main->control(MainWindow::kQueueId)), std::vector<std::string>{"Junk files"});
}

}  // namespace
}  // namespace cindral::shell::test
