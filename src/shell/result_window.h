// The result window (TForm5): a small shaped window with the figures of the
// last completed run. Created once with the main window, reused for every
// run, hidden (not destroyed) when closed, and it keeps its position.
#pragma once

#include "app/main_controller.h"
#include "shell/window.h"

namespace cindral::shell {

class ResultWindow : public SkinnedWindow {
public:
    static constexpr int kCloseId = 1;
    static constexpr int kOkId = 2;

    // Created hidden at the centre of the desktop.
    bool create(HWND owner);
    // Rewrites the texts, shows the window and brings it to the front.
    void show(const app::ResultTexts& texts);
    void close();

    HWND titleLabel() const { return title_; }
    HWND headlineLabel() const { return headline_; }
    HWND lineLabel(int i) const { return lines_[i]; }

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND title_ = nullptr;
    HWND headline_ = nullptr;
    HWND lines_[3] = {nullptr, nullptr, nullptr};
};

}  // namespace cindral::shell
