// Ending the session through user32 and advapi32.
#include <windows.h>

#include "platform/session_end.h"

namespace cindral::platform {
namespace {

const char* machineOrLocal(const std::string& machine) {
    return machine.empty() ? nullptr : machine.c_str();
}

class Win32SessionEnd : public SessionEnd {
public:
    bool exitWindows(std::uint32_t flags) override { return ExitWindowsEx(flags, 0) != FALSE; }

    bool enablePrivilege(const std::string& machine, const std::string& name) override {
        LUID luid;
        if (!LookupPrivilegeValueA(machineOrLocal(machine), name.c_str(), &luid)) return false;
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
            return true;
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid = luid;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        TOKEN_PRIVILEGES previous{};
        DWORD previousSize = sizeof previous;
        AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &previousSize);
        CloseHandle(token);
        return true;
    }

    bool initiateShutdown(const std::string& machine, bool force, bool restart) override {
        return InitiateSystemShutdownA(const_cast<char*>(machineOrLocal(machine)), nullptr, 0,
                                       force, restart) != FALSE;
    }
};

}  // namespace

std::unique_ptr<SessionEnd> createNativeSessionEnd() { return std::make_unique<Win32SessionEnd>(); }

}  // namespace cindral::platform
