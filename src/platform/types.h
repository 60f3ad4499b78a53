// Plain value types shared by the platform interfaces.
#pragma once

#include <cstdint>

namespace cindral::platform {

// The fields of a Win32 SYSTEMTIME, in its order.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const SystemTime& a, const SystemTime& b) {
        return a.year == b.year && a.month == b.month && a.dayOfWeek == b.dayOfWeek &&
               a.day == b.day && a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
               a.milliseconds == b.milliseconds;
    }
};

}  // namespace cindral::platform
