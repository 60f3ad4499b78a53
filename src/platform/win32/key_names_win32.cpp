// Key names from the keyboard layout of the calling thread.
#include <windows.h>

#include "platform/key_names.h"

namespace cindral::platform {

namespace {

class LayoutKeyNames : public KeyNames {
public:
    std::string name(std::uint8_t virtualKey) const override {
        if (isModifierKey(virtualKey)) return {};
        const std::string own = layoutName(virtualKey);
        return own.empty() ? usKeyNames().name(virtualKey) : own;
    }

private:
    static std::string layoutName(std::uint8_t virtualKey) {
        const UINT scanCode = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */) & 0xFF;
        if (scanCode == 0) return {};
        // Bit 24 asks for the extended key: without it Print Screen would
        // be named like numeric-pad "*" and numeric-pad "/" like the
        // main-row "/".
        LONG keyData = static_cast<LONG>(scanCode << 16);
        if (isExtendedKey(virtualKey)) keyData |= 1L << 24;
        char buffer[64] = "";
        const int length = GetKeyNameTextA(keyData, buffer, sizeof buffer);
        return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
    }
};

}  // namespace

std::unique_ptr<KeyNames> createLayoutKeyNames() { return std::make_unique<LayoutKeyNames>(); }

}  // namespace cindral::platform
