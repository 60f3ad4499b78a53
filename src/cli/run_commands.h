// The commands that run the item queue: "test" (a Test Mode run), "clean" (a
// cleaning run) and "queue" (the queue itself, one caption a line). They use
// the home folder, data files, settings, log book and completion exactly as
// the program does; the queue is read without writing anything back.
//
// Exit status: 0 the run completed and nothing it tried to remove stayed
// behind; 1 it completed but some entries could not be removed (" <USED>"),
// or the log file or "LastDate" the settings ask for could not be stored,
// or it ended early through a failure; 2 usage error; 130 interrupted.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "app/run.h"
#include "cli/cli_app.h"
#include "platform/platform.h"
#include "platform/run_services.h"
#include "settings/settings_store.h"

namespace cindral::cli {

constexpr int kExitInterrupted = 130;

struct RunCommandEnvironment {
    // Makes the recycle bin, clipboard and browser services; default: the
    // native ones.
    std::function<std::unique_ptr<platform::NativeRunServices>()> services;
    // Set (by the Ctrl+C handler) to stop a run as the Stop button does.
    const std::atomic<bool>* interrupt = nullptr;
    // Whether stderr is a terminal: only then is a progress line written.
    bool progressOnStderr = false;
};

void registerRunCommands(CliApp& app, RunCommandEnvironment environment);

struct RunCommandOptions {
    engine::RunMode mode = engine::RunMode::Test;
    std::string home;  // the home folder as a Windows path with its trailing "\"
    bool json = false;
    bool progress = false;
    bool verbose = false;  // a stderr line for each file left behind
    // Below HKEY_CURRENT_USER; only tests point it elsewhere.
    std::string settingsKeyPath = settings::kSettingsKeyPath;
};

// The body of "test" and "clean" once the home folder is known.
int RunQueue(platform::Platform& platform, platform::RunServices& services,
             const RunCommandOptions& options, std::ostream& out, std::ostream& err,
             const std::atomic<bool>* interrupt);

// The body of "queue".
int PrintQueue(platform::Platform& platform, const std::string& home, std::ostream& out);

// A path given on the command line: a Windows path is taken as it is, a host
// path is made absolute and named through the drive map (Linux). Empty when
// it cannot be named.
std::string WindowsPathOption(platform::Platform& platform, const std::string& given);

// The home folder from --home: a Windows path is taken as it is, a host
// path is made absolute and named through the drive map (Linux). Always
// ends in "\"; empty when the folder cannot be named or does not exist.
std::string ResolveHomeOption(platform::Platform& platform, const std::string& given);

// A JSON string literal of 8-bit text: valid UTF-8 is kept, any other byte
// above 0x7F is written as the Latin-1 character of that value.
std::string JsonString(const std::string& text);

}  // namespace cindral::cli
