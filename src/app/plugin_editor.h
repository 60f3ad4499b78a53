// The plug-in editor (peditor.exe) without its window: the plug-in files of
// the plug-in folder, one of them open for editing (title, author, registry
// entries, path templates), each entry shown as a run reads it, a test run of
// the open plug-in alone, and saving, which writes only a file the checker
// accepts. The reading, checking and writing all go through the engine's own
// plug-in functions, so the editor agrees with a run by construction. The
// Win32 window is a thin PluginEditorView over this class.
#pragma once

#include <array>
#include <string>
#include <vector>

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
// counters. Nothing is erased.
struct PluginTestRun {
    std::vector<std::string> lines;
    engine::RunCounters counters;
};
PluginTestRun TestRunPlugin(platform::Platform& p, const std::string& home,
                            const std::string& caption, const std::string& bytes);

// What the window enables.
struct PluginEditorCommands {
    bool edit = false;  // title, author, the entry lists and fields: a plug-in is open
    bool save = false;
    bool testRun = false;
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
    // The file name of a new plug-in; false when cancelled.
    virtual bool askFileName(std::string& name) = 0;
    virtual void showError(const std::string& text) = 0;
};

class PluginEditor {
public:
    PluginEditor(PluginEditorView& view, platform::Platform& platform, PluginEditorFolders folders);

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
    // True when written (or nothing was to be written).
    bool save();
    void testRun();
    // Before the window closes: asks about unsaved changes. False: stay.
    bool mayClose();

    const engine::PluginDocument& document() const { return doc_; }
    bool isOpen() const { return open_; }
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
    // Asks about unsaved changes; false when the user stays.
    bool mayLeave();
    void edited();
    void check();
    void showEntries(EntryKind kind);
    void showReading();
    void update();

    PluginEditorView& view_;
    platform::Platform& platform_;
    PluginEditorFolders folders_;
    std::vector<selection::PluginFile> plugins_;
    int row_ = -1;  // the open plug-in's row, -1 for none
    bool open_ = false;
    bool isNew_ = false;  // not on disk yet
    bool changed_ = false;
    std::string fileName_;
    std::string path_;
    engine::PluginDocument doc_;
    std::vector<std::string> storedFindings_;  // of the file as read, until the first edit
    std::vector<std::string> problems_;
    std::array<int, kEntryKindCount> selected_{-1, -1};
    std::array<std::string, kEntryKindCount> field_;
    EntryKind active_ = EntryKind::Registry;
};

}  // namespace cindral::app
