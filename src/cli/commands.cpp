#include "cli/commands.h"

#include <utility>

#include "cli/plugin_commands.h"
#include "cli/settings_command.h"

namespace cindral::cli {

void registerCommands(CliApp& app, RunCommandEnvironment runs) {
    registerSettingsCommand(app);
    registerRunCommands(app, std::move(runs));
    registerPluginCommands(app);
}

}  // namespace cindral::cli
