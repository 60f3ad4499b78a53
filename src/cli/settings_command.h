// The "settings" command: every value of the settings key, in the order of
// the settings table, then the two entries outside the key, one a line:
//
//   NAME = VALUE                              the value as stored
//   NAME = VALUE (default)                    absent: the default every reader uses
//   NAME = V1 (default for R1); V2 (default for R2)
//                                             absent: the defaults of the readers
//   NAME = (not set)                          absent and never read by the program
//
// A stored value of the wrong type (which every reader ignores) is shown as
// absent, followed by " [stored value is not a REG_DWORD of 4 bytes]" or
// " [stored value is not a REG_SZ]". Numbers are unsigned decimal; texts are
// in double quotes with \\, \", \r, \n, \t and \xNN (other control bytes)
// escaped. The outside entries are named by their full key path:
// "HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run\Cindral" and
// "HKCU\Software\Microsoft\Internet Explorer\Main\Start Page".
//
// The listing only reads: it creates no key and writes nothing.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/cli_app.h"
#include "platform/registry.h"

namespace cindral::cli {

void registerSettingsCommand(CliApp& app);

void writeSettingsListing(platform::Registry& registry, std::ostream& out);

// A text in double quotes with the escapes above.
std::string quoteText(const std::string& text);

}  // namespace cindral::cli
