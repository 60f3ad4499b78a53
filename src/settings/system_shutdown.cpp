#include "settings/system_shutdown.h"

#include <cstdint>

namespace cindral::settings {

bool SystemShutdown(platform::SessionEnd& session, const platform::SystemVersion& version,
                    const std::string& machine, bool force, bool restart) {
    if (version.platformId != platform::kPlatformNt) {
        if (!machine.empty()) return false;
        std::uint32_t flags = platform::kExitShutdown;
        if (restart) flags |= platform::kExitReboot;
        if (force) flags |= platform::kExitForce;
        return session.exitWindows(flags);
    }
    if (!session.enablePrivilege(machine, "SeShutdownPrivilege")) return false;
    if (!session.enablePrivilege(machine, "SeRemoteShutdownPrivilege")) return false;
    return session.initiateShutdown(machine, force, restart);
}

}  // namespace cindral::settings
