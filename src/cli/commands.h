// Every command of cindral-cli, registered in one place: the program and its
// manual page (tools/cli_man_page.cpp) list the same commands and options.
#pragma once

#include "cli/cli_app.h"
#include "cli/run_commands.h"

namespace cindral::cli {

void registerCommands(CliApp& app, RunCommandEnvironment runs);

}  // namespace cindral::cli
