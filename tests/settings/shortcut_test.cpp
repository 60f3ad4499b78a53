#include "settings/shortcut.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cindral::settings {
namespace {

Shortcut key(std::uint8_t vk, bool shift = false, bool ctrl = false, bool alt = false) {
    Shortcut s;
    s.virtualKey = vk;
    s.shift = shift;
    s.ctrl = ctrl;
    s.alt = alt;
    return s;
}

struct Case {
    Shortcut shortcut;
    std::string text;
};

TEST(ShortcutToText, ModifiersInFixedOrderThenTheKeyName) {
    const std::vector<Case> cases = {
        {key('X', true, true, true), "Shift+Ctrl+Alt+X"}, {key('B', true, false, true), "Shift+Alt+B"},
        {key('U', false, true), "Ctrl+U"},  {key('Q'), "Q"},  {key('9', false, false, true), "Alt+9"},
        {key(0x08), "BkSp"},  {key(0x09), "Tab"},   {key(0x0D), "Enter"}, {key(0x1B), "Esc"},
        {key(0x20), "Space"}, {key(0x21), "PgUp"},  {key(0x22), "PgDn"},  {key(0x23), "End"},
        {key(0x24), "Home"},  {key(0x25), "Left"},  {key(0x26), "Up"},    {key(0x27), "Right"},
        {key(0x28), "Down"},  {key(0x2D), "Ins"},   {key(0x2E), "Del"},   {key(0x70), "F1"},
        {key(0x87), "F24"},   {key(0x60, false, true), "Ctrl+0"},  {key(0x69), "9"},  // numeric pad
        {key(0xBC, false, true), "Ctrl+,"},  {key(0x6B), "Num +"},  {key(0x91), "Scroll Lock"},
        // A key without a name gives the empty text: no shortcut.
        {key(0, true, true, true), ""}, {key(0x07, false, true), ""}, {key(0x10, false, true), ""},
        {key(0xFF), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(shortcutToText(c.shortcut), c.text) << int(c.shortcut.virtualKey);
}

TEST(TextToShortcut, EveryNamedKeyWithEveryModifierSetRoundTrips) {
    for (unsigned vk = 0x08; vk <= 0xFF; ++vk) {
        for (int mods = 0; mods < 8; ++mods) {
            const Shortcut s = key(std::uint8_t(vk), mods & 1, mods & 2, mods & 4);
            const std::string text = shortcutToText(s);
            if (text.empty()) continue;
            Shortcut back;
            ASSERT_TRUE(textToShortcut(text, back)) << text;
            Shortcut expected = s;
            // A numeric-pad digit shares its name with the main-row digit.
            if (vk >= 0x60 && vk <= 0x69) expected.virtualKey = std::uint8_t('0' + vk - 0x60);
            EXPECT_EQ(back, expected) << text;
        }
    }
}

TEST(TextToShortcut, PrefixesInAnyOrderAndCaseWithCaretForCtrl) {
    const std::vector<Case> cases = {
        {key('X', true, true, true), "Alt+Shift+Ctrl+X"}, {key('X', true, true, true), "ctrl+ALT+shift+x"},
        {key(0x22, false, false, true), "aLt+pgdn"},        {key(0x79, true), "sHiFt+f10"},
        {key('X', false, true), "^X"},                      {key(0x2E, true, true), "Shift+^Del"},
        {key(0x09, false, true, true), "^Alt+Tab"},         {key(0x6E, false, true), "ctrl+num del"},
        {key(0xBD, false, true), "Ctrl+-"},
        // The modifiers form a set: a doubled prefix in a hand-edited value
        // still names the hotkey instead of silently registering none.
        {key('X', false, true), "Ctrl+Ctrl+X"}, {key('X', false, true), "^Ctrl+X"},
        {key('Q', true, false, true), "Alt+alt+Shift+Q"},
    };
    for (const auto& c : cases) {
        Shortcut s = key(0x55);
        EXPECT_TRUE(textToShortcut(c.text, s)) << c.text;
        EXPECT_EQ(s, c.shortcut) << c.text;
    }
}

TEST(TextToShortcut, TextNamingNoKeyIsRejectedAndClearsTheShortcut) {
    for (const std::string& text : std::vector<std::string>{"", "Shift+", "Ctrl+Alt+", "^", "Ctrl", "Ctrl+Shift", "Ctrl+XY", "Ctrl+ X", "X+Ctrl",
          "Ctrl-X", "F0", "F25", "Delete", "Control+X", std::string("Ctrl+X\0", 7), "\xC4"}) {
        Shortcut s = key(0x55, true, true, true);
        EXPECT_FALSE(textToShortcut(text, s)) << text;
        EXPECT_EQ(s, Shortcut{}) << text;
    }
}

TEST(TextToShortcut, LayoutSuppliesOnlyTheNamesThatAreNotFixed) {
    struct GermanNames : KeyNames {
        std::string name(std::uint8_t vk) const override {
            if (vk == 0xBA) return "\xDC";  // U umlaut in the 8-bit code page
            if (vk == 0x14) return "Feststell";
            if (vk == 0x2E) return "Entf";
            return {};
        }
    } german;
    Shortcut s;
    ASSERT_TRUE(textToShortcut("Ctrl+feststell", s, german));
    EXPECT_EQ(s, key(0x14, false, true));
    EXPECT_EQ(shortcutToText(key(0xBA, false, false, true), german), "Alt+\xDC");
    EXPECT_EQ(shortcutToText(key(0x2E), german), "Del");
    EXPECT_FALSE(textToShortcut("Scroll Lock", s, german));
}

TEST(ShortcutValue, ModifierBitsForTheAtomAndForHotkeyRegistration) {
    EXPECT_EQ(shortcutValue(key('X', true, true, true)), 0xE058);
    EXPECT_EQ(shortcutValue(key(0x70, false, true)), 0x4070);
    EXPECT_EQ(hotKeyModifiers(key('B', true, false, true)), 5u);
    EXPECT_EQ(hotKeyModifiers(key('U', false, true)), 2u);
    EXPECT_EQ(hotKeyModifiers(key('U')), 0u);
}

}  // namespace
}  // namespace cindral::settings
