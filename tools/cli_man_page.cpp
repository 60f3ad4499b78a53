// Writes the manual page of cindral-cli, from the same command tables the
// program uses.
//
// usage: cli_man_page OUTPUT.1
#include <fstream>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/man_page.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: cli_man_page OUTPUT.1\n";
        return 2;
    }
    cindral::cli::CliApp app([](const cindral::platform::NativeOptions&) {
        return std::unique_ptr<cindral::platform::NativePlatform>();
    });
    cindral::cli::registerCommands(app, {});
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    cindral::cli::writeManPage(app, out);
    out.close();
    if (out) return 0;
    std::cerr << "cli_man_page: cannot write " << argv[1] << "\n";
    return 1;
}
