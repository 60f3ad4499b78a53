#include <windows.h>
// Needs <windows.h> first.
#include <io.h>

#include <cstdint>

#include "platform/console.h"

namespace cindral::platform {

bool IsConsole(int fd) {
    const std::intptr_t handle = _get_osfhandle(fd);
    if (handle == -1) return false;
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != FALSE;
}

}  // namespace cindral::platform
