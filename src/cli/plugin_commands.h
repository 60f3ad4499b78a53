// The commands for plug-in authors: "lint" checks plug-in files as a run
// would read them; "import-winapp2" converts a winapp2.ini file into
// plug-in files.
#pragma once

#include "cli/cli_app.h"

namespace cindral::cli {

void registerPluginCommands(CliApp& app);

}  // namespace cindral::cli
