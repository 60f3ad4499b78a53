// What every cleaning routine works with: the platform services, the state of
// the run in progress, the view its lines go to and the secure-wipe settings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/log_view.h"
#include "engine/run_state.h"
#include "platform/platform.h"

namespace cindral::engine {

// The settings that decide how a clean run removes a file.
struct WipeSettings {
    bool secureErasing = false;   // "SecureErasing": wipe instead of a plain deletion
    std::uint32_t passIndex = 0;  // "Passess": the number of passes minus one
    std::uint32_t method = 1;     // "MethodDestruction" (kWipeZero ...)
};

struct EngineContext {
    platform::Platform& platform;
    RunState& run;
    LogView& view;
    // Asked anew for every file a clean run removes, as the user may change
    // the settings while a run goes on. Empty: plain deletion.
    std::function<WipeSettings()> wipeSettings;
    // Told of every file a clean run leaves behind (its " <USED>" line), with
    // the system's reason (empty when none is known). Optional.
    std::function<void(const std::string& path, const std::string& reason)> notRemoved = {};
};

}  // namespace cindral::engine
