#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/run.h"
#include "engine/builtin_items.h"
#include "shell/program.h"
#include "shell/shell_test_support.h"

namespace cindral::shell::test {

// ---------------------------------------------------------------------------
// Fixture.

void MainWindowTest::SetUp() {
    platform = sandbox.platform();
    system = std::make_unique<HomeSystem>(*platform.system, sandbox.root() + "cindral.exe");
    platform.system = system.get();
    settingsStore = std::make_unique<settings::SettingsStore>(*platform.registry,
                                                              sandbox.registryScratchPath() + "\\");
    services = platform::createNativeRunServices();
}

void MainWindowTest::TearDown() {
    main.reset();
    pumpFor(20);
}

void MainWindowTest::start(const std::vector<std::string>& params) {
    MainWindowSetup setup;
    setup.platform = &platform;
    setup.services = &services->services();
    setup.settings = settingsStore.get();
    setup.desktop = &desktop;
    setup.sessionEnd = sessionEnd;
    setup.quitOnDestroy = false;
    main = std::make_unique<MainWindow>(setup);
    ASSERT_TRUE(main->create());
    main->startup(params);
    pumpFor(20);
}

void MainWindowTest::selectOnly(const std::vector<std::string>& names) {
    std::string ini = "[Items]\r\n";
    for (const auto& item : engine::BuiltInItems()) {
        const bool on = std::find(names.begin(), names.end(), item.name) != names.end();
        ini += std::string(item.name) + "=" + (on ? "1" : "0") + "\r\n";
    }
    ASSERT_TRUE(sandbox.makeFolder(home() + "Data"));
    ASSERT_TRUE(sandbox.writeFile(home() + "Data\\SelItems.dat", ini));
}

void MainWindowTest::click(app::Command command) {
    SendMessageA(main->hwnd(), WM_COMMAND, MAKEWPARAM(app::commandInfo(command).id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button(command)));
}

std::vector<std::string> MainWindowTest::logLines() {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < main->logBook().viewLineCount(); ++i) {
        lines.emplace_back(main->logBook().viewLine(i));
    }
    return lines;
}

RECT MainWindowTest::childRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, main->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

namespace {

bool enabled(HWND w) { return IsWindowEnabled(w) != FALSE; }

bool menuEnabled(HMENU menu, app::Command c) {
    UINT state = GetMenuState(menu, static_cast<UINT>(app::commandInfo(c).id), MF_BYCOMMAND);
    return state != 0xFFFFFFFF && !(state & (MF_GRAYED | MF_DISABLED));
}

HMENU safeSubmenu(HMENU menu) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) return sub;
    }
    return nullptr;
}

// A kit dialog that presses its own OK as soon as it runs.
class ConfirmingDialog : public SkinnedDialog {
public:
    explicit ConfirmingDialog(DialogHost& host)
        : SkinnedDialog({SkinWindow::EraseItems, "CindralConfirmingDialog", "Erase Items",
                         app::Dialog::EraseItems, DialogButtons::HelpOkCancel},
                        host.dialogContext()) {}

protected:
    bool build() override { return PostMessageA(hwnd_, WM_COMMAND, IDOK, 0) != FALSE; }
};

const app::Command kButtons[] = {
    app::Command::CleanNow, app::Command::TestMode, app::Command::EraseItems, app::Command::Options,
    app::Command::Keeper,   app::Command::ViewLog,  app::Command::ClearLog,   app::Command::About,
    app::Command::Help,     app::Command::Exit};

}  // namespace

// ---------------------------------------------------------------------------
// Layout and start-up.

