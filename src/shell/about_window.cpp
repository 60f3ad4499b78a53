#include "shell/about_window.h"

#include <commctrl.h>

namespace cindral::shell {

namespace {

const AboutLink kLinks[kAboutLinkCount] = {
    {11, "Quorvane Software", "https://www.quorvane.example/"},
    {12, "Quorvane Support Page", "https://support.quorvane.example/cindral/"},
    {13, "Cindral Home Page", "https://www.quorvane.example/cindral/"},
};

}  // namespace

const AboutLink* aboutLinks() { return kLinks; }

bool AboutWindow::create(HWND owner, int x, int y) {
    if (!createSkinned(SkinWindow::About, "CindralAboutWindow", "About Cindral", WS_EX_TOOLWINDOW,
                       owner, x, y)) {
        return false;
    }
    hand_ = LoadCursor(nullptr, IDC_HAND);
    if (!hand_) hand_ = LoadCursor(nullptr, IDC_ARROW);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);

    addLabel("About Cindral", 28, 5, 250, 16, fonts_.title, colors::kTitleText);
    addLabel("Cindral 3.0", 0, 106, kAboutWidth, 26, fonts_.large, colors::kBodyText, SS_CENTER);
    addLabel("Internet Links", 0, 178, kAboutWidth, 16, fonts_.bold, colors::kBodyText, SS_CENTER);
    for (int i = 0; i < kAboutLinkCount; ++i) {
        HWND link = addLabel(kLinks[i].text, 95, 200 + i * 19, 200, 16, fonts_.link,
                             colors::kLinkText, SS_CENTER, kLinks[i].id);
        addHint(link, kLinks[i].address);
    }
    HWND license = addLabel("License Agreement", 16, 326, 140, 16, fonts_.link, colors::kLinkText,
                            SS_LEFT, kLicenseId);
    addHint(license, "license.txt");
    addTitleButton(kCloseId, TitleGlyph::Close, kAboutWidth - 22, 5);
    addButton(kOkId, "OK", kAboutWidth - 16 - 75, 323, 75, 22, ButtonStyle::Primary);
    return true;
}

void AboutWindow::addHint(HWND control, const char* text) {
    if (!tooltip_) return;
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void AboutWindow::runModal(HWND owner) {
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    runModalLoop(hwnd_, owner);
}

void AboutWindow::activateLink(int id) {
    if (id == kLicenseId) {
        // No existence check: a missing file is the system's to report.
        desktop_.open(hwnd_, "open", home_ + "license.txt", "");
        return;
    }
    for (const AboutLink& link : kLinks) {
        if (link.id == id) desktop_.open(hwnd_, "open", link.address, "");
    }
}

LRESULT AboutWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == kCloseId || id == kOkId || id == IDCANCEL || id == IDOK) {
                ShowWindow(hwnd_, SW_HIDE);
                return 0;
            }
            if (HIWORD(wParam) == STN_CLICKED) {
                activateLink(id);
                return 0;
            }
            break;
        }
        case WM_SETCURSOR: {
            HWND over = reinterpret_cast<HWND>(wParam);
            const int id = GetDlgCtrlID(over);
            if (over != hwnd_ && (id == kLicenseId || (id >= 11 && id <= 13))) {
                SetCursor(hand_);
                return TRUE;
            }
            break;
        }
        case WM_CLOSE:
            ShowWindow(hwnd_, SW_HIDE);
            return 0;
        default:
            break;
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

bool hostAboutWindow(DialogHost& host) {
    AboutWindow about(host.desktop, host.paths.home);
    const Dpi d = screenDpi();
    const app::Point p = host.place(d(kAboutWidth), d(kAboutHeight));
    if (about.create(host.owner, p.x, p.y)) about.runModal(host.owner);
    return false;
}

}  // namespace cindral::shell
