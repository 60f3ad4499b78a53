// The About window (TForm4): name, version, the maker's links and the
// licence agreement. Created for each showing and run modally.
#pragma once

#include <string>

#include "shell/desktop.h"
#include "shell/dialog_host.h"
#include "shell/window.h"

namespace cindral::shell {

struct AboutLink {
    int id;
    const char* text;
    const char* address;  // also the link's hint
};

// The three web links, then "License Agreement" (opens license.txt).
const AboutLink* aboutLinks();
constexpr int kAboutLinkCount = 3;

class AboutWindow : public SkinnedWindow {
public:
    static constexpr int kCloseId = 1;
    static constexpr int kOkId = 2;
    static constexpr int kLicenseId = 20;

    AboutWindow(Desktop& desktop, std::string home) : desktop_(desktop), home_(std::move(home)) {}

    // Created hidden at (x, y), owned by `owner`.
    bool create(HWND owner, int x, int y);
    // Shows the window and returns when it has been closed.
    void runModal(HWND owner);

    // Carries out a link as a click would.
    void activateLink(int id);

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void addHint(HWND control, const char* text);

    Desktop& desktop_;
    std::string home_;
    HWND tooltip_ = nullptr;  // owned by the window, and destroyed with it
    HCURSOR hand_ = nullptr;
};

// The main window's runner of the About window: made where the host places
// it, run modally, destroyed. It has nothing to confirm (false).
bool hostAboutWindow(DialogHost& host);

}  // namespace cindral::shell
