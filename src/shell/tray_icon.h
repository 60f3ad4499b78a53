// The program's icon in the notification area and its menu. The menu lists
// the tray commands of the command table, each enabled by the one rule,
// beside an owner-drawn bar that reads "Cindral" upwards. A chosen entry,
// and a double click on the icon ("&Open Cindral"), reach the owner window
// as WM_COMMAND with the command's id, as any menu command does.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "app/main_controller.h"
#include "shell/drawing.h"
#include "shell/owned_handle.h"

namespace cindral::shell {

class TrayIcon {
public:
    // `snapshot` gives the state the menu's entries are enabled by, each
    // time the menu is built.
    explicit TrayIcon(std::function<app::CommandSnapshot()> snapshot)
        : snapshot_(std::move(snapshot)) {}
    // The icon leaves the notification area with its holder.
    ~TrayIcon() { show(false); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Makes the icon and the bar's font for `owner`, which gets the icon's
    // mouse events (kMsgTray) and hands them to handle(). Not shown yet.
    void create(HWND owner, const Dpi& dpi);
    // Adds the icon to the notification area, or takes it away.
    void show(bool show);
    bool shown() const { return shown_; }
    // Adds the icon again if it is meant to be shown: a new notification
    // area (Explorer started again) knows nothing of the icons before it.
    void readd();

    // The menu as it would open now.
    OwnedMenu buildMenu() const;

    // The owner's messages that are the tray's: the icon's mouse events,
    // the measuring and drawing of the menu's bar, and "TaskbarCreated",
    // which the new notification area broadcasts to every top-level window.
    // True when `msg` was one of them, with the answer in `result`.
    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void openMenu();
    void drawBar(const DRAWITEMSTRUCT& item) const;

    std::function<app::CommandSnapshot()> snapshot_;
    HWND owner_ = nullptr;
    Dpi dpi_;
    OwnedIcon icon_;
    OwnedFont barFont_;
    bool shown_ = false;
};

// The caption animation between `window` and the notification area, drawn
// only when the system's minimize animation is switched on.
void animateTray(HWND window, bool toTray);

}  // namespace cindral::shell
