// The manual page of cindral-cli (man(7) macros), made from the program's own
// command and option tables so the page and the program cannot disagree.
#pragma once

#include <iosfwd>

#include "cli/cli_app.h"

namespace cindral::cli {

void writeManPage(const CliApp& app, std::ostream& out);

}  // namespace cindral::cli
