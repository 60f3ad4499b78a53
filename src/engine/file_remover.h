// The file remover: the handlers that the walkers call for each entry found,
// and the secure wipe.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/engine_context.h"
#include "engine/walker.h"
#include "platform/files.h"

namespace cindral::engine {

// "MethodDestruction" values.
constexpr std::uint32_t kWipeZero = 1;               // 0x00
constexpr std::uint32_t kWipeZeroReverse = 2;        // 0x00, then 0xFF
constexpr std::uint32_t kWipeZeroReverseRandom = 3;  // 0x00, then 0xFF, then random bytes
// "Passess" is the index of a pass count of 1 to 10; larger stored values
// are read as this one so a damaged setting cannot stall a run.
constexpr std::uint32_t kMaxPassIndex = 9;
// Size of one write while overwriting.
constexpr std::size_t kWipeBufferSize = 1 << 20;

// Overwrites a regular file in place (a link is refused, never followed):
// `passes` times the method's sequence of patterns, each pattern over the
// whole length and flushed to the disk; then truncates the file, renames it
// to a random name in the same folder and deletes it. True only when the
// file is gone. An unknown method is taken as kWipeZero; 0 passes as 1.
bool WipeFile(platform::Files& files, const std::string& fullPath, std::uint32_t passes,
              std::uint32_t method);

// How a handler removes one file in a clean run: a plain deletion, or a wipe
// when the wipe settings (asked for every file) say so.
bool RemoveFile(EngineContext& ctx, const std::string& fullPath);

// File-found handler of the main walker: folders are passed over; a cookie
// protected by the keeper list is logged " <SKIPPED>"; otherwise the file is
// reported (test run) or removed (clean run), logged " <OK>" and counted, or
// logged " <USED>" when it cannot be removed.
void HandleFoundFile(EngineContext& ctx, const TFileInformations& file);

// File-found handler of the drive scan: the same for files only, but the
// line is written over the scan's progress line and an empty line is then
// appended for the next progress line to take over.
void HandleDriveScanFile(EngineContext& ctx, const TFileInformations& file);

}  // namespace cindral::engine
