#include "shell/hotkey_manager.h"

namespace cindral::shell {

HotKeyManager::~HotKeyManager() { unregisterAll(); }

bool HotKeyManager::create() {
    return createWindow("TCindralHotKeyManager", "", WS_POPUP, 0, 0, 0, 0, 0, nullptr);
}

int HotKeyManager::registerShortcut(const std::string& shortcutText) {
    settings::Shortcut shortcut;
    if (!hwnd_ || !settings::textToShortcut(shortcutText, shortcut, keyNames_)) return 0;
    const std::string name =
        "HotKeyManagerHotKey" + std::to_string(settings::shortcutValue(shortcut));
    const ATOM id = GlobalAddAtomA(name.c_str());
    if (id == 0) return 0;
    if (!RegisterHotKey(hwnd_, id, settings::hotKeyModifiers(shortcut), shortcut.virtualKey)) {
        GlobalDeleteAtom(id);
        return 0;
    }
    registrations_.push_back({shortcut, id});
    return id;
}

void HotKeyManager::unregisterAll() {
    while (!registrations_.empty()) {
        const ATOM id = registrations_.back().id;
        if (hwnd_) UnregisterHotKey(hwnd_, id);
        GlobalDeleteAtom(id);
        registrations_.pop_back();
    }
}

LRESULT HotKeyManager::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_HOTKEY) return Window::handle(msg, wParam, lParam);
    // Only a press of a combination this manager registered is passed on.
    settings::Shortcut pressed;
    pressed.virtualKey = static_cast<std::uint8_t>(HIWORD(lParam));
    pressed.alt = (LOWORD(lParam) & MOD_ALT) != 0;
    pressed.ctrl = (LOWORD(lParam) & MOD_CONTROL) != 0;
    pressed.shift = (LOWORD(lParam) & MOD_SHIFT) != 0;
    for (const Registration& r : registrations_) {
        if (r.shortcut == pressed) {
            if (onPressed) onPressed(static_cast<int>(wParam));
            break;
        }
    }
    return 0;
}

}  // namespace cindral::shell
