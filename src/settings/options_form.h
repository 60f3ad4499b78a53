// The Options dialog without the window (TForm2): what its controls show
// before and after the settings are loaded, which of them are enabled, and
// what OK writes, in its order: the start-with-Windows entry, every value
// of the settings key, and the browser's start page while the lock is on.
// Cancel writes nothing. The Win32 dialog is a thin OptionsView over this
// class; tests drive it through a fake view.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"
#include "settings/settings_store.h"
#include "settings/shortcut.h"

namespace cindral::settings {

// The pages, in tab order.
enum class OptionsPage { General, Security, Schedule, BossKey, ProtectHomePage, LogRefresh };

// The check boxes, page by page.
enum class OptionsBox {
    StartWithWindows,
    InvisibleMode,
    StoreDate,
    StoreLog,
    ResultWindow,
    CloseIEBeforeErasing,
    SecureErasing,
    EraseEvery,
    EraseStart,
    EraseWinStart,
    EraseWinShutdown,
    EraseIEShutDown,
    LockHomePage,
    LogRefreshEnable,
};
constexpr int kOptionsBoxCount = static_cast<int>(OptionsBox::LogRefreshEnable) + 1;

enum class OptionsHotkey { StartErasing, InvisibleMode, BossKey };

// The drop-down lists whose item index is the stored number.
enum class OptionsList { Passes, Period };
constexpr int kPassItems = 10;   // "1" to "10"
constexpr int kPeriodItems = 4;  // "15 Minutes", "1 Hour", "8 Hours", "Day"

// The radio groups; their buttons count from 1, 0 is none.
enum class OptionsGroup { Method, BossAction };

enum class OptionsField { HomePage, LogLines };

// What the enabling rules switch: the pass list with its two labels and
// the method group; the period list; the log combo.
enum class OptionsPart { SecureDestruction, PeriodList, LogCombo };

class OptionsView {
public:
    virtual ~OptionsView() = default;

    virtual bool isChecked(OptionsBox box) = 0;
    virtual void setChecked(OptionsBox box, bool checked) = 0;
    // An empty field gives the empty shortcut (virtual key 0).
    virtual Shortcut hotkey(OptionsHotkey field) = 0;
    virtual void setHotkey(OptionsHotkey field, const Shortcut& shortcut) = 0;
    // -1: no item chosen.
    virtual int listIndex(OptionsList list) = 0;
    virtual void setListIndex(OptionsList list, int index) = 0;
    // The checked button, 1 to 3; 0 when none is.
    virtual int choice(OptionsGroup group) = 0;
    virtual void setChoice(OptionsGroup group, int button) = 0;
    virtual std::string text(OptionsField field) = 0;
    virtual void setText(OptionsField field, const std::string& text) = 0;
    virtual void setEnabled(OptionsPart part, bool enabled) = 0;
};

class OptionsForm {
public:
    // `programPath` is what the start-with-Windows entry starts; the Run key
    // and the browser's start page are reached through `registry`.
    OptionsForm(OptionsView& view, Settings& settings, platform::Registry& registry,
                std::string programPath, const KeyNames& keyNames = defaultKeyNames());

    // The dialog opens: the controls take their first states, then every
    // value is loaded. Nothing is written.
    void open();
    // OK: every value is stored, in order; the dialog then closes.
    void store();

    void boxClicked(OptionsBox box);
    void pageShown(OptionsPage page);
    // "Use Blank".
    void useBlank();

private:
    void loadHotkey(OptionsHotkey field, const TextSetting& setting);
    void storeHotkey(OptionsHotkey field, const TextSetting& setting);
    void loadList(OptionsList list, const NumberSetting& setting, int items);
    void loadChoice(OptionsGroup group, const NumberSetting& setting);
    void storeChoice(OptionsGroup group, const NumberSetting& setting);
    void loadBox(OptionsBox box, const NumberSetting& setting);
    void storeBox(OptionsBox box, const NumberSetting& setting);
    void applyRule(OptionsBox box);

    OptionsView& view_;
    Settings& settings_;
    platform::Registry& registry_;
    std::string programPath_;
    const KeyNames& keyNames_;
    // The stored hotkey texts that did not convert to a shortcut, by field.
    std::string unreadHotkeys_[3];
};

}  // namespace cindral::settings
