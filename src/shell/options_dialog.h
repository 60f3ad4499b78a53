// The Options dialog (TForm2): six pages of settings over the dialog kit.
// Everything it decides is settings::OptionsForm's; this class lays out
// the controls, shows what the form sets and reports the user's clicks.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/key_names.h"
#include "platform/registry.h"
#include "settings/options_form.h"
#include "settings/settings_store.h"
#include "shell/dialog_host.h"
#include "shell/skinned_dialog.h"

namespace cindral::shell {

// What the dialog reads and writes.
struct OptionsSetup {
    settings::Settings& settings;
    platform::Registry& registry;  // the Run key and the browser's start page
    std::string programPath;       // started by the start-with-Windows entry
    const settings::KeyNames& keyNames;
};

class OptionsDialog : public SkinnedDialog, private settings::OptionsView {
public:
    static constexpr int kPagesId = 200;
    static constexpr int kUseBlankId = 180;

    // Hosted by the main window: its settings and registry, the program's
    // own path, and the key names of the user's keyboard layout.
    explicit OptionsDialog(DialogHost& host);
    OptionsDialog(DialogContext context, const OptionsSetup& setup);

    // The controls, for tests and for the keyboard.
    HWND box(settings::OptionsBox which) const;
    HWND hotkeyField(settings::OptionsHotkey which) const;
    HWND list(settings::OptionsList which) const;
    HWND field(settings::OptionsField which) const;
    // Button 1 to 3 of a radio group.
    HWND radio(settings::OptionsGroup group, int button) const;
    TabbedPages& pages() { return *pageSet(kPagesId); }

protected:
    bool build() override;
    void pageShown(int pageSetId, int page) override;
    bool accept() override;
    void command(int id, int code, HWND control) override;

private:
    void buildGeneral(DialogPage& page);
    void buildSecurity(DialogPage& page);
    void buildSchedule(DialogPage& page);
    void buildBossKey(DialogPage& page);
    void buildProtectHomePage(DialogPage& page);
    void buildLogRefresh(DialogPage& page);
    HWND addBox(DialogPage& page, settings::OptionsBox which, const char* text, int x, int y,
                int w);
    HWND addHotkey(DialogPage& page, settings::OptionsHotkey which, int x, int y);

    // settings::OptionsView
    bool isChecked(settings::OptionsBox which) override;
    void setChecked(settings::OptionsBox which, bool checked) override;
    settings::Shortcut hotkey(settings::OptionsHotkey which) override;
    void setHotkey(settings::OptionsHotkey which, const settings::Shortcut& shortcut) override;
    int listIndex(settings::OptionsList which) override;
    void setListIndex(settings::OptionsList which, int index) override;
    int choice(settings::OptionsGroup group) override;
    void setChoice(settings::OptionsGroup group, int button) override;
    std::string text(settings::OptionsField which) override;
    void setText(settings::OptionsField which, const std::string& text) override;
    void setEnabled(settings::OptionsPart part, bool enabled) override;

    // The layout's key names when the dialog reads them itself; declared
    // before the form, which keeps a reference to them.
    std::unique_ptr<platform::KeyNames> layoutKeyNames_;
    settings::OptionsForm form_;
    HWND boxes_[settings::kOptionsBoxCount] = {};
    HWND hotkeys_[3] = {};
    HWND lists_[2] = {};
    HWND radios_[2][3] = {};
    HWND fields_[2] = {};
    // The controls each enabling rule switches, labels included.
    std::vector<HWND> parts_[3];
};

}  // namespace cindral::shell
