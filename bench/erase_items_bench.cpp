// The Erase Items dialog over a full home (255 plug-ins, 5,000 custom
// registry records, 5,000 custom folder records) against the same dialog
// over an empty home, the reference: the time to open it (shown and
// painted), and to switch to the Registry page and then to the Folder page
// (each filled from its file and painted). Best of five runs each.
//
// usage: erase_items_bench.exe FOLDER\   (two homes are made below it)
// Prints "<home> open_ms A registry_ms B folder_ms C" for both homes.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/native.h"
#include "shell/erase_items_dialog.h"

namespace {

using namespace cindral;
using Clock = std::chrono::steady_clock;

class SilentDesktop : public shell::Desktop {
public:
    bool open(HWND, const std::string&, const std::string&, const std::string&) override {
        return true;
    }
    int message(HWND, const std::string&, UINT) override { return IDNO; }
    bool chooseFolder(HWND, const std::string&, std::string&) override { return false; }
};

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
