// The command dispatcher of cindral-cli. Commands register themselves with
// their own options; global options may stand before or after the command.
//
//   cindral-cli [OPTIONS] COMMAND [ARGUMENTS] [OPTIONS]
//
// An option is "--name", or "--name VALUE" / "--name=VALUE" when it takes a
// value (never empty); "--" ends the options. Exit codes: 0 success,
// 1 failure, 2 usage error (message on stderr).
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"

namespace cindral::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

inline constexpr char kProgramName[] = "cindral-cli";
inline constexpr char kVersionText[] = "Cindral 3.0";

struct OptionDef {
    std::string name;       // with its dashes, e.g. "--registry"
    std::string valueName;  // e.g. "FILE"; empty for a flag
    std::string help;
};

// A parsed command line: the command, its positional arguments and every
// option given (a repeated option keeps its last value).
class Arguments {
public:
    const std::string& command() const { return command_; }
    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& option) const { return options_.count(option) > 0; }
    // The option's value; the empty text when it was not given.
    std::string value(const std::string& option) const;

private:
    friend class CliApp;
    std::string command_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
};

struct CommandContext {
    const Arguments& args;
    // Null for a command that declared it needs no platform.
    platform::Platform* platform;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string name;
    std::string arguments;  // usage text after the name, e.g. "[ITEM...]"
    std::string summary;
    std::vector<OptionDef> options;  // the command's own options
    bool needsPlatform = true;
    std::function<int(CommandContext&)> run;
};

// Writes "cindral-cli: MESSAGE" and a pointer to --help on stderr; returns
// kExitUsage so a command can `return usageError(ctx.err, "...")`.
int usageError(std::ostream& err, const std::string& message);

class CliApp {
public:
    using PlatformFactory =
        std::function<std::unique_ptr<platform::NativePlatform>(const platform::NativeOptions&)>;

    // The global options --help, --version and --registry FILE are built in.
    explicit CliApp(PlatformFactory factory);

    void addGlobalOption(OptionDef option);
    void addCommand(Command command);

    // Parses the arguments (without the program name). False, with a
    // message, on a usage error.
    bool parse(const std::vector<std::string>& argv, Arguments& args, std::string& error) const;

    // Parses, then runs the command (or prints help or the version). Output
    // that could not be written turns success into kExitFailure.
    int run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) const;

    void printUsage(std::ostream& out) const;
    void printCommandUsage(const Command& command, std::ostream& out) const;

    // The tables the help texts and the manual page are made from.
    const std::vector<OptionDef>& globalOptions() const { return globalOptions_; }
    const std::vector<Command>& commands() const { return commands_; }

private:
    int dispatch(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) const;
    const Command* findCommand(const std::string& name) const;
    const OptionDef* findOption(const std::string& name, const Command* command) const;
    const OptionDef* findAnyOption(const std::string& name) const;
    bool parseWith(const std::vector<std::string>& argv, const Command* command,
                   bool anyCommandOption, Arguments& args, std::string& error) const;

    PlatformFactory factory_;
    std::vector<OptionDef> globalOptions_;
    std::vector<Command> commands_;
};

}  // namespace cindral::cli
