#include "shell/program.h"

#include <objbase.h>

#include <utility>

#include "app/startup.h"
#include "platform/native.h"
#include "platform/run_services.h"
#include "platform/session_end.h"
#include "shell/main_window.h"

namespace cindral::shell {

const char* const kMutexName = "tCindralMutex";

namespace {

// COM for the user-interface thread, for as long as the guard lives; the
// runs' threads take their own.
class ComApartment {
public:
    ComApartment() : result_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        // Only a call that succeeded (S_FALSE included) is to be balanced.
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

}  // namespace

bool ClaimSingleInstance(const settings::Settings& settings, Desktop& desktop,
                         OwnedKernelHandle& mutex) {
    if (OwnedKernelHandle(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName))) {
        desktop.message(nullptr, app::AlreadyRunningText(settings), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    OwnedKernelHandle created(CreateMutexA(nullptr, FALSE, kMutexName));
    const DWORD error = GetLastError();
    // Another instance won the race between the two calls, or holds the
    // mutex with rights this one lacks (it was started as administrator).
    if (created ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED) {
        desktop.message(nullptr, app::AlreadyRunningText(settings), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    mutex = std::move(created);
    return true;
}

int RunProgram(const std::vector<std::string>& params) {
    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform& platform = native->platform();
    settings::SettingsStore settings(*platform.registry);

    OwnedKernelHandle mutex;  // held until the program ends
    if (!ClaimSingleInstance(settings, systemDesktop(), mutex)) return 0;

    ComApartment com;
    auto services = platform::createNativeRunServices();
    auto sessionEnd = platform::createNativeSessionEnd();
    MainWindowSetup setup;
    setup.platform = &platform;
    setup.services = &services->services();
    setup.settings = &settings;
    setup.sessionEnd = sessionEnd.get();
    MainWindow main(setup);
    if (!main.create()) return 1;
    main.startup(params);
    return runMessageLoop(main);
}

}  // namespace cindral::shell
