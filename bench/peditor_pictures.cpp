// Pictures of the plug-in editor (peditor.exe's window) over a small sample
// plug-in folder, as scripts/screenshots.sh peditor takes them at each DPI:
// OUT\plugin.bmp   a plug-in open, a path template chosen and read
// OUT\running.bmp  a test run going: its first lines, "Stop", the rest disabled
// OUT\testrun.bmp  the same after the test run, its lines in the list
// OUT\invalid.bmp  an invalid path template added: Save disabled, and why
// OUT\new.bmp      the prompt of "New", a name typed
//
// usage: peditor_pictures.exe FOLDER OUT (Windows folders, each with its
// trailing backslash)
#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "platform/native.h"
#include "shell/plugin_editor_window.h"
#include "window_support.h"

namespace {

using namespace cindral;
using bench::pump;
using bench::saveWindowPicture;
using bench::SilentDesktop;

std::string newPicture;

// Takes the picture of the "New" prompt the editor shows modally, then
// cancels it.
void CALLBACK pictureOfPrompt(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND prompt = FindWindowA("TNewPlugin", nullptr);
    SetWindowTextA(GetDlgItem(prompt, shell::SkinnedDialog::kFirstControlId), "Image Editor");
    pump(300);
    saveWindowPicture(prompt, newPicture);
    PostMessageA(prompt, WM_CLOSE, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: peditor_pictures.exe FOLDER\\ OUT\\\n");
        return 2;
    }
    std::string home = argv[1];
    if (home.back() != '\\') home += '\\';
    const std::string out = argv[2];
    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform platform = native->platform();
    platform::Files& files = *platform.files;
    const std::string plugins = home + "Plug-Ins\\", traces = home + "Traces\\";
    files.createFolder(plugins);
    files.createFolder(traces + "Sessions");
    for (const char* name : {"player.log", "update.log", "Sessions\\last.log", "Sessions\\a.log"})
        files.writeFileAtomic(traces + name, std::string(1200, 'x'));
    // Enough lines for the test run to be seen going.
    files.createFolder(traces + "Bulk");
    for (int i = 10; i < 70; ++i)
        files.writeFileAtomic(traces + "Bulk\\trace-" + std::to_string(i) + ".log", "x");
    files.writeFileAtomic(plugins + "Viewer.cnp",
                          "[Plugin]\r\nTitle=Photo Viewer History\r\nAuthor=Quorvane\r\n"
                          "[Registry]\r\nItem1=HKEY_CURRENT_USER\\Software\\Viewer\\Recent,"
                          "OnlyValues,none\r\n");
    files.writeFileAtomic(
        plugins + "Player.cnp",
        "; Media Player traces: recent files and logs.\r\n; Written by hand.\r\n\r\n"
        "[Plugin]\r\nTitle=Media Player Recent Files\r\nAuthor=Someone\r\n[Registry]\r\n"
        "Item1=HKEY_CURRENT_USER\\Software\\Player\\Recent,OnlyValues,none\r\n"
        "Item2=HKEY_CURRENT_USER\\Software\\Player,OneValue,LastFolder\r\n[Files]\r\n"
        "Item1=" +
            traces + "*.log?\r\nItem2=%TEMP%\\player*.tmp\r\n");
    SilentDesktop desktop;
    using W = shell::PluginEditorWindow;
    // A test run waits for the window every 4 lines, slow enough to be seen.
    W window(shell::DialogContext{desktop, files, home}, platform,
             app::PluginEditorFolders{home, plugins}, 4);
    if (!window.create(nullptr, 20, 20)) return 1;
    ShowWindow(window.hwnd(), SW_SHOW);
    app::PluginEditor& editor = window.editor();
    // The first path template chosen as a click does.
    const HWND templates = window.control(W::entryId(app::EntryKind::Files, W::List));
    SetFocus(templates);
    ListView_SetItemState(templates, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    pump(400);
    saveWindowPicture(window.hwnd(), out + "plugin.bmp");
    editor.testRun();
    // The first batch of lines taken; then the window is painted without
    // taking more, so the run (waiting for the window) is caught going.
    const HWND lines = window.control(W::kTestLines);
    for (int i = 0; i < 1000 && ListView_GetItemCount(lines) < 4; ++i) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&m);
        else
            Sleep(5);
    }
    RedrawWindow(window.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(200);
    saveWindowPicture(window.hwnd(), out + "running.bmp");
    for (int i = 0; i < 100 && editor.testRunning(); ++i) pump(100);
    pump(200);
    saveWindowPicture(window.hwnd(), out + "testrun.bmp");
    SetWindowTextA(window.control(W::entryId(app::EntryKind::Files, W::Field)),
                   "%APP_DATA%\\Player\\[cache*.dat");
    SendMessageA(window.control(W::entryId(app::EntryKind::Files, W::Add)), BM_CLICK, 0, 0);
    pump(400);
    saveWindowPicture(window.hwnd(), out + "invalid.bmp");
    newPicture = out + "new.bmp";
    SetTimer(nullptr, 0, 300, pictureOfPrompt);
    editor.newPlugin();  // the changes are dropped (No), then the prompt
    return 0;
}