TEST_F(MainWindowTest, LayoutFollowsTheDesignAtTheScreensScale) {
    start();
    const Dpi& d = main->dpi();
    RECT client;
    GetClientRect(main->hwnd(), &client);
    EXPECT_EQ(client.right, d(482));
    EXPECT_EQ(client.bottom, d(383));
    EXPECT_EQ(GetWindowLongA(main->hwnd(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(main->hwnd(), rgn), COMPLEXREGION);  // rounded outline
    DeleteObject(rgn);

    EXPECT_EQ(SkinnedWindow::textOf(main->control(MainWindow::kTitleId)), "Cindral");
    int previousBottom = -1;
    int gaps = 0;
    for (app::Command c : kButtons) {
        HWND b = button(c);
        ASSERT_NE(b, nullptr) << app::commandInfo(c).text;
        EXPECT_EQ(SkinnedWindow::textOf(b), app::commandInfo(c).text);
        RECT r = childRect(b);
        EXPECT_EQ(r.right - r.left, d(91));
        EXPECT_EQ(r.bottom - r.top, d(22));
        EXPECT_EQ(r.left, d(381));
        if (previousBottom >= 0 && r.top - previousBottom > d(5)) ++gaps;
        previousBottom = r.bottom;
    }
    EXPECT_EQ(gaps, 3);  // after Test Mode!, Keeper and Clear Log

    RECT q = childRect(main->control(MainWindow::kQueueId));
    EXPECT_EQ(q.right - q.left, d(359));
    EXPECT_EQ(q.bottom - q.top, d(143));
    RECT l = childRect(main->control(MainWindow::kLogId));
    EXPECT_EQ(l.right - l.left, d(359));
    EXPECT_EQ(l.bottom - l.top, d(110));
    EXPECT_GT(l.top, q.bottom - 1);
    HWND queue = main->control(MainWindow::kQueueId);
    EXPECT_EQ(ListView_GetColumnWidth(queue, 0), d(258));
    EXPECT_EQ(ListView_GetColumnWidth(queue, 1), d(80));
    char header[64] = {};
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = header;
    col.cchTextMax = sizeof header;
    ListView_GetColumn(queue, 0, &col);
    EXPECT_STREQ(header, "Current Items to be Cleaned");
    EXPECT_TRUE(GetWindowLongA(main->control(MainWindow::kLogId), GWL_STYLE) & LVS_OWNERDATA);

    HWND status = main->control(MainWindow::kStatusId);
    HWND gauge = main->control(MainWindow::kGaugeId);
    EXPECT_EQ(SkinnedWindow::textOf(status), "For Help, press F1");
    EXPECT_TRUE(IsWindowVisible(status));
    EXPECT_FALSE(IsWindowVisible(gauge));
    RECT g = childRect(gauge);
    EXPECT_EQ(g.right - g.left, d(473));
    EXPECT_EQ(g.bottom - g.top, d(16));
}

TEST_F(MainWindowTest, FirstStartQueuesEveryItemAndLogsTheStartUpLines) {
    start();
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->trayIconShown());
    EXPECT_EQ(main->queue().rows.size(), 24u);
    EXPECT_EQ(ListView_GetItemCount(main->control(MainWindow::kQueueId)), 24);
    for (const auto& row : main->queue().rows) EXPECT_EQ(row.status, "Pending");
    EXPECT_TRUE(sandbox.exists(home() + "Data\\SelItems.dat"));
    EXPECT_TRUE(sandbox.exists(home() + "Plug-Ins"));
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].rfind("Cindral v3.0 initialized: ", 0), 0u);
    EXPECT_EQ(lines[1], "Detecting System Directories... <OK>");
    EXPECT_EQ(lines[2], "Performing self-tests... <OK>");
    EXPECT_EQ(lines[3].rfind("OS Detected: ", 0), 0u);
    EXPECT_EQ(lines[4], "Ready.");
    // The virtual list shows the log book's lines, scrolled to the last.
    EXPECT_EQ(ListView_GetItemCount(main->control(MainWindow::kLogId)), 5);
}

TEST_F(MainWindowTest, MinusMStartsHiddenInTheTrayAndLastDateShowsInTheStatus) {
    settingsStore->write(settings::kStoreDate, 1);
    settingsStore->write(settings::kLastDate, "03.07.2007 at 14:05:09");
    start({"-M"});
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->trayIconShown());
    EXPECT_EQ(SkinnedWindow::textOf(main->control(MainWindow::kStatusId)),
              "Last Erasing Date 03.07.2007 at 14:05:09");
    main->openFromTray();
    EXPECT_TRUE(main->isVisible());
    click(app::Command::Minimize);
    EXPECT_FALSE(main->isVisible());
}

// ---------------------------------------------------------------------------
// Runs.

TEST_F(MainWindowTest, CleanNowWithAnEmptyQueueLogsExactlyTheTwoWarnings) {
    selectOnly({});
    start();
    ASSERT_EQ(main->queue().rows.size(), 0u);
    click(app::Command::CleanNow);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"WARNING: No items are selected.",
                                                    "Process has been terminated."}));
    EXPECT_EQ(main->controller().activity(), app::Activity::Idle);
    for (app::Command c : kButtons) {
        if (c != app::Command::Options && c != app::Command::Keeper) {
            EXPECT_TRUE(enabled(button(c))) << app::commandInfo(c).text;
        }
    }
    EXPECT_EQ(SkinnedWindow::textOf(button(app::Command::CleanNow)), "Clean Now!");
}

