// What every cleaning routine works with: the platform services, the state of
// the run in progress, the view its lines go to and the settings it reads at
// the moment of use ("SecureErasing", "Passess", "MethodDestruction").
#pragma once

#include "engine/log_view.h"
#include "engine/run_state.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace cindral::engine {

struct EngineContext {
    platform::Platform& platform;
    RunState& run;
    LogView& view;
    const settings::SettingsStore& settings;
};

}  // namespace cindral::engine
