// The main window's wiring: commands reach the controller, a run's lines and
// rows reach the controls, the window answers while a run goes on. What the
// controller decides (the enable rule, completion texts and order) is pinned
// natively by its own tests.
#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <thread>

#include "app/startup.h"
#include "shell/main_window_ids.h"
#include "shell/program.h"
#include "shell/shell_test_support.h"

namespace cindral::shell::test {

void MainWindowTest::start(const std::vector<std::string>& params) {
    MainWindowSetup setup;
    setup.platform = &platform_;
    setup.services = &services->services();
    setup.settings = &store_;
    setup.desktop = &desktop;
    setup.sessionEnd = sessionEnd;
    setup.quitOnDestroy = false;
    main = std::make_unique<MainWindow>(setup);
    ASSERT_TRUE(main->create());
    main->startup(params);
    pumpQueued();
}

void MainWindowTest::click(app::Command command) {
    SendMessageA(main->hwnd(), WM_COMMAND, MAKEWPARAM(app::commandInfo(command).id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button(command)));
}

namespace {

using app::Command;
using cindral::test::FileOp;
using Lines = std::vector<std::string>;

}  // namespace

// The drive scan rewrites its progress line into a file's line and adds a
// line below it, both before the list catches up: the rewritten line is no
// longer the last one then, and must be drawn anew all the same.
TEST_F(MainWindowTest, ALineRewrittenBeforeLinesAreAddedBelowItIsDrawnAnew) {
    start();
    const HWND list = main->control(MainWindow::kLogId);
    engine::RunView& view = main->runView();
    view.clearLog();
    for (int i = 0; i < 20; ++i) view.addLine("line " + std::to_string(i));  // scrolled
    view.addLine("Analyzing Folder: C:\\a");
    ASSERT_TRUE(pumpUntil([&] { return ListView_GetItemCount(list) == 21; }));
    UpdateWindow(list);  // drawn: nothing left to paint
    view.replaceLastLine("Removing File: C:\\a\\x.tmp <OK>");
    view.addLine("");
    // Only the timers, so that what the list has yet to paint can be seen.
    for (const DWORD begin = GetTickCount();
         ListView_GetItemCount(list) != 22 && GetTickCount() - begin < 20000;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&msg);
    }
    ASSERT_EQ(ListView_GetItemCount(list), 22);
    RECT row{};
    ListView_GetItemRect(list, 20, &row, LVIR_BOUNDS);
    OwnedRegion toPaint(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(list, toPaint.get(), FALSE);
    EXPECT_TRUE(RectInRegion(toPaint.get(), &row));
}

// A test run held inside its listing of the recent documents sees the stop
// only when that call returns: the window answers meanwhile, and Stop makes
// it idle at once. The next run fills rows, status, result window and log;
// closing during a run stops it.
TEST_F(MainWindowTest, ARunHeldInACallLeavesTheWindowAnsweringAndStopMarksItsRowTerminated) {
    select({kRunHistory, kClipboard, kRecentDocuments});
    store_.write(settings::kStoreLog, 1);
    file("Recent\\a.lnk");
    files_.fails = [this, window = std::this_thread::get_id()](FileOp op, const std::string& p) {
        if (op == FileOp::List && std::this_thread::get_id() != window &&
            p.find("Recent") != std::string::npos)
            held.hold();
        return false;
    };
    start();
    EXPECT_TRUE(main->isVisible());
    auto recent = [&] {
        for (const auto& row : main->queue().rows)
            if (row.caption == "Windows Recent Documents") return row.status;
        return std::string("<no row>");
    };
    click(Command::TestMode);
    ASSERT_TRUE(pumpUntil([&] { return held.inside > 0 && recent() == "Analyzing..."; }));
    EXPECT_FALSE(IsWindowEnabled(button(Command::CleanNow)));
    EXPECT_EQ(GetMenuState(main->buildTrayMenu().get(), app::commandInfo(Command::TrayCleanNow).id,
                           MF_BYCOMMAND) &
                  MF_GRAYED,
              UINT(MF_GRAYED));
    click(Command::Help);
    click(Command::ViewLog);
    click(Command::Exit);  // answered No
    EXPECT_EQ(desktop.messages,
              (Lines{"The Cindral Help File does not exist.", "Log File have no records.",
                     "Are you sure you want to close Cindral?"}));
    click(Command::TestMode);  // "Stop Work!"
    EXPECT_EQ(SkinnedWindow::textOf(button(Command::TestMode)), "Test Mode!");
    // The row the run was in is marked, and stays so once the run is gone.
    held.release();
    ASSERT_TRUE(pumpUntil([&] { return main->stoppedRunsLeft() == 0; }));  // its thread joined
    EXPECT_EQ(recent(), "Terminated");

    // The next run starts at once and completes.
    click(Command::TestMode);
    ASSERT_TRUE(waitForIdle());
    for (const auto& row : main->queue().rows) EXPECT_EQ(row.status, "Completed");
    const std::string summary = text(MainWindow::kStatusId);
    EXPECT_EQ(summary.rfind("Found Evidence in Registry: ", 0), 0u) << summary;
    EXPECT_NE(read(paths_.logFile).find(summary), std::string::npos);

    // The result window shows the run's texts; OK hides it.
    ResultWindow& result = main->resultWindow();
    ASSERT_TRUE(result.isVisible());
    EXPECT_EQ(SkinnedWindow::textOf(result.titleLabel()), "Test mode is Completed");
    SendMessageA(result.hwnd(), WM_COMMAND, ResultWindow::kOkId, 0);
    EXPECT_FALSE(result.isVisible());

    // Closing during a run stops it without completion.
    click(Command::TestMode);
    desktop.answer = IDYES;
    click(Command::Exit);
    EXPECT_EQ(main->hwnd(), nullptr);
    EXPECT_EQ(main->controller().activity(), app::Activity::Idle);
    EXPECT_FALSE(main->trayIconShown());
}

// Start-up (-M: hidden in the tray) fills the controls; F1, the title
// buttons, the tray entries, the system close, the dialog buttons and the log
// buttons each reach their own command.
TEST_F(MainWindowTest, StartUpFillsTheWindowAndEachWayInReachesItsOwnCommand) {
    store_.write(settings::kLastDate, "03.07.2007 at 14:05:09");
    start({"-M"});
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->trayIconShown());
    EXPECT_EQ(text(MainWindow::kStatusId), "Last Erasing Date 03.07.2007 at 14:05:09");
    EXPECT_EQ(ListView_GetItemCount(main->control(MainWindow::kQueueId)), 24);

