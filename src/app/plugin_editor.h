// The plug-in editor (peditor.exe) without its window: the plug-in files of
// the plug-in folder, one of them open for editing (title, author, registry
// entries, path templates), each entry shown as a run reads it, a test run of
// the open plug-in alone, and saving, which writes only a file the checker
// accepts. The reading, checking and writing all go through the engine's own
// plug-in functions, so the editor agrees with a run by construction. The
// Win32 window is a thin PluginEditorView over this class.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/log_view.h"
#include "engine/plugin_file.h"
#include "engine/run_state.h"
#include "platform/platform.h"
#include "selection/plugin_list.h"
#include "settings/settings_store.h"

namespace cindral::app {

enum class EntryKind { Registry, Files };
constexpr int kEntryKindCount = 2;

// Where the editor works. Start-up writes both values on every start.
struct PluginEditorFolders {
    std::string home;          // "HomeFolder", else the editor's own folder
    std::string pluginFolder;  // "PluginFolder", else "Plug-Ins\" beside the editor
};
PluginEditorFolders FindPluginEditorFolders(const settings::Settings& settings,
                                            const std::string& executablePath);

// How a run reads one entry, a line each: what it names and every finding of
// the checker (or that there is none).
std::vector<std::string> DescribeRegistryEntry(const std::string& entry, platform::System& sys);
std::vector<std::string> DescribePathTemplate(const std::string& pathTemplate,
                                              platform::Platform& p);

// A Test Mode run of one plug-in given as its file's bytes, as a run of the
// item queue performs it (its "[Cleaning" line, the protected folders of
// the home, the fixed drives, no keeper list): every line it logs, and its
// counters. Nothing is erased. The lines go to `log` as they are logged; the
// run ends early once `*stop` is set (the walk checks it before each entry).
engine::RunCounters TestRunPlugin(platform::Platform& p, const std::string& home,
                                  const std::string& caption, const std::string& bytes,
                                  engine::LogView& log, const std::atomic<bool>* stop = nullptr);

// Carries out the editor's test runs off the window's thread.
class PluginTestLauncher {
public:
    virtual ~PluginTestLauncher() = default;
    // Starts TestRunPlugin on a thread of its own. Its lines reach the
    // window's test-run list on the window's thread as the run logs them;
    // when the body has returned, the window's thread calls
    // PluginEditor::testRunFinished with the id and the counters. 0 when it
    // could not start.
    virtual std::uint64_t startTestRun(const std::string& home, const std::string& caption,
                                       const std::string& bytes) = 0;
    // Stops the run: it shows nothing more and is never reported finished.
    // Returns at once; the run's thread may still be finishing a slow call.
    virtual void stopTestRun(std::uint64_t id) = 0;
};

// What the window enables.
struct PluginEditorCommands {
    bool edit = false;       // title, author, the entry lists and fields: a plug-in is open
    bool choose = false;     // the plug-in list
    bool newPlugin = false;  // "New"
    bool save = false;
    bool testRun = false;  // "Test Run", or "Stop" while a test run goes
    bool running = false;  // a test run goes: the button reads "Stop"
    std::array<bool, kEntryKindCount> add{}, change{}, remove{}, up{}, down{};
};

enum class Answer { Yes, No, Cancel };

class PluginEditorView {
public:
    virtual ~PluginEditorView() = default;
    virtual void setPlugins(const std::vector<std::string>& rows) = 0;
    virtual void selectPlugin(int row) = 0;  // -1: none
    // Setting a field must not report an edit back.
    virtual void setTitleAuthor(const std::string& title, const std::string& author) = 0;
    virtual void setEntries(EntryKind kind, const std::vector<std::string>& rows) = 0;
    virtual void selectEntry(EntryKind kind, int row) = 0;  // -1: none
    virtual void setEntryText(EntryKind kind, const std::string& text) = 0;
    // The "as a run reads it" panel.
    virtual void setReading(const std::vector<std::string>& lines) = 0;
    virtual void setTestLines(const std::vector<std::string>& lines) = 0;
    virtual void setStatus(const std::string& text) = 0;
    virtual void setCommands(const PluginEditorCommands& commands) = 0;
    // Yes / No / Cancel.
    virtual Answer ask(const std::string& question) = 0;
    // Yes / No: true for Yes.
    virtual bool askYesNo(const std::string& question) = 0;
    // The file name of a new plug-in; false when cancelled.
    virtual bool askFileName(std::string& name) = 0;
    virtual void showError(const std::string& text) = 0;
};

class PluginEditor {
public:
    PluginEditor(PluginEditorView& view, PluginTestLauncher& tests, platform::Platform& platform,
                 PluginEditorFolders folders);

