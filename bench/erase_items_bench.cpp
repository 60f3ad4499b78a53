// The Erase Items dialog over a full home (255 plug-ins, 5,000 custom
// registry records, 5,000 custom folder records) against the same dialog
// over an empty home, the reference: the time to open it (shown and
// painted), and to switch to the Registry page and then to the Folder page
// (each filled from its file and painted). Best of five runs each.
//
// usage: erase_items_bench.exe FOLDER\   (two homes are made below it)
// Prints "<home> open_ms A registry_ms B folder_ms C" for both homes.
//
// erase_items_bench.exe FOLDER\ --pictures OUT\ instead writes a picture
// of every page and inner page over a small sample home, as OUT\PAGE.bmp
// (scripts/screenshots.sh erase-items makes the screenshots with it).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/native.h"
#include "shell/erase_items_dialog.h"
#include "window_support.h"

namespace {

using namespace cindral;
using bench::pump;
using bench::saveWindowPicture;
using bench::SilentDesktop;
using Clock = std::chrono::steady_clock;

void makeHome(platform::Platform& platform, const std::string& home, int plugins, int records) {
    platform::Files& files = *platform.files;
    files.createFolder(home);
    files.createFolder(home + "Data\\");
    files.createFolder(home + "Plug-Ins\\");
    for (int i = 0; i < plugins; ++i) {
        const std::string n = std::to_string(1000 + i);
        files.writeFileAtomic(home + "Plug-Ins\\tool" + n + ".cnp",
                              "[Plugin]\r\nTitle=Tool " + n + "\r\nAuthor=Bench\r\n");
    }
    std::string registry, folder;
    for (int i = 0; i < records; ++i) {
        const std::string n = std::to_string(i);
        registry += "Record " + n + ";HKEY_CURRENT_USER\\Software\\Bench\\" + n + ";3;Value;1;\r\n";
        folder +=
            "Folder " + n + ";C:\\Bench\\" + n + ";2;file.tmp;" + (i % 2 ? "1" : "0") + ";\r\n";
    }
    files.writeFileAtomic(home + "Data\\CustomRegistry.dat", registry);
    files.writeFileAtomic(home + "Data\\CustomFolder.dat", folder);
}

double ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct Times {
    double open = 1e9, registry = 1e9, folder = 1e9;
};

void measure(platform::Platform& platform, const std::string& home, Times& best) {
    SilentDesktop desktop;
    const app::DataPaths paths = app::DataPaths::forHome(home);
    auto t = Clock::now();
    shell::EraseItemsDialog dialog(shell::DialogContext{desktop, *platform.files, home}, platform,
                                   paths);
    if (!dialog.create(nullptr, 20, 20)) return;
    ShowWindow(dialog.hwnd(), SW_SHOWNA);
    UpdateWindow(dialog.hwnd());
    best.open = std::min(best.open, ms(t));
    double* slots[] = {&best.registry, &best.folder};
    for (int page : {3, 4}) {
        t = Clock::now();
        dialog.pageSet(shell::EraseItemsDialog::kPagesId)->select(page);
        UpdateWindow(dialog.hwnd());
        RedrawWindow(dialog.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        *slots[page - 3] = std::min(*slots[page - 3], ms(t));
    }
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

int pictures(platform::Platform& platform, const std::string& home, const std::string& out) {
    makeHome(platform, home, 0, 0);
    platform::Files& files = *platform.files;
    for (const char* p : {"Cleaner", "Tracks", "Viewer"}) {
        files.writeFileAtomic(
            home + "Plug-Ins\\" + p + ".cnp",
            std::string("[Plugin]\r\nTitle=") + p + " History\r\nAuthor=Quorvane\r\n");
    }
    files.writeFileAtomic(home + "Data\\SelItems.dat",
                          "[Items]\r\nViewer History=0\r\nClipboard=0\r\n");
    files.writeFileAtomic(home + "Data\\CustomRegistry.dat",
                          "Media MRU;HKEY_CURRENT_USER\\Software\\Player\\Recent;0;;1;\r\n"
                          "Last folder;HKEY_CURRENT_USER\\Software\\Editor;3;LastDir;0;\r\n");
    files.writeFileAtomic(
        home + "Data\\CustomFolder.dat",
        "Editor backups;C:\\Editor\\Backup;1;;1;\r\nOld log;C:\\Tool;2;run.log;1;\r\n");
    files.writeFileAtomic(home + "Data\\DriveScan.dat", "*.tmp\r\n*.bak\r\n~*.*\r\n");
    SilentDesktop desktop;
    using D = shell::EraseItemsDialog;
    D dialog(shell::DialogContext{desktop, files, home}, platform, app::DataPaths::forHome(home));
    if (!dialog.create(nullptr, 20, 20)) return 1;
    ShowWindow(dialog.hwnd(), SW_SHOW);
    const char* names[] = {"windows",  "browsers", "applications",
                           "registry", "folder",   "drivescan"};
    const char* browsers[] = {"ie", "netscape", "opera", "aol"};
    for (int page = 0; page < 6; ++page) {
        dialog.pageSet(D::kPagesId)->select(page);
        for (int inner = 0; inner < (page == 1 ? 4 : 1); ++inner) {
            std::string name = names[page];
            if (page == 1) {
                dialog.pageSet(D::kBrowserPagesId)->select(inner);
                name += std::string("-") + browsers[inner];
            }
            if (page == 3) {  // the value name refused, as a user would see it
                SendMessageA(dialog.control(D::kRegistryActionId), CB_SETCURSEL, 3, 0);
                dialog.controller().actionChosen(selection::ListPage::Registry);
                SetWindowTextA(dialog.control(D::editId(4)), "Last;Dir");
            }
            pump(300);
            saveWindowPicture(dialog.hwnd(), out + name + ".bmp");
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: erase_items_bench.exe FOLDER\\\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\') folder += '\\';
    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform platform = native->platform();
    platform.files->createFolder(folder);
    if (argc > 3 && std::string(argv[2]) == "--pictures") {
        return pictures(platform, folder + "sample\\", argv[3]);
    }
    const std::string homes[] = {folder + "empty\\", folder + "full\\"};
    makeHome(platform, homes[0], 0, 0);
    makeHome(platform, homes[1], 255, 5000);
    Times times[2];
    for (int round = 0; round < 5; ++round) {
        for (int h = 0; h < 2; ++h) measure(platform, homes[h], times[h]);
    }
    for (int h = 0; h < 2; ++h) {
        std::printf("%s open_ms %.1f registry_ms %.1f folder_ms %.1f\n", h ? "full" : "empty",
                    times[h].open, times[h].registry, times[h].folder);
    }
    return 0;
}
