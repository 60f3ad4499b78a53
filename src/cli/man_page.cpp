#include "cli/man_page.h"

#include <ostream>
#include <string>

#include "cli/run_commands.h"

namespace cindral::cli {

namespace {

// Text as roff shows it literally: backslashes and hyphens escaped, a
// leading "." or "'" kept from being read as a request.
std::string roffText(const std::string& text) {
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out = "\\&";
    for (char c : text) {
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    return out;
}

void writeOptions(const std::vector<OptionDef>& options, std::ostream& out) {
    for (const OptionDef& o : options) {
        if (o.valueName.empty()) {
            out << ".TP\n.B " << roffText(o.name) << "\n";
        } else {
            out << ".TP\n.BI \"" << roffText(o.name) << " \" \"" << roffText(o.valueName) << "\"\n";
        }
        out << roffText(o.help) << "\n";
    }
}

void writeExitStatus(std::ostream& out) {
    const struct {
        int code;
        const char* meaning;
    } codes[] = {
        {kExitOk,
         "Success: the command did what was asked; after a run, nothing it tried to "
         "remove stayed behind."},
        {kExitFailure,
         "Failure: a run completed but some entries could not be removed (their "
         "log lines end in \" <USED>\"), or its log file or the date of the run could "
         "not be stored, or it ended early, or the command failed."},
        {kExitUsage,
         "Usage error: an unknown command or option, a missing value, or a home "
         "folder that does not exist."},
        {kExitInterrupted,
         "Interrupted: Ctrl+C stopped the run as the program's Stop button "
         "does; a second Ctrl+C ends the program at once."},
    };
    out << ".SH EXIT STATUS\n";
    for (const auto& c : codes) out << ".TP\n.B " << c.code << "\n" << roffText(c.meaning) << "\n";
}

}  // namespace

void writeManPage(const CliApp& app, std::ostream& out) {
    out << ".TH CINDRAL\\-CLI 1 \"\" \"" << roffText(kVersionText) << "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << kProgramName << " \\- erase the traces programs leave behind, or report them\n"
        << ".SH SYNOPSIS\n"
        << ".B " << kProgramName << "\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR]\n"
        << ".SH DESCRIPTION\n"
        << ".B " << kProgramName << "\n"
        << "is the command-line front end of Cindral, a privacy cleaner. It runs the item "
           "queue (the built-in items, plug-ins and custom entries that are selected) with the "
           "same engine as the Windows program: a Test Mode run reports what a cleaning run "
           "would erase and erases nothing; a cleaning run erases it.\n"
        << ".PP\n"
        << "Selections, custom lists and keeper lists are read from the \\fBData\\fR folder of "
           "the home folder, plug-ins from its \\fBPlug\\-Ins\\fR folder; the home folder is the "
           "folder of the executable unless \\fB\\-\\-home\\fR names another. Settings are kept "
           "in a registry store file. On Linux the drive C: is the user's home folder.\n"
        << ".SH COMMANDS\n";
    for (const Command& c : app.commands()) {
        if (c.arguments.empty()) {
            out << ".TP\n.B " << roffText(c.name) << "\n";
        } else {
            out << ".TP\n.BI \"" << roffText(c.name) << " \" \"" << roffText(c.arguments) << "\"\n";
        }
        out << roffText(c.summary) << "\n";
        if (!c.options.empty()) {
            out << ".RS\n.PP\nOptions of \\fB" << roffText(c.name) << "\\fR:\n";
            writeOptions(c.options, out);
            out << ".RE\n";
        }
    }
    out << ".SH OPTIONS\nThese options may stand before or after the command. "
           "\\fB\\-\\-\\fR ends the options.\n";
    writeOptions(app.globalOptions(), out);
    writeExitStatus(out);
    out << ".SH FILES\n"
        << ".TP\n.I ~/.config/Cindral/registry.reg\n"
        << "The settings (a REGEDIT4 file), unless \\fB\\-\\-registry\\fR names another; "
           "\\fB$XDG_CONFIG_HOME\\fR replaces \\fI~/.config\\fR when it is set.\n"
        << ".TP\n.I home/Data/\n"
        << "SelItems.dat (the selection), CustomFolder.dat, CustomRegistry.dat, DriveScan.dat "
           "and the keeper lists CookieKept.dat, AddressesKept.dat and OpenSaveKept.dat.\n"
        << ".TP\n.I home/Plug\\-Ins/\n"
        << "Plug-in files (*.cnp).\n"
        << ".TP\n.I home/logs.txt\n"
        << "The log file, kept when the setting StoreLog is on.\n"
        << ".SH EXAMPLES\n"
        << "Report what a cleaning run would erase, as JSON:\n"
        << ".PP\n.RS\n.B " << kProgramName << " test \\-\\-json\n.RE\n"
        << ".PP\nErase what is selected in the lists of \\fI~/cindral\\fR:\n"
        << ".PP\n.RS\n.B " << kProgramName << " clean \\-\\-home ~/cindral\n.RE\n";
}

}  // namespace cindral::cli
