// The hotkey manager (HotKeyManager1): system-wide hotkeys registered on a
// hidden window of its own. Each hotkey's identifier is a global atom named
// "HotKeyManagerHotKey" followed by the shortcut's value in decimal. A
// combination that cannot be registered (another program holds it, or it
// is given twice) gets identifier 0 and nothing is said; pressing it then
// does nothing here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/main_controller.h"
#include "settings/shortcut.h"
#include "shell/window.h"

namespace cindral::shell {

class HotKeyManager : public Window, public app::HotkeyRegistrar {
public:
    // Shortcut texts are read with the names of `keyNames`.
    explicit HotKeyManager(const settings::KeyNames& keyNames = settings::defaultKeyNames())
        : keyNames_(keyNames) {}
    // Every hotkey is released with the manager.
    ~HotKeyManager() override;

    // Makes the hidden window that receives the hotkey messages.
    bool create();

    // On the window's thread, for a press of a registered hotkey, with its
    // identifier.
    std::function<void(int id)> onPressed;

    // app::HotkeyRegistrar
    // Releases every hotkey and its atom, the last registered first.
    void unregisterAll() override;
    int registerShortcut(const std::string& shortcutText) override;

    std::size_t count() const { return registrations_.size(); }

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    struct Registration {
        settings::Shortcut shortcut;
        ATOM id;
    };

    const settings::KeyNames& keyNames_;
    std::vector<Registration> registrations_;
};

}  // namespace cindral::shell
