#include "shell/about_window.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
        std::vector<std::string> expected;
        for (int i = 0; i < kAboutLinkCount; ++i) {
            const AboutLink& link = aboutLinks()[i];
            SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(link.id, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(about.hwnd(), link.id)));
            expected.push_back(link.address);
        }
        SendMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(AboutWindow::kLicenseId, STN_CLICKED), 0);
        expected.push_back("C:\\Home\\license.txt");
        std::vector<std::string> opened;
        for (const auto& o : desktop.opened) opened.push_back(o.file);
        EXPECT_EQ(opened, expected);
        desktop.opened.clear();

        PostMessageA(about.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        about.runModal(nullptr);
        EXPECT_FALSE(about.isVisible()) << id;
    }
}

}  // namespace
}  // namespace cindral::shell::test
