// The real main window over a sandbox home, driven with messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/run_services.h"
#include "platform/system.h"
#include "settings/settings_store.h"
#include "shell/desktop.h"
#include "shell/main_window.h"
#include "support/sandbox.h"

namespace cindral::shell::test {

// Records what the windows ask of the desktop; message boxes are answered
// with `answer`.
class RecordingDesktop : public Desktop {
public:
    struct Opened {
        std::string verb, file, parameters;
    };
    std::vector<Opened> opened;
    std::vector<std::string> messages;
    std::vector<UINT> messageFlags;
    int answer = IDNO;

    bool open(HWND, const std::string& verb, const std::string& file,
              const std::string& parameters) override {
        opened.push_back({verb, file, parameters});
        return true;
    }
    int message(HWND, const std::string& text, UINT flags) override {
        messages.push_back(text);
        messageFlags.push_back(flags);
        return answer;
    }
};

// The system of the sandbox, except that the program lives in its root.
class HomeSystem : public platform::System {
public:
    HomeSystem(platform::System& real, std::string exe) : real_(real), exe_(std::move(exe)) {}
    platform::SystemTime localTime() override { return real_.localTime(); }
    platform::SystemVersion version() override { return real_.version(); }
    std::string executablePath() override { return exe_; }
    std::string upperCase(const std::string& t) override { return real_.upperCase(t); }
    std::string lowerCase(const std::string& t) override { return real_.lowerCase(t); }
    int compareNoCase(const std::string& a, const std::string& b) override {
        return real_.compareNoCase(a, b);
    }
    std::string decimalSeparator() override { return real_.decimalSeparator(); }

private:
    platform::System& real_;
    std::string exe_;
};

// Dispatches the thread's messages until `done` holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

inline void pumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window and runs the start-up sequence.
    void start(const std::vector<std::string>& params = {});
    // Selects exactly these built-in items (by name) before start-up.
    void selectOnly(const std::vector<std::string>& names);
    void click(app::Command command);
    HWND button(app::Command command) { return main->control(app::commandInfo(command).id); }
    std::vector<std::string> logLines();
    std::string home() const { return sandbox.root(); }
    RECT childRect(HWND child);

    cindral::test::Sandbox sandbox;
    std::unique_ptr<HomeSystem> system;
    platform::Platform platform;
    std::unique_ptr<settings::SettingsStore> settingsStore;
    std::unique_ptr<platform::NativeRunServices> services;
    RecordingDesktop desktop;
    std::unique_ptr<MainWindow> main;
};

}  // namespace cindral::shell::test
