// The first step of a folder listing. Windows 7 and later list a folder
// without making up 8.3 short names (the basic information level) and in
// larger reads (large fetch); XP and Vista refuse the level or the flag
// with ERROR_INVALID_PARAMETER, and from then on the plain call serves.
#pragma once

#include <windows.h>

#include <string>

namespace cindral::platform::win32 {

// As FindFirstFileA, with cAlternateFileName left empty where the system
// can skip it.
HANDLE findFirstFile(const std::string& pattern, WIN32_FIND_DATAA& data);

}  // namespace cindral::platform::win32
