#include "shell/plugin_editor_window.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <thread>

#include "engine/plugin_file.h"
#include "shell/shell_test_support.h"
#include "support/fixtures.h"

namespace cindral::shell::test {
namespace {

using app::EntryKind;
using cindral::test::FileOp;
using W = PluginEditorWindow;

// The real window over a sandbox plug-in folder with two plug-ins, driven
// by the messages a user's clicks and typing send.
class PluginEditorWindowTest : public cindral::test::SandboxTest {
protected:
    PluginEditorWindowTest() {
        write(folder + "a.cnp",
              "; Made by hand\r\n\r\n[Plugin]\r\nTitle=Alpha\r\n"
              "[Files]\r\nItem1=%TEMP%\\alpha*.tmp\r\n");
        write(folder + "b.cnp",
              "[Plugin]\r\nTitle=Beta\r\nAuthor=Bo\r\n[Registry]\r\n"
              "Item1=HKEY_CURRENT_USER\\Software\\Beta,OnlyValues,none\r\n");
    }
    void SetUp() override { ASSERT_TRUE(window.create(nullptr, 0, 0)); }
    void TearDown() override { listing.release(); }
    void type(int id, const std::string& text) { SetWindowTextA(window.control(id), text.c_str()); }
    void press(int id) { SendMessageA(window.control(id), BM_CLICK, 0, 0); }
    std::string text(int id) { return SkinnedWindow::textOf(window.control(id)); }

    RecordingDesktop desktop;
    const std::string folder = box_.root() + "Plug-Ins\\";
    Latch listing;
    // Over the sandbox's fault-injecting files; a test run waits for the
    // window after 16 lines.
    W window{DialogContext{desktop, *box_.platform().files, box_.root()}, platform_,
             app::PluginEditorFolders{box_.root(), folder}, 16};
};

// What the saved file keeps besides the change is the editor's (pinned natively).
TEST_F(PluginEditorWindowTest, ASavedChangeIsReadBackAndAnInvalidTemplateBlocksSave) {
    type(W::kTitleEdit, "Alpha Two");
    ASSERT_TRUE(IsWindowEnabled(window.control(W::kSaveButton))) << text(W::kStatus);
    press(W::kSaveButton);
    std::string bytes;
    ASSERT_TRUE(box_.platform().files->readFile(folder + "a.cnp", bytes));
    EXPECT_EQ(engine::ReadPluginDocument(bytes).title, "Alpha Two");

    EXPECT_EQ(rowsOf(window.control(W::kPluginList)),
              (std::vector<std::string>{"Alpha Two (a.cnp)", "Beta (b.cnp)"}));
    const UINT chosen = LVIS_SELECTED | LVIS_FOCUSED;  // the user picks the second row
    ListView_SetItemState(window.control(W::kPluginList), 1, chosen, chosen);
    EXPECT_EQ(text(W::kTitleEdit), "Beta");
    type(W::entryId(EntryKind::Files, W::Field), "%TEMP%\\[beta*.tmp");
    press(W::entryId(EntryKind::Files, W::Add));
    EXPECT_FALSE(IsWindowEnabled(window.control(W::kSaveButton)));
    EXPECT_NE(text(W::kStatus).find("invalid file mask"), std::string::npos) << text(W::kStatus);
}

// A run goes on its own thread: the window takes its lines while it goes on,
// and as the run sees the stop only between entries, one held inside a
// listing (a huge folder, a drive that does not answer) must not hold Stop.
TEST_F(PluginEditorWindowTest, ATestRunLeavesTheWindowAnsweringAndStopReturnsWhileItIsHeld) {
    const std::string many = at("Many\\"), slow = at("SLOW\\");  // in capitals, as a run names it
    for (int i = 0; i < 100; ++i) write(many + std::to_string(i) + ".log", "x");
    write(slow + "1.log", "x");
    files_.fails = [this, windowThread = std::this_thread::get_id()](FileOp op,
                                                                     const std::string& path) {
        if (op == FileOp::List && path.find("\\SLOW\\") != std::string::npos &&
            std::this_thread::get_id() != windowThread)
            listing.hold();
        return false;
    };
    for (const std::string& mask : {many + "*.log", slow + "*.log", slow + "*.txt"}) {
        type(W::entryId(EntryKind::Files, W::Field), mask);
        press(W::entryId(EntryKind::Files, W::Add));
    }
    press(W::kTestRunButton);
    EXPECT_EQ(text(W::kTestRunButton), "Stop");
    EXPECT_FALSE(IsWindowEnabled(window.control(W::kSaveButton)));
    // The run stops at 16 queued lines until the window takes them, so it
    // reaches the held listing only once the window took most of the 100.
    const HWND lines = window.control(W::kTestLines);
    ASSERT_TRUE(pumpUntil([&] { return listing.inside > 0; }));
    EXPECT_GT(ListView_GetItemCount(lines), 0);

    press(W::kTestRunButton);
    ASSERT_EQ(listing.left.load(), 0) << "Stop waited for the run's call to return";
    EXPECT_EQ(text(W::kTestRunButton), "Test Run");
    EXPECT_TRUE(IsWindowEnabled(window.control(W::kTitleEdit)));
    EXPECT_NE(rowsOf(lines).at(0).find("[Cleaning Alpha]"), std::string::npos);
    // The window answers while the stopped run is still held: a new run
    // starts beside it, and stops.
    press(W::kTestRunButton);
    EXPECT_EQ(text(W::kTestRunButton), "Stop");
    press(W::kTestRunButton);
    EXPECT_EQ(listing.left.load(), 0);

    listing.release();
    EXPECT_TRUE(pumpUntil([&] { return window.testRunsAlive() == 0; }));
    EXPECT_EQ(text(W::kStatus), "Test run: Stopped");
    // Stop reached both runs: the first went no further than the held
    // listing, the second not as far as it.
    EXPECT_EQ(listing.inside.load(), 1);
}

}  // namespace
}  // namespace cindral::shell::test
