#include "shell/about_window.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "shell/shell_test_support.h"

namespace cindral::shell::test {
namespace {

// The owner is given back by the modal loop the dialogs share (its test is
// the Options dialog's).
TEST(AboutWindow, EachLinkOpensItsAddressAndOkAndCloseEndIt) {
    RecordingDesktop desktop;
    for (int id : {AboutWindow::kOkId, AboutWindow::kCloseId}) {
        AboutWindow about(desktop, "C:\\Home\\");
        ASSERT_TRUE(about.create(nullptr, 10, 20));
        auto opened = [&] { return desktop.opened.empty() ? "" : desktop.opened.back().file; };
        for (int i = 0; i < kAboutLinkCount; ++i) {
            const AboutLink& link = aboutLinks()[i];
            SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(link.id, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(about.hwnd(), link.id)));
            EXPECT_EQ(opened(), link.address);
        }
        SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(AboutWindow::kLicenseId, STN_CLICKED), 0);
        EXPECT_EQ(opened(), "C:\\Home\\license.txt");

        PostMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        about.runModal(nullptr);
        EXPECT_FALSE(about.isVisible()) << id;
    }
}

}  // namespace
}  // namespace cindral::shell::test
