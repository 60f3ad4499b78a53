// A Test Mode run in the real main window, timed, while another thread
// checks that the window keeps answering: every 20 ms it sends WM_NULL with
// SendMessageTimeout and records the longest wait.
//
// usage: window_bench.exe HOME\   (HOME holds Data\SelItems.dat and the
// custom lists of the run; nothing else is read)
// Prints: "window_run_seconds S" and "window_max_answer_ms M".
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/native.h"
#include "platform/run_services.h"
#include "settings/settings_store.h"
#include "shell/main_window.h"
#include "support/fake_system.h"
#include "window_support.h"

namespace {

using namespace cindral;
using bench::SilentDesktop;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_bench.exe HOME\\\n");
        return 2;
    }
    std::string home = argv[1];
    if (home.back() != '\\') home += '\\';

    auto native = platform::createNativePlatform(platform::NativeOptions{});
    platform::Platform platform = native->platform();
    test::FakeSystem system(*platform.system);
    system.exePath = home + "cindral.exe";
    platform.system = &system;
    settings::SettingsStore store(*platform.registry, "Software\\Quorvane\\CindralBench\\");
    store.write(settings::kResultWindow, 0);
    store.write(settings::kStoreLog, 0);
    auto services = platform::createNativeRunServices();
    SilentDesktop desktop;

    shell::MainWindowSetup setup;
    setup.platform = &platform;
    setup.services = &services->services();
    setup.settings = &store;
    setup.desktop = &desktop;
    setup.quitOnDestroy = false;
    shell::MainWindow window(setup);
    if (!window.create()) return 1;
    // CINDRAL_BENCH_HIDDEN: the run in a window that is never shown (nothing
    // painted), to tell the painting's share from the hand-over's.
    const bool hidden = std::getenv("CINDRAL_BENCH_HIDDEN") != nullptr;
    window.startup(hidden ? std::vector<std::string>{"-m"} : std::vector<std::string>{});

    if (argc > 2) {
        // Lines only: N lines added on the window's thread, then shown.
        const int n = std::atoi(argv[2]);
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < n; ++i) {
            window.runView().addLine(
                "Test Mode: Removing File: C:\\cindral-bench\\tree\\dir000\\Sub000\\f" +
                std::to_string(i) + ".tmp");
            if (i % (argc > 3 ? std::atoi(argv[3]) : 1000) == 0) {
                MSG m;
                while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            }
        }
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        std::printf("lines_seconds %.3f for %d lines\n",
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
                    n);
        return 0;
    }

    std::atomic<bool> done{false};
    std::atomic<long> worstMs{0};
    std::atomic<long> worstAtMs{0};  // when it began, from the run's start
    const auto start = std::chrono::steady_clock::now();
    std::atomic<bool> watcherEnded{false};
    HWND hwnd = window.hwnd();
    std::thread watcher([&] {
        while (!done.load()) {
            const auto t0 = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            const long ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - t0)
                                                  .count());
            if (ms > worstMs.load()) {
                worstMs.store(ms);
                worstAtMs.store(static_cast<long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(t0 - start).count()));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        watcherEnded.store(true);
    });

    window.command(app::commandInfo(app::Command::TestMode).id);
    MSG msg;
    while (window.controller().activity() != app::Activity::Idle &&
           GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    done.store(true);
    // Keep answering until the watcher has seen its last reply.
    while (!watcherEnded.load()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    watcher.join();
    std::printf("window_run_seconds %.3f\n", seconds);
    std::printf("window_max_answer_ms %ld (at %.1f s)\n", worstMs.load(),
                worstAtMs.load() / 1000.0);
    std::printf("log_lines %zu\n", window.logBook().viewLineCount());
    return 0;
}
