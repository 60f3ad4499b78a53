// The two entries the program keeps outside its own settings key: the
// start-with-system value under the Run key and the browser's start page.
// Each call opens its key and closes it again at once.
#pragma once

#include <string>

#include "platform/registry.h"

namespace cindral::settings {

// Below HKEY_CURRENT_USER.
inline constexpr char kRunKeyPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValueName[] = "Cindral";
inline constexpr char kBrowserMainKeyPath[] = "Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr char kStartPageValueName[] = "Start Page";

// The command line the system runs at log-on: the program's path in double
// quotes, then " -m -s". The quotes keep a path with blanks from being read
// as a shorter program path ("C:\Program.exe" for "C:\Program Files\...").
std::string startWithWindowsCommand(const std::string& exePath);

// Writes the Run value (creating the Run key if missing). False when the
// path is empty or the value cannot be written.
bool writeStartWithWindows(platform::Registry& reg, const std::string& exePath);
// Removes the Run value. True when the value is absent afterwards.
bool deleteStartWithWindows(platform::Registry& reg);
// Whether the Run value exists, whatever it holds.
bool startWithWindowsExists(platform::Registry& reg);
// The Run value's raw content; false when it does not exist.
bool readStartWithWindows(platform::Registry& reg, platform::RegValue& out);

// Writes the browser's "Start Page" (creating its key if missing).
bool writeStartPage(platform::Registry& reg, const std::string& text);
// The "Start Page" value's raw content; false when it does not exist.
bool readStartPage(platform::Registry& reg, platform::RegValue& out);

}  // namespace cindral::settings
