// The program's own text files (line files, the log, SelItems.dat, plug-ins)
// as text of a UTF-8 active code page. Where the manifest's UTF-8 code page
// takes effect (Windows 10 1903 and later), every name the program handles is
// UTF-8; the files written before, and any written on an older system, hold
// the legacy ANSI code page instead. Read as UTF-8, a kept "café" in such a
// file would never match the cookie it protects, and that cookie would be
// erased. So a stored file is decoded from the legacy code page unless it is
// valid UTF-8.
//
// The decision is taken for the whole file, not line by line: each of these
// files is written whole by one program on one system, so all its lines share
// one code page, and the whole file is far better evidence than one line (a
// legacy name such as "Ã©" or a double-byte pair can happen to be valid UTF-8
// on its own, a legacy file with several non-ASCII names hardly ever is).
// Profile files are decoded before they are parsed, which no line rule could
// do.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace cindral::platform {

// Strictly valid UTF-8: no overlong forms, no surrogates, nothing beyond
// U+10FFFF, no sequence cut short. Pure ASCII (and the empty text) is.
bool IsUtf8(std::string_view bytes);

// Converts bytes of the legacy ANSI code page to UTF-8.
using LegacyDecoder = std::function<std::string(std::string_view)>;

// The UTF-8 text of a stored file: the bytes as they are when they are valid
// UTF-8, or when they start with a UTF-16 byte-order mark (the profile
// functions read those themselves); otherwise the whole file decoded by
// fromLegacy. Without a decoder (no legacy code page is known) the bytes
// stay as they are.
std::string StoredTextAsUtf8(std::string bytes, const LegacyDecoder& fromLegacy);

}  // namespace cindral::platform
