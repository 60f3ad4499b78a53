#include "cli/plugin_commands.h"

#include <ostream>
#include <utility>

#include "cli/run_commands.h"
#include "engine/plugin_lint.h"
#include "engine/winapp2_import.h"

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

constexpr char kOut[] = "--out";

// The plug-ins go into the folder (made when missing); an existing file is
// never overwritten. One line per file written and per entry not converted.
int runImport(CommandContext& ctx) {
    const auto& args = ctx.args.positional();
    if (args.size() != 1) return usageError(ctx.err, "import-winapp2 needs one winapp2.ini file");
    platform::Platform& p = *ctx.platform;
    const std::string source = WindowsPathOption(p, args[0]);
    std::string bytes;
    if (source.empty() || !p.files->readFile(source, bytes)) {
        ctx.err << kProgramName << ": cannot read " << args[0] << "\n";
        return kExitFailure;
    }
    const std::string given = ctx.args.has(kOut) ? ctx.args.value(kOut) : ".";
    std::string folder = WindowsPathOption(p, given);
    if (folder.empty() || !p.files->createFolder(folder)) {
        ctx.err << kProgramName << ": cannot make the folder " << given << "\n";
        return kExitFailure;
    }
    if (folder.back() != '\\') folder += '\\';
    const std::string name = source.substr(source.rfind('\\') + 1);
    const engine::Winapp2Import result = engine::ImportWinapp2(bytes, name, p);
    bool complete = result.notConverted.empty();
    for (const engine::ImportedPlugin& plugin : result.plugins) {
        const std::string path = folder + plugin.fileName;
        if (p.files->fileExists(path) || p.files->folderExists(path)) {
            ctx.out << path << ": exists, not written\n";
            complete = false;
        } else if (!p.files->writeFileAtomic(path, engine::FormatPluginFile(plugin.doc))) {
            ctx.out << path << ": cannot be written\n";
            complete = false;
        } else {
            ctx.out << path << ": written (" << plugin.doc.title << ")\n";
        }
    }
    for (const std::string& line : result.notConverted) ctx.out << args[0] << ": " << line << "\n";
    return complete ? kExitOk : kExitFailure;
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

    Command import;
    import.name = "import-winapp2";
    import.arguments = "FILE";
    import.summary =
        "convert the entries of a winapp2.ini file into plug-in files and list every entry or "
        "line that could not be converted, with the reason; exit status 1 when there is any";
    import.options = {
        { kOut,
          "FOLDER",
          "where the plug-in files go (default: the current folder)" }};
    import.run = runImport;
    app.addCommand(std::move(import));
}

}  // namespace cindral::cli
