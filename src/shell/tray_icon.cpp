#include "shell/tray_icon.h"

#include <shellapi.h>

#include "shell/main_window_ids.h"
#include "shell/skin.h"

namespace cindral::shell {

namespace {

constexpr UINT kIconId = 1;
constexpr UINT kBarId = 0x7F00;  // the menu's caption bar, an item of its own

const app::CommandInfo& info(app::Command c) { return app::commandInfo(c); }

}  // namespace

void TrayIcon::create(HWND owner, const Dpi& dpi) {
    owner_ = owner;
    dpi_ = dpi;
    icon_ = createProgramIcon(GetSystemMetrics(SM_CXSMICON));
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(13, dpi_.dpi, 72);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = 900;  // reads upwards along the bar
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    barFont_.reset(CreateFontIndirectA(&lf));
}

void TrayIcon::show(bool show) {
    if (show == shown_ || !owner_) return;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = owner_;
    nid.uID = kIconId;
    if (show) {
        nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        nid.uCallbackMessage = kMsgTray;
        nid.hIcon = icon_.get();
        lstrcpynA(nid.szTip, "Cindral", sizeof nid.szTip);
        Shell_NotifyIconA(NIM_ADD, &nid);
    } else {
        Shell_NotifyIconA(NIM_DELETE, &nid);
    }
    shown_ = show;
}

void TrayIcon::readd() {
    if (!shown_) return;
    shown_ = false;
    show(true);
}

OwnedMenu TrayIcon::buildMenu() const {
    using app::Command;
    OwnedMenu menu(CreatePopupMenu());
    OwnedMenu safe(CreatePopupMenu());
    const app::CommandSnapshot snap = snapshot_();
    auto add = [&](HMENU m, Command c, UINT extra = 0) {
        const UINT state = app::isCommandEnabled(c, snap) ? MF_ENABLED : MF_GRAYED;
        AppendMenuA(m, MF_STRING | extra | state, static_cast<UINT_PTR>(info(c).id), info(c).text);
    };
    auto separator = [&] { AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr); };
    // The caption bar: one owner-drawn item alone in the first column.
    AppendMenuA(menu.get(), MF_OWNERDRAW | MF_DISABLED, kBarId, nullptr);
    add(menu.get(), Command::TrayOpen, MF_MENUBREAK);
    separator();
    add(menu.get(), Command::TrayCleanNow);
    add(menu.get(), Command::TrayTestMode);
    separator();
    add(menu.get(), Command::TrayEraseItems);
    add(menu.get(), Command::TrayOptions);
    add(menu.get(), Command::TrayKeeper);
    separator();
    add(menu.get(), Command::TrayPluginEditor);
    separator();
    add(safe.get(), Command::TraySafeShutdown);
    add(safe.get(), Command::TraySafeRestart);
    // The menu takes the submenu over once it holds it.
    if (AppendMenuA(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(safe.get()),
                    "&Safe Action")) {
        safe.release();
    }
    separator();
    add(menu.get(), Command::TrayHelp);
    add(menu.get(), Command::TrayExit);
    SetMenuDefaultItem(menu.get(), static_cast<UINT>(info(Command::TrayOpen).id), FALSE);
    return menu;
}

bool TrayIcon::handle(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    static const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (msg == taskbarCreated && taskbarCreated != 0) {
        readd();
        result = 0;
        return true;
    }
    switch (msg) {
        case kMsgTray:
            if (lParam == WM_LBUTTONDBLCLK) {
                SendMessageA(owner_, WM_COMMAND,
                             static_cast<WPARAM>(info(app::Command::TrayOpen).id), 0);
            } else if (lParam == WM_RBUTTONUP) {
                openMenu();
            }
            result = 0;
            return true;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_MENU || m->itemID != kBarId) return false;
            m->itemWidth = static_cast<UINT>(dpi_(14));
            m->itemHeight = static_cast<UINT>(dpi_(4));
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_MENU || d->itemID != kBarId) return false;
            drawBar(*d);
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

void TrayIcon::openMenu() {
    OwnedMenu menu = buildMenu();
    POINT pt;
    GetCursorPos(&pt);
    // The menu closes when the user clicks elsewhere only if its owner is
    // the foreground window, and the message after it lets it go.
    SetForegroundWindow(owner_);
    const int id = static_cast<int>(TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | TPM_RIGHTALIGN, pt.x, pt.y,
        0, owner_, nullptr));
    PostMessageA(owner_, WM_NULL, 0, 0);
    menu.reset();
    if (id != 0) SendMessageA(owner_, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void TrayIcon::drawBar(const DRAWITEMSTRUCT& item) const {
    // Paint the whole height of the menu, not just the item's own rectangle.
    HWND menuWindow = WindowFromDC(item.hDC);
    RECT all = item.rcItem;
    RECT client;
    if (menuWindow && GetClientRect(menuWindow, &client)) {
        all.top = client.top;
        all.bottom = client.bottom;
    }
    TRIVERTEX v[2] = {};
    v[0].x = all.left, v[0].y = all.top;
    v[0].Red = 22 << 8, v[0].Green = 60 << 8, v[0].Blue = 108 << 8;
    v[1].x = all.right, v[1].y = all.bottom;
    v[1].Red = 70 << 8, v[1].Green = 132 << 8, v[1].Blue = 200 << 8;
    GRADIENT_RECT gr{0, 1};
    GradientFill(item.hDC, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    SelectedObject font(item.hDC, barFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    TextOutA(item.hDC, all.left + (all.right - all.left - dpi_(17)) / 2, all.bottom - dpi_(8),
             "Cindral", 7);
}

void animateTray(HWND window, bool toTray) {
    ANIMATIONINFO ai{sizeof ai, 0};
    if (!SystemParametersInfoA(SPI_GETANIMATION, sizeof ai, &ai, 0) || ai.iMinAnimate == 0) return;
    RECT rect;
    GetWindowRect(window, &rect);
    RECT tray{};
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = taskbar ? FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    if (!notify || !GetWindowRect(notify, &tray)) {
        tray = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    RECT corner{tray.right - 150, tray.bottom - 30, tray.right, tray.bottom};
    if (toTray) {
        DrawAnimatedRects(window, IDANI_CAPTION, &rect, &corner);
    } else {
        DrawAnimatedRects(window, IDANI_CAPTION, &corner, &rect);
    }
}

}  // namespace cindral::shell
