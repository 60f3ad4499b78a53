#include "settings/options_form.h"

#include <utility>

#include "selection/custom_record_list.h"
#include "settings/outside_entries.h"

namespace cindral::settings {

namespace {

struct Switch {
    OptionsBox box;
    NumberSetting setting;
};

// The switches of a page, in the order they are loaded and stored.
constexpr Switch kGeneralSwitches[] = {
    {OptionsBox::InvisibleMode, kInvisibleMode},
    {OptionsBox::StoreDate, kStoreDate},
    {OptionsBox::StoreLog, kStoreLog},
    {OptionsBox::ResultWindow, kResultWindow},
    {OptionsBox::CloseIEBeforeErasing, kCloseIEBeforeErasing},
};
constexpr Switch kEventSwitches[] = {
    {OptionsBox::EraseStart, kEraseStart},
    {OptionsBox::EraseWinStart, kEraseWinStart},
    {OptionsBox::EraseWinShutdown, kEraseWinShutdown},
    {OptionsBox::EraseIEShutDown, kEraseIEShutDown},
};

constexpr char kBlankPage[] = "about:blank";
constexpr char kFirstLogLines[] = "2500";

int hotkeyIndex(OptionsHotkey field) { return static_cast<int>(field); }

}  // namespace

OptionsForm::OptionsForm(OptionsView& view, Settings& settings, platform::Registry& registry,
                         std::string programPath, const KeyNames& keyNames)
    : view_(view),
      settings_(settings),
      registry_(registry),
      programPath_(std::move(programPath)),
      keyNames_(keyNames) {}

void OptionsForm::open() {
    // The states the controls have before anything is loaded; a stored
    // choice outside its codes leaves them so.
    view_.setEnabled(OptionsPart::SecureDestruction, false);
    view_.setChoice(OptionsGroup::Method, 1);
    view_.setChoice(OptionsGroup::BossAction, 0);
    view_.setText(OptionsField::HomePage, kBlankPage);
    view_.setText(OptionsField::LogLines, kFirstLogLines);
    view_.setListIndex(OptionsList::Period, 0);

    view_.setChecked(OptionsBox::StartWithWindows, startWithWindowsExists(registry_));
    for (const Switch& s : kGeneralSwitches) loadBox(s.box, s.setting);
    loadHotkey(OptionsHotkey::StartErasing, kHotKey1);
    loadHotkey(OptionsHotkey::InvisibleMode, kHotKey2);

    loadBox(OptionsBox::SecureErasing, kSecureErasing);
    applyRule(OptionsBox::SecureErasing);
    loadList(OptionsList::Passes, kPassess, kPassItems);
    loadChoice(OptionsGroup::Method, kMethodDestruction);

    loadBox(OptionsBox::EraseEvery, kEraseEvery);
    loadList(OptionsList::Period, kEraseEveryTime, kPeriodItems);
    for (const Switch& s : kEventSwitches) loadBox(s.box, s.setting);

    loadHotkey(OptionsHotkey::BossKey, kHotKey3);
    loadChoice(OptionsGroup::BossAction, kBossKey);

    loadBox(OptionsBox::LockHomePage, kLockHomePage);
    view_.setText(OptionsField::HomePage, settings_.read(kHomePage));

    loadBox(OptionsBox::LogRefreshEnable, kLogRefreshEnable);
    // The number is signed, as the reading rule of the combo's text is.
    view_.setText(OptionsField::LogLines,
                  std::to_string(static_cast<std::int32_t>(settings_.read(kLogRefreshLines))));
}

void OptionsForm::store() {
    if (view_.isChecked(OptionsBox::StartWithWindows)) {
        writeStartWithWindows(registry_, programPath_);
    } else {
        deleteStartWithWindows(registry_);
    }
    for (const Switch& s : kGeneralSwitches) storeBox(s.box, s.setting);
    storeHotkey(OptionsHotkey::StartErasing, kHotKey1);
    storeHotkey(OptionsHotkey::InvisibleMode, kHotKey2);

    storeBox(OptionsBox::SecureErasing, kSecureErasing);
    // No item chosen stores -1.
    settings_.write(kPassess, static_cast<std::uint32_t>(view_.listIndex(OptionsList::Passes)));
    storeChoice(OptionsGroup::Method, kMethodDestruction);

    storeBox(OptionsBox::EraseEvery, kEraseEvery);
    settings_.write(kEraseEveryTime,
                    static_cast<std::uint32_t>(view_.listIndex(OptionsList::Period)));
    for (const Switch& s : kEventSwitches) storeBox(s.box, s.setting);

    storeHotkey(OptionsHotkey::BossKey, kHotKey3);
    storeChoice(OptionsGroup::BossAction, kBossKey);

    storeBox(OptionsBox::LockHomePage, kLockHomePage);
    const std::string homePage = view_.text(OptionsField::HomePage);
    settings_.write(kHomePage, homePage);
    if (view_.isChecked(OptionsBox::LockHomePage)) writeStartPage(registry_, homePage);

    storeBox(OptionsBox::LogRefreshEnable, kLogRefreshEnable);
    settings_.write(kLogRefreshLines, static_cast<std::uint32_t>(selection::ReadLeadingInteger(
                                          view_.text(OptionsField::LogLines))));
}

void OptionsForm::boxClicked(OptionsBox box) { applyRule(box); }

void OptionsForm::pageShown(OptionsPage page) {
    if (page == OptionsPage::Schedule) applyRule(OptionsBox::EraseEvery);
    if (page == OptionsPage::LogRefresh) applyRule(OptionsBox::LogRefreshEnable);
}

void OptionsForm::useBlank() { view_.setText(OptionsField::HomePage, kBlankPage); }

void OptionsForm::applyRule(OptionsBox box) {
    switch (box) {
        case OptionsBox::SecureErasing:
            view_.setEnabled(OptionsPart::SecureDestruction, view_.isChecked(box));
            break;
        case OptionsBox::EraseEvery:
            view_.setEnabled(OptionsPart::PeriodList, view_.isChecked(box));
            break;
        case OptionsBox::LogRefreshEnable:
            view_.setEnabled(OptionsPart::LogCombo, view_.isChecked(box));
            break;
        default:
            break;
    }
}

void OptionsForm::loadBox(OptionsBox box, const NumberSetting& setting) {
    view_.setChecked(box, settings_.isOn(setting));
}

void OptionsForm::storeBox(OptionsBox box, const NumberSetting& setting) {
    settings_.write(setting, view_.isChecked(box) ? 1u : 0u);
}

void OptionsForm::loadHotkey(OptionsHotkey field, const TextSetting& setting) {
    const std::string text = settings_.read(setting);
    Shortcut shortcut;
    const bool read = textToShortcut(text, shortcut, keyNames_);
    unreadHotkeys_[hotkeyIndex(field)] = read ? std::string() : text;
    view_.setHotkey(field, shortcut);
}

void OptionsForm::storeHotkey(OptionsHotkey field, const TextSetting& setting) {
    const Shortcut shortcut = view_.hotkey(field);
    // A stored text this layout cannot read shows as an empty field. Left
    // empty, the text is kept as it was: it may be the name of a key of
    // another layout, and an emptied value would lose the hotkey for good.
    const std::string& unread = unreadHotkeys_[hotkeyIndex(field)];
    if (shortcut.virtualKey == 0 && !unread.empty()) {
        settings_.write(setting, unread);
        return;
    }
    settings_.write(setting, shortcutToText(shortcut, keyNames_));
}

void OptionsForm::loadList(OptionsList list, const NumberSetting& setting, int items) {
    const std::uint32_t stored = settings_.read(setting);
    view_.setListIndex(list, stored < static_cast<std::uint32_t>(items) ? int(stored) : -1);
}

void OptionsForm::loadChoice(OptionsGroup group, const NumberSetting& setting) {
    const std::uint32_t stored = settings_.read(setting);
    if (stored >= 1 && stored <= 3) view_.setChoice(group, static_cast<int>(stored));
}

void OptionsForm::storeChoice(OptionsGroup group, const NumberSetting& setting) {
    const int button = view_.choice(group);
    if (button >= 1 && button <= 3) settings_.write(setting, static_cast<std::uint32_t>(button));
}

}  // namespace cindral::settings
