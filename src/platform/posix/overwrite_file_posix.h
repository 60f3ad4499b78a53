// A regular file of the Linux backend opened for overwriting in place
// (secure wipe).
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/files.h"
#include "platform/posix/file_descriptor.h"

namespace cindral::platform {

// Overwrites stream through the page cache behind a short window: each
// write starts its own write-back at once, so the disk works while the next
// buffer is filled, and the part written kWriteBehind earlier is waited for
// and dropped from the cache. The flush then finds little left to do, the
// wiped data does not push the user's cached files out, and the truncation
// has no pages to drop.
class PosixOverwriteFile : public OverwriteFile {
public:
    // `fd`: a regular file opened for writing, in blocking mode.
    explicit PosixOverwriteFile(UniqueFd fd) : fd_(std::move(fd)) {}

    bool size(std::uint64_t& size) override;
    bool seekToStart() override;
    bool write(const void* data, std::size_t length) override;
    bool flush() override;
    bool truncate() override;
    bool close() override { return fd_.close(); }

private:
    static constexpr off_t kWriteBehind = off_t(4) << 20;

    bool writeBehind(off_t start);
    bool stopWriteBehind();

    UniqueFd fd_;
    off_t written_ = 0;
    off_t settled_ = 0;
    bool writeBehind_ = true;
};

}  // namespace cindral::platform