TEST_F(MainWindowTest, TestModeRunsToCompletionAndShowsTheResultWindow) {
    selectOnly({"Windows Run History", "Clipboard"});
    start();
    ASSERT_EQ(main->queue().rows.size(), 2u);
    click(app::Command::TestMode);
    EXPECT_EQ(SkinnedWindow::textOf(button(app::Command::TestMode)), "Stop Work!");
    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));

    for (const auto& row : main->queue().rows) EXPECT_EQ(row.status, "Completed");
    EXPECT_EQ(SkinnedWindow::textOf(button(app::Command::TestMode)), "Test Mode!");
    const std::string status = SkinnedWindow::textOf(main->control(MainWindow::kStatusId));
    EXPECT_EQ(status.rfind("Found Evidence in Registry: ", 0), 0u) << status;
    EXPECT_NE(status.find(", Used Hard Drive Space: "), std::string::npos);
    EXPECT_FALSE(IsWindowVisible(main->control(MainWindow::kGaugeId)));

    ResultWindow& result = main->resultWindow();
    EXPECT_TRUE(result.isVisible());
    EXPECT_EQ(SkinnedWindow::textOf(result.titleLabel()), "Test mode is Completed");
    EXPECT_EQ(SkinnedWindow::textOf(result.headlineLabel()), "Test mode is Completed!");
    EXPECT_EQ(SkinnedWindow::textOf(result.lineLabel(2)).rfind("Used Hard Drive Space: ", 0), 0u);

    std::vector<std::string> lines = logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Cindral v.3.0 has started work: ", 0), 0u);
    EXPECT_EQ(lines[1], std::string(83, '-'));
    EXPECT_FALSE(sandbox.exists(home() + "logs.txt"));  // "StoreLog" is off

    // The result window is hidden, not destroyed, and reused where it was left.
    HWND first = result.hwnd();
    SendMessageA(first, WM_COMMAND, ResultWindow::kOkId, 0);
    EXPECT_FALSE(result.isVisible());
    SetWindowPos(first, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    click(app::Command::TestMode);
    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));
    EXPECT_EQ(result.hwnd(), first);
    EXPECT_TRUE(result.isVisible());
    RECT r;
    GetWindowRect(first, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 50);
}

TEST_F(MainWindowTest, StoreLogWritesTheRunAndItsTrailerToLogsTxt) {
    selectOnly({"Clipboard"});
    settingsStore->write(settings::kStoreLog, 1);
    settingsStore->write(settings::kResultWindow, 0);
    start();
    click(app::Command::TestMode);
    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));
    EXPECT_FALSE(main->resultWindow().isVisible());
    std::string bytes;
    ASSERT_TRUE(platform.files->readFile(home() + "logs.txt", bytes));
    EXPECT_EQ(bytes.rfind("Cindral v.3.0 has started work: ", 0), 0u);
    const std::string summary = SkinnedWindow::textOf(main->control(MainWindow::kStatusId));
    const std::string dashes(64, '-');
    EXPECT_NE(bytes.find(dashes + "\r\n" + summary + "\r\n" + dashes + "\r\n\r\n"),
              std::string::npos);
}

