#include "shell/program.h"

#include <objbase.h>

#include "app/startup.h"
#include "platform/native.h"
#include "platform/run_services.h"
#include "shell/main_window.h"

namespace cindral::shell {

const char* const kMutexName = "tCindralMutex";

bool ClaimSingleInstance(const settings::Settings& settings, Desktop& desktop, HANDLE& mutex) {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName);
    if (existing) {
        CloseHandle(existing);
        desktop.message(nullptr, app::AlreadyRunningText(settings), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another instance won the race between the two calls.
        CloseHandle(mutex);
        mutex = nullptr;
        desktop.message(nullptr, app::AlreadyRunningText(settings), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

int RunProgram(const std::vector<std::string>& params) {
    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform& platform = native->platform();
    settings::SettingsStore settings(*platform.registry);

    HANDLE mutex = nullptr;
    if (!ClaimSingleInstance(settings, systemDesktop(), mutex)) return 0;

    CoInitialize(nullptr);
    auto services = platform::createNativeRunServices();
    int code = 0;
    {
        MainWindowSetup setup;
        setup.platform = &platform;
        setup.services = &services->services();
        setup.settings = &settings;
        MainWindow main(setup);
        if (!main.create()) return 1;
        main.startup(params);
        code = runMessageLoop(main);
    }
    CoUninitialize();
    // The mutex goes with the process.
    (void)mutex;
    return code;
}

}  // namespace cindral::shell
