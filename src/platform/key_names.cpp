#include "platform/key_names.h"

namespace cindral::platform {

namespace {

struct UsName {
    std::uint8_t virtualKey;
    const char* name;
};

constexpr UsName kUsNames[] = {
    {0x13, "Pause"},
    {0x14, "Caps Lock"},
    {0x2C, "Prnt Scrn"},
    {0x5B, "Left Windows"},
    {0x5C, "Right Windows"},
    {0x5D, "Application"},
    {0x6A, "Num *"},
    {0x6B, "Num +"},
    {0x6D, "Num -"},
    {0x6E, "Num Del"},
    {0x6F, "Num /"},
    {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},
    {0xBA, ";"},
    {0xBB, "="},
    {0xBC, ","},
    {0xBD, "-"},
    {0xBE, "."},
    {0xBF, "/"},
    {0xC0, "`"},
    {0xDB, "["},
    {0xDC, "\\"},
    {0xDD, "]"},
    {0xDE, "'"},
};

class UsKeyNames : public KeyNames {
public:
    std::string name(std::uint8_t virtualKey) const override {
        for (const auto& entry : kUsNames)
            if (entry.virtualKey == virtualKey) return entry.name;
        return {};
    }
};

}  // namespace

const KeyNames& usKeyNames() {
    static const UsKeyNames names;
    return names;
}

bool isModifierKey(std::uint8_t vk) {
    return (vk >= 0x10 && vk <= 0x12) || (vk >= 0xA0 && vk <= 0xA5);
}

bool isExtendedKey(std::uint8_t vk) {
    switch (vk) {
        case 0x2C:  // Print Screen
        case 0x2D:  // Insert
        case 0x2E:  // Delete
        case 0x5B:  // Windows keys and Application
        case 0x5C:
        case 0x5D:
        case 0x6F:  // numeric-pad "/"
        case 0x90:  // Num Lock
            return true;
        default:
            // Page Up to Down, and the browser, volume, media and launch keys.
            return (vk >= 0x21 && vk <= 0x28) || (vk >= 0xA6 && vk <= 0xB7);
    }
}

}  // namespace cindral::platform