TEST_F(MainWindowTest, DuringARunElevenControlsAreDisabledAndTheRestWork) {
    selectOnly({"Windows Run History", "Clipboard", "Windows Recent Documents"});
    start();
    click(app::Command::TestMode);
    // The run waits for this thread to carry out its first request, so the
    // window is certainly in the running state here.
    ASSERT_EQ(main->controller().activity(), app::Activity::Testing);
    EXPECT_FALSE(enabled(button(app::Command::CleanNow)));
    EXPECT_TRUE(enabled(button(app::Command::TestMode)));
    for (app::Command c : {app::Command::EraseItems, app::Command::Options, app::Command::Keeper}) {
        EXPECT_FALSE(enabled(button(c)));
    }
    for (app::Command c : {app::Command::ViewLog, app::Command::ClearLog, app::Command::About,
                           app::Command::Help, app::Command::Exit}) {
        EXPECT_TRUE(enabled(button(c))) << app::commandInfo(c).text;
    }
    EXPECT_TRUE(IsWindowVisible(main->control(MainWindow::kGaugeId)));
    EXPECT_FALSE(IsWindowVisible(main->control(MainWindow::kStatusId)));

    OwnedMenu owned = main->buildTrayMenu();
    HMENU menu = owned.get();
    for (app::Command c :
         {app::Command::TrayCleanNow, app::Command::TrayTestMode, app::Command::TrayEraseItems,
          app::Command::TrayOptions, app::Command::TrayKeeper}) {
        EXPECT_FALSE(menuEnabled(menu, c)) << app::commandInfo(c).text;
    }
    HMENU safe = safeSubmenu(menu);
    ASSERT_NE(safe, nullptr);
    EXPECT_FALSE(menuEnabled(safe, app::Command::TraySafeShutdown));
    EXPECT_FALSE(menuEnabled(safe, app::Command::TraySafeRestart));
    for (app::Command c : {app::Command::TrayOpen, app::Command::TrayPluginEditor,
                           app::Command::TrayHelp, app::Command::TrayExit}) {
        EXPECT_TRUE(menuEnabled(menu, c)) << app::commandInfo(c).text;
    }

    // Help, View Log and Exit answer during the run.
    click(app::Command::Help);
    click(app::Command::ViewLog);
    desktop.answer = IDNO;
    click(app::Command::Exit);
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[0], "The Cindral Help File does not exist.");
    EXPECT_EQ(desktop.messages[1], "Log File have no records.");
    EXPECT_EQ(desktop.messages[2], "Are you sure you want to close Cindral?");
    EXPECT_NE(main->hwnd(), nullptr);

    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));
    OwnedMenu idle = main->buildTrayMenu();
    EXPECT_TRUE(menuEnabled(idle.get(), app::Command::TrayCleanNow));
    EXPECT_TRUE(menuEnabled(idle.get(), app::Command::TrayEraseItems));
    EXPECT_TRUE(menuEnabled(idle.get(), app::Command::TrayOptions));
}

TEST_F(MainWindowTest, StoppedRunLeavesNoTrailerNoFileAndRestartsAtOnce) {
    selectOnly({"Windows Run History", "Clipboard", "Windows Recent Documents"});
    settingsStore->write(settings::kStoreLog, 1);
    start();
    click(app::Command::TestMode);
    ASSERT_EQ(main->controller().activity(), app::Activity::Testing);
    click(app::Command::TestMode);  // "Stop Work!"
    EXPECT_EQ(main->controller().activity(), app::Activity::Idle);
    EXPECT_EQ(SkinnedWindow::textOf(button(app::Command::TestMode)), "Test Mode!");
    EXPECT_TRUE(enabled(button(app::Command::CleanNow)));
    EXPECT_FALSE(IsWindowVisible(main->control(MainWindow::kGaugeId)));
    pumpFor(300);
    EXPECT_FALSE(main->resultWindow().isVisible());
    EXPECT_FALSE(sandbox.exists(home() + "logs.txt"));
    for (const auto& row : main->queue().rows) EXPECT_NE(row.status, "Analyzing...");

    click(app::Command::TestMode);
    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));
    std::vector<std::string> lines = logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("Cindral v.3.0 has started work: ", 0), 0u);
    EXPECT_TRUE(sandbox.exists(home() + "logs.txt"));
}

TEST_F(MainWindowTest, TrayRunWhileHiddenHidesTheWindowAgainAtCompletion) {
    selectOnly({"Clipboard"});
    start({"-m"});
    ASSERT_FALSE(main->isVisible());
    main->command(app::commandInfo(app::Command::TrayTestMode).id);
    EXPECT_TRUE(main->isVisible());
    ASSERT_TRUE(pumpUntil([&] { return main->controller().activity() == app::Activity::Idle; }));
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->resultWindow().isVisible());
}

TEST_F(MainWindowTest, ClosingDuringARunStopsItWithoutCompletion) {
    selectOnly({"Windows Run History", "Clipboard"});
    start();
    click(app::Command::TestMode);
    desktop.answer = IDYES;
    click(app::Command::Exit);
    EXPECT_EQ(main->hwnd(), nullptr);
    EXPECT_EQ(main->controller().activity(), app::Activity::Idle);
    EXPECT_FALSE(main->trayIconShown());
}

// ---------------------------------------------------------------------------
// Help, logs, dialogs, single instance.

