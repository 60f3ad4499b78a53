#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/settings_command.h"

int main(int argc, char** argv) {
    cindral::cli::CliApp app(cindral::platform::createNativePlatform);
    cindral::cli::registerSettingsCommand(app);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = app.run(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
