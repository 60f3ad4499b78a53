#include "settings/options_form.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "settings/fake_settings.h"
#include "settings/outside_entries.h"
#include "settings/scratch_registry.h"

namespace cindral::settings {
namespace {

// The dialog's controls as plain values.
class FakeOptionsView : public OptionsView {
public:
    std::map<OptionsBox, bool> boxes;
    std::map<OptionsHotkey, Shortcut> hotkeys;
    std::map<OptionsList, int> lists;
    std::map<OptionsGroup, int> choices;
    std::map<OptionsField, std::string> texts;
    std::map<OptionsPart, bool> enabled = {{OptionsPart::SecureDestruction, true},
                                           {OptionsPart::PeriodList, true},
                                           {OptionsPart::LogCombo, true}};

    bool isChecked(OptionsBox b) override { return boxes[b]; }
    void setChecked(OptionsBox b, bool on) override { boxes[b] = on; }
    Shortcut hotkey(OptionsHotkey f) override { return hotkeys[f]; }
    void setHotkey(OptionsHotkey f, const Shortcut& s) override { hotkeys[f] = s; }
    int listIndex(OptionsList l) override { return lists[l]; }
    void setListIndex(OptionsList l, int i) override { lists[l] = i; }
    int choice(OptionsGroup g) override { return choices[g]; }
    void setChoice(OptionsGroup g, int b) override { choices[g] = b; }
    std::string text(OptionsField f) override { return texts[f]; }
    void setText(OptionsField f, const std::string& t) override { texts[f] = t; }
    void setEnabled(OptionsPart p, bool on) override { enabled[p] = on; }
};

class OptionsFormTest : public ::testing::Test {
protected:
    FakeOptionsView view;
    test::FakeSettings settings;
    test::ScratchRegistry registry;
    OptionsForm form{view, settings, registry, "C:\\Program Files\\Cindral\\cindral.exe"};
};

TEST_F(OptionsFormTest, FirstStartShowsTheDefaultsCancelWritesNothingAndOkWritesThemAll) {
    form.open();
    EXPECT_FALSE(view.enabled[OptionsPart::SecureDestruction]);
    EXPECT_TRUE(settings.numbers.empty() && settings.texts.empty());
    EXPECT_FALSE(registry.keyExists(kRunKeyPath));

    // What OK writes is what the controls showed: every number of the
    // settings key with its first default (the dialog's), the hotkeys as
    // texts.
    form.store();
    for (const SettingInfo& info : settingsTable()) {
        if (info.type != ValueType::Number) continue;
        EXPECT_EQ(settings.numbers.at(info.name), info.defaults.at(0).number) << info.name;
    }
    EXPECT_EQ(settings.texts, (std::map<std::string, std::string>{{"HotKey1", "Shift+Ctrl+Alt+X"},
                                                                  {"HotKey2", "Shift+Ctrl+U"},
                                                                  {"HotKey3", "Shift+Alt+B"},
                                                                  {"HomePage", "about:blank"}}));
    EXPECT_FALSE(startWithWindowsExists(registry));
}

// Every value away from its first state: a control that is not loaded
// would store that state over what the user had chosen.
TEST_F(OptionsFormTest, OkAfterOpeningStoresBackEveryValueAsItWasStored) {
    for (const SettingInfo& info : settingsTable())
        if (info.type == ValueType::Number) settings.numbers[info.name] = 1;  // every switch on
    for (const char* choice : {"MethodDestruction", "EraseEveryTime", "BossKey"})
        settings.numbers[choice] = 3;  // the last item or button
    settings.numbers["Passess"] = 9;
    settings.numbers["LogRefreshLines"] = 5000;
    settings.texts = {{"HotKey1", "Ctrl+Alt+F9"},
                      {"HotKey2", "Alt+Home"},
                      {"HotKey3", "Shift+Ctrl+Del"},
                      {"HomePage", " http://example.test/ "}};
    ASSERT_TRUE(writeStartWithWindows(registry, "C:\\Cindral\\cindral.exe"));
    const auto numbers = settings.numbers;
    const auto texts = settings.texts;
    form.open();
    settings.numbers.clear();
    settings.texts.clear();
    form.store();
    EXPECT_EQ(settings.numbers, numbers);
    EXPECT_EQ(settings.texts, texts);
    EXPECT_TRUE(startWithWindowsExists(registry));
}

TEST_F(OptionsFormTest, StoredValuesOutsideTheirCodesAndTheLogLinesRule) {
    settings.numbers = {{"Passess", 10},  // each just outside its codes
                        {"MethodDestruction", 4},
                        {"BossKey", 0},
                        {"LogRefreshLines", static_cast<std::uint32_t>(-7)}};
    form.open();
    EXPECT_EQ(view.lists[OptionsList::Passes], -1);
    EXPECT_EQ(view.choices, (std::map<OptionsGroup, int>{{OptionsGroup::Method, 1},
                                                         {OptionsGroup::BossAction, 0}}));
    EXPECT_EQ(view.texts[OptionsField::LogLines], "-7");
    settings.numbers.clear();
    view.texts[OptionsField::LogLines] = "3000 lines";
    form.store();
    EXPECT_EQ(settings.numbers["Passess"], 0xFFFFFFFFu);
    EXPECT_EQ(settings.numbers["MethodDestruction"], 1u);
    EXPECT_EQ(settings.numbers.count("BossKey"), 0u);  // no button, no value
    EXPECT_EQ(settings.numbers["LogRefreshLines"], 3000u);
}

TEST_F(OptionsFormTest, EnablingRulesFollowTheirBoxesOnClickAndOnEnteringThePage) {
    settings.numbers = {{"SecureErasing", 1}};
    form.open();
    EXPECT_TRUE(view.enabled[OptionsPart::SecureDestruction]);
    // Entering the page greys the list although no click happened.
    form.pageShown(OptionsPage::Schedule);
    EXPECT_FALSE(view.enabled[OptionsPart::PeriodList]);
    form.pageShown(OptionsPage::LogRefresh);
    EXPECT_FALSE(view.enabled[OptionsPart::LogCombo]);
    const std::pair<OptionsBox, OptionsPart> rules[] = {
        {OptionsBox::SecureErasing, OptionsPart::SecureDestruction},
        {OptionsBox::EraseEvery, OptionsPart::PeriodList},
        {OptionsBox::LogRefreshEnable, OptionsPart::LogCombo}};
    for (int click = 0; click < 2; ++click) {
        for (const auto& [box, part] : rules) {
            view.boxes[box] = !view.boxes[box];
            form.boxClicked(box);
            EXPECT_EQ(view.enabled[part], view.boxes[box]) << int(box);
        }
    }
}

TEST_F(OptionsFormTest, HotkeyFieldsClearedStoreEmptyAndUnreadableTextsAreKeptUntilReplaced) {
    settings.texts = {{"HotKey1", "Ctrl+Alt+Pause"},
                      {"HotKey2", "Alt+Elsewhere"},
                      {"HotKey3", "Shift+Alt+Nowhere"}};
    form.open();
    EXPECT_EQ(view.hotkeys[OptionsHotkey::StartErasing], (Shortcut{0x13, false, true, true}));
    EXPECT_EQ(view.hotkeys[OptionsHotkey::BossKey], Shortcut{});
    view.hotkeys[OptionsHotkey::StartErasing] = Shortcut{};
    view.hotkeys[OptionsHotkey::InvisibleMode] = Shortcut{0x78, false, true, true};
    form.store();
    EXPECT_EQ(settings.texts["HotKey1"], "");
    EXPECT_EQ(settings.texts["HotKey2"], "Ctrl+Alt+F9");
    EXPECT_EQ(settings.texts["HotKey3"], "Shift+Alt+Nowhere");
}

}  // namespace
}  // namespace cindral::settings
