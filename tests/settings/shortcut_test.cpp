#include "settings/shortcut.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

Shortcut parse(const std::string& text) {
    Shortcut s = key(0x55, true, true, true);  // sentinel: must be overwritten
    EXPECT_TRUE(textToShortcut(text, s)) << text;
    return s;
}

bool rejects(const std::string& text) {
    Shortcut s = key(0x55, true, true, true);
    const bool ok = textToShortcut(text, s);
    return !ok && s == Shortcut{};
}

// The layout-independent names, by virtual key.
const std::map<std::uint8_t, std::string> kNamedKeys = {
    {0x08, "BkSp"},  {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"},  {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},    {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

TEST(ShortcutToText, PrefixesComeInFixedOrder) {
    EXPECT_EQ(shortcutToText(key('X', true, true, true)), "Shift+Ctrl+Alt+X");
    EXPECT_EQ(shortcutToText(key('U', true, true, false)), "Shift+Ctrl+U");
    EXPECT_EQ(shortcutToText(key('B', true, false, true)), "Shift+Alt+B");
    EXPECT_EQ(shortcutToText(key('U', false, true, false)), "Ctrl+U");
    EXPECT_EQ(shortcutToText(key('K', false, false, true)), "Alt+K");
    EXPECT_EQ(shortcutToText(key('Q')), "Q");
}

TEST(ShortcutToText, KeyNames) {
    for (const auto& [vk, name] : kNamedKeys) EXPECT_EQ(shortcutToText(key(vk)), name);
    EXPECT_EQ(shortcutToText(key(0x70)), "F1");
    EXPECT_EQ(shortcutToText(key(0x7B, false, true)), "Ctrl+F12");
    EXPECT_EQ(shortcutToText(key(0x87)), "F24");
    EXPECT_EQ(shortcutToText(key('0')), "0");
    EXPECT_EQ(shortcutToText(key('9', false, false, true)), "Alt+9");
    EXPECT_EQ(shortcutToText(key(0xBC, false, true)), "Ctrl+,");
}

TEST(ShortcutToText, NumericPadDigitsAreWrittenLikeMainRowDigits) {
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(shortcutToText(key(std::uint8_t(0x60 + d), false, true)),
                  "Ctrl+" + std::to_string(d));
}

TEST(ShortcutToText, KeyWithoutNameGivesNoShortcut) {
    EXPECT_EQ(shortcutToText(key(0, true, true, true)), "");
    EXPECT_EQ(shortcutToText(key(0x07, false, true)), "");  // below the key range
    EXPECT_EQ(shortcutToText(key(0x10, false, true)), "");  // the Shift key itself
    EXPECT_EQ(shortcutToText(key(0xFF)), "");
}

TEST(TextToShortcut, EveryNamedKeyRoundTrips) {
    for (unsigned vk = 0x08; vk <= 0xFF; ++vk) {
        const bool numericPadDigit = vk >= 0x60 && vk <= 0x69;
        for (int mods = 0; mods < 8; ++mods) {
            const Shortcut s = key(std::uint8_t(vk), mods & 1, mods & 2, mods & 4);
            const std::string text = shortcutToText(s);
            if (text.empty()) continue;
            Shortcut back;
            ASSERT_TRUE(textToShortcut(text, back)) << text;
            Shortcut expected = s;
            if (numericPadDigit) expected.virtualKey = std::uint8_t('0' + vk - 0x60);
            EXPECT_EQ(back, expected) << "vk " << vk << " text " << text;
        }
    }
}

TEST(TextToShortcut, FixedNamesAllRead) {
    for (const auto& [vk, name] : kNamedKeys) EXPECT_EQ(parse(name), key(vk)) << name;
    for (int f = 1; f <= 24; ++f)
        EXPECT_EQ(parse("F" + std::to_string(f)), key(std::uint8_t(0x6F + f)));
    for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(parse(std::string(1, c)), key(std::uint8_t(c)));
    for (char c = '0'; c <= '9'; ++c) EXPECT_EQ(parse(std::string(1, c)), key(std::uint8_t(c)));
}

TEST(TextToShortcut, PrefixesInAnyOrderAndCase) {
    const Shortcut all = key('X', true, true, true);
    EXPECT_EQ(parse("Shift+Ctrl+Alt+X"), all);
    EXPECT_EQ(parse("Alt+Shift+Ctrl+X"), all);
    EXPECT_EQ(parse("ctrl+ALT+shift+x"), all);
    EXPECT_EQ(parse("Ctrl+Shift+U"), key('U', true, true));
    EXPECT_EQ(parse("aLt+pgdn"), key(0x22, false, false, true));
    EXPECT_EQ(parse("sHiFt+f10"), key(0x79, true));
}

TEST(TextToShortcut, CaretStandsForCtrl) {
    EXPECT_EQ(parse("^X"), key('X', false, true));
    EXPECT_EQ(parse("Shift+^Del"), key(0x2E, true, true));
    EXPECT_EQ(parse("^Alt+Tab"), key(0x09, false, true, true));
}

TEST(TextToShortcut, RepeatedPrefixAddsNothing) {
    // The modifiers form a set; a doubled prefix in a hand-edited value still
    // names the same hotkey instead of silently registering none.
    EXPECT_EQ(parse("Ctrl+Ctrl+X"), key('X', false, true));
    EXPECT_EQ(parse("^Ctrl+X"), key('X', false, true));
    EXPECT_EQ(shortcutToText(parse("Alt+alt+Shift+Q")), "Shift+Alt+Q");
}

TEST(TextToShortcut, NumericPadDigitReadsBackAsMainRowDigit) {
    const Shortcut pad = key(0x65, false, true);  // numeric-pad 5
    EXPECT_EQ(parse(shortcutToText(pad)), key('5', false, true));
}

TEST(TextToShortcut, LayoutNamesRead) {
    EXPECT_EQ(parse("Ctrl+Num +"), key(0x6B, false, true));
    EXPECT_EQ(parse("ctrl+num del"), key(0x6E, false, true));
    EXPECT_EQ(parse("Alt+Scroll Lock"), key(0x91, false, false, true));
    EXPECT_EQ(parse("Ctrl+-"), key(0xBD, false, true));
}

TEST(TextToShortcut, WhatIsNotAShortcut) {
    EXPECT_TRUE(rejects(""));
    EXPECT_TRUE(rejects("Shift+"));
    EXPECT_TRUE(rejects("Ctrl+Alt+"));
    EXPECT_TRUE(rejects("^"));
    EXPECT_TRUE(rejects("Ctrl"));          // a modifier without its "+" is no key
    EXPECT_TRUE(rejects("Ctrl+Shift"));
    EXPECT_TRUE(rejects("Ctrl+XY"));
    EXPECT_TRUE(rejects("Ctrl+ X"));       // no trimming
    EXPECT_TRUE(rejects("X+Ctrl"));
    EXPECT_TRUE(rejects("Ctrl-X"));
    EXPECT_TRUE(rejects("F0"));
    EXPECT_TRUE(rejects("F25"));
    EXPECT_TRUE(rejects("Delete"));
    EXPECT_TRUE(rejects("Control+X"));
    EXPECT_TRUE(rejects(std::string("Ctrl+X\0", 7)));
    EXPECT_TRUE(rejects("\xC4"));
}

TEST(TextToShortcut, UsesTheLayoutNamesGiven) {
    struct GermanNames : KeyNames {
        std::string name(std::uint8_t vk) const override {
            if (vk == 0xBA) return "\xDC";  // U umlaut in the 8-bit code page
            if (vk == 0x14) return "Feststell";
            return {};
        }
    } german;
    Shortcut s;
    ASSERT_TRUE(textToShortcut("Ctrl+Feststell", s, german));
    EXPECT_EQ(s, key(0x14, false, true));
    EXPECT_EQ(shortcutToText(key(0xBA, false, false, true), german), "Alt+\xDC");
    // The fixed names stay whatever the layout says.
    EXPECT_EQ(shortcutToText(key(0x2E), german), "Del");
    EXPECT_FALSE(textToShortcut("Caps Lock", s, german));
}

TEST(ShortcutValue, ModifiersAsHighBits) {
    EXPECT_EQ(shortcutValue(key('X', true, true, true)), 0xE058);
    EXPECT_EQ(shortcutValue(key('U', false, true)), 0x4055);
    EXPECT_EQ(shortcutValue(key(0x70)), 0x0070);
    EXPECT_EQ(hotKeyModifiers(key('B', true, false, true)), 5u);
    EXPECT_EQ(hotKeyModifiers(key('U', false, true)), 2u);
    EXPECT_EQ(hotKeyModifiers(key('U')), 0u);
}

}  // namespace
}  // namespace cindral::settings
