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

    std::unique_ptr<OptionsDialog> open() {
        auto d = std::make_unique<OptionsDialog>(
            DialogContext{desktop, *sandbox.platform().files, sandbox.root()},
            OptionsSetup{store, registry, program, settings::defaultKeyNames()});
        EXPECT_TRUE(d->create(nullptr, 0, 0));
        return d;
    }
    static void click(HWND control) { SendMessageA(control, BM_CLICK, 0, 0); }
};

TEST_F(OptionsDialogTest, EachPageShowsItsControlsAndTopicAndOkStoresHotkeysRunEntryAndStartPage) {
    ASSERT_TRUE(sandbox.writeFile(sandbox.root() + "help.chm", "help"));
    store.write(settings::kHotKey1, "Ctrl+Alt+Up");
    auto d = open();
    ShowWindow(d->hwnd(), SW_SHOWNA);
    const std::pair<HWND, std::string> pages[] = {
        {d->box(OptionsBox::StoreLog), "general_tab.htm"},
        {d->list(settings::OptionsList::Passes), "security_tab.htm"},
        {d->box(OptionsBox::EraseStart), "schedule_tab.htm"},
        {d->hotkeyField(OptionsHotkey::BossKey), "bosskey_tab.htm"},
        {d->field(OptionsField::HomePage), "protecthome_tab.htm"},
        {d->field(OptionsField::LogLines), "logrefresh_tab.htm"},
    };
    for (int i = 0; i < 6; ++i) {
        d->pages().select(i);
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(IsWindowVisible(pages[j].first) != FALSE, i == j) << i << " " << j;
        }
        desktop.opened.clear();
        SendMessageA(d->hwnd(), WM_COMMAND, MAKEWPARAM(SkinnedDialog::kHelpId, BN_CLICKED), 0);
        ASSERT_EQ(desktop.opened.size(), 1u) << pages[i].second;
        EXPECT_EQ(desktop.opened[0].parameters, sandbox.root() + "help.chm::/" + pages[i].second);
    }

    // Each time OK stores the dialog: the hotkeys, the run entry, the start page.
    const std::string page = " http://example.test/ ";
    HWND start = d->hotkeyField(OptionsHotkey::StartErasing);
    EXPECT_EQ(hotkeyOf(start), MAKEWORD(VK_UP, HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT));
    const auto press = [](HWND field, WPARAM key) {
        SendMessageA(field, WM_KEYDOWN, key, 0);
        SendMessageA(field, WM_KEYUP, key, 0);
    };
    // A key typed without a modifier, or with Shift alone, becomes
    // Ctrl+Alt and the key; Backspace empties a field.
    HWND boss = d->hotkeyField(OptionsHotkey::BossKey);
    SendMessageA(boss, WM_KEYDOWN, VK_SHIFT, 0);
    press(boss, 'B');
    SendMessageA(boss, WM_KEYUP, VK_SHIFT, 0);
    EXPECT_EQ(hotkeyOf(boss), MAKEWORD('B', HOTKEYF_CONTROL | HOTKEYF_ALT));
    press(boss, VK_F9);  // stored below
    press(d->hotkeyField(OptionsHotkey::InvisibleMode), VK_BACK);
    click(d->box(OptionsBox::StartWithWindows));
    SetWindowTextA(d->field(OptionsField::HomePage), page.c_str());
    ok(*d);
    EXPECT_EQ(store.read(settings::kHotKey1), "Ctrl+Alt+Up");
    EXPECT_EQ(store.read(settings::kHotKey2), "");
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

    d = open();  // Use Blank puts back the blank page
    click(GetDlgItem(GetParent(d->field(OptionsField::HomePage)), OptionsDialog::kUseBlankId));
    ok(*d);
    EXPECT_EQ(store.read(settings::kHomePage), "about:blank");
}

// ---------------------------------------------------------------------------
// Through the main window: the dialog it hosts, and the hotkeys after it.

bool hotkeyFree(UINT modifiers, UINT vk) {
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const bool free = RegisterHotKey(probe, 1, modifiers, vk) != FALSE;
    if (free) UnregisterHotKey(probe, 1);
    DestroyWindow(probe);
    return free;
}

TEST_F(MainWindowTest, OptionsOkStoresTheDialogAndRegistersTheHotkeysAgain) {
    start();
    EXPECT_FALSE(hotkeyFree(MOD_SHIFT | MOD_CONTROL | MOD_ALT, 'X'));
    // Stored behind the window's back: only the dialog's reload takes it up.
    store_.write(settings::kHotKey1, "Alt+Ctrl+F9");
    whenShown<OptionsDialog>("TForm2", ok);
    click(app::Command::Options);
    EXPECT_EQ(store_.read(settings::kHotKey1), "Ctrl+Alt+F9");
    EXPECT_FALSE(hotkeyFree(MOD_CONTROL | MOD_ALT, VK_F9));
    EXPECT_TRUE(hotkeyFree(MOD_SHIFT | MOD_CONTROL | MOD_ALT, 'X'));
}

}  // namespace
}  // namespace cindral::shell::test
