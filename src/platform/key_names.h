// The names a keyboard layout gives its keys, for the keys that shortcut
// texts do not name themselves (punctuation, numeric-pad operators, lock
// and Windows keys). On Windows they come from the user's layout, so a
// German or French user reads and stores the names printed on their own
// keys; on Linux, and wherever the layout has no name for a key, the names
// of a US layout stand in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace cindral::platform {

class KeyNames {
public:
    virtual ~KeyNames() = default;
    // The key's name, or the empty text when the key has none.
    virtual std::string name(std::uint8_t virtualKey) const = 0;
};

// The names of a US layout. The modifier keys have none: a shortcut on a
// bare modifier cannot be pressed as a hotkey.
const KeyNames& usKeyNames();

// Shift, Ctrl and Alt, either side.
bool isModifierKey(std::uint8_t virtualKey);

// Keys whose scan code carries the extended prefix (E0): the layout names
// them apart from the key that shares their scan code (numeric-pad "/" and
// the main-row "/", Print Screen and numeric-pad "*", the arrows and the
// numeric-pad digits).
bool isExtendedKey(std::uint8_t virtualKey);

// The names of the layout the calling thread uses at the moment of each
// call; the US names where the layout gives none.
std::unique_ptr<KeyNames> createLayoutKeyNames();

}  // namespace cindral::platform
