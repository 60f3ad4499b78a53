#include "app/plugin_editor.h"

#include <gtest/gtest.h>

#include <deque>

#include "engine/engine_test_support.h"
#include "support/fixtures.h"

namespace cindral::app {
namespace {

// The test run's log lines are recorded where the editor shows them.
class FakeEditorView : public PluginEditorView, public engine::test::RecordingView {
public:
    std::vector<std::string> rows, reading, errors, questions, files;
    bool overwrite = false;
    int row = -1;
    std::string title, status, fileName;
    PluginEditorCommands commands;
    std::deque<Answer> answers;

    void setPlugins(const std::vector<std::string>& r) override { rows = r; }
    void selectPlugin(int r) override { row = r; }
    void setTitleAuthor(const std::string& t, const std::string&) override { title = t; }
    void setEntries(EntryKind kind, const std::vector<std::string>& rows) override {
        if (kind == EntryKind::Files) files = rows;
    }
    void selectEntry(EntryKind, int) override {}
    void setEntryText(EntryKind, const std::string&) override {}
    void setReading(const std::vector<std::string>& r) override { reading = r; }
    void setTestLines(const std::vector<std::string>& shown) override { lines = shown; }
    void setStatus(const std::string& text) override { status = text; }
    void setCommands(const PluginEditorCommands& c) override { commands = c; }
    Answer ask(const std::string& question) override {
        questions.push_back(question);
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool askFileName(std::string& name) override {
        name = fileName;
        return true;
    }
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return overwrite;
    }
    void showError(const std::string& text) override { errors.push_back(text); }
};

// Runs a test run only when told to, on the calling thread.
class FakeLauncher : public PluginTestLauncher {
public:
    std::vector<std::uint64_t> stopped;
    std::string home, caption, bytes;
    std::uint64_t id = 0;
    std::uint64_t startTestRun(const std::string& h, const std::string& c,
                               const std::string& b) override {
        home = h, caption = c, bytes = b;
        return ++id;
    }
    void stopTestRun(std::uint64_t run) override { stopped.push_back(run); }
    engine::RunCounters run(platform::Platform& p, engine::LogView& log) {
        return TestRunPlugin(p, home, caption, bytes, log);
    }
};

class PluginEditorTest : public test::SandboxTest {
protected:
    PluginEditorTest() {
        file("P\\b.cnp",
             "; Tool B\r\n; by its user\r\n\r\n[Plugin]\r\nTitle=Beta\r\n"
             "[Files]\r\n; the logs\r\nItem1=" +
                 at("B\\*.log") + "\r\n");
        file("P\\a.cnp",
             "[Plugin]\r\nTitle=Alpha\r\n[Registry]\r\n"
             "Item1=HKEY_CURRENT_USER\\Software\\A,OnlyValues,none\r\n");
        editor_.open();
    }
    void type(EntryKind kind, const std::string& text) {
        editor_.entryTextEdited(kind, text);
        editor_.addEntry(kind);
    }
    FakeEditorView view_;
    FakeLauncher tests_;
    PluginEditor editor_{view_, tests_, platform_, {at("H\\"), at("P\\")}};
};

TEST_F(PluginEditorTest, FoldersComeFromTheSettingsOrLieBesideTheEditor) {
    test::FakeSettings s;
    PluginEditorFolders f = FindPluginEditorFolders(s, "C:\\Tools\\peditor.exe");
    EXPECT_EQ(f.home + "|" + f.pluginFolder, "C:\\Tools\\|C:\\Tools\\Plug-Ins\\");
    s.texts = {{"HomeFolder", "D:\\C"}, {"PluginFolder", "D:\\C\\Plug-Ins\\"}};
    f = FindPluginEditorFolders(s, "C:\\Tools\\peditor.exe");
    EXPECT_EQ(f.home + "|" + f.pluginFolder, "D:\\C\\|D:\\C\\Plug-Ins\\");
}

TEST_F(PluginEditorTest, ASavedChangeKeepsTheCommentsAndIsReadAsARunReadsIt) {
    EXPECT_EQ(view_.rows, (test::Lines{"Alpha (a.cnp)", "Beta (b.cnp)"}));
    EXPECT_EQ(view_.title, "Alpha");
    editor_.pluginChosen(1);
    EXPECT_EQ(view_.files, test::Lines{at("B\\*.log")});
    editor_.titleEdited("  Beta 2 ");
    type(EntryKind::Registry, "HKEY_CURRENT_USER\\Software\\B,OneValue,Last");
    EXPECT_EQ(view_.reading[3] + "|" + view_.reading[4],
              "Action: onevalue (deletes the one value named below)|Value name: last");
    ASSERT_TRUE(view_.commands.save) << view_.status;
    EXPECT_TRUE(editor_.save());
    const engine::PluginDocument back = engine::ReadPluginDocument(read(at("P\\b.cnp")));
    EXPECT_EQ(back.comments, (test::Lines{"Tool B", "by its user", "", "the logs"}));
    EXPECT_EQ(back.registry, test::Lines{"HKEY_CURRENT_USER\\Software\\B,OneValue,Last"});
    EXPECT_EQ(view_.rows[1], "Beta 2 (b.cnp)");
}

// Which entries a run would misread is the engine's lint; here one finding
// keeps Save off, named in the status, until the entry goes.
TEST_F(PluginEditorTest, SaveStaysDisabledWhileARunWouldMisreadTheFile) {
    type(EntryKind::Files, "\"" + at("Q\\*.log") + "\"");
    EXPECT_FALSE(view_.commands.save);
    EXPECT_EQ(view_.status.rfind("Save is disabled: [Files] Item1: a run would read it as", 0), 0u)
        << view_.status;
    editor_.deleteEntry(EntryKind::Files);
    EXPECT_TRUE(view_.commands.save) << view_.status;
}

TEST_F(PluginEditorTest, LeavingAChangedPluginAsksAndCancelStays) {
    editor_.titleEdited("Changed");
    view_.answers = {Answer::Cancel, Answer::No};
    editor_.pluginChosen(1);
    EXPECT_EQ(view_.row, 0);
    EXPECT_EQ(editor_.document().title, "Changed");
    editor_.pluginChosen(1);
    EXPECT_EQ(view_.questions[1], "Save changes to \"a.cnp\"?");
    EXPECT_EQ(view_.title, "Beta");
    EXPECT_EQ(read(at("P\\a.cnp")).find("Changed"), std::string::npos);
    editor_.authorEdited("Me");
    view_.answers = {Answer::Yes};
    EXPECT_TRUE(editor_.mayClose());
    EXPECT_EQ(engine::ReadPluginDocument(read(at("P\\b.cnp"))).author, "Me");
}

TEST_F(PluginEditorTest, NewNeverReplacesAFileAndWritesOnlyAValidPlugin) {
    for (const char* name : {"A.CNP", "a", "x:y", "con"}) {
        view_.fileName = name;
        editor_.newPlugin();
    }
    EXPECT_EQ(view_.errors.size(), 4u);
    EXPECT_EQ(engine::ReadPluginDocument(read(at("P\\a.cnp"))).title, "Alpha");
    view_.fileName = "Gamma";
    editor_.newPlugin();
    EXPECT_EQ(view_.rows.back(), "Gamma (Gamma.cnp)");
    EXPECT_FALSE(view_.commands.save);
    type(EntryKind::Files, "%TEMP%\\gamma*.tmp");
    EXPECT_TRUE(editor_.save());
    EXPECT_EQ(engine::ReadPluginDocument(read(at("P\\Gamma.cnp"))).files,
              test::Lines{"%TEMP%\\gamma*.tmp"});
}

TEST_F(PluginEditorTest, AnUnreadablePluginIsReportedAndLeftAlone) {
    files_.failOn(test::FileOp::Read, at("P\\b.cnp"));
    editor_.pluginChosen(1);
    ASSERT_EQ(view_.errors.size(), 1u);
    EXPECT_FALSE(view_.commands.edit);  // nothing is open to edit
    files_.fails = {};
    EXPECT_NE(read(at("P\\b.cnp")).find("Beta"), std::string::npos);
}

TEST_F(PluginEditorTest, ATestRunReportsWhatItWouldEraseAndErasesNothing) {
    file("B\\one.log", "12345");
    file("B\\two.log");
    file("B\\keep.txt");
    editor_.pluginChosen(1);
    editor_.testRun();
    editor_.testRunFinished(tests_.id, tests_.run(platform_, view_));
    const std::string folder = system_.upperCase(at("B\\"));
    EXPECT_EQ(test::sorted(view_.lines),
              (test::Lines{"Test Mode: Removing File: " + folder + "one.log <OK>",
                           "Test Mode: Removing File: " + folder + "two.log <OK>",
                           "Test Mode: [Cleaning Beta]"}));
    EXPECT_NE(view_.status.find("Registry: 0, Files: 2,"), std::string::npos) << view_.status;
    EXPECT_TRUE(exists("B\\one.log") && exists("B\\two.log"));
    EXPECT_TRUE(view_.commands.edit && view_.commands.newPlugin && !view_.commands.running);
}

TEST_F(PluginEditorTest, WhileATestRunGoesOnlyStopIsOfferedAndLeavingStopsIt) {
    editor_.titleEdited("Alpha 2");
    editor_.testRun();
    EXPECT_EQ(engine::ReadPluginDocument(tests_.bytes).title, "Alpha 2");
    const PluginEditorCommands& c = view_.commands;
    EXPECT_TRUE(c.running && c.testRun && !(c.edit || c.choose || c.newPlugin || c.save));
    editor_.testRun();  // Stop; the stopped run's late report changes nothing
    editor_.testRunFinished(1, {});
    EXPECT_EQ(view_.status, "Test run: Stopped");
    EXPECT_TRUE(c.edit && !c.running);
    // Saving, choosing another plug-in and closing each stop the run first.
    editor_.testRun();
    EXPECT_TRUE(editor_.save());
    editor_.testRun();
    editor_.pluginChosen(1);
    editor_.testRun();
    EXPECT_TRUE(editor_.mayClose());
    EXPECT_EQ(tests_.stopped, (std::vector<std::uint64_t>{1, 2, 3, 4}));
}

TEST_F(PluginEditorTest, SaveAsksBeforeOverwritingAFileChangedOrDeletedMeanwhile) {
    const std::string question =
        "\"a.cnp\" was changed by another program since it was opened. Overwrite it?";
    editor_.titleEdited("Mine");
    file("P\\a.cnp", "[Plugin]\r\nTitle=Theirs\r\n");
    EXPECT_FALSE(editor_.save());
    EXPECT_EQ(view_.questions, std::vector<std::string>{question});
    EXPECT_NE(read(at("P\\a.cnp")).find("Theirs"), std::string::npos);
    EXPECT_TRUE(editor_.changed());
    view_.overwrite = true;
    EXPECT_TRUE(editor_.save());
    EXPECT_EQ(engine::ReadPluginDocument(read(at("P\\a.cnp"))).title, "Mine");
    // What this editor wrote is not a change by another program.
    editor_.titleEdited("Mine 2");
    view_.overwrite = false;
    EXPECT_TRUE(editor_.save());
    EXPECT_EQ(view_.questions.size(), 2u);
    // A deleted file is asked about too.
    editor_.titleEdited("Mine 3");
    ASSERT_TRUE(platform_.files->deleteFile(at("P\\a.cnp")));
    EXPECT_FALSE(editor_.save());
    EXPECT_EQ(view_.questions.back(), question);
    EXPECT_FALSE(exists("P\\a.cnp"));
}

}  // namespace
}  // namespace cindral::app
