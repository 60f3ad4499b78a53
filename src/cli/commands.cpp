#include "cli/commands.h"

#include <utility>

#include "cli/settings_command.h"

namespace cindral::cli {

void registerCommands(CliApp& app, RunCommandEnvironment runs) {
    registerSettingsCommand(app);
    registerRunCommands(app, std::move(runs));
}

}  // namespace cindral::cli
