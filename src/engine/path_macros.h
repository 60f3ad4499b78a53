// Path macros: "%COOKIE%\*?" and the like, turned into concrete paths.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace cindral::engine {

// A template after expansion. `inserted[i]` is true where text[i] came from a
// folder a macro inserted: such text is a name, never template syntax.
struct ExpandedPath {
    std::string text;
    std::vector<bool> inserted;

    // True when text[i] is the template's own `c`.
    bool syntaxAt(std::size_t i, char c) const { return text[i] == c && !inserted[i]; }
    // The first position at or after `from` holding the template's own `c`,
    // or npos.
    std::size_t findSyntax(char c, std::size_t from = 0) const;
    // The last such position, or npos.
    std::size_t rfindSyntax(char c) const;
    void erase(std::size_t at);
};

// The macro names, in the order they are replaced. "%LOCAL_APP_DATA%" came
// last, so the expansion of older plug-ins stays exactly what it was.
inline constexpr const char* kPathMacros[] = {"%APP_DATA%", "%WINDOWS%",       "%COOKIE%",
                                              "%HISTORY%",  "%CACHE%",         "%TEMP%",
                                              "%RECENT%",   "%LOCAL_APP_DATA%"};

// The folder one macro of kPathMacros stands for (by its index), looked up
// anew; the empty text when the system cannot provide it.
std::string PathMacroFolder(platform::Platform& p, std::size_t index);

// Upper-cases the template by the system's rules, replaces the macros of
// kPathMacros in their order with the folders looked up anew, then collapses
// "\\", ".." and "**" in one left-to-right pass each and drops a leading "\".
// An inserted folder is taken literally: later macros, ".." and "**" apply to
// the template's own text only, "\\" within a folder (a network folder's
// start) stays and a leading "\" is dropped only from the template's own
// text, while "\\" still joins a folder that ends in "\" to the text after
// the macro.
ExpandedPath ExpandPathTemplate(platform::Platform& p, const std::string& pathTemplate);
std::string ExpandPathMacros(platform::Platform& p, const std::string& pathTemplate);

// A folder text as read from a data file or the registry, without the spaces
// and control characters at either end.
std::string TrimBlanks(const std::string& text);

}  // namespace cindral::engine
