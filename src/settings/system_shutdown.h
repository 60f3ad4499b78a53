// The system shutdown routine of the safe shutdown and restart: which calls
// end the session on each family of Windows, and what their results decide.
#pragma once

#include <string>

#include "platform/session_end.h"
#include "platform/system.h"

namespace cindral::settings {

// Asks the system to shut down, or to restart, and reports whether it
// agreed; it does not wait for the session to end. The Windows 95 family
// (every platform but NT) goes through ExitWindowsEx and cannot end another
// machine's session. The NT family needs the shutdown privilege, and the
// remote one, in the program's token first; a privilege name that cannot be
// looked up ends the routine with failure. `machine` empty: this machine.
bool SystemShutdown(platform::SessionEnd& session, const platform::SystemVersion& version,
                    const std::string& machine, bool force, bool restart);

}  // namespace cindral::settings
