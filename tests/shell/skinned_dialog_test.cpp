#include "shell/skinned_dialog.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "shell/shell_test_support.h"
#include "support/sandbox.h"

namespace cindral::shell::test {
namespace {

constexpr int kOuterId = 100, kInnerId = 110;

// Two pages; the second holds an inner page set of four.
class SampleDialog : public SkinnedDialog {
public:
    explicit SampleDialog(DialogContext context)
        : SkinnedDialog({SkinWindow::EraseItems, "CindralSampleDialog", "Erase Items",
                         app::Dialog::EraseItems, DialogButtons::HelpOkCancel},
                        std::move(context)) {}

    std::vector<std::pair<int, int>> shown;
    int accepted = 0;
    HWND check = nullptr, innerCheck = nullptr;

    TabbedPages& outer() { return *pageSet(kOuterId); }
    TabbedPages& inner() { return *pageSet(kInnerId); }

protected:
    bool build() override {
        const RECT a = contentArea();
        TabbedPages* pages = addPageSet(*this, kOuterId, {"Windows", "Browsers"}, a.left, a.top,
                                        a.right - a.left, a.bottom - a.top);
        if (!pages) return false;
        // Every kind of control is made the same way, as a child of its page.
        check = pages->page(0).addCheckBox(101, "Windows Recent Documents", 20, 36, 200, 17);
        TabbedPages* browsers =
            addPageSet(pages->page(1), kInnerId, {"Internet Explorer", "Netscape", "Opera", "AOL"},
                       8, 8, 440, 280);
        if (!browsers) return false;
        innerCheck = browsers->page(2).addCheckBox(111, "Opera Cookies", 12, 12, 200, 17);
        return true;
    }
    void pageShown(int pageSetId, int page) override { shown.emplace_back(pageSetId, page); }
    bool accept() override {
        ++accepted;
        return true;
    }
};

class SkinnedDialogTest : public ::testing::Test {
protected:
    SkinnedDialogTest()
        : dialog(DialogContext{desktop, *sandbox.platform().files, sandbox.root()}) {}

    void clickTab(TabbedPages& pages, int n) {
        const RECT r = pages.tabRect(n);
        SendMessageA(pages.strip(), WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }

    cindral::test::Sandbox sandbox;
    RecordingDesktop desktop;
    SampleDialog dialog;
};

TEST_F(SkinnedDialogTest, ChoosingATabShowsExactlyItsPageTellsTheDialogAndSetsF1sTopic) {
    ASSERT_TRUE(dialog.create(nullptr, 0, 0));
    ShowWindow(dialog.hwnd(), SW_SHOWNA);
    using Shown = std::vector<std::pair<int, int>>;
    EXPECT_EQ(dialog.shown, (Shown{{kOuterId, 0}, {kInnerId, 0}}));
    EXPECT_TRUE(IsWindowVisible(dialog.check));
    EXPECT_FALSE(IsWindowVisible(dialog.inner().strip()));

    clickTab(dialog.outer(), 1);
    EXPECT_EQ(dialog.outer().current(), 1);
    EXPECT_FALSE(IsWindowVisible(dialog.check));
    EXPECT_TRUE(IsWindowVisible(dialog.inner().strip()));
    EXPECT_TRUE(IsWindowVisible(dialog.inner().page(0).hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog.innerCheck));

    clickTab(dialog.inner(), 2);
    EXPECT_TRUE(IsWindowVisible(dialog.innerCheck));
    EXPECT_FALSE(IsWindowVisible(dialog.inner().page(0).hwnd()));
    // The tab on view chosen again changes nothing and reports nothing.
    clickTab(dialog.inner(), 2);
    EXPECT_EQ(dialog.shown, (Shown{{kOuterId, 0}, {kInnerId, 0}, {kOuterId, 1}, {kInnerId, 2}}));

    // Ctrl+Tab's step goes round the main set.
    dialog.outer().step(1);
    EXPECT_TRUE(IsWindowVisible(dialog.check));

    // F1 opens the help file at the page's topic (the Help buttons and the
    // topic of an inner page are met by the dialogs' own tests).
    ASSERT_TRUE(sandbox.writeFile(sandbox.root() + "help.chm", "help"));
    EXPECT_TRUE(dialog.translateKey(MSG{dialog.check, WM_KEYDOWN, VK_F1, 0, 0, {}}));
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].verb, "open");
    EXPECT_EQ(desktop.opened[0].file, "hh.exe");
    EXPECT_EQ(desktop.opened[0].parameters, sandbox.root() + "help.chm::/windows_tab.htm");
}

TEST_F(SkinnedDialogTest, EnterEndsWithOkAndEscapeWithCancel) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    struct Case {
        WPARAM key;
        int result;
        int accepted;
    };
    for (const Case& c : {Case{VK_RETURN, IDOK, 1}, Case{VK_ESCAPE, IDCANCEL, 0}}) {
        SampleDialog d(DialogContext{desktop, *sandbox.platform().files, sandbox.root()});
        ASSERT_TRUE(d.create(owner, 0, 0));
        // The keys reach the dialog through the control that has the focus.
        PostMessageA(d.check, WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(d.runModal(owner), c.result) << c.key;
        EXPECT_EQ(d.accepted, c.accepted) << c.key;
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    DestroyWindow(owner);
}

TEST_F(SkinnedDialogTest, TheWindowRegionIsThePicturesOpaqueArea) {
    ASSERT_TRUE(dialog.create(nullptr, 0, 0));
    const DibSection& picture = dialog.picture();
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(dialog.hwnd(), region.get()), COMPLEXREGION);
    GdiFlush();
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t pixel = picture.pixels()[y * picture.width() + x] & 0xFFFFFF;
            const bool inside = pixel != kTransparentPixel;
            opaque += inside;
            ASSERT_EQ(PtInRegion(region.get(), x, y) != FALSE, inside) << x << "," << y;
        }
    }
    // The corners are cut, the body is not.
    EXPECT_LT(opaque, picture.width() * picture.height());
    EXPECT_GT(opaque, picture.width() * picture.height() * 9 / 10);
}

}  // namespace
}  // namespace cindral::shell::test
