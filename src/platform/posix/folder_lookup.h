// Finding a Windows name in a host folder: the name as written first, then
// any spelling differing only in case, then the name as Windows reads it.
// Everything works relative to an open folder and never follows a link, so
// a folder swapped for a link meanwhile cannot redirect what is found.
#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {

bool isDotOrDotDot(const char* name);

// A second, independent handle on the folder `dir` for reading its
// entries: readdir moves the file position, which a dup() would share.
UniqueFd reopenForReading(int dir);

// The entry of `dir` that `name` (`trimmed`: as Windows reads it, "a.txt."
// being "a.txt") refers to: the name itself when it exists, else the first
// (in byte order) entry equal to it without regard to case, and only then
// the same for `trimmed`. The written name comes first: Linux may hold both
// "report." and "report", and a path naming the one must never reach the
// other. Fills `actual` with the entry's name and `st` with its lstat; false
// with errno ENOENT when there is none.
bool findEntry(int dir, const std::string& name, const std::string& trimmed, std::string& actual,
               struct stat& st);

// Opens the subfolder `name` of `dir` (looked up as findEntry does) without
// following a link. A folder that may be passed but not read is opened as a
// path handle, enough to reach what lies below it. Fails with ENOTDIR when
// the name, in some spelling, is a file: creating the folder would then
// make a second name differing only in case.
UniqueFd openSubfolder(int dir, const std::string& name, const std::string& trimmed);

}  // namespace cindral::platform
