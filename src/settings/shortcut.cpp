#include "settings/shortcut.h"

#include <cstddef>

#include "platform/ascii_case.h"

namespace cindral::settings {

namespace {

constexpr std::uint8_t kFirstKey = 0x08;

// The keys whose names shortcut texts fix, independent of the layout.
struct FixedName {
    std::uint8_t virtualKey;
    const char* name;
};
constexpr FixedName kFixedNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"},
};

using platform::asciiLower;

bool equalNoCase(const std::string& a, std::size_t from, const std::string& b) {
    if (a.size() - from != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (asciiLower(a[from + i]) != asciiLower(b[i])) return false;
    return true;
}

bool startsWithNoCase(const std::string& text, std::size_t from, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (from + i >= text.size() || asciiLower(text[from + i]) != asciiLower(prefix[i]))
            return false;
    }
    return true;
}

// Strips the modifier prefixes at the front of the text into the shortcut;
// returns where the key name starts.
std::size_t readPrefixes(const std::string& text, Shortcut& shortcut) {
    std::size_t pos = 0;
    for (;;) {
        if (startsWithNoCase(text, pos, "Shift+")) {
            shortcut.shift = true;
            pos += 6;
        } else if (startsWithNoCase(text, pos, "Ctrl+")) {
            shortcut.ctrl = true;
            pos += 5;
        } else if (startsWithNoCase(text, pos, "^")) {
            shortcut.ctrl = true;
            pos += 1;
        } else if (startsWithNoCase(text, pos, "Alt+")) {
            shortcut.alt = true;
            pos += 4;
        } else {
            return pos;
        }
    }
}

// The names shortcut texts give keys whatever the layout; empty for the rest.
std::string fixedName(std::uint8_t vk) {
    if (vk >= 'A' && vk <= 'Z') return std::string(1, char(vk));
    if (vk >= '0' && vk <= '9') return std::string(1, char(vk));
    if (vk >= 0x60 && vk <= 0x69) return std::string(1, char('0' + (vk - 0x60)));
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
    for (const auto& entry : kFixedNames)
        if (entry.virtualKey == vk) return entry.name;
    return {};
}

bool isFixedName(const std::string& name) {
    if (name.size() == 1) {
        const char c = asciiLower(name[0]);
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    }
    for (int n = 1; n <= 24; ++n)
        if (equalNoCase(name, 0, "F" + std::to_string(n))) return true;
    for (const auto& entry : kFixedNames)
        if (equalNoCase(name, 0, entry.name)) return true;
    return false;
}

}  // namespace

const KeyNames& defaultKeyNames() { return platform::usKeyNames(); }

std::string keyName(std::uint8_t vk, const KeyNames& names) {
    std::string name = fixedName(vk);
    if (!name.empty() || vk < kFirstKey) return name;
    name = names.name(vk);
    Shortcut ignored;
    if (isFixedName(name) || readPrefixes(name, ignored) != 0) return {};
    return name;
}

std::string shortcutToText(const Shortcut& shortcut, const KeyNames& names) {
    const std::string name = keyName(shortcut.virtualKey, names);
    if (name.empty()) return {};
    std::string text;
    if (shortcut.shift) text += "Shift+";
    if (shortcut.ctrl) text += "Ctrl+";
    if (shortcut.alt) text += "Alt+";
    return text + name;
}

bool textToShortcut(const std::string& text, Shortcut& shortcut, const KeyNames& names) {
    shortcut = Shortcut{};
    Shortcut parsed;
    const std::size_t keyStart = readPrefixes(text, parsed);
    if (keyStart >= text.size()) return false;
    for (unsigned vk = kFirstKey; vk <= 0xFF; ++vk) {
        const std::string name = keyName(std::uint8_t(vk), names);
        if (!name.empty() && equalNoCase(text, keyStart, name)) {
            parsed.virtualKey = std::uint8_t(vk);
            shortcut = parsed;
            return true;
        }
    }
    return false;
}

std::uint16_t shortcutValue(const Shortcut& shortcut) {
    std::uint16_t value = shortcut.virtualKey;
    if (shortcut.shift) value |= 0x2000;
    if (shortcut.ctrl) value |= 0x4000;
    if (shortcut.alt) value |= 0x8000;
    return value;
}

std::uint32_t hotKeyModifiers(const Shortcut& shortcut) {
    return (shortcut.alt ? 1u : 0u) | (shortcut.ctrl ? 2u : 0u) | (shortcut.shift ? 4u : 0u);
}

}  // namespace cindral::settings
