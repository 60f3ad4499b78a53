// The window of peditor.exe: the plug-in list at the left; title and author;
// the registry entries and path templates, each list with its entry field
// and Add / Change / Delete / Up / Down; the panel showing how a run reads
// the entry in hand; the lines of a test run; the status line; and "New",
// "Save", "Test Run", "Help" and "Close". The behaviour lives in
// app::PluginEditor; this class shows it in the skinned dialog frame and
// carries out its test runs: each on a thread of its own, its lines handed
// to the window's thread in batches through an app::BatchedRunView. A
// stopped run may sit in one slow system call for long, so Stop never waits
// for its thread: the run is set aside, its view closed, and its thread is
// joined once its body has returned (or when the window goes).
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/batched_run_view.h"
#include "app/plugin_editor.h"
#include "platform/platform.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

class PluginEditorWindow : public SkinnedDialog,
                           private app::PluginEditorView,
                           private app::PluginTestLauncher {
public:
    enum Id {
        kPluginList = kFirstControlId,
        kTitleEdit,
        kAuthorEdit,
        kReading,
        kTestLines,
        kStatus,
        kNewButton,
        kSaveButton,
        kTestRunButton,
        kEntryIds = kFirstControlId + 20,  // per kind: the parts below, 10 apart
    };
    enum Part { List, Field, Add, Change, Delete, Up, Down, PartCount };
    static int entryId(app::EntryKind kind, Part part) {
        return kEntryIds + 10 * static_cast<int>(kind) + part;
    }

    // A test run that has queued `maxPending` lines waits until the window
    // has taken them.
    PluginEditorWindow(DialogContext context, platform::Platform& platform,
                       app::PluginEditorFolders folders,
                       std::size_t maxPending = app::BatchedRunView::kMaxPending);
    ~PluginEditorWindow() override;

    app::PluginEditor& editor() { return editor_; }
    // The test runs whose threads have not been joined yet: the one going
    // and those stopped but still finishing.
    std::size_t testRunsAlive() const { return (testRun_ ? 1 : 0) + stoppedRuns_.size(); }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    bool build() override;
    bool mayCancel() override;
    void command(int id, int code, HWND control) override;
    LRESULT notify(const NMHDR& header) override;
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct TestRun;
    class TestLines;
    // app::PluginEditorView
    void setPlugins(const std::vector<std::string>& rows) override;
    void selectPlugin(int row) override;
    void setTitleAuthor(const std::string& title, const std::string& author) override;
    void setEntries(app::EntryKind kind, const std::vector<std::string>& rows) override;
    void selectEntry(app::EntryKind kind, int row) override;
    void setEntryText(app::EntryKind kind, const std::string& text) override;
    void setReading(const std::vector<std::string>& lines) override;
    void setTestLines(const std::vector<std::string>& lines) override;
    void setStatus(const std::string& text) override;
    void setCommands(const app::PluginEditorCommands& commands) override;
    app::Answer ask(const std::string& question) override;
    bool askYesNo(const std::string& question) override;
    bool askFileName(std::string& name) override;
    void showError(const std::string& text) override;

    // app::PluginTestLauncher
    std::uint64_t startTestRun(const std::string& home, const std::string& caption,
                               const std::string& bytes) override;
    void stopTestRun(std::uint64_t id) override;
    void testRunEnded(std::uint64_t id);

    bool buildEntries(app::EntryKind kind, const char* caption, int y);
    void enable(int id, bool enabled, int focusHome);

    platform::Platform& platform_;
    std::string pluginFolder_;
    HWND status_ = nullptr;
    // Set while the editor fills a control, whose notifications are then
    // its own doing and not the user's.
    int filling_ = 0;
    std::size_t maxPending_;
    std::unique_ptr<TestLines> testLines_;
    std::unique_ptr<TestRun> testRun_;  // goes before the lines it shows
    // Stopped runs whose bodies have not returned yet; they show nothing.
    std::vector<std::unique_ptr<TestRun>> stoppedRuns_;
    std::uint64_t lastTestRun_ = 0;
    app::PluginEditor editor_;
};

}  // namespace cindral::shell
