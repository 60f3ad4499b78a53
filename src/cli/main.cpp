#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "cli/commands.h"
#include "platform/console.h"

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
    // Output nobody reads as it comes (a file, a pipe, NUL) goes out in
    // large blocks rather than line by line, which under Wine, and on
    // Windows for NUL, cost a system call a line. It is flushed at the end,
    // also after a Ctrl+C, which ends the run first.
    static char outBuffer[64 * 1024];
    if (!cindral::platform::IsConsole(1)) std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    cindral::cli::CliApp app(cindral::platform::createNativePlatform);
    cindral::cli::RunCommandEnvironment runs;
    runs.interrupt = &interrupted;
    // The progress line is drawn for a person at a console only.
    runs.progressOnStderr = cindral::platform::IsConsole(2);
    cindral::cli::registerCommands(app, runs);
    std::signal(SIGINT, onInterrupt);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int code = app.run(args, std::cout, std::cerr);
    std::cout.flush();
    return code;
}
