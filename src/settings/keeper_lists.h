// The three kept lists (cookies, typed addresses, Open/Save history): their
// files, and the candidates found on the system that are not kept yet.
#pragma once

#include <string>
#include <vector>

#include "engine/is_kept.h"
#include "platform/platform.h"
#include "selection/line_file.h"

namespace cindral::settings {

using engine::KeeperList;

// Reads a kept list by the keeper line rules. Missing file: empty list,
// ReadStatus::Missing; unreadable: empty list, ReadStatus::Unreadable.
selection::ReadStatus LoadKeptList(platform::Files& files, const std::string& path,
                                   KeeperList& list);
// Replaces the file (every entry followed by CR LF, and what the reader
// could not see of the former file kept, see selection::keeperFileBytes).
// False, file unchanged, when it cannot be written, and when it exists but
// cannot be read: what it holds was never seen, so writing over it would
// drop entries the user chose to keep. The list in memory is never touched.
bool SaveKeptList(platform::Files& files, const std::string& path, const KeeperList& list);

// Whole text, without regard to case by the system code page's rules.
bool KeptListContains(const KeeperList& list, const std::string& text, platform::System& sys);

// The name the Keeper dialog shows for a kept cookie: the text after the last
// "\" or ":".
std::string CookieDisplayName(const std::string& path);

// Cookie files ("*.txt") in the folders "%COOKIE%" and then "%WINDOWS%\Cookies"
// expand to, as full paths, in listing order, less those already kept.
std::vector<std::string> GatherCookieCandidates(platform::Platform& platform,
                                                const KeeperList& kept);
// Every value of the typed-address key under HKEY_CURRENT_USER, then
// HKEY_LOCAL_MACHINE, less those already kept.
std::vector<std::string> GatherAddressCandidates(platform::Platform& platform,
                                                 const KeeperList& kept);
// Every value but "mrulist" of every subkey of the Open/Save history key
// under HKEY_CURRENT_USER, less those already kept.
std::vector<std::string> GatherOpenSaveCandidates(platform::Platform& platform,
                                                  const KeeperList& kept);

// Key paths the candidates come from.
extern const char* const kTypedUrlsKey;
extern const char* const kOpenSaveMruKey;

}  // namespace cindral::settings
