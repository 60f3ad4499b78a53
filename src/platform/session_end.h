// Ending the Windows session: the calls a safe shutdown or restart makes.
// The order of the calls and what their results decide is portable logic
// (settings/system_shutdown.h); tests hand it a fake that records them, so
// no test ever ends a real session.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace cindral::platform {

// ExitWindowsEx flags.
constexpr std::uint32_t kExitShutdown = 1;  // EWX_SHUTDOWN
constexpr std::uint32_t kExitReboot = 2;    // EWX_REBOOT
constexpr std::uint32_t kExitForce = 4;     // EWX_FORCE

class SessionEnd {
public:
    virtual ~SessionEnd() = default;

    // ExitWindowsEx(flags, 0): how the Windows 95 family ends its session.
    virtual bool exitWindows(std::uint32_t flags) = 0;
    // Enables a privilege, by name, in the program's own process token
    // (OpenProcessToken with TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
    // LookupPrivilegeValue on `machine`, empty for the local one, then
    // AdjustTokenPrivileges). False only when the name cannot be looked up;
    // whether the privilege was granted shows in the call that needs it.
    virtual bool enablePrivilege(const std::string& machine, const std::string& name) = 0;
    // InitiateSystemShutdown(machine or the local one, no message, no
    // delay, force, restart): asks and returns at once.
    virtual bool initiateShutdown(const std::string& machine, bool force, bool restart) = 0;
};

// Windows only: the command-line tool never ends a session, so the Linux
// build has no backend for it.
std::unique_ptr<SessionEnd> createNativeSessionEnd();

}  // namespace cindral::platform
