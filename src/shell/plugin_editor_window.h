// The window of peditor.exe: the plug-in list at the left; title and author;
// the registry entries and path templates, each list with its entry field
// and Add / Change / Delete / Up / Down; the panel showing how a run reads
// the entry in hand; the lines of a test run; the status line; and "New",
// "Save", "Test Run", "Help" and "Close". The behaviour lives in
// app::PluginEditor; this class shows it in the skinned dialog frame.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "app/plugin_editor.h"
#include "platform/platform.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

class PluginEditorWindow : public SkinnedDialog, private app::PluginEditorView {
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

    PluginEditorWindow(DialogContext context, platform::Platform& platform,
                       app::PluginEditorFolders folders);

    app::PluginEditor& editor() { return editor_; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }

protected:
    bool build() override;
    bool mayCancel() override;
    void command(int id, int code, HWND control) override;
    LRESULT notify(const NMHDR& header) override;

private:
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
    bool askFileName(std::string& name) override;
    void showError(const std::string& text) override;

    bool buildEntries(app::EntryKind kind, const char* caption, int y);
    void enable(int id, bool enabled);

    platform::Platform& platform_;
    std::string pluginFolder_;
    HWND status_ = nullptr;
    // Set while the editor fills a control, whose notifications are then
    // its own doing and not the user's.
    int filling_ = 0;
    app::PluginEditor editor_;
};

}  // namespace cindral::shell
