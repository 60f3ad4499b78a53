#include "shell/about_window.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/shell_test_support.h"

namespace cindral::shell::test {
namespace {

std::vector<std::string> childTexts(HWND parent) {
    std::vector<std::string> texts;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        texts.push_back(SkinnedWindow::textOf(c));
    }
    return texts;
}

bool has(const std::vector<std::string>& v, const std::string& s) {
    for (const auto& x : v) {
        if (x == s) return true;
    }
    return false;
}

TEST(AboutWindow, ShowsNameVersionLinksAndOpensThem) {
    RecordingDesktop desktop;
    AboutWindow about(desktop, "C:\\Home\\");
    ASSERT_TRUE(about.create(nullptr, 10, 20));
    const Dpi d = about.dpi();
    RECT r;
    GetClientRect(about.hwnd(), &r);
    EXPECT_EQ(r.right, d(390));
    EXPECT_EQ(r.bottom, d(361));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(about.hwnd(), rgn), COMPLEXREGION);
    DeleteObject(rgn);

    const auto texts = childTexts(about.hwnd());
    for (const char* t :
         {"About Cindral", "Cindral 3.0", "Internet Links", "Quorvane Software",
          "Quorvane Support Page", "Cindral Home Page", "License Agreement", "OK"}) {
        EXPECT_TRUE(has(texts, t)) << t;
    }

    // Clicking a link label opens its own address; the licence opens from the home folder.
    for (int i = 0; i < kAboutLinkCount; ++i) {
        const AboutLink& link = aboutLinks()[i];
        SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(link.id, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(about.hwnd(), link.id)));
        ASSERT_EQ(desktop.opened.size(), static_cast<std::size_t>(i + 1));
        EXPECT_EQ(desktop.opened.back().verb, "open");
        EXPECT_EQ(desktop.opened.back().file, link.address);
        EXPECT_NE(std::string(link.address).find(".quorvane.example/"), std::string::npos)
            << link.address;
    }
    SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(AboutWindow::kLicenseId, STN_CLICKED), 0);
    EXPECT_EQ(desktop.opened.back().file, "C:\\Home\\license.txt");

    // The three addresses differ.
    EXPECT_NE(std::string(aboutLinks()[0].address), aboutLinks()[1].address);
    EXPECT_NE(std::string(aboutLinks()[1].address), aboutLinks()[2].address);
}

TEST(AboutWindow, OkAndCloseEndTheModalLoopAndGiveTheOwnerBack) {
    RecordingDesktop desktop;
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int id : {AboutWindow::kOkId, AboutWindow::kCloseId}) {
        AboutWindow about(desktop, "C:\\Home\\");
        ASSERT_TRUE(about.create(owner, 0, 0));
        PostMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        about.runModal(owner);
        EXPECT_FALSE(about.isVisible());
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    DestroyWindow(owner);
}

}  // namespace
}  // namespace cindral::shell::test
