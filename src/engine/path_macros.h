// Path macros: "%COOKIE%\*?" and the like, turned into concrete paths.
#pragma once

#include <string>

#include "platform/platform.h"

namespace cindral::engine {

// Upper-cases the template by the system's rules, replaces the seven macros
// in their fixed order with the folders looked up anew, then collapses "\\",
// ".." and "**" in one left-to-right pass each and drops a leading "\".
std::string ExpandPathMacros(platform::Platform& p, const std::string& pathTemplate);

// Replaces every non-overlapping occurrence of `from`, scanning once from left
// to right (the replacement text is never scanned again).
std::string ReplaceAllOnePass(const std::string& text, const std::string& from,
                              const std::string& to);

// A folder text as read from a data file or the registry, without the spaces
// and control characters at either end.
std::string TrimBlanks(const std::string& text);

}  // namespace cindral::engine