TEST_F(MainWindowTest, HelpOpensHelpChmOrSaysItIsMissing) {
    start();
    SendMessageA(main->hwnd(), WM_HELP, 0, 0);  // F1
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0], "The Cindral Help File does not exist.");
    EXPECT_TRUE(desktop.messageFlags[0] & MB_ICONEXCLAMATION);
    EXPECT_TRUE(desktop.opened.empty());

    ASSERT_TRUE(sandbox.writeFile(home() + "help.chm", "ITSF"));
    main->command(app::commandInfo(app::Command::TrayHelp).id);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].verb, "open");
    EXPECT_EQ(desktop.opened[0].file, home() + "help.chm");

    ContextHelp(desktop, *platform.files, home(), "help.chm", "schedule_tab.htm", main->hwnd());
    ASSERT_EQ(desktop.opened.size(), 2u);
    EXPECT_EQ(desktop.opened[1].file, "hh.exe");
    EXPECT_EQ(desktop.opened[1].parameters, home() + "help.chm::/schedule_tab.htm");

    main->command(app::commandInfo(app::Command::TrayPluginEditor).id);
    EXPECT_EQ(desktop.messages.back(), "The Plug-In Editor does not exist.");
}

TEST_F(MainWindowTest, ViewLogAndClearLogFollowTheLogFile) {
    start();
    click(app::Command::ClearLog);
    EXPECT_EQ(desktop.messages.back(), "Log File have no records.");
    ASSERT_TRUE(sandbox.writeFile(home() + "logs.txt", std::string(2047, 'x') + "\r\n"));
    click(app::Command::ViewLog);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].file, home() + "logs.txt");
    desktop.answer = IDNO;
    click(app::Command::ClearLog);
    EXPECT_EQ(desktop.messages.back(), "Are you sure you want to delete Log File (2 KB) ?");
    std::uint64_t size = 0;
    ASSERT_TRUE(platform.files->fileSize(home() + "logs.txt", size));
    EXPECT_EQ(size, 2049u);
    desktop.answer = IDYES;
    click(app::Command::ClearLog);
    ASSERT_TRUE(platform.files->fileSize(home() + "logs.txt", size));
    EXPECT_EQ(size, 0u);
}

TEST_F(MainWindowTest, DialogsArePlacedBesideTheWindowOrCentredWhenHidden) {
    start();
    std::vector<app::Point> places;
    main->setDialogRunner(app::Dialog::About, [&](DialogHost& host) {
        places.push_back(host.place(200, 100));
        return false;
    });
    SetWindowPos(main->hwnd(), nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    click(app::Command::About);
    main->minimizeToTray();
    main->controller().execute(app::Command::About);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].x, 130);
    EXPECT_EQ(places[0].y, 150);
    EXPECT_EQ(places[1].x, GetSystemMetrics(SM_CXSCREEN) / 2 - 100);
    EXPECT_EQ(places[1].y, GetSystemMetrics(SM_CYSCREEN) / 2 - 50);

    // A dialog that exists enables its button and tray entry.
    main->setDialogRunner(app::Dialog::Keeper, nullptr);
    EXPECT_FALSE(enabled(button(app::Command::Keeper)));
    main->setDialogRunner(app::Dialog::Keeper, [](DialogHost&) { return false; });
    EXPECT_TRUE(enabled(button(app::Command::Keeper)));
}

TEST_F(MainWindowTest, AKitDialogConfirmedWithOkMakesEraseItemsRebuildTheQueue) {
    start();
    ASSERT_EQ(main->queue().rows.size(), 24u);
    selectOnly({"Clipboard"});  // as the dialog would have saved it
    main->setDialogRunner(app::Dialog::EraseItems, kitDialogRunner<ConfirmingDialog>());
    click(app::Command::EraseItems);
    EXPECT_EQ(main->queue().rows.size(), 1u);
}

TEST_F(MainWindowTest, SecondInstanceShowsTheStoredInvisibleModeHotkey) {
    OwnedKernelHandle first;
    RecordingDesktop firstDesktop;
    ASSERT_TRUE(ClaimSingleInstance(*settingsStore, firstDesktop, first));
    EXPECT_TRUE(firstDesktop.messages.empty());

    OwnedKernelHandle second;
    EXPECT_FALSE(ClaimSingleInstance(*settingsStore, desktop, second));
    EXPECT_FALSE(second);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].rfind("Cindral already running, please check the\r\n", 0), 0u);
    const std::string tail = "Your Invisible Mode HotKey is: Ctrl+U";
    EXPECT_EQ(desktop.messages[0].substr(desktop.messages[0].size() - tail.size()), tail);

    settingsStore->write(settings::kHotKey2, "Shift+Alt+Q");
    EXPECT_FALSE(ClaimSingleInstance(*settingsStore, desktop, second));
    const std::string& text = desktop.messages.back();
    EXPECT_EQ(text.substr(text.size() - 11), "Shift+Alt+Q");
    first.reset();

    // With the first instance gone the next one starts.
    ASSERT_TRUE(ClaimSingleInstance(*settingsStore, desktop, second));
}

}  // namespace cindral::shell::test
