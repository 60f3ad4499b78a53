#include <unistd.h>

#include "platform/console.h"

namespace cindral::platform {

bool IsConsole(int fd) { return ::isatty(fd) == 1; }

}  // namespace cindral::platform
