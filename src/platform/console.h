// Whether a standard stream of the program is a console. On Windows
// `_isatty` holds for any character device, NUL and serial ports included,
// so output sent to NUL would be taken for a person's console; a console is
// a handle that GetConsoleMode accepts. On Linux it is a terminal.
#pragma once

namespace cindral::platform {

// `fd` is a C runtime file descriptor: 1 standard output, 2 standard error.
bool IsConsole(int fd);

}  // namespace cindral::platform
