// The program entry: one instance per session, the main window and the
// result window, the start-up sequence and the message loop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "shell/desktop.h"
#include "shell/owned_handle.h"

namespace cindral::shell {

extern const char* const kMutexName;  // "tCindralMutex"

// Takes the single-instance mutex. When another instance holds it, shows
// the "already running" message with the stored invisible-mode hotkey and
// returns false. On success `mutex` holds the mutex; the claim lasts as
// long as it does.
bool ClaimSingleInstance(const settings::Settings& settings, Desktop& desktop,
                         OwnedKernelHandle& mutex);

// Everything from the settings key to the end of the message loop.
int RunProgram(const std::vector<std::string>& params);

}  // namespace cindral::shell
