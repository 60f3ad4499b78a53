#include "cli/plugin_commands.h"

#include <ostream>
#include <utility>

#include "cli/run_commands.h"
#include "engine/plugin_lint.h"

namespace cindral::cli {
namespace {

// One line per finding: "FILE: ENTRY: MESSAGE", the file as it was given.
int runLint(CommandContext& ctx) {
    if (ctx.args.positional().empty()) return usageError(ctx.err, "lint needs a plug-in file");
    platform::Platform& p = *ctx.platform;
    bool findings = false;
    for (const std::string& given : ctx.args.positional()) {
        const std::string path = WindowsPathOption(p, given);
        std::string bytes;
        if (path.empty() || !p.files->readFile(path, bytes)) {
            ctx.out << given << ": cannot be read\n";
            findings = true;
            continue;
        }
        for (const engine::LintFinding& f : engine::LintPluginText(bytes, p)) {
            ctx.out << given << ": " << (f.entry.empty() ? "" : f.entry + ": ") << f.message
                    << "\n";
            findings = true;
        }
    }
    return findings ? kExitFailure : kExitOk;
}

}  // namespace

void registerPluginCommands(CliApp& app) {
    Command lint;
    lint.name = "lint";
    lint.arguments = "PLUGIN...";
    lint.summary =
        "report every entry of the plug-in files that a run would ignore or misread, one line "
        "each; exit status 1 when there is any";
    lint.run = runLint;
    app.addCommand(std::move(lint));
}

}  // namespace cindral::cli
