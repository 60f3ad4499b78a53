#include "cli/cli_app.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <utility>

namespace cindral::cli {

namespace {

constexpr char kHelp[] = "--help";
constexpr char kVersion[] = "--version";
constexpr char kRegistry[] = "--registry";

std::string optionLabel(const OptionDef& option) {
    return option.valueName.empty() ? option.name : option.name + " " + option.valueName;
}

void printOptionTable(const std::vector<OptionDef>& options, std::ostream& out) {
    std::size_t width = 0;
    for (const auto& o : options) width = std::max(width, optionLabel(o).size());
    for (const auto& o : options) {
        const std::string label = optionLabel(o);
        out << "  " << label << std::string(width - label.size() + 2, ' ') << o.help << "\n";
    }
}

}  // namespace

std::string Arguments::value(const std::string& option) const {
    const auto it = options_.find(option);
    return it == options_.end() ? std::string() : it->second;
}

int usageError(std::ostream& err, const std::string& message) {
    err << kProgramName << ": " << message << "\n"
        << "Try '" << kProgramName << " --help' for more information.\n";
    return kExitUsage;
}

CliApp::CliApp(PlatformFactory factory) : factory_(std::move(factory)) {
    addGlobalOption({kRegistry, "FILE",
                     "the registry store file (Linux; default: the per-user config folder "
                     "+ /Cindral/registry.reg)"});
    addGlobalOption({kHelp, "", "show this help, or the help of the command given"});
    addGlobalOption({kVersion, "", "show the version"});
}

void CliApp::addGlobalOption(OptionDef option) { globalOptions_.push_back(std::move(option)); }

void CliApp::addCommand(Command command) { commands_.push_back(std::move(command)); }

const Command* CliApp::findCommand(const std::string& name) const {
    for (const auto& c : commands_)
        if (c.name == name) return &c;
    return nullptr;
}

const OptionDef* CliApp::findOption(const std::string& name, const Command* command) const {
    for (const auto& o : globalOptions_)
        if (o.name == name) return &o;
    if (command) {
        for (const auto& o : command->options)
            if (o.name == name) return &o;
    }
    return nullptr;
}

const OptionDef* CliApp::findAnyOption(const std::string& name) const {
    if (const OptionDef* o = findOption(name, nullptr)) return o;
    for (const auto& c : commands_) {
        if (const OptionDef* o = findOption(name, &c)) return o;
    }
    return nullptr;
}

// One pass over the arguments. The first pass does not know the command yet
// and takes every registered option's arity to find it; the second checks
// the options against the global ones and those of the command found.
bool CliApp::parseWith(const std::vector<std::string>& argv, const Command* command,
                       bool anyCommandOption, Arguments& args, std::string& error) const {
    args = Arguments();
    bool optionsEnded = false;
    bool haveCommand = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            // The first word is the command, the others are its arguments.
            if (!haveCommand) {
                if (arg.empty()) {
                    error = "unknown command ''";
                    return false;
                }
                args.command_ = arg;
                haveCommand = true;
            } else {
                args.positional_.push_back(arg);
            }
            continue;
        }
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        const auto eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        const OptionDef* option =
            anyCommandOption ? findAnyOption(name) : findOption(name, command);
        if (!option) {
            error = "unknown option '" + name + "'";
            return false;
        }
        if (option->valueName.empty()) {
            if (inlineValue) {
                error = "option '" + name + "' takes no value";
                return false;
            }
        } else if (!inlineValue && i + 1 < argv.size()) {
            value = argv[++i];
        }
        // Every value names a file or folder: a missing or empty one (an
        // unset variable) would otherwise stand for the default and run the
        // command on the program's own folder or store instead.
        if (!option->valueName.empty() && value.empty()) {
            error = "option '" + name + "' needs a value (" + option->valueName + ")";
            return false;
        }
        args.options_[option->name] = value;
    }
    return true;
}

bool CliApp::parse(const std::vector<std::string>& argv, Arguments& args,
                   std::string& error) const {
    if (!parseWith(argv, nullptr, true, args, error)) return false;
    const Command* command = nullptr;
    if (!args.command_.empty()) {
        command = findCommand(args.command_);
        if (!command) {
            error = "unknown command '" + args.command_ + "'";
            return false;
        }
    }
    return parseWith(argv, command, false, args, error);
}

int CliApp::run(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) const {
    const int code = dispatch(argv, out, err);
    // Output that did not reach its file or pipe (a full disk, a closed
    // pipe) must not pass for success: a caller reading a report from it
    // would take the missing or cut report as the whole answer.
    out.flush();
    if (out) return code;
    err << kProgramName << ": the output could not be written\n";
    return code == kExitOk ? kExitFailure : code;
}

int CliApp::dispatch(const std::vector<std::string>& argv, std::ostream& out,
                     std::ostream& err) const {
    Arguments args;
    std::string error;
    if (!parse(argv, args, error)) return usageError(err, error);

    const Command* command = findCommand(args.command());
    if (args.has(kHelp)) {
        if (command) {
            printCommandUsage(*command, out);
        } else {
            printUsage(out);
        }
        return kExitOk;
    }
    if (args.has(kVersion)) {
        out << kVersionText << "\n";
        return kExitOk;
    }
    if (!command) return usageError(err, "no command given");

    try {
        std::unique_ptr<platform::NativePlatform> native;
        if (command->needsPlatform) {
            platform::NativeOptions options;
            options.registryFile = args.value(kRegistry);
            native = factory_(options);
            if (!native) {
                err << kProgramName << ": the system services could not be set up\n";
                return kExitFailure;
            }
        }
        CommandContext ctx{args, native ? &native->platform() : nullptr, out, err};
        return command->run(ctx);
    } catch (const std::exception& e) {
        err << kProgramName << ": " << e.what() << "\n";
        return kExitFailure;
    }
}

void CliApp::printUsage(std::ostream& out) const {
    out << "Usage: " << kProgramName << " [OPTIONS] COMMAND [ARGUMENTS]\n\nCommands:\n";
    std::size_t width = 0;
    for (const auto& c : commands_) width = std::max(width, c.name.size());
    for (const auto& c : commands_)
        out << "  " << c.name << std::string(width - c.name.size() + 2, ' ') << c.summary << "\n";
    out << "\nOptions (before or after the command):\n";
    printOptionTable(globalOptions_, out);
}

void CliApp::printCommandUsage(const Command& command, std::ostream& out) const {
    out << "Usage: " << kProgramName << " [OPTIONS] " << command.name;
    if (!command.arguments.empty()) out << " " << command.arguments;
    out << "\n\n" << command.summary << "\n";
    if (!command.options.empty()) {
        out << "\nOptions of " << command.name << ":\n";
        printOptionTable(command.options, out);
    }
    out << "\nOptions:\n";
    printOptionTable(globalOptions_, out);
}

}  // namespace cindral::cli
