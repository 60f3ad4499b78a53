// File times of the Linux backend as the local SYSTEMTIME fields Windows
// reports them in.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace cindral::platform {

// Converts file times to local SYSTEMTIME fields. The UTC offset is looked
// up once per quarter hour of time (every zone changes its offset on a
// quarter-hour boundary) and kept in a small table, because a listing
// converts three times per entry and localtime_r is slow. Not thread-safe:
// one converter per thread, or a lock around it.
class LocalTimeConverter {
public:
    // An all-zero SystemTime for a time outside SYSTEMTIME's range (before
    // 1601 or after 30827) or one the C library cannot convert.
    SystemTime convert(std::int64_t seconds, long nanoseconds);

private:
    struct Slot {
        std::int64_t bucket = INT64_MIN;
        long offset = 0;
    };
    Slot slots_[16];
};

}  // namespace cindral::platform
