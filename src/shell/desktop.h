// What the windows ask of the desktop beyond themselves: opening files and
// addresses with their handlers, and message boxes titled "Cindral". The
// GUI tests put a recorder in its place.
#pragma once

#include <windows.h>

#include <string>

namespace cindral::platform {
class Files;
}

namespace cindral::shell {

class Desktop {
public:
    virtual ~Desktop() = default;
    // ShellExecute with the given verb (empty: the default verb) and the
    // normal show mode. False when the system reports a failure.
    virtual bool open(HWND owner, const std::string& verb, const std::string& file,
                      const std::string& parameters) = 0;
    // A modal message box titled "Cindral"; returns the button pressed.
    virtual int message(HWND owner, const std::string& text, UINT flags) = 0;
    // The system's folder picker (file-system folders only) with `title`
    // above the tree; false when the user cancels.
    virtual bool chooseFolder(HWND owner, const std::string& title, std::string& folder) = 0;
};

// The real one.
Desktop& systemDesktop();

extern const char* const kNoHelpFileText;      // "The Cindral Help File does not exist."
extern const char* const kNoPluginEditorText;  // "The Plug-In Editor does not exist."

// The Help command: "help.chm" in the home folder opened as a whole.
void HelpCommand(Desktop& desktop, platform::Files& files, const std::string& home, HWND owner);
// Context help: "hh.exe" with home + file + "::/" + topic, unquoted.
void ContextHelp(Desktop& desktop, platform::Files& files, const std::string& home,
                 const std::string& helpFile, const std::string& topic, HWND owner);
// The plug-in editor "peditor.exe" of the home folder, without parameters.
void PluginEditorCommand(Desktop& desktop, platform::Files& files, const std::string& home,
                         HWND owner);

}  // namespace cindral::shell
