// The plug-in checker: every entry of a plug-in file that a run would ignore
// or read differently from what it seems to say. "cindral-cli lint" prints
// its findings; a plug-in editor checks an entry while it is typed and saves
// only a file without findings.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace cindral::engine {

struct LintFinding {
    std::string entry;    // "[Files] Item3", or "" for the file as a whole
    std::string message;  // what a run does with it, and why
};

// The findings for one registry entry text (without the entry's name).
std::vector<std::string> LintRegistryEntry(const std::string& entry, platform::System& sys);

// The findings for one path template. Macros are expanded for this user, to
// catch a recursive walk of a drive root or of the user profile; a macro
// this system cannot provide is no finding, as the plug-in may be meant for
// another system.
std::vector<std::string> LintPathTemplate(const std::string& pathTemplate, platform::Platform& p);

// Every finding of a plug-in file's bytes, in file order of the sections.
std::vector<LintFinding> LintPluginText(const std::string& bytes, platform::Platform& p);

}  // namespace cindral::engine
