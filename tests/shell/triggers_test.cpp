// The triggers and guards in the real main window: browser windows of the
// test's own, hotkey messages to the hotkey manager's window, the timers,
// the session end and the safe shutdown through a recorder.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include "settings/shortcut.h"
#include "shell/main_window_ids.h"
#include "shell/shell_test_support.h"
#include "support/recording_session_end.h"

namespace cindral::shell::test {
namespace {

// A top-level window of the test's own class: "IEFrame" makes it a browser
// window to the program.
struct TopWindow {
    explicit TopWindow(const char* className) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);  // fails harmlessly when it exists
        hwnd = CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TopWindow() { DestroyWindow(hwnd); }  // fails harmlessly when it is gone
    bool visible() const { return IsWindowVisible(hwnd) != FALSE; }
    HWND hwnd;
};

// A browser that does not close when asked, as one that asks its user first.
LRESULT CALLBACK refuseClose(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) return 0;
    return DefWindowProcA(window, msg, wParam, lParam);
}

class TriggersTest : public MainWindowTest {
protected:
    // Posts what Windows posts for a press of the shortcut to the hotkey
    // manager's window, and lets the window take it (it does its work there
    // and then).
    void press(int which, const char* shortcutText) {
        settings::Shortcut s;
        ASSERT_TRUE(settings::textToShortcut(shortcutText, s));
        const int id = main->controller().hotkeyIds().at(which);
        ASSERT_NE(id, 0) << shortcutText << " could not be registered";
        PostMessageA(main->hotKeys().hwnd(), WM_HOTKEY, static_cast<WPARAM>(id),
                     MAKELPARAM(settings::hotKeyModifiers(s), s.virtualKey));
        pumpQueued();
    }
    // Waits for a cleaning run to complete, then empties the status line
    // that tells so, for the next wait to see only the next run.
    bool aCleaningRunEnds() {
        const HWND status = main->control(MainWindow::kStatusId);
        const bool ended = pumpUntil([&] {
            return SkinnedWindow::textOf(status).rfind("Cleaned Evidence in Registry: ", 0) == 0 &&
                   idle();
        });
        SetWindowTextA(status, "");
        return ended;
    }
    // Whether the window's timer was running; it is stopped by asking.
    bool stopTimer(UINT_PTR timer) { return KillTimer(main->hwnd(), timer) != FALSE; }
};

TEST_F(TriggersTest, BossKeyHidesAndShowsOnlyBrowserWindowsAndClosesThemWithinABound) {
    store_.write(settings::kBossKey, 1);
    start();
    TopWindow browser("IEFrame"), other("IEFrame2");
    press(2, "Shift+Alt+B");
    EXPECT_FALSE(browser.visible());
    EXPECT_TRUE(other.visible());
    press(2, "Shift+Alt+B");
    EXPECT_TRUE(browser.visible());

    store_.write(settings::kBossKey, 2);
    TopWindow stubborn("IEFrame");  // given up after a bound; the others still close
    SetWindowLongPtrA(stubborn.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuseClose));
    press(2, "Shift+Alt+B");
    EXPECT_FALSE(IsWindow(browser.hwnd));
    EXPECT_TRUE(IsWindow(stubborn.hwnd));
    EXPECT_TRUE(IsWindow(other.hwnd));
}

// That the runs are quiet and the watch ends with its run is the triggers'
// (pinned natively). A start with Windows, the last browser closing, the
// session end (answered at once all the same), a safe shutdown (which asks
// for the shutdown after its run, without force) and the periodic timer,
// armed once the Options dialog closes, each start a cleaning run.
TEST_F(TriggersTest, EachTriggerStartsACleaningRun) {
    cindral::test::RecordingSessionEnd session;
    sessionEnd = &session;
    select({kClipboard});
    for (const auto& on : {settings::kEraseIEShutDown, settings::kEraseWinShutdown,
                           settings::kEraseWinStart, settings::kEraseEvery})
        store_.write(on, 1);
    store_.write(settings::kEraseEveryTime, 1);
    start({"-s"});
    ASSERT_TRUE(aCleaningRunEnds());
    auto browser = std::make_unique<TopWindow>("IEFrame");
    ASSERT_TRUE(pumpUntil([&] { return main->triggers().browserWatchOn(); }));
    browser.reset();
    ASSERT_TRUE(aCleaningRunEnds());
    EXPECT_EQ(SendMessageA(main->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
    ASSERT_TRUE(aCleaningRunEnds());
    main->command(app::commandInfo(app::Command::TraySafeShutdown).id);
    ASSERT_TRUE(aCleaningRunEnds());
    ASSERT_FALSE(session.calls.empty());
    EXPECT_EQ(session.calls.back(), "InitiateSystemShutdown '' force 0 restart 0");

    EXPECT_FALSE(stopTimer(kCleaningTimer));
    main->setDialogRunner(app::Dialog::Options, [](DialogHost&) { return false; });
    click(app::Command::Options);  // Cancel arms it too
    EXPECT_TRUE(stopTimer(kCleaningTimer));
    SendMessageA(main->hwnd(), WM_TIMER, kCleaningTimer, 0);
    EXPECT_FALSE(idle());
    ASSERT_TRUE(waitForIdle());
}

TEST_F(TriggersTest, TheInvisibleModeHotkeyATakenHotkeyAndANewTrayKeepTheProgramReachable) {
    store_.write(settings::kInvisibleMode, 1);
    start();
    ASSERT_FALSE(main->isVisible() || main->trayIconShown());
    HotKeyManager other;
    ASSERT_TRUE(other.create());
    EXPECT_EQ(other.registerShortcut("Ctrl+Shift+U"), 0);
    press(1, "Ctrl+Shift+U");
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->trayIconShown());

    // Held by another program at start: invisible mode would leave no way back.
    main.reset();
    ASSERT_NE(other.registerShortcut("Ctrl+Shift+U"), 0);
    start();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->trayIconShown());

    // The tray icon comes back when the notification area starts again.
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = main->hwnd();
    nid.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &nid));  // as a new Explorer knows nothing of it
    SendMessageA(main->hwnd(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &nid));
}

}  // namespace
}  // namespace cindral::shell::test