    // Lists the plug-ins and opens the first.
    void open();
    // A row of the plug-in list was chosen; unsaved changes are asked about.
    void pluginChosen(int row);
    void titleEdited(const std::string& text);
    void authorEdited(const std::string& text);
    void entryChosen(EntryKind kind, int row);
    // The entry field's text changed; the panel shows how a run reads it.
    void entryTextEdited(EntryKind kind, const std::string& text);
    // Add appends the field's text; Change replaces the chosen entry by it.
    void addEntry(EntryKind kind);
    void changeEntry(EntryKind kind);
    void deleteEntry(EntryKind kind);
    void moveEntry(EntryKind kind, int delta);  // -1 up, +1 down
    // Asks a file name and opens an empty plug-in under it, written on Save;
    // an existing file is never replaced.
    void newPlugin();
    // True when written (or nothing was to be written). A file changed on
    // disk since it was read is overwritten only when the user says so.
    bool save();
    // Starts a test run of the document as Save would write it; while one
    // goes, stops it. Nothing can be edited, saved or opened while it goes.
    void testRun();
    // On the window's thread: the test run `id` has ended by itself.
    void testRunFinished(std::uint64_t id, const engine::RunCounters& counters);
    // Before the window closes: stops a test run and asks about unsaved
    // changes. False: stay.
    bool mayClose();

    const engine::PluginDocument& document() const { return doc_; }
    bool isOpen() const { return open_; }
    bool testRunning() const { return testRun_ != 0; }
    bool changed() const { return changed_; }
    bool canSave() const { return open_ && changed_ && problems_.empty(); }
    // Why the document cannot be saved as it stands (empty: it can).
    const std::vector<std::string>& problems() const { return problems_; }
    const std::string& path() const { return path_; }
    const std::vector<selection::PluginFile>& plugins() const { return plugins_; }

private:
    std::vector<std::string>& entries(EntryKind kind);
    void list(const std::string& select);
    void load(const selection::PluginFile& file);
    void close();
    // Stops a test run that goes ("Stopped").
    void stopTestRun();
    // Asks about unsaved changes; false when the user stays.
    bool mayLeave();
    void edited();
    void check();
    void showEntries(EntryKind kind);
    void showReading();
    void update();

    PluginEditorView& view_;
    PluginTestLauncher& tests_;
    platform::Platform& platform_;
    PluginEditorFolders folders_;
    std::vector<selection::PluginFile> plugins_;
    int row_ = -1;  // the open plug-in's row, -1 for none
    bool open_ = false;
    bool isNew_ = false;  // not on disk yet
    bool changed_ = false;
    std::string fileName_;
    std::string path_;
    std::string diskBytes_;  // the file's bytes as last read or written
    engine::PluginDocument doc_;
    std::vector<std::string> storedFindings_;  // of the file as read, until the first edit
    std::vector<std::string> problems_;
    std::array<int, kEntryKindCount> selected_{-1, -1};
    std::array<std::string, kEntryKindCount> field_;
    EntryKind active_ = EntryKind::Registry;
    std::uint64_t testRun_ = 0;  // the test run that goes, 0 for none
};

}  // namespace cindral::app
