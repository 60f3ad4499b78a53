// Line files: 8-bit text, one entry per line, every line ending in CR LF,
// read and written whole. Three readers exist and they differ on purpose:
//  - Run:    a line ends at CR LF, a lone CR or a lone LF; NUL ends the text.
//  - Dialog: a line ends at CR or CR LF; a lone LF stays in the line; NUL
//            ends the text.
//  - Keeper: split at CR, an LF right after a CR is skipped with it, a lone
//            LF stays; a NUL cuts the entry it stands in, and a NUL at the
//            start of a line ends the reading.
// In every reader the text after the last line end is a last line when it is
// not empty, so a final CR LF yields no extra empty line, and a UTF-8
// byte-order mark at the start of the text is skipped.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace cindral::selection {

enum class LineRules { Run, Dialog, Keeper };

enum class ReadStatus { Ok, Missing, Unreadable };

std::vector<std::string> splitLines(const std::string& bytes, LineRules rules);

// The same lines handed one by one to a callback, for readers that keep them
// in storage of their own (the log book holds a million of them).
void forEachLine(std::string_view bytes, LineRules rules,
                 const std::function<void(std::string_view)>& onLine);

// Reads the whole file's bytes, asking whether it exists only when the read
// fails. Missing: empty, ReadStatus::Missing. A file that exists but cannot be
// read: empty, ReadStatus::Unreadable.
ReadStatus readTextBytes(platform::Files& files, const std::string& path, std::string& bytes);

// Reads the whole file. Missing: no lines, ReadStatus::Missing. A file that
// exists but cannot be read: no lines, ReadStatus::Unreadable.
ReadStatus readLineFile(platform::Files& files, const std::string& path, LineRules rules,
                        std::vector<std::string>& lines);

// The bytes of a kept list holding `entries`, one a line, over a file that
// held `former`. The keeper rules leave text unread: an entry's rest from a
// NUL in it, and everything from a NUL where an entry starts. Such text is
// written back, so saving over a damaged list loses nothing: each entry gets
// the unread rest of the first former entry that read as the same text, and
// the unread end follows the last entry.
std::string keeperFileBytes(const std::vector<std::string>& entries, std::string_view former);

// Every line followed by CR LF, the file replaced atomically. False (file
// unchanged) when it cannot be written.
bool writeLineFile(platform::Files& files, const std::string& path,
                   const std::vector<std::string>& lines);

}  // namespace cindral::selection
