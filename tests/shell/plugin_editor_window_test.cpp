#include "shell/plugin_editor_window.h"

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "engine/plugin_file.h"
#include "shell/shell_test_support.h"
#include "support/sandbox.h"

namespace cindral::shell::test {
namespace {

using app::EntryKind;
using W = PluginEditorWindow;

std::vector<std::string> rowsOf(HWND list) {
    std::vector<std::string> rows;
    char text[512];
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        ListView_GetItemText(list, i, 0, text, sizeof text);
        rows.emplace_back(text);
    }
    return rows;
}

// The real window over a sandbox plug-in folder with two plug-ins, driven
// by the messages a user's clicks and typing send.
class PluginEditorWindowTest : public ::testing::Test {
protected:
    PluginEditorWindowTest() {
        box.makeFolder(folder);
        box.writeFile(folder + "a.cnp",
                      "; Made by hand\r\n\r\n[Plugin]\r\nTitle=Alpha\r\n"
                      "[Files]\r\nItem1=%TEMP%\\alpha*.tmp\r\n");
        box.writeFile(folder + "b.cnp",
                      "[Plugin]\r\nTitle=Beta\r\nAuthor=Bo\r\n[Registry]\r\n"
                      "Item1=HKEY_CURRENT_USER\\Software\\Beta,OnlyValues,none\r\n");
    }
    void SetUp() override { ASSERT_TRUE(window.create(nullptr, 0, 0)); }
    void choose(HWND list, int row) {
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    void type(int id, const std::string& text) { SetWindowTextA(window.control(id), text.c_str()); }
    void press(int id) { SendMessageA(window.control(id), BM_CLICK, 0, 0); }
    std::string text(int id) { return SkinnedWindow::textOf(window.control(id)); }

    cindral::test::Sandbox box;
    RecordingDesktop desktop;
    const std::string folder = box.root() + "Plug-Ins\\";
    W window{DialogContext{desktop, *box.platform().files, box.root()}, box.platform(),
             app::PluginEditorFolders{box.root(), folder}};
};

TEST_F(PluginEditorWindowTest, ChoosingAPluginFillsTheFieldsAndAnInvalidTemplateBlocksSave) {
    EXPECT_EQ(rowsOf(window.control(W::kPluginList)),
              (std::vector<std::string>{"Alpha (a.cnp)", "Beta (b.cnp)"}));
    choose(window.control(W::kPluginList), 1);
    EXPECT_EQ(text(W::kTitleEdit), "Beta");
    EXPECT_EQ(text(W::kAuthorEdit), "Bo");
    EXPECT_EQ(rowsOf(window.control(W::entryId(EntryKind::Registry, W::List))).size(), 1u);

    type(W::entryId(EntryKind::Files, W::Field), "%TEMP%\\[beta*.tmp");
    press(W::entryId(EntryKind::Files, W::Add));
    EXPECT_FALSE(IsWindowEnabled(window.control(W::kSaveButton)));
    EXPECT_NE(text(W::kStatus).find("invalid file mask"), std::string::npos) << text(W::kStatus);
    EXPECT_NE(text(W::kReading).find("(invalid)"), std::string::npos) << text(W::kReading);
}

TEST_F(PluginEditorWindowTest, ASavedChangeIsReadBackWithItsCommentHeader) {
    type(W::kTitleEdit, "Alpha Two");
    ASSERT_TRUE(IsWindowEnabled(window.control(W::kSaveButton))) << text(W::kStatus);
    press(W::kSaveButton);
    std::string bytes;
    ASSERT_TRUE(box.platform().files->readFile(folder + "a.cnp", bytes));
    const engine::PluginDocument doc = engine::ReadPluginDocument(bytes);
    EXPECT_EQ(doc.title, "Alpha Two");
    EXPECT_EQ(doc.comments, std::vector<std::string>{"Made by hand"});
    EXPECT_EQ(doc.files, std::vector<std::string>{"%TEMP%\\alpha*.tmp"});
    EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace cindral::shell::test
