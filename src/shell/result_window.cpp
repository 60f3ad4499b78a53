#include "shell/result_window.h"

namespace cindral::shell {

bool ResultWindow::create(HWND owner) {
    const Dpi d = screenDpi();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    app::Point p = app::centredPlacement(work.right - work.left, work.bottom - work.top,
                                         d(kResultWidth), d(kResultHeight));
    if (!createSkinned(SkinWindow::Result, "CindralResultWindow", "Tasks is Completed",
                       WS_EX_TOOLWINDOW, owner, work.left + p.x, work.top + p.y)) {
        return false;
    }
    title_ = addLabel("Tasks is Completed", 28, 5, 300, 16, fonts_.title, colors::kTitleText);
    headline_ = addLabel("Completed!", 60, 38, 300, 20, fonts_.large, colors::kBodyText, SS_CENTER);
    const char* initial[3] = {
        "Found Evidence in Registry:", "Found Junk Files:", "Used Hard Drive Space:"};
    for (int i = 0; i < 3; ++i) {
        lines_[i] = addLabel(initial[i], 60, 62 + i * 16, 300, 15, fonts_.normal, colors::kBodyText,
                             SS_CENTER);
    }
    addTitleButton(kCloseId, TitleGlyph::Close, kResultWidth - 22, 5);
    addButton(kOkId, "OK", (kResultWidth - 75) / 2, 121, 75, 22, ButtonStyle::Primary);
    return true;
}

void ResultWindow::show(const app::ResultTexts& texts) {
    SetWindowTextA(hwnd_, texts.title.c_str());
    setLabel(title_, texts.title);
    setLabel(headline_, texts.headline);
    setLabel(lines_[0], texts.line1);
    setLabel(lines_[1], texts.line2);
    setLabel(lines_[2], texts.line3);
    ShowWindow(hwnd_, SW_SHOW);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(hwnd_);
}

void ResultWindow::close() { ShowWindow(hwnd_, SW_HIDE); }

LRESULT ResultWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kCloseId || LOWORD(wParam) == kOkId ||
                LOWORD(wParam) == IDCANCEL) {
                close();
                return 0;
            }
            break;
        case WM_CLOSE:
            close();  // hidden, never destroyed by the user
            return 0;
        default:
            break;
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

}  // namespace cindral::shell
