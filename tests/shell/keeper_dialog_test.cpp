#include "shell/keeper_dialog.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "settings/scratch_registry.h"
#include "shell/shell_test_support.h"

namespace cindral::shell::test {
namespace {

using settings::KeeperPage;
using Lines = std::vector<std::string>;
using P = KeeperDialog::Part;

// The main window over a home whose registry, cookie folder and Windows
// folder are the sandbox's: typed addresses under both roots, two Open/Save
// history entries with their order value, two cookies.
class KeeperDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        platform_.registry = &registry;
        const std::string hklm = std::string("HKLM\\") + settings::kTypedUrlsKey;
        for (const auto& v :
             {Lines{settings::kTypedUrlsKey, "url1", "http://a.example/"},
              Lines{settings::kTypedUrlsKey, "url2", "http://b.example/"},
              Lines{hklm, "url1", "http://c.example/"}, Lines{mru, "a", "C:\\docs\\one.txt"},
              Lines{mru, "b", "C:\\docs\\two.txt"}, Lines{mru, "MRUList", "ba"}}) {
            registry.put(v[0], v[1], platform::kRegSz, v[2]);
        }
        for (const char* name : {"\\user@a[1].txt", "\\user@b[1].txt"})
            write(cookies + name, "cookie");
        select({1, 2, 6});  // addresses, cookies, Open/Save history
    }
    bool has(const std::string& key, const std::string& name) {
        platform::RegValue value;
        return registry.get(key, name, value);
    }

    const std::string mru = std::string(settings::kOpenSaveMruKey) + "\\txt";
    cindral::test::ScratchRegistry registry;
    const std::string cookies = at("Cookies");
};

// The dialog as the main window hosts it: its moves are saved where the
// next cleaning run reads them.
TEST_F(KeeperDialogTest, MovesAreSavedAndTheNextCleanRunSparesExactlyTheKeptEntries) {
    ASSERT_TRUE(box_.writeFile(home_ + "help.chm", "help"));
    start();
    whenShown<KeeperDialog>("TForm3", [&](KeeperDialog& keeper) {
        // The lists and the buttons show what the controller decides (its
        // own tests pin the rules): the second candidate of each page moves.
        const char* const keep[] = {"user@b[1].txt", "http://b.example/", "C:\\docs\\two.txt"};
        for (int page = 0; page < settings::kKeeperPageCount; ++page) {
            const auto p = static_cast<KeeperPage>(page);
            HWND add = keeper.control(p, P::AddButton);
            ListView_SetItemState(keeper.control(p, P::LeftList), 1, LVIS_SELECTED, LVIS_SELECTED);
            EXPECT_TRUE(IsWindowEnabled(add)) << page;
            press(add);
            EXPECT_EQ(rowsOf(keeper.control(p, P::RightList)), Lines{keep[page]});
        }
        // "<- Remove" hands an address back to the end of the left list,
        // "Refresh List" gathers the left list anew, in the registry's
        // order; the address is then kept again.
        const auto p = KeeperPage::Addresses;
        HWND left = keeper.control(p, P::LeftList), right = keeper.control(p, P::RightList);
        ListView_SetItemState(right, 0, LVIS_SELECTED, LVIS_SELECTED);
        press(keeper.control(p, P::RemoveButton));
        press(keeper.control(p, P::RefreshButton));
        EXPECT_EQ(rowsOf(right), Lines{});
        EXPECT_EQ(rowsOf(left), (Lines{"http://a.example/", keep[1], "http://c.example/"}));
        ListView_SetItemState(left, 1, LVIS_SELECTED, LVIS_SELECTED);
        press(keeper.control(p, P::AddButton));  // the run below spares it
        keeper.pageSet(KeeperDialog::kPagesId)->select(2);
        SendMessageA(keeper.hwnd(), WM_COMMAND, MAKEWPARAM(SkinnedDialog::kHelpId, BN_CLICKED), 0);
        PostMessageA(keeper.hwnd(), WM_CLOSE, 0, 0);
    });
    click(app::Command::Keeper);
    // Help follows the page on view.
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].parameters, home_ + "help.chm::/opensave_tab.htm");

    // The run reads the files the moves were saved to. That a kept address
    // or cookie is spared and the others go is the catalogue's (its tests);
    // what the machine's addresses and the Open/Save history lose is
    // checked only here.
    click(app::Command::CleanNow);
    ASSERT_TRUE(waitForIdle());
    EXPECT_TRUE(has(settings::kTypedUrlsKey, "url2"));
    EXPECT_FALSE(has(std::string("HKLM\\") + settings::kTypedUrlsKey, "url1"));
    EXPECT_FALSE(has(mru, "a"));
    EXPECT_TRUE(has(mru, "b"));
    EXPECT_TRUE(box_.exists(cookies + "\\user@b[1].txt"));
}

}  // namespace
}  // namespace cindral::shell::test
