#include "settings/shortcut.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace cindral::settings {
namespace {

Shortcut key(std::uint8_t vk, bool shift = false, bool ctrl = false, bool alt = false) {
    return Shortcut{vk, shift, ctrl, alt};
}

struct Case {
    Shortcut shortcut;
    std::string text;
};

TEST(ShortcutToText, ModifiersInFixedOrderThenTheKeyName) {
    const std::vector<Case> cases = {
        {key('X', 1, 1, 1), "Shift+Ctrl+Alt+X"},
        {key('9', 0, 0, 1), "Alt+9"},
        {key(0x2E), "Del"},
        {key(0x87), "F24"},
        {key(0x60, 0, 1), "Ctrl+0"},
        {key(0x6B), "Num +"},
        // No name, no shortcut: below the key range, a bare modifier.
        {key(0x07, 1, 1, 1), ""},
        {key(0x10, 0, 1), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(shortcutToText(c.shortcut), c.text) << c.text;
}

TEST(TextToShortcut, EveryNamedKeyWithEveryModifierSetRoundTrips) {
    for (unsigned vk = 0x08; vk <= 0xFF; ++vk) {
        for (int mods = 0; mods < 8; ++mods) {
            const Shortcut s = key(std::uint8_t(vk), mods & 1, mods & 2, mods & 4);
            const std::string text = shortcutToText(s);
            if (text.empty()) continue;
            Shortcut back, expected = s;
            // A numeric-pad digit shares its name with the main-row digit.
            if (vk >= 0x60 && vk <= 0x69) expected.virtualKey = std::uint8_t('0' + vk - 0x60);
            EXPECT_TRUE(textToShortcut(text, back) && back == expected) << text;
        }
    }
}

TEST(TextToShortcut, PrefixesInAnyOrderAndCaseWithCaretForCtrl) {
    const std::vector<Case> cases = {
        {key(0x22, 1, 1, 1), "ctrl+ALT+shift+pgdn"},
        {key(0x2E, 1, 1), "Shift+^Del"},
        // The modifiers form a set: a doubled prefix in a hand-edited value
        // still names the hotkey instead of silently registering none.
        {key('X', 0, 1), "^Ctrl+X"},
    };
    for (const auto& c : cases) {
        Shortcut s = key(0x55);
        EXPECT_TRUE(textToShortcut(c.text, s) && s == c.shortcut) << c.text;
    }
}

TEST(TextToShortcut, TextNamingNoKeyIsRejectedAndClearsTheShortcut) {
    for (const std::string& text :
         std::vector<std::string>{"", "Ctrl+Alt+", "Ctrl+XY", "F25", std::string("^X\0", 3)}) {
        Shortcut s = key(0x55, 1, 1, 1);
        EXPECT_TRUE(!textToShortcut(text, s) && s == Shortcut{}) << text;
    }
}

// A layout that names the keys of the table.
class FakeLayout : public KeyNames {
public:
    std::map<std::uint8_t, std::string> names;
    std::string name(std::uint8_t vk) const override {
        auto it = names.find(vk);
        return it == names.end() ? std::string() : it->second;
    }
};

TEST(KeyNames, TheLayoutNamesItsOwnKeysAndTheyReadBack) {
    // German names as Windows gives them, and two no text could read back:
    // a media key named like a letter, a key named like a prefix.
    FakeLayout de;
    de.names = {{0xBA, "\xDC"}, {0xBB, "+"}, {0xAD, "D"}, {0xDE, "^"}};
    const std::vector<Case> cases = {
        {key(0xBA, 0, 1, 1), "Ctrl+Alt+\xDC"},
        {key(0xBB, 0, 1), "Ctrl++"},
        {key(0xAD, 0, 1), ""},
        {key(0xDE, 0, 1), ""},
        {key(0xBC, 0, 1), ""},  // no US fallback here: the backend supplies it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortcutToText(c.shortcut, de), c.text) << c.text;
        Shortcut back;
        if (c.text.empty()) continue;
        EXPECT_TRUE(textToShortcut(c.text, back, de) && back == c.shortcut) << c.text;
    }
    Shortcut s;
    EXPECT_TRUE(textToShortcut("Ctrl+D", s, de) && s == key('D', 0, 1));
}

TEST(KeyNames, TheLayoutOfThisSystemTellsKeysThatShareAScanCodeApart) {
    const auto layout = platform::createLayoutKeyNames();
    // Print Screen and numeric-pad "*", numeric-pad "/" and "/", Num Lock
    // and Pause: only the extended bit tells them apart.
    for (const auto& [a, b] : {std::pair<int, int>{0x2C, 0x6A}, {0x6F, 0xBF}, {0x90, 0x13}}) {
        for (const int vk : {a, b}) {
            const Shortcut s = key(std::uint8_t(vk), 0, 1, 1);
            Shortcut back;
            EXPECT_TRUE(textToShortcut(shortcutToText(s, *layout), back, *layout) && back == s)
                << shortcutToText(s, *layout);
        }
    }
}

TEST(ShortcutValue, ModifierBitsForHotkeyRegistration) {
    EXPECT_EQ(hotKeyModifiers(key('B', 1, 0, 1)), 5u);  // RegisterHotKey: Alt 1, Ctrl 2, Shift 4
    EXPECT_EQ(hotKeyModifiers(key('U', 0, 1)), 2u);
}

}  // namespace
}  // namespace cindral::settings
