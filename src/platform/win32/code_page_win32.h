// The active and the legacy ANSI code page, and conversion between them.
#pragma once

#include <string>
#include <string_view>

namespace cindral::platform::win32 {

// True when the process's 8-bit text is UTF-8 (the manifest's activeCodePage
// took effect, or the system's own code page is UTF-8).
bool ActiveCodePageIsUtf8();

// The system's legacy ANSI code page, the one GetACP gives a program without
// the manifest entry; 0 when the system has none but UTF-8.
unsigned LegacyAnsiCodePage();

// Bytes of code page `from` as bytes of code page `to`, through UTF-16.
std::string ConvertCodePage(std::string_view bytes, unsigned from, unsigned to);

// `wide` in the active code page, true only when the result names exactly
// the same characters: where the code page lacks one, the system writes "?"
// or a look-alike letter in its place, and such a text would name another
// file or folder.
bool ToActiveCodePage(const std::wstring& wide, std::string& text);

// The stored-text rule of platform/stored_text.h for this process.
std::string StoredText(std::string bytes);

}  // namespace cindral::platform::win32
