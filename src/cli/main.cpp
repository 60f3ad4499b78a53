#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define CINDRAL_ISATTY _isatty
#define CINDRAL_STDERR_FD 2
#else
#include <unistd.h>
#define CINDRAL_ISATTY isatty
#define CINDRAL_STDERR_FD STDERR_FILENO
#endif

#include "cli/cli_app.h"
#include "cli/commands.h"

namespace {

// Ctrl+C: the run in progress stops as the Stop button stops it.
std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted.store(true);
    // A second Ctrl+C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    cindral::cli::CliApp app(cindral::platform::createNativePlatform);
    cindral::cli::RunCommandEnvironment runs;
    runs.interrupt = &interrupted;
    runs.progressOnStderr = CINDRAL_ISATTY(CINDRAL_STDERR_FD) != 0;
    cindral::cli::registerCommands(app, runs);
    std::signal(SIGINT, onInterrupt);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = app.run(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
