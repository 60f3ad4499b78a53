// What the window benches and picture makers share: a desktop that answers
// every question without showing it, a message pump, and a picture of a
// window as the screen shows it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "shell/desktop.h"
#include "shell/drawing.h"

namespace cindral::bench {

class SilentDesktop : public shell::Desktop {
public:
    bool open(HWND, const std::string&, const std::string&, const std::string&) override {
        return true;
    }
    int message(HWND, const std::string&, UINT) override { return IDNO; }
    bool chooseFolder(HWND, const std::string&, std::string&) override { return false; }
};

// Dispatches the thread's messages for `ms` milliseconds.
inline void pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(10);
    }
}

// Writes what the screen shows of a window as a 32-bit BMP file.
inline void saveWindowPicture(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    shell::WindowDc screen(nullptr);
    shell::DibSection shot(w, h);
    BitBlt(shot.dc(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    GdiFlush();
    // Opaque: GDI leaves the alpha byte of what it draws at 0.
    for (int i = 0; i < w * h; ++i) shot.pixels()[i] |= 0xFF000000u;
    BITMAPINFOHEADER info{sizeof info, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD bytes = static_cast<DWORD>(w * h * 4);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof file + sizeof info + bytes), 0, 0,
                          sizeof file + sizeof info};
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(shot.pixels(), 1, bytes, f);
        std::fclose(f);
    }
}

}  // namespace cindral::bench
