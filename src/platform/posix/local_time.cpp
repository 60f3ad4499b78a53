#include "platform/posix/local_time.h"

#include <time.h>

namespace cindral::platform {
namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

SystemTime LocalTimeConverter::convert(std::int64_t seconds, long nanoseconds) {
    const std::int64_t bucket = floorDiv(seconds, 900);
    Slot& slot = slots_[static_cast<std::size_t>(bucket) & 15];
    if (slot.bucket != bucket) {
        time_t t = static_cast<time_t>(seconds);
        struct tm tm;
        if (!::localtime_r(&t, &tm)) return SystemTime{};
        slot.bucket = bucket;
        slot.offset = tm.tm_gmtoff;
    }
    const std::int64_t local = seconds + slot.offset;
    const std::int64_t days = floorDiv(local, 86400);
    const std::int64_t secs = local - days * 86400;
    // Civil date from a day count (days since 1970-01-01).
    const std::int64_t z = days + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    // FILETIME starts in 1601; anything outside SYSTEMTIME's range is no date.
    if (year < 1601 || year > 30827) return SystemTime{};
    SystemTime out;
    out.year = static_cast<std::uint16_t>(year);
    out.month = static_cast<std::uint16_t>(month);
    out.day = static_cast<std::uint16_t>(day);
    out.dayOfWeek = static_cast<std::uint16_t>(days - floorDiv(days + 4, 7) * 7 + 4);
    out.hour = static_cast<std::uint16_t>(secs / 3600);
    out.minute = static_cast<std::uint16_t>(secs / 60 % 60);
    out.second = static_cast<std::uint16_t>(secs % 60);
    long ms = nanoseconds / 1000000;
    out.milliseconds = static_cast<std::uint16_t>(ms < 0 ? 0 : (ms > 999 ? 999 : ms));
    return out;
}

}  // namespace cindral::platform
