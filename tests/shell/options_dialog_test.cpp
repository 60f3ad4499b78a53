#include "shell/options_dialog.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "settings/outside_entries.h"
#include "settings/scratch_registry.h"
#include "shell/shell_test_support.h"

namespace cindral::shell::test {
namespace {

using settings::OptionsBox;
using settings::OptionsField;
using settings::OptionsHotkey;

WORD hotkeyOf(HWND field) { return LOWORD(SendMessageA(field, HKM_GETHOTKEY, 0, 0)); }
void ok(OptionsDialog& d) { SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

class OptionsDialogTest : public ::testing::Test {
protected:
    cindral::test::Sandbox sandbox;
    cindral::test::ScratchRegistry registry;
    settings::SettingsStore store{registry};
    RecordingDesktop desktop;
    // A program folder with blanks in its name.
    const std::string program = sandbox.root() + "Program Files\\Cindral\\cindral.exe";

    std::unique_ptr<OptionsDialog> open(HWND owner = nullptr) {
        auto d = std::make_unique<OptionsDialog>(
            DialogContext{desktop, *sandbox.platform().files, sandbox.root()},
            OptionsSetup{store, registry, program, settings::defaultKeyNames()});
        EXPECT_TRUE(d->create(owner, 0, 0));
        return d;
    }
    static void click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
};

// F1 opens each page's topic (the Help buttons are the other dialogs'
// tests'); entering the Schedule page tells the form, which greys the period
// list of a timer that is off.
TEST_F(OptionsDialogTest, EachPageOpensItsTopicAndOkOrEnterStoresTheDialogButEscapeDoesNot) {
    ASSERT_TRUE(sandbox.writeFile(sandbox.root() + "help.chm", "help"));
    store.write(settings::kHotKey1, "Ctrl+Alt+Up");
    auto d = open();
    ShowWindow(d->hwnd(), SW_SHOWNA);
    EXPECT_TRUE(IsWindowEnabled(d->list(settings::OptionsList::Period)));
    const char* const topics[] = {"general", "security",    "schedule",
                                  "bosskey", "protecthome", "logrefresh"};
    for (int i = 0; i < 6; ++i) {
        d->pages().select(i);
        desktop.opened.clear();
        EXPECT_TRUE(
            d->translateKey(MSG{d->box(OptionsBox::StoreLog), WM_KEYDOWN, VK_F1, 0, 0, {}}));
        ASSERT_EQ(desktop.opened.size(), 1u) << topics[i];
        EXPECT_EQ(desktop.opened[0].file + " " + desktop.opened[0].parameters,
                  "hh.exe " + sandbox.root() + "help.chm::/" + topics[i] + "_tab.htm");
    }
    EXPECT_FALSE(IsWindowEnabled(d->list(settings::OptionsList::Period)));

    // Each time OK stores the dialog: the hotkeys, the run entry, the start page.
    const std::string page = " http://example.test/ ";
    HWND start = d->hotkeyField(OptionsHotkey::StartErasing);
    EXPECT_EQ(hotkeyOf(start), MAKEWORD(VK_UP, HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT));
    const auto press = [](HWND field, WPARAM key) {
        SendMessageA(field, WM_KEYDOWN, key, 0);
        SendMessageA(field, WM_KEYUP, key, 0);
    };
    // A key typed without a modifier, or with Shift alone, becomes
    // Ctrl+Alt and the key.
    HWND boss = d->hotkeyField(OptionsHotkey::BossKey);
    SendMessageA(boss, WM_KEYDOWN, VK_SHIFT, 0);
    press(boss, 'B');
    SendMessageA(boss, WM_KEYUP, VK_SHIFT, 0);
    EXPECT_EQ(hotkeyOf(boss), MAKEWORD('B', HOTKEYF_CONTROL | HOTKEYF_ALT));
    press(boss, VK_F9);  // stored below
    click(d->box(OptionsBox::StartWithWindows));
    SetWindowTextA(d->field(OptionsField::HomePage), page.c_str());
    ok(*d);
    EXPECT_EQ(store.read(settings::kHotKey1), "Ctrl+Alt+Up");
    EXPECT_EQ(store.read(settings::kHotKey3), "Ctrl+Alt+F9");
    platform::RegValue v;
    EXPECT_FALSE(settings::readStartPage(registry, v));
    ASSERT_TRUE(settings::readStartWithWindows(registry, v));
    // This program's path, quoted as the outside entries' test pins it.
    EXPECT_EQ(v.data.rfind("\"" + program + "\" -m -s", 0), 0u) << v.data;

    d = open();
    click(d->box(OptionsBox::StartWithWindows));
    click(d->box(OptionsBox::LockHomePage));
    ok(*d);
    EXPECT_FALSE(settings::startWithWindowsExists(registry));
    ASSERT_TRUE(settings::readStartPage(registry, v));
    EXPECT_EQ(v.data, page + '\0');  // as typed, blanks and all

    // The dialogs' windows take the shape of their pictures' opaque area.
    const DibSection& picture = d->picture();
    OwnedRegion region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(d->hwnd(), region.get()), COMPLEXREGION);
    GdiFlush();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const bool inside =
                (picture.pixels()[y * picture.width() + x] & 0xFFFFFF) != kTransparentPixel;
            ASSERT_EQ(PtInRegion(region.get(), x, y) != FALSE, inside) << x << "," << y;
        }
    }

    // Use Blank puts back the blank page, stored when Enter ends the dialog,
    // not when Escape does. The keys reach the modal loop every dialog runs
    // in through the control that has the focus; the owner is given back.
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    for (const auto& [key, result] : {std::pair{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}}) {
        d = open(owner);
        click(GetDlgItem(GetParent(d->field(OptionsField::HomePage)), OptionsDialog::kUseBlankId));
        PostMessageA(d->box(OptionsBox::StoreLog), WM_KEYDOWN, key, 0);
        EXPECT_EQ(d->runModal(owner), result) << key;
        EXPECT_EQ(store.read(settings::kHomePage), result == IDOK ? "about:blank" : page);
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    DestroyWindow(owner);
}

// ---------------------------------------------------------------------------
// Through the main window: the dialog it hosts, and the hotkeys after it.

TEST_F(MainWindowTest, OptionsOkStoresTheDialogAndRegistersTheHotkeysAgain) {
    start();
    HotKeyManager probe;  // takes only a hotkey no one holds
    ASSERT_TRUE(probe.create());
    EXPECT_EQ(probe.registerShortcut("Shift+Ctrl+Alt+X"), 0);
    // Stored behind the window's back: only the dialog's reload takes it up.
    store_.write(settings::kHotKey1, "Alt+Ctrl+F9");
    whenShown<OptionsDialog>("TForm2", ok);
    click(app::Command::Options);
    EXPECT_EQ(store_.read(settings::kHotKey1), "Ctrl+Alt+F9");
    EXPECT_EQ(probe.registerShortcut("Ctrl+Alt+F9"), 0);
    EXPECT_NE(probe.registerShortcut("Shift+Ctrl+Alt+X"), 0);
}

}  // namespace
}  // namespace cindral::shell::test
