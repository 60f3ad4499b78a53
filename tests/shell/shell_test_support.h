// The real main window over a sandbox home, driven with messages.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/run_services.h"
#include "shell/desktop.h"
#include "shell/main_window.h"
#include "support/fixtures.h"

namespace cindral::shell::test {

// The first column of each row of a list view.
inline std::vector<std::string> rowsOf(HWND list) {
    std::vector<std::string> rows;
    char text[512];
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        ListView_GetItemText(list, i, 0, text, sizeof text);
        rows.emplace_back(text);
    }
    return rows;
}

// What a click on `button` tells its parent.
inline void press(HWND button) {
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// Records what the windows ask of the desktop; message boxes are answered
// with `answer`.
class RecordingDesktop : public Desktop {
public:
    struct Opened {
        std::string file, parameters;
    };
    std::vector<Opened> opened;
    std::vector<std::string> messages;
    int answer = IDNO;

    bool open(HWND, const std::string&, const std::string& file,
              const std::string& parameters) override {
        opened.push_back({file, parameters});
        return true;
    }
    int message(HWND, const std::string& text, UINT) override {
        messages.push_back(text);
        return answer;
    }
    // The folder picker answers with `folder`; empty: the user cancels.
    std::string folder;
    bool chooseFolder(HWND, const std::string&, std::string& chosen) override {
        if (folder.empty()) return false;
        chosen = folder;
        return true;
    }
};

// Holds the threads that enter it until released, or for 10 s at most, so
// that a window waiting for a held thread fails the test instead of hanging.
struct Latch {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> inside{0}, left{0};
    bool released = false;
    void hold() {
        std::unique_lock<std::mutex> lock(mutex);
        ++inside;
        changed.wait_for(lock, std::chrono::seconds(10), [this] { return released; });
        ++left;
    }
    void release() {
        std::lock_guard<std::mutex> lock(mutex);
        released = true;
        changed.notify_all();
    }
};

// Dispatches what is queued for the thread now, and what that queues in turn.
inline void pumpQueued() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Dispatches the thread's messages until `done` holds or the time is up.
inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        pumpQueued();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// The action a timer runs in a modal loop; true once it has run.
inline std::function<bool()>& timerAction() {
    static std::function<bool()> action;
    return action;
}
inline void CALLBACK runTimerAction(HWND, UINT, UINT_PTR timer, DWORD) {
    if (timerAction() && !timerAction()()) return;
    KillTimer(nullptr, timer);
    timerAction() = nullptr;
}

// Acts on the dialog of `className` as soon as it shows, from a timer met in
// its modal loop, as a user acts in a dialog the main window hosts. `act`
// must end the dialog, and so must not stop at a failed ASSERT.
template <class D>
void whenShown(const char* className, std::function<void(D&)> act) {
    timerAction() = [className, act = std::move(act)] {
        const HWND window = FindWindowA(className, nullptr);
        if (!window || !IsWindowVisible(window)) return false;
        auto* dialog = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (auto* d = dynamic_cast<D*>(dialog)) act(*d);
        return true;
    };
    SetTimer(nullptr, 0, 10, runTimerAction);
}

// Positions of built-in items the window tests select.
constexpr int kRecentDocuments = 8, kRunHistory = 9, kClipboard = 12;

class MainWindowTest : public cindral::test::HomeTest {
protected:
    void TearDown() override {
        timerAction() = nullptr;  // one a failed test left armed
        held.release();
        main.reset();
        pumpQueued();
    }
    // Creates the window and runs the start-up sequence.
    void start(const std::vector<std::string>& params = {});
    void click(app::Command command);
    bool idle() { return main->controller().activity() == app::Activity::Idle; }
    bool waitForIdle() {
        return pumpUntil([&] { return idle(); });
    }
    HWND button(app::Command command) { return main->control(app::commandInfo(command).id); }
    std::string text(int id) { return SkinnedWindow::textOf(main->control(id)); }

    std::unique_ptr<platform::NativeRunServices> services = platform::createNativeRunServices();
    RecordingDesktop desktop;
    platform::SessionEnd* sessionEnd = nullptr;  // set before start()
    Latch held;                                  // for a test that holds a run inside a call
    std::unique_ptr<MainWindow> main;
};

}  // namespace cindral::shell::test
