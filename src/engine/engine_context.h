// What every cleaning routine works with: the platform services, the state of
// the run in progress, the view its lines go to and the settings it reads.
#pragma once

#include <cstdint>
#include <string>

#include "engine/log_view.h"
#include "engine/run_state.h"
#include "platform/platform.h"

namespace cindral::engine {

// The settings the engine reads at the moment of use ("SecureErasing",
// "Passess", "MethodDestruction"). The settings store satisfies it; tests
// hand in a map.
class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    virtual std::uint32_t readNumber(const std::string& name, std::uint32_t def) = 0;
};

struct EngineContext {
    platform::Platform& platform;
    RunState& run;
    LogView& view;
    SettingsReader& settings;
};

}  // namespace cindral::engine