    const HWND w = main->hwnd();
    auto tray = [&](Command c) {  // what the tray menu sends for a chosen entry
        SendMessageA(w, WM_COMMAND, static_cast<WPARAM>(app::commandInfo(c).id), 0);
    };
    SendMessageA(w, WM_HELP, 0, 0);  // F1
    click(Command::TitleHelp);
    tray(Command::TrayPluginEditor);
    click(Command::TitleClose);  // each close is answered No
    tray(Command::TrayExit);
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    const std::string help = "The Cindral Help File does not exist.";
    const std::string close = "Are you sure you want to close Cindral?";
    EXPECT_EQ(desktop.messages,
              (Lines{help, help, "The Plug-In Editor does not exist.", close, close, close}));
    SendMessageA(w, kMsgTray, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(main->isVisible());
    click(Command::Minimize);
    EXPECT_FALSE(main->isVisible());
    tray(Command::TrayOpen);
    EXPECT_TRUE(main->isVisible());

    write(home_ + "help.chm", "ITSF");
    tray(Command::TrayHelp);
    write(paths_.logFile, std::string(2047, 'x') + "\r\n");
    click(Command::ViewLog);
    ASSERT_EQ(desktop.opened.size(), 2u);
    EXPECT_EQ(desktop.opened[0].file, home_ + "help.chm");
    EXPECT_EQ(desktop.opened[1].file, paths_.logFile);
    click(Command::ClearLog);  // answered No
    EXPECT_EQ(read(paths_.logFile), std::string(2047, 'x') + "\r\n");
    desktop.answer = IDYES;
    click(Command::ClearLog);
    EXPECT_EQ(read(paths_.logFile), "");
}

TEST_F(MainWindowTest, SecondInstanceShowsTheStoredInvisibleModeHotkey) {
    OwnedKernelHandle first, second;
    store_.write(settings::kHotKey2, "Shift+Alt+Q");
    ASSERT_TRUE(ClaimSingleInstance(store_, desktop, first));
    EXPECT_FALSE(ClaimSingleInstance(store_, desktop, second));
    // Its text, naming the stored key, is pinned by the start-up decision's test.
    EXPECT_EQ(desktop.messages, Lines{app::AlreadyRunningText(store_)});
    first.reset();

    // A first instance with rights this one lacks (started as administrator)
    // holds a mutex this one may not open: it runs all the same.
    SECURITY_DESCRIPTOR sd;
    ACL noAccess;
    ASSERT_TRUE(InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                InitializeAcl(&noAccess, sizeof noAccess, ACL_REVISION) &&
                SetSecurityDescriptorDacl(&sd, TRUE, &noAccess, FALSE));
    SECURITY_ATTRIBUTES locked{sizeof locked, &sd, FALSE};
    first = OwnedKernelHandle(CreateMutexA(&locked, FALSE, kMutexName));
    ASSERT_TRUE(first);
    EXPECT_FALSE(ClaimSingleInstance(store_, desktop, second));
    EXPECT_EQ(desktop.messages.size(), 2u);
}

}  // namespace cindral::shell::test
