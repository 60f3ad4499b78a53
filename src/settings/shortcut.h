// Shortcut texts: the stored form of a hotkey, such as "Shift+Ctrl+Alt+X".
// A shortcut is a virtual-key code together with the modifier set
// {Shift, Ctrl, Alt}; virtual key 0 means "no shortcut".
#pragma once

#include <cstdint>
#include <string>

#include "platform/key_names.h"

namespace cindral::settings {

struct Shortcut {
    std::uint8_t virtualKey = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    friend bool operator==(const Shortcut& a, const Shortcut& b) {
        return a.virtualKey == b.virtualKey && a.shift == b.shift && a.ctrl == b.ctrl &&
               a.alt == b.alt;
    }
    friend bool operator!=(const Shortcut& a, const Shortcut& b) { return !(a == b); }
};

// Names of the keys that have no fixed name in shortcut texts: the
// keyboard layout's (platform/key_names.h).
using KeyNames = platform::KeyNames;

// The US names, for Linux and for tests: the program's own conversions take
// the layout's names (platform::createLayoutKeyNames).
const KeyNames& defaultKeyNames();

// The name a shortcut text uses for a key: the fixed names first, then the
// layout's name; empty when the key has no name. Numeric-pad digits are
// named like the main-row digits. A layout name that could not be read back
// as this key (one that is also a fixed name, such as a media key the layout
// calls "D", or one that begins like a modifier prefix) counts as no name.
std::string keyName(std::uint8_t virtualKey, const KeyNames& names = defaultKeyNames());

// "Shift+", "Ctrl+", "Alt+" in that order, each only if present, then the key
// name. A key without a name (virtual key 0 included) gives the empty text,
// which stands for "no hotkey".
std::string shortcutToText(const Shortcut& shortcut, const KeyNames& names = defaultKeyNames());

// Reads a shortcut text: the prefixes "Shift+", "Ctrl+", "^" (for Ctrl) and
// "Alt+" in any order and without regard to case, then the name of one key
// of virtual-key codes 0x08 to 0xFF, compared without regard to case; when
// two keys share a name the lower code wins, so a numeric-pad digit reads
// back as the main-row digit. A prefix given twice adds nothing ("Ctrl+Ctrl+X"
// is Ctrl+X). False, with the shortcut cleared, when the text is empty or
// does not name a key.
bool textToShortcut(const std::string& text, Shortcut& shortcut,
                    const KeyNames& names = defaultKeyNames());

// The shortcut as one 16-bit number: the virtual key, plus 0x2000 for Shift,
// 0x4000 for Ctrl and 0x8000 for Alt. Hotkey registration names its atom
// after it.
std::uint16_t shortcutValue(const Shortcut& shortcut);

// Modifier bits as RegisterHotKey takes them: Alt 1, Ctrl 2, Shift 4.
std::uint32_t hotKeyModifiers(const Shortcut& shortcut);

}  // namespace cindral::settings
