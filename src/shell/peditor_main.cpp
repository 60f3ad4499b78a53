// peditor.exe: the plug-in editor the main window launches, without
// parameters. It finds the program's folders through the "HomeFolder" and
// "PluginFolder" values start-up writes, read without creating the key.
#include <windows.h>

#include <string>
#include <utility>

#include "app/plugin_editor.h"
#include "platform/native.h"
#include "settings/settings_store.h"
#include "shell/plugin_editor_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace cindral;
    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform& platform = native->platform();
    const settings::SettingsStore settings =
        settings::SettingsStore::openForReading(*platform.registry);
    app::PluginEditorFolders folders =
        app::FindPluginEditorFolders(settings, platform.system->executablePath());
    const std::string home = folders.home;
    shell::PluginEditorWindow window(
        shell::DialogContext{shell::systemDesktop(), *platform.files, home}, platform,
        std::move(folders));
    window.run(nullptr, [](int w, int h) {
        return app::Point{(GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                          (GetSystemMetrics(SM_CYSCREEN) - h) / 2};
    });
    return 0;
}
